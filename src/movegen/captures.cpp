#include "board/bittables.h"
#include "movegen/movegen.h"

// The list order is part of the engine's behaviour (the search's node counts
// follow it): pawns, knights, bishops, rooks, queens, king; pieces and targets
// in ascending squares; slider rays in a fixed order per piece kind.

namespace {

using bittables_detail::Table;

// Appends one move unless the list is full: only boards set up from text with
// many extra pieces can reach 256 pseudo-legal moves, and those moves are
// dropped rather than written past the list.
struct Writer {
  T_MoveList* list;
  int n;
  void Add(int word, int key) {
    if (n < kMaxMoves) {
      list->move[n] = word;
      list->sort_key[n] = key;
      ++n;
    }
  }
};

// Promotions come in groups of four, queen first; the key is the move type.
inline void AddPromotions(Writer* w, int capture, int queen_type, int from, int to) {
  for (int type = queen_type; type > queen_type - 4; --type)
    w->Add(MakeMoveWord(capture, type, from, to, kPawn), type);
}

// The capture at the first blocker of ray[s], if that blocker is an enemy.
template <bool kForward>
inline void RayCapture(Writer* w, const Table& ray, int s, int piece, u64 occupied, u64 enemy,
                       const int* enemy_names) {
  u64 line = ray[s];
  if (!(line & enemy)) return;
  u64 blockers = line & occupied;
  int b = kForward ? BitScanForward(blockers) : BitScanReverse(blockers);
  if ((enemy >> b) & 1) {
    int v = enemy_names[b];
    w->Add(MakeMoveWord(v, move_capture, s, b, piece), 10 * v - piece);
  }
}

template <bool kStraight, bool kDiagonal>
inline void SliderCaptures(Writer* w, u64 pieces, int piece, u64 occupied, u64 enemy,
                           const int* enemy_names) {
  for (; pieces; pieces &= pieces - 1) {
    int s = BitScanForward(pieces);
    if (kStraight) {
      RayCapture<true>(w, ray_north, s, piece, occupied, enemy, enemy_names);
      RayCapture<false>(w, ray_west, s, piece, occupied, enemy, enemy_names);
      RayCapture<false>(w, ray_south, s, piece, occupied, enemy, enemy_names);
      RayCapture<true>(w, ray_east, s, piece, occupied, enemy, enemy_names);
    }
    if (kDiagonal) {
      RayCapture<true>(w, ray_north_east, s, piece, occupied, enemy, enemy_names);
      RayCapture<true>(w, ray_north_west, s, piece, occupied, enemy, enemy_names);
      RayCapture<false>(w, ray_south_west, s, piece, occupied, enemy, enemy_names);
      RayCapture<false>(w, ray_south_east, s, piece, occupied, enemy, enemy_names);
    }
  }
}

inline void StepCaptures(Writer* w, int s, u64 targets, int piece, const int* enemy_names) {
  for (; targets; targets &= targets - 1) {
    int t = BitScanForward(targets);
    int v = enemy_names[t];
    w->Add(MakeMoveWord(v, move_capture, s, t, piece), 10 * v - piece);
  }
}

}  // namespace

template <int C>
void GenerateCaptures(const T_Bitboard* board, T_MoveList* list) {
  constexpr int kEnemy = 1 - C;
  constexpr int kUp = C ? 8 : -8;
  constexpr int kPromotionRank = C ? 6 : 1;  // the rank a pawn promotes from
  constexpr int kPassantRank = C ? 4 : 3;    // the rank an en-passant capturer stands on
  // En passant is tried towards the larger step first: White s + 9 then s + 7,
  // Black s - 9 then s - 7. Seen from each side that is east first for White
  // and west first for Black, so the order is not a mirror image.
  constexpr int kPassantFirst = C ? 9 : -9;
  constexpr u64 kPassantFirstFile = C ? kFileH : kFileA;  // capturer may not stand here
  constexpr int kPassantSecond = C ? 7 : -7;
  constexpr u64 kPassantSecondFile = C ? kFileA : kFileH;
  const Table& pawn_attacks = C ? white_pawn_attacks : black_pawn_attacks;

  const u64* own = OwnPieces<C>(board);
  const u64 enemy = OwnAll<kEnemy>(board);
  const int* enemy_names = OwnNames<kEnemy>(board);
  const u64 occupied = board->all_piece;
  Writer w{list, 0};

  const bool passant = board->taking_passage_yes == 1;
  // The target square; only looked at when passant is set.
  const int e = board->taking_passage_x + 8 * board->taking_passage_y;
  // Only pawns that can promote, capture or take en passant write anything;
  // the others are skipped before the per-pawn work (the shifts may wrap
  // round the board edge, which only lets a few extra pawns through).
  constexpr u64 kPromotionRow = 0xFFull << (8 * kPromotionRank);
  constexpr u64 kPassantRow = 0xFFull << (8 * kPassantRank);
  const u64 near_enemy = C ? (enemy >> 7) | (enemy >> 9) : (enemy << 7) | (enemy << 9);
  const u64 active = own[kPawn] & (near_enemy | kPromotionRow | (passant ? kPassantRow : 0));
  for (u64 pawns = active; pawns; pawns &= pawns - 1) {
    int s = BitScanForward(pawns);
    u64 targets = pawn_attacks[s] & enemy;
    if (s / 8 == kPromotionRank) {
      if (!(square_mask[s + kUp] & occupied)) AddPromotions(&w, 0, move_promotion_queen, s, s + kUp);
      for (; targets; targets &= targets - 1) {
        int t = BitScanForward(targets);
        AddPromotions(&w, enemy_names[t], move_capture_promotion_queen, s, t);
      }
    } else {
      StepCaptures(&w, s, targets, kPawn, enemy_names);
    }
    if (passant && s / 8 == kPassantRank) {
      // The fields are trusted to name the square a pawn just passed over.
      if (e == s + kPassantFirst && !(square_mask[s] & kPassantFirstFile))
        w.Add(MakeMoveWord(enemy_names[e - kUp], move_taking_passage, s, e, kPawn), 5);
      if (e == s + kPassantSecond && !(square_mask[s] & kPassantSecondFile))
        w.Add(MakeMoveWord(enemy_names[e - kUp], move_taking_passage, s, e, kPawn), 5);
    }
  }

  for (u64 knights = own[kKnight]; knights; knights &= knights - 1) {
    int s = BitScanForward(knights);
    StepCaptures(&w, s, knight_attacks[s] & enemy, kKnight, enemy_names);
  }
  SliderCaptures<false, true>(&w, own[kBishop], kBishop, occupied, enemy, enemy_names);
  SliderCaptures<true, false>(&w, own[kRook], kRook, occupied, enemy, enemy_names);
  SliderCaptures<true, true>(&w, own[kQueen], kQueen, occupied, enemy, enemy_names);
  if (u64 king = own[kKing]) {
    int k = BitScanForward(king);  // only the lowest king moves
    StepCaptures(&w, k, king_attacks[k] & enemy, kKing, enemy_names);
  }

  list->capture_count = w.n;
  list->count = w.n;
}

template void GenerateCaptures<1>(const T_Bitboard*, T_MoveList*);
template void GenerateCaptures<0>(const T_Bitboard*, T_MoveList*);
