#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "board/zobrist.h"
#include "search/repetition.h"
#include "uci/output.h"
#include "uci/uci.h"

namespace {

// Every field but eval, which the position command leaves stale.
testing::AssertionResult SameBoard(const T_Bitboard& a, const T_Bitboard& b) {
  std::vector<std::string> diff;
  if (a.all_piece != b.all_piece) diff.push_back("all_piece");
  if (a.all_white_piece != b.all_white_piece) diff.push_back("all_white_piece");
  if (a.all_black_piece != b.all_black_piece) diff.push_back("all_black_piece");
  for (int i = 0; i < 7; ++i) {
    if (a.white_piece[i] != b.white_piece[i]) diff.push_back("white_piece[" + std::to_string(i) + "]");
    if (a.black_piece[i] != b.black_piece[i]) diff.push_back("black_piece[" + std::to_string(i) + "]");
  }
  for (int s = 0; s < 64; ++s) {
    if (a.white_name_from_coord[s] != b.white_name_from_coord[s]) diff.push_back("white_name " + std::to_string(s));
    if (a.black_name_from_coord[s] != b.black_name_from_coord[s]) diff.push_back("black_name " + std::to_string(s));
  }
  if (a.colour_move != b.colour_move) diff.push_back("colour_move");
  if (a.taking_passage_yes != b.taking_passage_yes) diff.push_back("taking_passage_yes");
  if (a.taking_passage_yes && (a.taking_passage_x != b.taking_passage_x || a.taking_passage_y != b.taking_passage_y))
    diff.push_back("taking_passage square");
  if (a.castling_Q != b.castling_Q || a.castling_K != b.castling_K || a.castling_q != b.castling_q ||
      a.castling_k != b.castling_k)
    diff.push_back("castling");
  if (a.hash_key != b.hash_key) diff.push_back("hash_key");
  if (diff.empty()) return testing::AssertionSuccess();
  auto failure = testing::AssertionFailure();
  for (const std::string& d : diff) failure << d << " ";
  return failure;
}

T_Bitboard FromFen(const std::string& fen) {
  T_Bitboard b{};
  ReadFen(&b, ("fen " + fen).c_str());
  HashKeyFromScratch(&b);
  return b;
}

const char kStart[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

class PositionTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitZobrist(); }
  void SetUp() override { output_muted = false; }

  // Runs the command and returns what it wrote.
  std::string Run(const std::string& line) {
    std::snprintf(input_line, sizeof(input_line), "%s", line.c_str());
    testing::internal::CaptureStdout();
    PositionCommand(&board_);
    return testing::internal::GetCapturedStdout();
  }

  T_Bitboard board_{};
};

TEST_F(PositionTest, StartPositionAndTwoMovesFillTheKeyHistory) {
  EXPECT_EQ(Run("position startpos moves e2e4 e7e5"), "");
  const T_Bitboard after[] = {
      FromFen(kStart),
      FromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"),
      FromFen("rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2"),
  };
  EXPECT_TRUE(SameBoard(board_, after[2]));
  ASSERT_EQ(key_history_count, 2);
  for (int i = 0; i <= 2; ++i) EXPECT_EQ(key_history[i], after[i].hash_key) << i;
  EXPECT_EQ(key_history[3], 3u);  // entries past the count hold their index
  EXPECT_EQ(key_history[999], 999u);

  // A new command starts the history afresh.
  EXPECT_EQ(Run("position startpos"), "");
  EXPECT_TRUE(SameBoard(board_, after[0]));
  EXPECT_EQ(key_history_count, 0);
  EXPECT_EQ(key_history[1], 1u);
}

TEST_F(PositionTest, StartPositionForms) {
  const T_Bitboard start = FromFen(kStart);
  const char* lines[] = {"position startpos", "position anything", "position startpos moves",
                         "position startpos moves ", "position startpos moves    "};
  for (const char* line : lines) {
    board_ = FromFen("8/8/8/8/8/8/8/4K3 b - - 0 1");
    EXPECT_EQ(Run(line), "") << line;
    EXPECT_TRUE(SameBoard(board_, start)) << line;
    EXPECT_EQ(key_history_count, 0) << line;
  }
}

TEST_F(PositionTest, FenWithMovesAndSpacing) {
  EXPECT_EQ(Run("position fen 4k3/8/8/8/8/8/8/4K2R w K - 0 1 moves    e1g1   e8d8  "), "");
  EXPECT_TRUE(SameBoard(board_, FromFen("3k4/8/8/8/8/8/8/5RK1 w - - 2 2")));
  EXPECT_EQ(key_history_count, 2);
}

TEST_F(PositionTest, CastlingMovesKingAndRook) {
  const std::string fen = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
  struct Case { const char* moves; const char* after; } cases[] = {
      {"e1g1", "r3k2r/8/8/8/8/8/8/R4RK1 b kq - 1 1"},
      {"e1c1", "r3k2r/8/8/8/8/8/8/2KR3R b kq - 1 1"},
      {"e1c1 e8g8", "r4rk1/8/8/8/8/8/8/2KR3R w - - 2 2"},
      {"e1g1 e8c8", "2kr3r/8/8/8/8/8/8/R4RK1 w - - 2 2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run("position fen " + fen + " moves " + c.moves), "") << c.moves;
    EXPECT_TRUE(SameBoard(board_, FromFen(c.after))) << c.moves;
  }
}

TEST_F(PositionTest, PromotionLetters) {
  const std::string fen = "position fen 1r5k/4P3/8/8/8/8/8/4K3 w - - 0 1 moves ";
  struct Case { const char* token; const char* warning; const char* after; } cases[] = {
      {"e7e8", "", "1r2Q2k/8/8/8/8/8/8/4K3 b - - 0 1"},
      {"e7e8q", "", "1r2Q2k/8/8/8/8/8/8/4K3 b - - 0 1"},
      {"e7e8r", "", "1r2R2k/8/8/8/8/8/8/4K3 b - - 0 1"},
      {"e7e8b", "", "1r2B2k/8/8/8/8/8/8/4K3 b - - 0 1"},
      {"e7e8n", "", "1r2N2k/8/8/8/8/8/8/4K3 b - - 0 1"},
      {"e7e8x", "WARNING ! moves error\n", "1r5k/4P3/8/8/8/8/8/4K3 w - - 0 1"},
      {"e7e8Q", "WARNING ! moves error\n", "1r5k/4P3/8/8/8/8/8/4K3 w - - 0 1"},
      // A non-promotion takes "q" or no letter only.
      {"e1d2q", "", "1r5k/4P3/8/8/8/8/3K4/8 b - - 1 1"},
      {"e1d2r", "WARNING ! moves error\n", "1r5k/4P3/8/8/8/8/8/4K3 w - - 0 1"},
      {"e1d2n", "WARNING ! moves error\n", "1r5k/4P3/8/8/8/8/8/4K3 w - - 0 1"},
      {"e1f1b", "WARNING ! moves error\n", "1r5k/4P3/8/8/8/8/8/4K3 w - - 0 1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(fen + c.token), c.warning) << c.token;
    EXPECT_TRUE(SameBoard(board_, FromFen(c.after))) << c.token;
    EXPECT_EQ(key_history_count, 1) << c.token;
    EXPECT_EQ(key_history[1], board_.hash_key) << c.token;
  }
  // Black promotes by capture, the last of a pawn's eight promotions.
  EXPECT_EQ(Run("position fen 4k3/8/8/8/8/8/1p6/R3K3 b - - 0 1 moves b2a1n"), "");
  EXPECT_TRUE(SameBoard(board_, FromFen("4k3/8/8/8/8/8/8/n3K3 w - - 0 1")));
}

TEST_F(PositionTest, FailedTokensLeaveTheBoardAndAppendItsKey) {
  const T_Bitboard start = FromFen(kStart);
  const T_Bitboard e4 = FromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  const char* bad[] = {"e2e5", "e2", "e2e", "e2e4qq", "e2e45", "i2i4", "e0e4", "E2E4", "e2e4\t"};
  for (const char* token : bad) {
    EXPECT_EQ(Run(std::string("position startpos moves ") + token + " e2e4"), "WARNING ! moves error\n") << token;
    EXPECT_TRUE(SameBoard(board_, e4)) << token;
    ASSERT_EQ(key_history_count, 2) << token;
    EXPECT_EQ(key_history[1], start.hash_key) << token;
    EXPECT_EQ(key_history[2], e4.hash_key) << token;
  }
  // A move of the wrong side is no move either.
  EXPECT_EQ(Run("position startpos moves e7e5"), "WARNING ! moves error\n");
  EXPECT_TRUE(SameBoard(board_, start));
}

TEST_F(PositionTest, EnPassantCapture) {
  EXPECT_EQ(Run("position startpos moves e2e4 a7a6 e4e5 d7d5 e5d6"), "");
  EXPECT_TRUE(SameBoard(board_, FromFen("rnbqkbnr/1pp1pppp/p2P4/8/8/8/PPPP1PPP/RNBQKBNR b KQkq - 0 3")));
}

TEST_F(PositionTest, MoreThan999TokensKeepTheMostRecentKeys) {
  const char* cycle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  const T_Bitboard positions[] = {
      FromFen(kStart),
      FromFen("rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq - 1 1"),
      FromFen("rnbqkb1r/pppppppp/5n2/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 2 2"),
      FromFen("rnbqkb1r/pppppppp/5n2/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 3 2"),
  };
  for (int tokens : {998, 999, 1000, 1001, 1003, 2500}) {
    std::string line = "position startpos moves";
    for (int i = 0; i < tokens; ++i) line += std::string(" ") + cycle[i % 4];
    EXPECT_EQ(Run(line), "") << tokens;
    EXPECT_TRUE(SameBoard(board_, positions[tokens % 4])) << tokens;
    int count = tokens < 999 ? tokens : 999;
    ASSERT_EQ(key_history_count, count) << tokens;
    for (int j = 0; j <= count; ++j) {
      // Entry count - j is the position j tokens before the last.
      ASSERT_EQ(key_history[count - j], positions[((tokens - j) % 4 + 4) % 4].hash_key) << tokens << " " << j;
    }
  }
}

}  // namespace
