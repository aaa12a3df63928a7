#include "board/makemove.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#include "board/bittables.h"
#include "eval/eval.h"

// Make and unmake run at every node. Quiet moves and plain captures are nearly
// all of them, so those two take a short path of their own, with one
// well-predicted test instead of a jump table and with no branch on the piece;
// castling, en passant and promotions go to an out-of-line routine with one
// dispatch on the move type. Only the squares of the move are touched, and
// all_piece is rebuilt with one OR at the end. A piece that moves from f to t
// toggles both squares in one XOR, which is what lifting it from f and
// dropping it on t amounts to.

namespace {

// The en-passant square and the four castling rights lie in the same order in
// the board and in the undo record, so make saves them as one block (the
// en-passant flag sits elsewhere in the board and is copied on its own).
constexpr std::size_t kBlockBoard = offsetof(T_Bitboard, taking_passage_x);
constexpr std::size_t kBlockUndo = offsetof(T_Undo, taking_passage_x);
constexpr std::size_t kBlockSize = offsetof(T_Bitboard, castling_k) + 1 - kBlockBoard;
static_assert(offsetof(T_Bitboard, taking_passage_y) - kBlockBoard == offsetof(T_Undo, taking_passage_y) - kBlockUndo);
static_assert(offsetof(T_Bitboard, castling_Q) - kBlockBoard == offsetof(T_Undo, castling_Q) - kBlockUndo);
static_assert(offsetof(T_Bitboard, castling_K) - kBlockBoard == offsetof(T_Undo, castling_K) - kBlockUndo);
static_assert(offsetof(T_Bitboard, castling_q) - kBlockBoard == offsetof(T_Undo, castling_q) - kBlockUndo);
static_assert(offsetof(T_Bitboard, castling_k) - kBlockBoard == offsetof(T_Undo, castling_k) - kBlockUndo);
static_assert(offsetof(T_Undo, castling_k) + 1 - kBlockUndo == kBlockSize);

inline void SaveUndo(const T_Bitboard* board, T_Undo* undo) {
  undo->taking_passage_yes = board->taking_passage_yes;
  std::memcpy(reinterpret_cast<unsigned char*>(undo) + kBlockUndo,
              reinterpret_cast<const unsigned char*>(board) + kBlockBoard, kBlockSize);
}

inline void RestoreUndo(T_Bitboard* board, const T_Undo* undo) {
  board->taking_passage_yes = undo->taking_passage_yes;
  std::memcpy(reinterpret_cast<unsigned char*>(board) + kBlockBoard,
              reinterpret_cast<const unsigned char*>(undo) + kBlockUndo, kBlockSize);
}

// The four rights as one word (bytes Q, K, q, k in field order): clearing any
// of them is one AND with a mask whose byte for that right is 0.
typedef u32 Rights;
constexpr std::size_t kRightsAt = offsetof(T_Bitboard, castling_Q);
constexpr std::size_t kPassageAt = offsetof(T_Bitboard, taking_passage_x);
static_assert(offsetof(T_Bitboard, taking_passage_y) == kPassageAt + 4 && kRightsAt == kPassageAt + 8);
static_assert(offsetof(T_Undo, castling_Q) == kBlockUndo + 8 && kBlockSize == 12);
static_assert(offsetof(T_Bitboard, castling_K) == kRightsAt + 1 && offsetof(T_Bitboard, castling_q) == kRightsAt + 2 &&
              offsetof(T_Bitboard, castling_k) == kRightsAt + 3);

inline Rights LoadRights(const T_Bitboard* board) {
  Rights r;
  std::memcpy(&r, reinterpret_cast<const unsigned char*>(board) + kRightsAt, sizeof r);
  return r;
}
inline void StoreRights(T_Bitboard* board, Rights r) {
  std::memcpy(reinterpret_cast<unsigned char*>(board) + kRightsAt, &r, sizeof r);
}

// Byte index of each right in the word.
constexpr int kRightQ = 0, kRightK = 1, kRightq = 2, kRightk = 3;

constexpr Rights Clearing(int a, int b = -1) {
  std::array<u8, 4> bytes{0xFF, 0xFF, 0xFF, 0xFF};
  bytes[a] = 0;
  if (b >= 0) bytes[b] = 0;
  return std::bit_cast<Rights>(bytes);
}
constexpr Rights kKeepAll = ~Rights{0};

// The rights that survive a quiet move or capture of colour C: by the moving
// piece and its origin (king anywhere, rook leaving its corner), and by the
// captured piece and its square (rook taken in its corner).
struct T_RightsMasks {
  Rights leaving[64][8];  // by origin, then moving piece
  Rights taken[7][64];
};

constexpr T_RightsMasks RightsMasks(int c) {
  const int own_long = c ? kRightQ : kRightq, own_short = c ? kRightK : kRightk;
  const int enemy_long = c ? kRightq : kRightQ, enemy_short = c ? kRightk : kRightK;
  const int long_corner = c ? 0 : 56, short_corner = c ? 7 : 63;
  const int enemy_long_corner = c ? 56 : 0, enemy_short_corner = c ? 63 : 7;
  T_RightsMasks r{};
  for (int s = 0; s < 64; ++s) {
    for (int p = 0; p < 8; ++p) r.leaving[s][p] = kKeepAll;
    for (int p = 0; p < 7; ++p) r.taken[p][s] = kKeepAll;
    r.leaving[s][kKing] = Clearing(own_long, own_short);
  }
  r.leaving[long_corner][kRook] = Clearing(own_long);
  r.leaving[short_corner][kRook] = Clearing(own_short);
  r.taken[kRook][enemy_long_corner] = Clearing(enemy_long);
  r.taken[kRook][enemy_short_corner] = Clearing(enemy_short);
  return r;
}
constexpr T_RightsMasks rights_masks[2] = {RightsMasks(0), RightsMasks(1)};

// The en-passant square (x, then y in the high half) that a double push of
// colour c from square s passes over.
struct T_PassedSquares {
  u64 square[64];
};
constexpr T_PassedSquares PassedSquares(int c) {
  T_PassedSquares p{};
  for (int s = 0; s < 64; ++s) {
    const int passed = c ? s + 8 : s - 8;
    if (passed >= 0 && passed < 64) p.square[s] = static_cast<u64>(passed % 8) | static_cast<u64>(passed / 8) << 32;
  }
  return p;
}
constexpr T_PassedSquares passed_squares[2] = {PassedSquares(0), PassedSquares(1)};

// The mirrored constants of each colour, shared by make and unmake.
template <int C>
struct T_Side {
  static constexpr int kForward = C ? 8 : -8;  // one pawn step
  static constexpr int kDoublePush = 2 * kForward;
  static constexpr int kSign = C ? 1 : -1;  // eval is kept from White's side
  static constexpr int kLongCorner = C ? 0 : 56;   // a1 / a8
  static constexpr int kShortCorner = C ? 7 : 63;  // h1 / h8
  static constexpr int kLongRookTo = C ? 3 : 59;   // d1 / d8
  static constexpr int kShortRookTo = C ? 5 : 61;  // f1 / f8
  static constexpr int kEnemyLongCorner = C ? 56 : 0;
  static constexpr int kEnemyShortCorner = C ? 63 : 7;
};

// Moves the piece on from to the empty square to within one colour's sets.
inline void ShiftPiece(u64& all, u64* pieces, int* names, int from, int to) {
  const u64 from_to = square_mask[from] | square_mask[to];
  const int piece = names[from];
  all ^= from_to;
  pieces[piece] ^= from_to;
  names[to] = piece;
  names[from] = 0;
}

template <int C> [[gnu::noinline]] void MakeOther(T_Bitboard* board, int m, T_Undo* undo);
template <int C> [[gnu::noinline]] void UnmakeOther(T_Bitboard* board, int m, const T_Undo* undo);

}  // namespace

template <int C>
void MakeMove(T_Bitboard* board, const T_MoveList* list, int index, T_Undo* undo) {
  using S = T_Side<C>;

  // Decoded into 64-bit values, which index the tables without extensions.
  const u64 m = static_cast<u32>(list->move[index]);
  const u64 type = (m >> 6) & 0x3f;
  if (type - move_quiet > move_capture - move_quiet) {
    MakeOther<C>(board, list->move[index], undo);
    return;
  }
  // The word names the mover and the victim: a generated move agrees with the
  // name arrays, and reading the word saves two dependent loads.
  const u64 f = (m >> 12) & 0x3f, t = (m >> 18) & 0x3f, piece = (m >> 24) & 7;
  unsigned char* const raw = reinterpret_cast<unsigned char*>(board);
  const T_RightsMasks& masks = rights_masks[C];

  // The saved block, read once: the en-passant square (x and y side by side)
  // and the rights word. Each is finished and stored before the pieces move,
  // so that few values are live at once.
  u64 passage;
  std::memcpy(&passage, raw + kPassageAt, sizeof passage);
  const Rights rights = LoadRights(board);
  undo->taking_passage_yes = board->taking_passage_yes;
  std::memcpy(reinterpret_cast<unsigned char*>(undo) + kBlockUndo, &passage, sizeof passage);
  std::memcpy(reinterpret_cast<unsigned char*>(undo) + kBlockUndo + sizeof passage, &rights, sizeof rights);
  StoreRights(board, rights & masks.leaving[f][piece]);
  // Without a branch: pawn moves and double pushes come and go unpredictably.
  const u64 double_push = (piece == kPawn) & (t - f == static_cast<u64>(S::kDoublePush));
  passage ^= (passage ^ passed_squares[C].square[f]) & (0 - double_push);
  board->colour_move = C ? 0 : 1;
  board->taking_passage_yes = static_cast<u8>(double_push);
  std::memcpy(raw + kPassageAt, &passage, sizeof passage);

  const u64 to_mask = square_mask[t];
  const u64 from_to = square_mask[f] | to_mask;
  const u64 own_all = OwnAll<C>(board) ^ from_to;
  u64 enemy_all = OwnAll<1 - C>(board);
  if (type == move_capture) {
    const u64 v = m & 0x3f;
    enemy_all ^= to_mask;
    OwnAll<1 - C>(board) = enemy_all;
    OwnPieces<1 - C>(board)[v] ^= to_mask;
    OwnNames<1 - C>(board)[t] = 0;
    board->eval += S::kSign * material_value[v];
    StoreRights(board, LoadRights(board) & masks.taken[v][t]);
  }
  OwnAll<C>(board) = own_all;
  OwnPieces<C>(board)[piece] ^= from_to;
  OwnNames<C>(board)[t] = static_cast<int>(piece);
  OwnNames<C>(board)[f] = 0;
  board->all_piece = own_all | enemy_all;
}

template <int C>
void UnmakeMove(T_Bitboard* board, const T_MoveList* list, int index, const T_Undo* undo) {
  using S = T_Side<C>;

  const u64 m = static_cast<u32>(list->move[index]);
  const u64 type = (m >> 6) & 0x3f;
  if (type - move_quiet > move_capture - move_quiet) {
    UnmakeOther<C>(board, list->move[index], undo);
    return;
  }
  const u64 v = m & 0x3f, f = (m >> 12) & 0x3f, t = (m >> 18) & 0x3f, piece = (m >> 24) & 7;
  // Make changed the en-passant square and the rights only where the undo
  // record holds their old values, so all of them come back in one copy.
  RestoreUndo(board, undo);
  board->colour_move = C;

  u64* own = OwnPieces<C>(board);
  int* own_names = OwnNames<C>(board);
  const u64 to_mask = square_mask[t];
  const u64 from_to = square_mask[f] | to_mask;
  const u64 own_all = OwnAll<C>(board) ^ from_to;
  u64 enemy_all = OwnAll<1 - C>(board);
  OwnAll<C>(board) = own_all;
  own[piece] ^= from_to;
  own_names[f] = static_cast<int>(piece);
  own_names[t] = 0;
  if (type == move_capture) {
    OwnNames<1 - C>(board)[t] = static_cast<int>(v);
    board->eval -= S::kSign * material_value[v];
    enemy_all ^= to_mask;
    OwnAll<1 - C>(board) = enemy_all;
    OwnPieces<1 - C>(board)[v] ^= to_mask;
  }
  board->all_piece = own_all | enemy_all;
}

namespace {

template <int C>
void MakeOther(T_Bitboard* board, int m, T_Undo* undo) {
  using S = T_Side<C>;

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

  const int v = MoveCapture(m), type = MoveType(m), f = MoveFrom(m), t = MoveTo(m);
  SaveUndo(board, undo);
  board->taking_passage_yes = 0;
  board->colour_move = C ? 0 : 1;

  const u64 from_to = square_mask[f] | square_mask[t];
  switch (type) {
    case move_castling_long:
    case move_castling_short: {
      const int rook_from = type == move_castling_long ? S::kLongCorner : S::kShortCorner;
      const int rook_to = type == move_castling_long ? S::kLongRookTo : S::kShortRookTo;
      ShiftPiece(own_all, own, own_names, f, t);
      ShiftPiece(own_all, own, own_names, rook_from, rook_to);
      own_long = 0;
      own_short = 0;
      break;
    }
    case move_taking_passage: {
      ShiftPiece(own_all, own, own_names, f, t);
      const int captured = t - S::kForward;
      enemy_all ^= square_mask[captured];
      enemy[enemy_names[captured]] ^= square_mask[captured];
      board->eval += S::kSign * pawn_value;
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
          if (t == S::kEnemyLongCorner) enemy_long = 0;
          else if (t == S::kEnemyShortCorner) enemy_short = 0;
        }
      }
      own_all ^= from_to;
      own[own_names[f]] ^= square_mask[f];
      own[promoted] ^= square_mask[t];
      own_names[t] = promoted;
      own_names[f] = 0;
      board->eval += S::kSign * gain;
      break;
    }
    default:
      // Never generated: the move only hands the turn over.
      return;
  }
  board->all_piece = board->all_white_piece | board->all_black_piece;
}

template <int C>
void UnmakeOther(T_Bitboard* board, int m, const T_Undo* undo) {
  using S = T_Side<C>;

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

  const int v = MoveCapture(m), type = MoveType(m), f = MoveFrom(m), t = MoveTo(m);
  board->taking_passage_yes = undo->taking_passage_yes;
  board->colour_move = C;

  const u64 from_to = square_mask[f] | square_mask[t];
  switch (type) {
    case move_castling_long:
    case move_castling_short: {
      const int rook_from = type == move_castling_long ? S::kLongCorner : S::kShortCorner;
      const int rook_to = type == move_castling_long ? S::kLongRookTo : S::kShortRookTo;
      own_long = undo_own_long;
      own_short = undo_own_short;
      ShiftPiece(own_all, own, own_names, t, f);
      ShiftPiece(own_all, own, own_names, rook_to, rook_from);
      break;
    }
    case move_taking_passage: {
      ShiftPiece(own_all, own, own_names, t, f);
      const int captured = t - S::kForward;
      enemy_names[captured] = v;
      board->eval -= S::kSign * pawn_value;
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
          if (t == S::kEnemyLongCorner) enemy_long = undo_enemy_long;
          else if (t == S::kEnemyShortCorner) enemy_short = undo_enemy_short;
        }
        loss += material_value[v];
        enemy_names[t] = v;
        enemy_all ^= square_mask[t];
        enemy[v] ^= square_mask[t];
      }
      board->eval -= S::kSign * loss;
      break;
    }
    default:
      return;
  }
  board->all_piece = board->all_white_piece | board->all_black_piece;
}

}  // namespace

template void MakeMove<1>(T_Bitboard*, const T_MoveList*, int, T_Undo*);
template void MakeMove<0>(T_Bitboard*, const T_MoveList*, int, T_Undo*);
template void UnmakeMove<1>(T_Bitboard*, const T_MoveList*, int, const T_Undo*);
template void UnmakeMove<0>(T_Bitboard*, const T_MoveList*, int, const T_Undo*);
