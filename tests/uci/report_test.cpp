#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "board/move.h"
#include "uci/output.h"
#include "uci/report.h"

namespace {

constexpr int e2 = 12, e4 = 28, e5 = 36, e7 = 52, e8 = 60, d8 = 59, e1 = 4, g1 = 6, d5 = 35, e6 = 44;

const int kE2E4 = MakeMoveWord(0, move_quiet, e2, e4, kPawn);
const int kE7E5 = MakeMoveWord(0, move_quiet, e7, e5, kPawn);
const int kE7E8N = MakeMoveWord(0, move_promotion_knight, e7, e8, kPawn);
const int kE7E8Q = MakeMoveWord(0, move_promotion_queen, e7, e8, kPawn);
const int kE7D8B = MakeMoveWord(kRook, 23, e7, d8, kPawn);
const int kD5E6EP = MakeMoveWord(kPawn, move_taking_passage, d5, e6, kPawn);
const int kE1G1 = MakeMoveWord(0, move_castling_short, e1, g1, kKing);

T_PV_point Line(std::initializer_list<int> moves, int score) {
  T_PV_point pv{};
  for (int m : moves) pv.move_line[pv.length_line++] = m;
  pv.score_move = score;
  return pv;
}

std::string CaptureIterationLine(u64 nodes, double seconds, int depth, int score, int white, const T_PV_point& pv) {
  testing::internal::CaptureStdout();
  PrintIterationLine(nodes, seconds, depth, score, white, &pv);
  return testing::internal::GetCapturedStdout();
}

std::string CaptureSearchLine(int value, int depth, const T_PV_point& pv, u64 nodes, double seconds, int white) {
  testing::internal::CaptureStdout();
  PrintSearchLine(value, depth, &pv, nodes, seconds, white);
  return testing::internal::GetCapturedStdout();
}

class ReportTest : public testing::Test {
 protected:
  void SetUp() override {
    output_muted = false;
    last_reported_score = -999999999;
    last_reported_depth = 0;
  }
};

TEST_F(ReportTest, SquareTextCoversTheBoardCorners) {
  struct Case { int square; const char* text; } cases[] = {{0, "a1"}, {7, "h1"}, {28, "e4"}, {56, "a8"}, {63, "h8"}};
  for (const Case& c : cases) {
    char text[5];
    EXPECT_EQ(SquareText(c.square, text), 2);
    EXPECT_STREQ(text, c.text);
  }
}

TEST_F(ReportTest, IterationLineScoreField) {
  struct Case { int score; int white; int length; const char* field; } cases[] = {
      {35, 1, 1, " score cp 35 "},
      {35, 0, 1, " score cp -35 "},
      {900001, 1, 3, " score mate 3 "},
      {-900001, 0, 3, " score mate 3 "},   // Black to move and winning
      {-900001, 1, 2, " score mate -2 "},
      {900000, 1, 2, " score cp 900000 "},
      {-900000, 1, 2, " score cp -900000 "},
      {INT_MIN + 1, 0, 1, " score mate 1 "},
  };
  for (const Case& c : cases) {
    T_PV_point pv = Line({}, c.score);
    for (int i = 0; i < c.length; ++i) pv.move_line[pv.length_line++] = kE2E4;
    std::string text = CaptureIterationLine(100, 1.0, 4, c.score, c.white, pv);
    EXPECT_NE(text.find(c.field), std::string::npos) << c.score << " " << c.white << ": " << text;
  }
}

TEST_F(ReportTest, IterationLineWholeText) {
  T_PV_point pv = Line({kE2E4, kE7E5}, 35);
  EXPECT_EQ(CaptureIterationLine(5000, 0.5, 3, 35, 1, pv),
            "info  nps 10000 depth 3 score cp 35 nodes 5000 pv e2e4 e7e5 \n");
  T_PV_point promo = Line({kE7E8N, kD5E6EP, kE7D8B}, 0);
  EXPECT_EQ(CaptureIterationLine(7, 0.01, 1, 0, 0, promo),
            "info  nps 700 depth 1 score cp 0 nodes 7 pv e7e8n d5e6 e7d8b \n");
  T_PV_point empty = Line({}, 0);
  EXPECT_EQ(CaptureIterationLine(0, 0.01, 1, 0, 1, empty), "info  nps 0 depth 1 score cp 0 nodes 0 pv \n");
}

TEST_F(ReportTest, NpsIsNeverWrappedToThirtyTwoBits) {
  T_PV_point pv = Line({kE2E4}, 0);
  // 3e10 nodes in 0.01 s, and a fraction that truncates toward zero.
  EXPECT_EQ(CaptureIterationLine(30000000000ull, 0.01, 1, 0, 1, pv),
            "info  nps 3000000000000 depth 1 score cp 0 nodes 30000000000 pv e2e4 \n");
  EXPECT_EQ(CaptureIterationLine(10, 3.0, 1, 0, 1, pv), "info  nps 3 depth 1 score cp 0 nodes 10 pv e2e4 \n");
  EXPECT_EQ(CaptureIterationLine(~0ull, 0.01, 1, 0, 1, pv),
            "info  nps 9223372036854775807 depth 1 score cp 0 nodes 18446744073709551615 pv e2e4 \n");
}

TEST_F(ReportTest, SearchLineUsesTheSecondMoveForm) {
  T_PV_point pv = Line({kE2E4, kE7E5}, -35);
  EXPECT_EQ(CaptureSearchLine(-35, 2, pv, 300, 0.01, 0),
            "info  nps 30000 depth 2 seldepth 2 score cp 35 nodes 300 pv e2e4  e7e5  \n");
  T_PV_point promo = Line({kE7E8N, kD5E6EP, kE7E8Q}, 7);
  EXPECT_EQ(CaptureSearchLine(7, 2, promo, 1, 1.0, 1),
            "info  nps 1 depth 2 seldepth 3 score cp 7 nodes 1 pv e7e8n d5e6 e7e8q \n");
}

TEST_F(ReportTest, SearchLineRepeatsAsEmptyLines) {
  T_PV_point pv = Line({kE2E4}, 10);
  std::string full = "info  nps 100 depth 3 seldepth 1 score cp 10 nodes 1 pv e2e4  \n";
  EXPECT_EQ(CaptureSearchLine(10, 3, pv, 1, 0.01, 1), full);
  EXPECT_EQ(CaptureSearchLine(10, 3, pv, 1, 0.01, 1), "\n");  // same value and depth
  EXPECT_EQ(last_reported_score, 10);
  // Same value at a new depth: an empty line, then the full line again.
  EXPECT_EQ(CaptureSearchLine(10, 4, pv, 1, 0.01, 1),
            "\ninfo  nps 100 depth 4 seldepth 1 score cp 10 nodes 1 pv e2e4  \n");
  EXPECT_EQ(last_reported_depth, 4);
  // The initial value itself counts as already reported.
  last_reported_score = -999999999;
  last_reported_depth = 0;
  EXPECT_EQ(CaptureSearchLine(-999999999, 0, Line({}, -999999999), 1, 1.0, 1), "\n");
}

TEST_F(ReportTest, SearchLineWithMismatchedScoreWritesTheErrorBlock) {
  T_PV_point pv = Line({kE2E4}, 12);
  EXPECT_EQ(CaptureSearchLine(-12, 1, pv, 2, 1.0, 1),  // equal magnitude: a normal line
            "info  nps 2 depth 1 seldepth 1 score cp -12 nodes 2 pv e2e4  \n");
  EXPECT_EQ(CaptureSearchLine(20, 1, pv, 2, 1.0, 1),
            "info  nps 2 depth 1 seldepth 1 score cp 20 nodes 2\n"
            "ERROR LINE \n"
            " value = 20\n"
            " p_PV_best_point.score_move = 12\n"
            "**********************\n"
            "  \n"
            "\n");
}

TEST_F(ReportTest, CurrentMoveAndBestMove) {
  T_MoveList list{};
  list.move[0] = kE2E4;
  list.move[1] = kE7E8Q;
  list.count = 2;
  testing::internal::CaptureStdout();
  PrintCurrentMove(&list, 1, 2, 5);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "info currmove e7e8 currmovenumber 2 depth 5\n");

  struct Best { int from, to, move; const char* text; } cases[] = {
      {e7, e8, kE7E8Q, "bestmove e7e8q\n"},
      {e7, e8, kE7E8N, "bestmove e7e8n\n"},
      {e1, g1, kE1G1, "bestmove e1g1\n"},
      {e2, e4, 0, "bestmove e2e4\n"},
      {0, 0, 0, "bestmove a1a1\n"},
  };
  for (const Best& c : cases) {
    testing::internal::CaptureStdout();
    PrintBestMove(c.from, c.to, c.move);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.text);
  }
}

}  // namespace
