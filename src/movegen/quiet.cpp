#include "board/bittables.h"
#include "movegen/movegen.h"

// Quiet moves in the reverse piece order of the captures: king (steps, long
// castling, short castling), queens, rooks, bishops, knights, pawns. Only the
// castlings get a key; the other key slots keep whatever the list held.

namespace {

using bittables_detail::Table;

// Appends moves unless the list is full (see the capture generator). A batch
// of targets is at most 64 moves, so below that margin the per-move capacity
// check is left out.
struct Writer {
  T_MoveList* list;
  int n;
  void Add(int word) {
    if (n < kMaxMoves) list->move[n++] = word;
  }
  void Add(int word, int key) {
    if (n < kMaxMoves) {
      list->move[n] = word;
      list->sort_key[n] = key;
      ++n;
    }
  }
};

// One quiet move from s to each target, ascending.
inline void AddAll(Writer* w, int s, u64 targets, int piece) {
  const int base = MakeMoveWord(0, move_quiet, s, 0, piece);
  int n = w->n;
  int* moves = w->list->move;
  if (n <= kMaxMoves - 64) {
    for (; targets; targets &= targets - 1) moves[n++] = base | (BitScanForward(targets) << 18);
  } else {
    for (; targets && n < kMaxMoves; targets &= targets - 1) moves[n++] = base | (BitScanForward(targets) << 18);
  }
  w->n = n;
}

// The empty squares from s up to the first blocker of ray[s], or the whole ray.
// On a forward ray the squares before the first blocker are exactly the ray's
// squares below its lowest bit, which needs no scan (and no test for an empty
// set of blockers).
template <bool kForward>
inline void RayQuiet(Writer* w, const Table& ray, int s, int piece, u64 occupied) {
  u64 line = ray[s];
  u64 blockers = line & occupied;
  if constexpr (kForward) {
    line &= (blockers & (0 - blockers)) - 1;
  } else if (blockers) {
    int b = BitScanReverse(blockers);
    line ^= ray[b] | square_mask[b];
  }
  AddAll(w, s, line, piece);
}

// The first step of every ray of a slider kind: a slider whose first steps
// are all occupied (common while the pieces are still at home) has no quiet
// move and its rays are not walked.
constexpr Table FirstSteps(bool straight, bool diagonal) {
  Table t{};
  for (int s = 0; s < 64; ++s) {
    u64 lines = (straight ? ray_north[s] | ray_south[s] | ray_east[s] | ray_west[s] : 0) |
                (diagonal ? ray_north_east[s] | ray_north_west[s] | ray_south_east[s] | ray_south_west[s] : 0);
    t[s] = king_attacks[s] & lines;
  }
  return t;
}
constexpr Table first_steps[4] = {Table{}, FirstSteps(false, true), FirstSteps(true, false), FirstSteps(true, true)};

template <bool kStraight, bool kDiagonal>
inline void SliderQuiet(Writer* w, u64 pieces, int piece, u64 occupied) {
  const Table& steps = first_steps[2 * kStraight + kDiagonal];
  for (; pieces; pieces &= pieces - 1) {
    int s = BitScanForward(pieces);
    if (!(steps[s] & ~occupied)) continue;
    if (kStraight) {
      RayQuiet<true>(w, ray_north, s, piece, occupied);
      RayQuiet<false>(w, ray_west, s, piece, occupied);
      RayQuiet<false>(w, ray_south, s, piece, occupied);
      RayQuiet<true>(w, ray_east, s, piece, occupied);
    }
    if (kDiagonal) {
      RayQuiet<true>(w, ray_north_east, s, piece, occupied);
      RayQuiet<true>(w, ray_north_west, s, piece, occupied);
      RayQuiet<false>(w, ray_south_west, s, piece, occupied);
      RayQuiet<false>(w, ray_south_east, s, piece, occupied);
    }
  }
}

}  // namespace

template <int C>
void GenerateQuiet(const T_Bitboard* board, T_MoveList* list) {
  constexpr int kBack = C ? 0 : 56;  // a1 / a8: the back rank's first square
  constexpr int kKingHome = kBack + 4;
  constexpr u64 kLongEmpty = 0x0Eull << kBack;   // b, c, d of the back rank
  constexpr u64 kShortEmpty = 0x60ull << kBack;  // f, g
  constexpr int kUp = C ? 8 : -8;

  const u64* own = OwnPieces<C>(board);
  const u64 occupied = board->all_piece;
  const u64 empty = ~occupied;
  const u8 right_long = C ? board->castling_Q : board->castling_q;
  const u8 right_short = C ? board->castling_K : board->castling_k;
  Writer w{list, list->count};

  if (u64 king = own[kKing]) {
    int k = BitScanForward(king);
    AddAll(&w, k, king_attacks[k] & empty, kKing);
    // The rights are kept consistent with the board by make and by the FEN
    // reader; king and rook are still checked so that a hand-made board with
    // stray rights can never make a castling move pieces that are not there.
    if (k == kKingHome) {
      if (right_long && !(occupied & kLongEmpty) && (own[kRook] & square_mask[kBack]) &&
          !CastlingSquareAttacked<C>(board, kBack + 2) && !CastlingSquareAttacked<C>(board, kBack + 3) &&
          !CastlingSquareAttacked<C>(board, kBack + 4))
        w.Add(MakeMoveWord(0, move_castling_long, k, kBack + 2, kKing), 3);
      if (right_short && !(occupied & kShortEmpty) && (own[kRook] & square_mask[kBack + 7]) &&
          !CastlingSquareAttacked<C>(board, kBack + 4) && !CastlingSquareAttacked<C>(board, kBack + 5) &&
          !CastlingSquareAttacked<C>(board, kBack + 6))
        w.Add(MakeMoveWord(0, move_castling_short, k, kBack + 6, kKing), 4);
    }
  }

  SliderQuiet<true, true>(&w, own[kQueen], kQueen, occupied);
  SliderQuiet<true, false>(&w, own[kRook], kRook, occupied);
  SliderQuiet<false, true>(&w, own[kBishop], kBishop, occupied);
  for (u64 knights = own[kKnight]; knights; knights &= knights - 1) {
    int s = BitScanForward(knights);
    AddAll(&w, s, knight_attacks[s] & empty, kKnight);
  }

  // Pushes that land on the last rank are promotions and belong to the
  // capture generator. Each pawn's pushes are written together, pawns in
  // ascending squares and the targets of one pawn ascending too: White's
  // single push before its double push, Black's double push first.
  const u64 pawns = own[kPawn];
  u64 single, twice;
  if constexpr (C) {
    single = ((pawns & ~(kRank7 | kRank8)) << 8) & empty;
    twice = ((single & (kRank2 << 8)) << 8) & empty;
  } else {
    single = (pawns >> 8) & empty & ~kRank1;
    twice = ((single & (kRank7 >> 8)) >> 8) & empty;
  }
  u64 movers = C ? single >> 8 : single << 8;
  if (w.n <= kMaxMoves - 64) {
    // At most 48 pushes: no capacity checks, and the double push is written
    // in any case and kept only when it exists, which spares a branch that
    // follows the pawn structure and is hard to predict.
    int n = w.n;
    int* moves = list->move;
    for (; movers; movers &= movers - 1) {
      const int s = BitScanForward(movers);
      const int step = MakeMoveWord(0, move_quiet, s, s + kUp, kPawn);
      const int jump = MakeMoveWord(0, move_quiet, s, s + 2 * kUp, kPawn);
      const int has_jump = static_cast<int>((twice >> (s + 2 * kUp)) & 1);
      if constexpr (C) {
        moves[n++] = step;
        moves[n] = jump;
        n += has_jump;
      } else {
        moves[n] = jump;
        n += has_jump;
        moves[n++] = step;
      }
    }
    w.n = n;
  }
  for (; movers; movers &= movers - 1) {
    int s = BitScanForward(movers);
    int step = MakeMoveWord(0, move_quiet, s, s + kUp, kPawn);
    if constexpr (C) {
      w.Add(step);
      if (twice & square_mask[s + 2 * kUp]) w.Add(MakeMoveWord(0, move_quiet, s, s + 2 * kUp, kPawn));
    } else {
      if (twice & square_mask[s + 2 * kUp]) w.Add(MakeMoveWord(0, move_quiet, s, s + 2 * kUp, kPawn));
      w.Add(step);
    }
  }

  list->count = w.n;
}

template void GenerateQuiet<1>(const T_Bitboard*, T_MoveList*);
template void GenerateQuiet<0>(const T_Bitboard*, T_MoveList*);
