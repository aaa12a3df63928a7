#include <gtest/gtest.h>

#include <vector>

#include "search/hash_table.h"
#include "search/ordering.h"

namespace {

// Entry i of a test list holds the move word 100 + i, so an expected order can be
// written as the original indices. Captures come first with the given keys.
T_MoveList MakeList(const std::vector<int>& capture_keys, int quiet_count) {
  T_MoveList list{};
  int n = 0;
  for (int key : capture_keys) {
    list.move[n] = 100 + n;
    list.sort_key[n] = key;
    ++n;
  }
  list.capture_count = n;
  for (int q = 0; q < quiet_count; ++q) {
    list.move[n] = 100 + n;
    list.sort_key[n] = 0;
    ++n;
  }
  list.count = n;
  return list;
}

int Id(int index) { return 100 + index; }

// The order of the list as original indices; each key must still travel with its move.
std::vector<int> Order(const T_MoveList& list, const T_MoveList& original) {
  std::vector<int> order;
  for (int i = 0; i < list.count; ++i) {
    int from = list.move[i] - 100;
    EXPECT_EQ(list.sort_key[i], original.sort_key[from]) << "key parted from its move at " << i;
    order.push_back(from);
  }
  return order;
}

TEST(SortCaptures, ExchangePatternAndQuietPartUntouched) {
  struct Case {
    const char* name;
    std::vector<int> keys;
    std::vector<int> expected;
  } cases[] = {
      {"pawn takes pawn, knight takes rook", {9, 38}, {1, 0, 2, 3}},
      {"equal keys carried past each other", {2, 2, 3}, {2, 1, 0, 3, 4}},
      {"ascending", {1, 2, 3}, {2, 1, 0, 3, 4}},
      {"equal keys behind a higher one", {5, 5, 5, 7}, {3, 1, 2, 0, 4, 5}},
      {"already descending", {40, 22, 9, 5}, {0, 1, 2, 3, 4, 5}},
      {"single capture", {9}, {0, 1, 2}},
      {"no capture", {}, {0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    T_MoveList original = MakeList(c.keys, 2);
    // Quiet keys that would sort differently prove that only the captures are sorted.
    original.sort_key[original.count - 1] = 99;
    T_MoveList list = original;
    SortCaptures(&list);
    EXPECT_EQ(Order(list, original), c.expected);
  }
}

TEST(Killers, StoreShiftsAndClearSparesTheLastPly) {
  ClearKillers();
  T_MoveList list = MakeList({}, 3);
  StoreKiller(&list, 0, 7);
  EXPECT_EQ(first_killer[7], Id(0));
  EXPECT_EQ(second_killer[7], 0);
  StoreKiller(&list, 1, 7);
  EXPECT_EQ(first_killer[7], Id(1));
  EXPECT_EQ(second_killer[7], Id(0));
  StoreKiller(&list, 1, 7);  // already the first killer: nothing changes
  EXPECT_EQ(first_killer[7], Id(1));
  EXPECT_EQ(second_killer[7], Id(0));
  StoreKiller(&list, 0, 7);  // the old second comes back in front
  EXPECT_EQ(first_killer[7], Id(0));
  EXPECT_EQ(second_killer[7], Id(1));
  EXPECT_EQ(first_killer[6], 0);

  StoreKiller(&list, 2, 99);
  StoreKiller(&list, 2, 100);
  StoreKiller(&list, 1, 100);
  ClearKillers();
  EXPECT_EQ(first_killer[7], 0);
  EXPECT_EQ(second_killer[7], 0);
  EXPECT_EQ(first_killer[99], 0);
  EXPECT_EQ(first_killer[100], Id(1));
  EXPECT_EQ(second_killer[100], Id(2));
  first_killer[100] = second_killer[100] = 0;
}

// Killers are given as list indices (-1: a move word that is not in the list).
TEST(Killers, KillersToFront) {
  struct Case {
    const char* name;
    std::vector<int> keys;
    int quiet_count;
    int first, second;
    std::vector<int> expected;
  } cases[] = {
      // Keys 9 and 38 sort to 38, 9; the killers land between them.
      {"killers behind the best capture", {9, 38}, 6, 5, 3, {1, 5, 3, 0, 2, 4, 6, 7}},
      {"no capture: killers at 0 and 1", {}, 5, 3, 4, {3, 4, 0, 1, 2}},
      {"first absent: second to start + 1", {30}, 8, -1, 7, {0, 1, 7, 2, 3, 4, 5, 6, 8}},
      {"second absent", {30}, 4, 3, -1, {0, 3, 1, 2, 4}},
      {"killers already in place", {}, 4, 0, 1, {0, 1, 2, 3}},
      {"second before its target stays", {}, 4, -1, 0, {0, 1, 2, 3}},
      {"both absent", {12}, 3, -1, -1, {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    T_MoveList original = MakeList(c.keys, c.quiet_count);
    T_MoveList list = original;
    const int ply = 9;
    first_killer[ply] = c.first < 0 ? Id(90) : Id(c.first);
    second_killer[ply] = c.second < 0 ? Id(91) : Id(c.second);
    SortCaptures(&list);
    int start = (list.capture_count > 0 && list.sort_key[0] >= 0) ? 1 : 0;
    KillersToFront(&list, start, ply);
    EXPECT_EQ(Order(list, original), c.expected);
  }
  ClearKillers();
}

// The whole node ordering: the table's move runs last and wins first place even
// when it was also a killer.
TEST(Killers, TableMoveThatIsAKillerEndsFirst) {
  CreateHashTable();
  ClearHashTable();
  const u64 key = 0x1234'5678'9ABC'DEF0ull;
  T_MoveList original = MakeList({9, 38}, 4);
  const int ply = 4;
  ClearKillers();
  first_killer[ply] = Id(4);
  second_killer[ply] = Id(3);
  StoreHash(1, 5, ply, &original, 4, key, 10);

  T_MoveList list = original;
  SortCaptures(&list);
  KillersToFront(&list, 1, ply);
  HashMoveToFront(&list, key);
  EXPECT_EQ(Order(list, original), (std::vector<int>{4, 1, 3, 0, 2, 5}));

  ClearKillers();
  ReleaseHashTable();
}

}  // namespace
