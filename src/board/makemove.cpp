#include "board/makemove.h"

#include "board/bittables.h"
#include "eval/eval.h"

// Make and unmake run at every node: one dispatch on the move type, only the
// squares of the move are touched, and all_piece is rebuilt with one OR at the
// end. A piece that moves from f to t toggles both squares in one XOR, which is
// what lifting it from f and dropping it on t amounts to.

template <int C>
void MakeMove(T_Bitboard* board, const T_MoveList* list, int index, T_Undo* undo) {
  constexpr int kDoublePush = C ? 16 : -16;
  constexpr int kForward = C ? 8 : -8;
  constexpr int kSign = C ? 1 : -1;               // eval is kept from White's side
  constexpr int kLongCorner = C ? 0 : 56;         // a1 / a8
  constexpr int kShortCorner = C ? 7 : 63;        // h1 / h8
  constexpr int kLongRookTo = C ? 3 : 59;         // d1 / d8
  constexpr int kShortRookTo = C ? 5 : 61;        // f1 / f8
  constexpr int kEnemyLongCorner = C ? 56 : 0;
  constexpr int kEnemyShortCorner = C ? 63 : 7;

  u8& own_long = C ? board->castling_Q : board->castling_q;
  u8& own_short = C ? board->castling_K : board->castling_k;
  u8& enemy_long = C ? board->castling_q : board->castling_Q;
  u8& enemy_short = C ? board->castling_k : board->castling_K;
  u64& own_all = OwnAll<C>(board);
  u64* own = OwnPieces<C>(board);
  int* own_names = OwnNames<C>(board);
  u64& enemy_all = OwnAll<1 - C>(board);
  u64* enemy = OwnPieces<1 - C>(board);
  int* enemy_names = OwnNames<1 - C>(board);

  const int m = list->move[index];
  const int v = MoveCapture(m), type = MoveType(m), f = MoveFrom(m), t = MoveTo(m);

  undo->taking_passage_yes = board->taking_passage_yes;
  undo->taking_passage_x = board->taking_passage_x;
  undo->taking_passage_y = board->taking_passage_y;
  undo->castling_Q = board->castling_Q;
  undo->castling_K = board->castling_K;
  undo->castling_q = board->castling_q;
  undo->castling_k = board->castling_k;

  board->taking_passage_yes = 0;
  board->colour_move = C ? 0 : 1;

  const u64 from_to = square_mask[f] | square_mask[t];
  switch (type) {
    case move_quiet:
    case move_capture: {
      const int piece = own_names[f];
      if (type == move_capture) {
        const int victim = enemy_names[t];
        enemy_all ^= square_mask[t];
        enemy[victim] ^= square_mask[t];
        board->eval += kSign * material_value[victim];
        enemy_names[t] = 0;
        // Losing the rook in its corner loses that side's castling.
        if (v == kRook) {
          if (t == kEnemyLongCorner) enemy_long = 0;
          else if (t == kEnemyShortCorner) enemy_short = 0;
        }
      }
      own_all ^= from_to;
      own[piece] ^= from_to;
      own_names[t] = piece;
      own_names[f] = 0;
      if (piece == kPawn) {
        if (t - f == kDoublePush) {
          const int passed = f + kForward;
          board->taking_passage_yes = 1;
          board->taking_passage_x = passed % 8;
          board->taking_passage_y = passed / 8;
        }
      } else if (piece == kKing) {
        own_long = 0;
        own_short = 0;
      } else if (piece == kRook) {
        if (f == kLongCorner) own_long = 0;
        else if (f == kShortCorner) own_short = 0;
      }
      break;
    }
    case move_castling_long:
    case move_castling_short: {
      const int rook_from = type == move_castling_long ? kLongCorner : kShortCorner;
      const int rook_to = type == move_castling_long ? kLongRookTo : kShortRookTo;
      const u64 rook_from_to = square_mask[rook_from] | square_mask[rook_to];
      const int king = own_names[f];
      own_all ^= from_to;
      own[king] ^= from_to;
      own_names[t] = king;
      own_names[f] = 0;
      const int rook = own_names[rook_from];
      own_all ^= rook_from_to;
      own[rook] ^= rook_from_to;
      own_names[rook_to] = rook;
      own_names[rook_from] = 0;
      own_long = 0;
      own_short = 0;
      break;
    }
    case move_taking_passage: {
      const int pawn = own_names[f];
      own_all ^= from_to;
      own[pawn] ^= from_to;
      own_names[t] = pawn;
      own_names[f] = 0;
      const int captured = t - kForward;
      enemy_all ^= square_mask[captured];
      enemy[enemy_names[captured]] ^= square_mask[captured];
      board->eval += kSign * pawn_value;
      enemy_names[captured] = 0;
      break;
    }
    case 12: case 13: case 14: case 15:
    case 22: case 23: case 24: case 25: {
      // The named piece values and material_value hold the same numbers.
      const int promoted = PromotedPiece(type);
      int gain = material_value[promoted] - pawn_value;
      if (type >= move_capture_promotion_knight) {
        const int victim = enemy_names[t];
        enemy_all ^= square_mask[t];
        enemy[victim] ^= square_mask[t];
        gain += material_value[victim];
        enemy_names[t] = 0;
        if (v == kRook) {
          if (t == kEnemyLongCorner) enemy_long = 0;
          else if (t == kEnemyShortCorner) enemy_short = 0;
        }
      }
      own_all ^= from_to;
      own[own_names[f]] ^= square_mask[f];
      own[promoted] ^= square_mask[t];
      own_names[t] = promoted;
      own_names[f] = 0;
      board->eval += kSign * gain;
      break;
    }
    default:
      // Never generated: the move only hands the turn over.
      return;
  }
  board->all_piece = board->all_white_piece | board->all_black_piece;
}

template <int C>
void UnmakeMove(T_Bitboard* board, const T_MoveList* list, int index, const T_Undo* undo) {
  constexpr int kDoublePush = C ? 16 : -16;
  constexpr int kForward = C ? 8 : -8;
  constexpr int kSign = C ? 1 : -1;
  constexpr int kLongCorner = C ? 0 : 56;
  constexpr int kShortCorner = C ? 7 : 63;
  constexpr int kLongRookTo = C ? 3 : 59;
  constexpr int kShortRookTo = C ? 5 : 61;
  constexpr int kEnemyLongCorner = C ? 56 : 0;
  constexpr int kEnemyShortCorner = C ? 63 : 7;

  u8& own_long = C ? board->castling_Q : board->castling_q;
  u8& own_short = C ? board->castling_K : board->castling_k;
  u8& enemy_long = C ? board->castling_q : board->castling_Q;
  u8& enemy_short = C ? board->castling_k : board->castling_K;
  const u8 undo_own_long = C ? undo->castling_Q : undo->castling_q;
  const u8 undo_own_short = C ? undo->castling_K : undo->castling_k;
  const u8 undo_enemy_long = C ? undo->castling_q : undo->castling_Q;
  const u8 undo_enemy_short = C ? undo->castling_k : undo->castling_K;
  u64& own_all = OwnAll<C>(board);
  u64* own = OwnPieces<C>(board);
  int* own_names = OwnNames<C>(board);
  u64& enemy_all = OwnAll<1 - C>(board);
  u64* enemy = OwnPieces<1 - C>(board);
  int* enemy_names = OwnNames<1 - C>(board);

  const int m = list->move[index];
  const int v = MoveCapture(m), type = MoveType(m), f = MoveFrom(m), t = MoveTo(m);

  board->taking_passage_yes = undo->taking_passage_yes;
  board->colour_move = C;

  const u64 from_to = square_mask[f] | square_mask[t];
  switch (type) {
    case move_quiet:
    case move_capture: {
      const int piece = own_names[t];
      if (piece == kPawn) {
        if (t - f == kDoublePush) {
          board->taking_passage_x = undo->taking_passage_x;
          board->taking_passage_y = undo->taking_passage_y;
        }
      } else if (piece == kKing) {
        own_long = undo_own_long;
        own_short = undo_own_short;
      } else if (piece == kRook) {
        if (f == kLongCorner) own_long = undo_own_long;
        else if (f == kShortCorner) own_short = undo_own_short;
      }
      own_all ^= from_to;
      own[piece] ^= from_to;
      own_names[f] = piece;
      own_names[t] = 0;
      if (type == move_capture) {
        if (v == kRook) {
          if (t == kEnemyLongCorner) enemy_long = undo_enemy_long;
          else if (t == kEnemyShortCorner) enemy_short = undo_enemy_short;
        }
        enemy_names[t] = v;
        board->eval -= kSign * material_value[v];
        enemy_all ^= square_mask[t];
        enemy[v] ^= square_mask[t];
      }
      break;
    }
    case move_castling_long:
    case move_castling_short: {
      const int rook_from = type == move_castling_long ? kLongCorner : kShortCorner;
      const int rook_to = type == move_castling_long ? kLongRookTo : kShortRookTo;
      const u64 rook_from_to = square_mask[rook_from] | square_mask[rook_to];
      own_long = undo_own_long;
      own_short = undo_own_short;
      const int king = own_names[t];
      own_all ^= from_to;
      own[king] ^= from_to;
      own_names[f] = king;
      own_names[t] = 0;
      const int rook = own_names[rook_to];
      own_all ^= rook_from_to;
      own[rook] ^= rook_from_to;
      own_names[rook_from] = rook;
      own_names[rook_to] = 0;
      break;
    }
    case move_taking_passage: {
      const int pawn = own_names[t];
      own_all ^= from_to;
      own[pawn] ^= from_to;
      own_names[f] = pawn;
      own_names[t] = 0;
      const int captured = t - kForward;
      enemy_names[captured] = v;
      board->eval -= kSign * pawn_value;
      enemy_all ^= square_mask[captured];
      enemy[v] ^= square_mask[captured];
      break;
    }
    case 12: case 13: case 14: case 15:
    case 22: case 23: case 24: case 25: {
      const int promoted = own_names[t];
      int loss = material_value[promoted] - pawn_value;
      own_all ^= from_to;
      own[promoted] ^= square_mask[t];
      own[kPawn] ^= square_mask[f];
      own_names[f] = kPawn;
      own_names[t] = 0;
      if (type >= move_capture_promotion_knight) {
        if (v == kRook) {
          if (t == kEnemyLongCorner) enemy_long = undo_enemy_long;
          else if (t == kEnemyShortCorner) enemy_short = undo_enemy_short;
        }
        loss += material_value[v];
        enemy_names[t] = v;
        enemy_all ^= square_mask[t];
        enemy[v] ^= square_mask[t];
      }
      board->eval -= kSign * loss;
      break;
    }
    default:
      return;
  }
  board->all_piece = board->all_white_piece | board->all_black_piece;
}

template void MakeMove<1>(T_Bitboard*, const T_MoveList*, int, T_Undo*);
template void MakeMove<0>(T_Bitboard*, const T_MoveList*, int, T_Undo*);
template void UnmakeMove<1>(T_Bitboard*, const T_MoveList*, int, const T_Undo*);
template void UnmakeMove<0>(T_Bitboard*, const T_MoveList*, int, const T_Undo*);
