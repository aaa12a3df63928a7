#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

#include "board/bittables.h"

namespace {

constexpr int Sq(const char* name) { return (name[1] - '1') * 8 + (name[0] - 'a'); }

u64 Set(std::initializer_list<const char*> squares) {
  u64 mask = 0;
  for (const char* s : squares) mask |= 1ull << Sq(s);
  return mask;
}

using Table = std::array<u64, 64>;

TEST(BitScan, LowestAndHighestBitAcrossBothHalves) {
  struct Case { u64 mask; int forward, reverse; };
  const Case cases[] = {
      {1ull << 63, 63, 63},
      {1ull, 0, 0},
      {(1ull << 5) | (1ull << 40), 5, 40},
      {(1ull << 31) | (1ull << 32), 31, 32},
      {0xFFFFFFFF00000000ull, 32, 63},
      {0x00000000FFFFFFFFull, 0, 31},
      {~0ull, 0, 63},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BitScanForward(c.mask), c.forward) << std::hex << c.mask;
    EXPECT_EQ(BitScanReverse(c.mask), c.reverse) << std::hex << c.mask;
  }
}

TEST(BitTables, EntriesOfChosenSquares) {
  struct Case { const char* table_name; const Table* table; const char* square; u64 expected; };
  const Case cases[] = {
      {"square_mask", &square_mask, "e4", Set({"e4"})},
      {"king_attacks", &king_attacks, "a1", Set({"b1", "a2", "b2"})},
      {"king_attacks", &king_attacks, "h8", Set({"g8", "g7", "h7"})},
      {"king_attacks", &king_attacks, "h4", Set({"h3", "h5", "g3", "g4", "g5"})},
      {"knight_attacks", &knight_attacks, "a1", Set({"c2", "b3"})},
      {"knight_attacks", &knight_attacks, "h1", Set({"f2", "g3"})},
      {"knight_attacks", &knight_attacks, "g7", Set({"e8", "e6", "f5", "h5"})},
      {"ray_north", &ray_north, "a1", Set({"a2", "a3", "a4", "a5", "a6", "a7", "a8"})},
      {"ray_north", &ray_north, "h8", 0},
      {"ray_south", &ray_south, "c3", Set({"c2", "c1"})},
      {"ray_east", &ray_east, "f5", Set({"g5", "h5"})},
      {"ray_west", &ray_west, "b1", Set({"a1"})},
      {"ray_west", &ray_west, "a5", 0},
      {"ray_north_east", &ray_north_east, "a1", Set({"b2", "c3", "d4", "e5", "f6", "g7", "h8"})},
      {"ray_north_east", &ray_north_east, "g1", Set({"h2"})},
      {"ray_north_west", &ray_north_west, "b6", Set({"a7"})},
      {"ray_north_west", &ray_north_west, "a3", 0},
      {"ray_south_east", &ray_south_east, "b2", Set({"c1"})},
      {"ray_south_east", &ray_south_east, "h5", 0},
      {"ray_south_west", &ray_south_west, "h3", Set({"g2", "f1"})},
      {"white_pawn_attacks", &white_pawn_attacks, "b2", Set({"a3", "c3"})},
      {"white_pawn_attacks", &white_pawn_attacks, "h5", Set({"g6"})},
      {"black_pawn_attacks", &black_pawn_attacks, "a2", Set({"b1"})},
      {"black_pawn_attacks", &black_pawn_attacks, "e7", Set({"d6", "f6"})},
  };
  for (const Case& c : cases) EXPECT_EQ((*c.table)[Sq(c.square)], c.expected) << c.table_name << "[" << c.square << "]";
}

// Totals over the board are known for each kind of move on an empty board; a
// step that wrapped round an edge would change them.
TEST(BitTables, TotalsOverTheBoard) {
  struct Case { const char* table_name; const Table* table; int total; };
  const Case cases[] = {
      {"square_mask", &square_mask, 64},
      {"king_attacks", &king_attacks, 420},
      {"knight_attacks", &knight_attacks, 336},
      {"ray_north", &ray_north, 224},
      {"ray_south", &ray_south, 224},
      {"ray_east", &ray_east, 224},
      {"ray_west", &ray_west, 224},
      {"ray_north_east", &ray_north_east, 140},
      {"ray_north_west", &ray_north_west, 140},
      {"ray_south_east", &ray_south_east, 140},
      {"ray_south_west", &ray_south_west, 140},
      {"white_pawn_attacks", &white_pawn_attacks, 84},
      {"black_pawn_attacks", &black_pawn_attacks, 84},
  };
  for (const Case& c : cases) {
    int total = 0;
    for (int s = 0; s < 64; ++s) {
      total += PopCount((*c.table)[s]);
      if (c.table != &square_mask) {
        EXPECT_FALSE((*c.table)[s] & (1ull << s)) << c.table_name << " holds its own square " << s;
      }
    }
    EXPECT_EQ(total, c.total) << c.table_name;
  }
}

TEST(BitTables, PawnAttacksEmptyOnBackRanks) {
  for (int f = 0; f < 8; ++f) {
    for (int s : {f, 56 + f}) {
      EXPECT_EQ(white_pawn_attacks[s], 0u) << s;
      EXPECT_EQ(black_pawn_attacks[s], 0u) << s;
    }
  }
}

// The generators take the nearest blocker as the lowest bit on the four rays
// that climb and the highest bit on the four that descend.
TEST(BitTables, NearestSquareIsLowestBitUpwardsAndHighestDownwards) {
  const Table* upward[] = {&ray_north, &ray_east, &ray_north_east, &ray_north_west};
  const Table* downward[] = {&ray_south, &ray_west, &ray_south_east, &ray_south_west};
  for (int s = 0; s < 64; ++s) {
    for (const Table* t : upward) {
      if ((*t)[s]) {
        EXPECT_GT(BitScanForward((*t)[s]), s);
      }
    }
    for (const Table* t : downward) {
      if ((*t)[s]) {
        EXPECT_LT(BitScanReverse((*t)[s]), s);
      }
    }
  }
  // The squares strictly between a slider and its first blocker.
  const int d1 = Sq("d1"), d5 = Sq("d5");
  EXPECT_EQ(ray_north[d1] ^ ray_north[d5] ^ square_mask[d5], Set({"d2", "d3", "d4"}));
}

}  // namespace
