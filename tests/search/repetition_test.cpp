#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/zobrist.h"
#include "search/repetition.h"
#include "uci/uci.h"

namespace {

u64 KeyOf(const std::string& fen, T_Bitboard* out = nullptr) {
  T_Bitboard b{};
  ReadFen(&b, ("fen " + fen).c_str());
  HashKeyFromScratch(&b);
  if (out) *out = b;
  return b.hash_key;
}

class Repetition : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitZobrist();
    // Distinct real positions: the two kings and a white knight on one of 24 squares
    // (ranks 4 to 6), the side to move alternating.
    for (int s = 0; s < 24; ++s) {
      int rank = 3 + s / 8, file = s % 8;
      std::string placement = "4k3";
      for (int r = 6; r >= 1; --r) {
        placement += "/";
        if (r != rank) {
          placement += "8";
          continue;
        }
        if (file) placement += std::to_string(file);
        placement += "N";
        if (file < 7) placement += std::to_string(7 - file);
      }
      placement += "/4K3";
      pool.push_back(KeyOf(placement + (s % 2 ? " b" : " w") + " - -"));
    }
  }

  void SetUp() override {
    for (int i = 0; i < kSearchKeys; ++i) search_keys[i] = static_cast<u64>(i);
    for (int i = 0; i < kKeyHistory; ++i) key_history[i] = static_cast<u64>(i);
    key_history_count = 0;
  }
  void TearDown() override { SetUp(); }

  static std::vector<u64> pool;
};

std::vector<u64> Repetition::pool;

TEST_F(Repetition, PoolKeysAreDistinct) {
  for (size_t i = 0; i < pool.size(); ++i)
    for (size_t j = i + 1; j < pool.size(); ++j) ASSERT_NE(pool[i], pool[j]) << i << " " << j;
}

// The search path only: search_keys[ply] equals search_keys[earlier].
TEST_F(Repetition, SearchPathAtEvenDistancesFromFour) {
  struct Case {
    int ply, earlier;
    bool expected;
  } cases[] = {
      {4, 0, true},  {5, 1, true},  {6, 2, true},  {6, 0, true},  {9, 1, true},
      {6, 4, false}, {6, 3, false}, {7, 2, false}, {5, 0, false}, {12, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "ply " << c.ply << " earlier " << c.earlier);
    SetUp();
    for (int p = 0; p <= c.ply; ++p) search_keys[p] = pool[p];
    search_keys[c.ply] = search_keys[c.earlier];
    EXPECT_EQ(IsRepetition(c.ply), c.expected);
  }
}

// The game before the root: key_history holds count + 1 positions, the last is the root;
// the position at ply equals key_history[index] (or, with index -1, nothing).
TEST_F(Repetition, GameHistoryOnlyNearTheRoot) {
  struct Case {
    int count, ply, index;
    bool expected;
  } cases[] = {
      {6, 1, 3, true},    // four plies back
      {6, 1, 1, true},    // six plies back
      {7, 1, 0, true},    // eight plies back, to the first entry
      {6, 2, 4, true},  {6, 3, 5, true},  {6, 2, 0, true},
      {1, 3, 0, true},    // n = 0: only the first entry
      {6, 1, 5, false},   // two plies back
      {6, 1, 4, false},   // an odd distance
      {6, 3, 6, false},   // the root itself, three plies back
      {0, 3, 0, false},   // n < 0
      {2, 1, 0, false},   // n < 0
      {6, 4, 2, false},   // from ply 4 the game is not looked at
      {6, 5, 3, false},
      {6, 6, 0, false},
      {6, 2, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "count " << c.count << " ply " << c.ply << " index " << c.index);
    SetUp();
    for (int k = 0; k <= c.count; ++k) key_history[k] = pool[k];
    key_history_count = c.count;
    search_keys[0] = key_history[c.count];
    for (int p = 1; p <= c.ply; ++p) search_keys[p] = pool[c.count + p];
    if (c.index >= 0) search_keys[c.ply] = key_history[c.index];
    EXPECT_EQ(IsRepetition(c.ply), c.expected);
  }
}

// Four-ply lines that come back to the root's placement; only a truly identical
// position (side, castling rights, en passant) is a repetition.
TEST_F(Repetition, FourPlyReturnNeedsTheSameRightsAndEnPassant) {
  struct Case {
    const char* name;
    const char* line[5];
    bool expected;
  } cases[] = {
      {"knights out and back",
       {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
        "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq -",
        "rnbqkb1r/pppppppp/5n2/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq -",
        "rnbqkb1r/pppppppp/5n2/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"},
       true},
      {"rooks out and back lose the short castling rights",
       {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -",
        "r3k2r/8/8/8/8/8/8/R3K1R1 b Qkq -",
        "r3k1r1/8/8/8/8/8/8/R3K1R1 w Qq -",
        "r3k1r1/8/8/8/8/8/8/R3K2R b Qq -",
        "r3k2r/8/8/8/8/8/8/R3K2R w Qq -"},
       false},
      {"the en-passant chance is gone",
       {"rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3",
        "rnbqkb1r/ppp1pppp/5n2/8/3pP3/8/PPPP1PPP/RNBQKBNR w KQkq -",
        "rnbqkb1r/ppp1pppp/5n2/8/3pP3/5N2/PPPP1PPP/RNBQKB1R b KQkq -",
        "rnbqkbnr/ppp1pppp/8/8/3pP3/5N2/PPPP1PPP/RNBQKB1R w KQkq -",
        "rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq -"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    for (int p = 0; p < 5; ++p) search_keys[p] = KeyOf(c.line[p]);
    EXPECT_EQ(IsRepetition(4), c.expected);

    // The same positions as the game before the root are seen from ply 1 to 3.
    for (int k = 0; k < 4; ++k) key_history[k] = search_keys[k];
    key_history_count = 3;
    search_keys[0] = key_history[3];
    search_keys[1] = KeyOf(c.line[4]);
    EXPECT_EQ(IsRepetition(1), c.expected);
  }
  T_Bitboard ep;
  KeyOf("rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3", &ep);
  EXPECT_EQ(ep.taking_passage_yes, 1) << "the en-passant case needs a position that keeps its en-passant state";
}

}  // namespace
