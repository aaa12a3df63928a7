#include "board/bittables.h"
#include "movegen/movegen.h"

// The attack tests run after every move made in a search, and almost always
// find nothing. So the king test first masks every family of attackers with
// the squares it could attack from, all in one test; only when a candidate
// exists are the rays walked in their fixed order, which decides the code
// returned.

namespace {

using bittables_detail::Table;

constexpr Table Union4(const Table& a, const Table& b, const Table& c, const Table& d) {
  Table t{};
  for (int s = 0; s < 64; ++s) t[s] = a[s] | b[s] | c[s] | d[s];
  return t;
}

// Every square a rook (queen) or a bishop (queen) could attack s from.
constexpr Table rook_lines = Union4(ray_north, ray_south, ray_east, ray_west);
constexpr Table bishop_lines = Union4(ray_north_east, ray_north_west, ray_south_east, ray_south_west);

// Squares from which an enemy pawn attacks a king of colour C on s.
// White: s + 7 and s + 9 (no wrap), for a king on ranks 1 to 7.
// Black: s - 7 and s - 9 (no wrap), but only for a king from g2 (14) up: a
// black king on a2..f2 is never tested against pawns. This is not the mirror
// of White (that would start at a2, 8) but the engine's rule; it only matters
// for white pawns on rank 1, which no game can produce.
constexpr Table KingPawnAttackers(int c) {
  Table t{};
  for (int s = 0; s < 64; ++s) {
    int file = s % 8;
    if (c == 1 && s <= 55) {
      if (file != 0) t[s] |= 1ull << (s + 7);
      if (file != 7) t[s] |= 1ull << (s + 9);
    }
    if (c == 0 && s >= 14) {
      if (file != 7) t[s] |= 1ull << (s - 7);
      if (file != 0) t[s] |= 1ull << (s - 9);
    }
  }
  return t;
}
constexpr Table king_pawn_attackers[2] = {KingPawnAttackers(0), KingPawnAttackers(1)};

// Everything the first, quick test reads about a king square, side by side.
struct T_KingZone {
  u64 rook_lines, bishop_lines, knights, kings, pawns;
};
struct T_KingZones {
  T_KingZone zone[2][64];
};
constexpr T_KingZones MakeKingZones() {
  T_KingZones z{};
  for (int c = 0; c < 2; ++c)
    for (int s = 0; s < 64; ++s)
      z.zone[c][s] = {rook_lines[s], bishop_lines[s], knight_attacks[s], king_attacks[s], king_pawn_attackers[c][s]};
  return z;
}
constexpr T_KingZones king_zones = MakeKingZones();

// One ray test: the first piece on ray[s] seen from s, reported when it is one
// of the enemy sliders given. Forward rays (north, east, north-east,
// north-west) meet their first blocker at the lowest bit, the others at the
// highest.
template <bool kForward>
inline int RayTest(const Table& ray, int s, u64 occupied, u64 sliders, const int* enemy_names) {
  u64 line = ray[s];
  if (!(line & sliders)) return 0;
  u64 blockers = line & occupied;  // not empty: it holds a slider
  int first = kForward ? BitScanForward(blockers) : BitScanReverse(blockers);
  return ((sliders >> first) & 1) ? enemy_names[first] : 0;
}

}  // namespace

// The walk in test order, once some family has a candidate; kept out of line
// so that the common answer 0 needs no saved registers.
template <int C>
[[gnu::noinline]] int KingAttackerCode(const T_Bitboard* board, int k, u64 straight, u64 diagonal) {
  const u64* enemy = OwnPieces<1 - C>(board);
  const int* names = OwnNames<1 - C>(board);
  const u64 occupied = board->all_piece;
  if (rook_lines[k] & straight) {
    if (int code = RayTest<true>(ray_north, k, occupied, straight, names)) return code;
    if (int code = RayTest<false>(ray_west, k, occupied, straight, names)) return code;
    if (int code = RayTest<false>(ray_south, k, occupied, straight, names)) return code;
    if (int code = RayTest<true>(ray_east, k, occupied, straight, names)) return code;
  }
  if (bishop_lines[k] & diagonal) {
    if (int code = RayTest<true>(ray_north_east, k, occupied, diagonal, names)) return code;
    if (int code = RayTest<true>(ray_north_west, k, occupied, diagonal, names)) return code;
    if (int code = RayTest<false>(ray_south_west, k, occupied, diagonal, names)) return code;
    if (int code = RayTest<false>(ray_south_east, k, occupied, diagonal, names)) return code;
  }
  if (knight_attacks[k] & enemy[kKnight]) return kKnight;
  if (king_attacks[k] & enemy[kKing]) return kKing;
  if (king_pawn_attackers[C][k] & enemy[kPawn]) return kPawn;
  return 0;
}

template <int C>
int KingAttacked(const T_Bitboard* board) {
  const u64 king = OwnPieces<C>(board)[kKing];
  if (!king) return 0;  // a side without a king is never in check
  const int k = BitScanForward(king);
  const u64* enemy = OwnPieces<1 - C>(board);
  const u64 straight = enemy[kRook] | enemy[kQueen];
  const u64 diagonal = enemy[kBishop] | enemy[kQueen];
  // One test for every family at once: usually nothing could attack at all.
  const T_KingZone& z = king_zones.zone[C][k];
  const u64 candidates = (z.rook_lines & straight) | (z.bishop_lines & diagonal) | (z.knights & enemy[kKnight]) |
                         (z.kings & enemy[kKing]) | (z.pawns & enemy[kPawn]);
  if (!candidates) return 0;
  return KingAttackerCode<C>(board, k, straight, diagonal);
}

// Only the squares c..g of C's back rank are asked about, so the rays that
// leave the board behind the back rank are not tested and the pawn squares
// need no edge guards.
template <int C>
int CastlingSquareAttacked(const T_Bitboard* board, int square) {
  constexpr int kEnemy = 1 - C;
  const u64* enemy = OwnPieces<kEnemy>(board);
  const int* names = OwnNames<kEnemy>(board);
  const u64 occupied = board->all_piece;
  const int s = square;

  const u64 straight = enemy[kRook] | enemy[kQueen];
  const u64 diagonal = enemy[kBishop] | enemy[kQueen];
  if (C) {
    if (int code = RayTest<true>(ray_north, s, occupied, straight, names)) return code;
    if (int code = RayTest<false>(ray_west, s, occupied, straight, names)) return code;
    if (int code = RayTest<true>(ray_east, s, occupied, straight, names)) return code;
    if (int code = RayTest<true>(ray_north_east, s, occupied, diagonal, names)) return code;
    if (int code = RayTest<true>(ray_north_west, s, occupied, diagonal, names)) return code;
  } else {
    if (int code = RayTest<false>(ray_west, s, occupied, straight, names)) return code;
    if (int code = RayTest<false>(ray_south, s, occupied, straight, names)) return code;
    if (int code = RayTest<true>(ray_east, s, occupied, straight, names)) return code;
    if (int code = RayTest<false>(ray_south_west, s, occupied, diagonal, names)) return code;
    if (int code = RayTest<false>(ray_south_east, s, occupied, diagonal, names)) return code;
  }
  if (knight_attacks[s] & enemy[kKnight]) return kKnight;
  if (king_attacks[s] & enemy[kKing]) return kKing;
  const u64 m = square_mask[s];
  const u64 pawn_squares = C ? (m << 7) | (m << 9) : (m >> 7) | (m >> 9);
  if (pawn_squares & enemy[kPawn]) return kPawn;
  return 0;
}

template int KingAttacked<1>(const T_Bitboard*);
template int KingAttacked<0>(const T_Bitboard*);
template int CastlingSquareAttacked<1>(const T_Bitboard*, int);
template int CastlingSquareAttacked<0>(const T_Bitboard*, int);
