#include <gtest/gtest.h>
#include <unistd.h>

#include "search/hash_table.h"

namespace {

class HashTable : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateHashTable();
    ClearHashTable();
    for (int i = 0; i < 8; ++i) {
      list.move[i] = 500 + i;
      list.sort_key[i] = 10 * i;
    }
    list.capture_count = 2;
    list.count = 8;
  }
  void TearDown() override { ReleaseHashTable(); }

  T_MoveList list{};
};

constexpr u64 kKey = 0x9E37'79B9'7F4A'7C15ull;

TEST(HashSize, EntryCountPerMegabytes) {
  struct Case {
    int megabytes;
    u64 entries;
  } cases[] = {
      {-5, 16384},      {0, 16384},       {1, 16384},       {2, 32768},       {3, 65536},
      {4, 65536},       {5, 131072},      {8, 131072},      {9, 131072},      {10, 262144},
      {16, 262144},     {19, 262144},     {20, 524288},     {39, 524288},     {40, 1048576},
      {79, 1048576},    {80, 2097152},    {159, 2097152},   {160, 4194304},   {319, 4194304},
      {320, 8388608},   {639, 8388608},   {640, 16777216},  {1023, 16777216}, {1024, 16777216},
      {4096, 16777216}, {2147483647, 16777216},
  };
  for (const Case& c : cases) EXPECT_EQ(HashEntryCount(c.megabytes), c.entries) << c.megabytes << " MB";
}

TEST(HashSize, CreateResizeRelease) {
  ReleaseHashTable();
  EXPECT_FALSE(HashTableExists());
  ClearHashTable();  // nothing to clear: no effect

  CreateHashTable();
  ASSERT_TRUE(HashTableExists());
  EXPECT_EQ(hash_mask, 16383u);
  EXPECT_EQ(hash_table[16383].key, 0u);  // zero-filled until cleared
  ClearHashTable();
  EXPECT_EQ(hash_table[0].key, ~0ull);
  EXPECT_EQ(hash_table[16383].key, ~0ull);

  ResizeHashTable(5);
  ASSERT_TRUE(HashTableExists());
  EXPECT_EQ(hash_mask, 131071u);
  EXPECT_EQ(hash_table[131071].key, 0u);

  CreateHashTable();  // back to the default size
  EXPECT_EQ(hash_mask, 16383u);

  ReleaseHashTable();
  EXPECT_FALSE(HashTableExists());
  ReleaseHashTable();  // twice is harmless
}

// The message goes to standard output; the child sends that to its standard error,
// where the death test can read it. The bytes are the Windows-1251 text.
TEST(HashSizeDeathTest, ResizeWithoutTableEndsWithStatusOne) {
  ReleaseHashTable();
  EXPECT_EXIT(
      {
        dup2(2, 1);
        ResizeHashTable(5);
      },
      ::testing::ExitedWithCode(1), "^\xEE\xF1\xE2\xEE\xE1\xEE\xE6\xE4\xE0\xF2\xFC \xED\xE5\xF7\xE5\xE3\xEE \n$");
}

TEST_F(HashTable, ProbeAnswersByBoundAndWindow) {
  struct Case {
    int colour;
    int bound;
    int value;
    int alpha, beta;
    int expected;
  } cases[] = {
      // White: exact and fail-low entries answer below alpha, cut entries at or above beta.
      {1, 1, 50, 40, 60, kNoHashValue},
      {1, 1, 50, 60, 61, 50},
      {1, 1, 50, 50, 51, kNoHashValue},
      {1, 3, 50, 60, 61, 50},
      {1, 3, 50, 40, 60, kNoHashValue},
      {1, 2, 70, 59, 60, 70},
      {1, 2, 70, 70, 71, kNoHashValue},
      {1, 2, 70, 69, 70, 70},
      {1, 2, 70, 79, 80, kNoHashValue},
      // Black: cut entries at or below alpha, the others above beta.
      {0, 2, -30, -20, -19, -30},
      {0, 2, -30, -30, -29, -30},
      {0, 2, -30, -40, -39, kNoHashValue},
      {0, 1, -30, -50, -40, -30},
      {0, 3, -30, -50, -40, -30},
      {0, 1, -30, -40, -30, kNoHashValue},
      {0, 3, -30, -40, -20, kNoHashValue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "colour " << c.colour << " bound " << c.bound << " value " << c.value
                                    << " window " << c.alpha << ".." << c.beta);
    ClearHashTable();
    StoreHash(c.bound, 5, 2, &list, 3, kKey, c.value);
    int v = c.colour ? ProbeHashWhite(5, kKey, 2, c.alpha, c.beta) : ProbeHashBlack(5, kKey, 2, c.alpha, c.beta);
    EXPECT_EQ(v, c.expected);
  }
}

TEST_F(HashTable, ProbeNeedsTheSameKeyAndEnoughDraft) {
  StoreHash(2, 6, 2, &list, 0, kKey, 300);  // draft 4
  EXPECT_EQ(ProbeHashWhite(7, kKey, 3, 0, 1), 300);             // remaining depth 4
  EXPECT_EQ(ProbeHashWhite(7, kKey, 2, 0, 1), kNoHashValue);    // remaining depth 5
  EXPECT_EQ(ProbeHashWhite(5, kKey, 4, 0, 1), 300);             // remaining depth 1
  const u64 same_slot = kKey ^ ((hash_mask + 1) << 3);
  EXPECT_EQ(ProbeHashWhite(7, same_slot, 3, 0, 1), kNoHashValue);

  // A cleared table answers nothing and brings no move forward.
  ClearHashTable();
  EXPECT_EQ(ProbeHashWhite(7, kKey, 3, 0, 1), kNoHashValue);
  EXPECT_EQ(ProbeHashBlack(7, kKey, 3, 1000, 1001), kNoHashValue);
  T_MoveList before = list;
  HashMoveToFront(&list, kKey);
  for (int i = 0; i < list.count; ++i) EXPECT_EQ(list.move[i], before.move[i]);
}

TEST_F(HashTable, ReplacementByBoundKindAndDraft) {
  struct Case {
    const char* name;
    int old_bound, old_iteration, old_ply;
    int new_bound, new_iteration, new_ply;
    bool replaced;
  } cases[] = {
      {"exact kept against a deeper cut entry", 1, 5, 2, 2, 10, 1, false},
      {"exact replaced by exact of equal draft", 1, 5, 2, 1, 4, 1, true},
      {"exact kept against shallower exact", 1, 5, 2, 1, 5, 3, false},
      {"exact replaced by deeper exact", 1, 5, 2, 1, 9, 1, true},
      {"cut replaced by exact of equal draft", 2, 6, 3, 1, 3, 0, true},
      {"cut replaced by cut of equal draft", 2, 6, 3, 2, 6, 3, true},
      {"cut kept against shallower cut", 2, 6, 3, 2, 6, 4, false},
      {"cut kept against a deep fail-low", 2, 6, 3, 3, 20, 1, false},
      {"fail-low replaced by fail-low of equal draft", 3, 4, 2, 3, 5, 3, true},
      {"fail-low replaced by cut", 3, 4, 2, 2, 4, 2, true},
      {"fail-low kept against shallower exact", 3, 4, 2, 1, 4, 3, false},
  };
  const u64 other = kKey + (hash_mask + 1);  // another position in the same slot
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearHashTable();
    StoreHash(c.old_bound, c.old_iteration, c.old_ply, &list, 1, kKey, 11);
    StoreHash(c.new_bound, c.new_iteration, c.new_ply, &list, 6, other, -22);
    const T_HashEntry& e = hash_table[kKey & hash_mask];
    if (c.replaced) {
      EXPECT_EQ(e.key, other);
      EXPECT_EQ(e.best_move, list.move[6]);
      EXPECT_EQ(e.value, -22);
      EXPECT_EQ(e.bound, c.new_bound);
      EXPECT_EQ(e.stored_ply, c.new_ply);
      EXPECT_EQ(e.stored_depth, c.new_iteration);
    } else {
      EXPECT_EQ(e.key, kKey);
      EXPECT_EQ(e.best_move, list.move[1]);
      EXPECT_EQ(e.value, 11);
      EXPECT_EQ(e.bound, c.old_bound);
    }
  }

  // After a clear the weakest store still writes over what the slot held before.
  ClearHashTable();
  StoreHash(3, 1, 1, &list, 2, other, 7);
  EXPECT_EQ(hash_table[kKey & hash_mask].key, other);
  EXPECT_EQ(hash_table[kKey & hash_mask].best_move, list.move[2]);
}

TEST_F(HashTable, HashMoveToFront) {
  struct Case {
    int stored_index;  // -1: a move that is not in the list
    int expected[8];
  } cases[] = {
      {5, {5, 0, 1, 2, 3, 4, 6, 7}},
      {7, {7, 0, 1, 2, 3, 4, 5, 6}},
      {0, {0, 1, 2, 3, 4, 5, 6, 7}},
      {-1, {0, 1, 2, 3, 4, 5, 6, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored_index);
    T_MoveList moves = list;
    T_MoveList source = list;
    if (c.stored_index < 0) source.move[0] = 999;
    ClearHashTable();
    StoreHash(1, 4, 1, &source, c.stored_index < 0 ? 0 : c.stored_index, kKey, 0);
    HashMoveToFront(&moves, kKey);
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(moves.move[i], 500 + c.expected[i]) << i;
      EXPECT_EQ(moves.sort_key[i], 10 * c.expected[i]) << i;
    }
    EXPECT_EQ(moves.count, 8);
    EXPECT_EQ(moves.capture_count, 2);
  }
}

// Only the first count entries are searched, and the lowest match wins.
TEST_F(HashTable, HashMoveToFrontLooksOnlyInsideTheList) {
  list.move[3] = list.move[6];  // the same word twice
  StoreHash(1, 4, 1, &list, 6, kKey, 0);
  HashMoveToFront(&list, kKey);
  EXPECT_EQ(list.move[0], 506);
  EXPECT_EQ(list.sort_key[0], 30);
  EXPECT_EQ(list.move[6], 506);

  T_MoveList short_list = list;
  short_list.count = 3;
  short_list.move[5] = 777;
  StoreHash(1, 4, 1, &short_list, 5, kKey, 0);
  T_MoveList before = short_list;
  HashMoveToFront(&short_list, kKey);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(short_list.move[i], before.move[i]);
}

}  // namespace
