#pragma once
#include <array>

#include "board/types.h"

// Constant board geometry, indexed by square (a1 = 0 ... h8 = 63), built at
// compile time from the stepping rules.
namespace bittables_detail {

using Table = std::array<u64, 64>;

// Squares reached from s by repeated steps (df, dr), stopping at the edge;
// with single set, only the first step.
constexpr u64 Walk(int s, int df, int dr, bool single) {
  u64 mask = 0;
  int f = s % 8 + df, r = s / 8 + dr;
  while (f >= 0 && f < 8 && r >= 0 && r < 8) {
    mask |= 1ull << (r * 8 + f);
    if (single) break;
    f += df;
    r += dr;
  }
  return mask;
}

constexpr Table Ray(int df, int dr) {
  Table t{};
  for (int s = 0; s < 64; ++s) t[s] = Walk(s, df, dr, false);
  return t;
}

constexpr Table Steps(const int (&d)[8][2]) {
  Table t{};
  for (int s = 0; s < 64; ++s)
    for (const auto& step : d) t[s] |= Walk(s, step[0], step[1], true);
  return t;
}

constexpr int kKingSteps[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
constexpr int kKnightSteps[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};

// Pawn captures exist only from ranks 2 to 7.
constexpr Table PawnAttacks(int dr) {
  Table t{};
  for (int s = 8; s < 56; ++s) t[s] = Walk(s, -1, dr, true) | Walk(s, 1, dr, true);
  return t;
}

constexpr Table Squares() {
  Table t{};
  for (int s = 0; s < 64; ++s) t[s] = 1ull << s;
  return t;
}

}  // namespace bittables_detail

inline constexpr bittables_detail::Table square_mask = bittables_detail::Squares();
inline constexpr bittables_detail::Table king_attacks = bittables_detail::Steps(bittables_detail::kKingSteps);
inline constexpr bittables_detail::Table knight_attacks = bittables_detail::Steps(bittables_detail::kKnightSteps);
inline constexpr bittables_detail::Table ray_north = bittables_detail::Ray(0, 1);
inline constexpr bittables_detail::Table ray_south = bittables_detail::Ray(0, -1);
inline constexpr bittables_detail::Table ray_east = bittables_detail::Ray(1, 0);
inline constexpr bittables_detail::Table ray_west = bittables_detail::Ray(-1, 0);
inline constexpr bittables_detail::Table ray_north_east = bittables_detail::Ray(1, 1);
inline constexpr bittables_detail::Table ray_north_west = bittables_detail::Ray(-1, 1);
inline constexpr bittables_detail::Table ray_south_east = bittables_detail::Ray(1, -1);
inline constexpr bittables_detail::Table ray_south_west = bittables_detail::Ray(-1, -1);
inline constexpr bittables_detail::Table white_pawn_attacks = bittables_detail::PawnAttacks(1);
inline constexpr bittables_detail::Table black_pawn_attacks = bittables_detail::PawnAttacks(-1);

// Lowest / highest set bit of a non-empty mask (callers never scan an empty one).
inline constexpr int BitScanForward(u64 mask) { return __builtin_ctzll(mask); }
inline constexpr int BitScanReverse(u64 mask) { return 63 - __builtin_clzll(mask); }
inline constexpr int PopCount(u64 mask) { return __builtin_popcountll(mask); }

constexpr u64 kRank1 = 0x00000000000000FFull;
constexpr u64 kRank2 = 0x000000000000FF00ull;
constexpr u64 kRank7 = 0x00FF000000000000ull;
constexpr u64 kRank8 = 0xFF00000000000000ull;
constexpr u64 kFileA = 0x0101010101010101ull;
constexpr u64 kFileH = 0x8080808080808080ull;
