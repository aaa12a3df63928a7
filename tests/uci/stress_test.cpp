// Stress through the real binary: what a user may paste into the engine. Every
// "go" must be answered with a move that is legal on the board the engine set
// up (checked with its own generator in this process), and the engine must
// answer "isready" right after.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "legal_move_texts.h"
#include "board/makemove.h"
#include "movegen/movegen.h"
#include "uci/output.h"
#include "uci/report.h"
#include "uci/uci.h"
#include "uci_process.h"

namespace {

// Legal moves, in coordinate text, of the board that position_line sets up on
// *live (which must have lived through the engine's commands: a FEN without a
// side letter keeps the side to move of the board before).
std::vector<std::string> LegalMovesAfter(const std::string& position_line, T_Bitboard* live) {
  std::snprintf(input_line, sizeof(input_line), "%s", position_line.c_str());
  output_muted = true;  // the moves warnings belong to the engine's side of the test
  PositionCommand(live);
  output_muted = false;
  return LegalMoveTexts(live);
}

class StressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    board_ = T_Bitboard{};  // as the engine's own board starts
    ASSERT_TRUE(ProcessStart(&engine_));
    ASSERT_TRUE(ProcessWriteLine(&engine_, "uci"));
    ASSERT_TRUE(ProcessWriteLine(&engine_, "isready"));
    ASSERT_TRUE(ProcessReadUntil(&engine_, "readyok", &line_));
  }
  void TearDown() override {
    ProcessWriteLine(&engine_, "quit");
    EXPECT_EQ(ProcessWait(&engine_), 1);
  }

  // The lines up to "bestmove"; the move is returned. No self-test line may come.
  std::string ReadBestMove(const std::string& context, int timeout_ms = 60000) {
    std::vector<std::string> skipped;
    if (!ProcessReadUntil(&engine_, "bestmove ", &line_, timeout_ms, &skipped)) {
      ADD_FAILURE() << "no bestmove: " << context;
      return "";
    }
    for (const std::string& s : skipped) {
      EXPECT_NE(s.compare(0, 5, "ERROR"), 0) << s << " in " << context;
      EXPECT_NE(s.compare(0, 11, "white test_"), 0) << s << " in " << context;
    }
    return line_.substr(9);
  }

  void ExpectReady(const std::string& context) {
    ASSERT_TRUE(ProcessWriteLine(&engine_, "isready"));
    EXPECT_TRUE(ProcessReadUntil(&engine_, "readyok", &line_, 30000)) << "no readyok after " << context;
  }

  // Sets up position_line, searches with go_line and checks the answer.
  void ExpectLegalAnswer(const std::string& position_line, const std::string& go_line = "go depth 3") {
    const std::vector<std::string> legal = LegalMovesAfter(position_line, &board_);
    ASSERT_TRUE(ProcessWriteLine(&engine_, position_line));
    ASSERT_TRUE(ProcessWriteLine(&engine_, go_line));
    const std::string context = position_line.substr(0, 120) + " / " + go_line;
    const std::string best = ReadBestMove(context);
    if (legal.empty()) {
      EXPECT_EQ(best, "0000") << context;
    } else {
      bool found = false;
      for (const std::string& m : legal) found = found || m == best;
      EXPECT_TRUE(found) << "illegal bestmove " << best << " after " << context;
    }
    ExpectReady(context);
  }

  T_Process engine_;
  T_Bitboard board_;
  std::string line_;
};

TEST_F(StressTest, TwoThousandMoveTokens) {
  std::string shuffle;
  for (int i = 0; i < 500; ++i) shuffle += " g1f3 g8f6 f3g1 f6g8";
  ExpectLegalAnswer("position startpos moves" + shuffle);
  // One more token: Black to move after g1f3, far past the history's length.
  ExpectLegalAnswer("position startpos moves" + shuffle + " g1f3");
  // The same number of tokens that are all rejected.
  std::string rejected;
  for (int i = 0; i < 2000; ++i) rejected += " e2e5";
  ExpectLegalAnswer("position startpos moves" + rejected);
}

TEST_F(StressTest, MalformedFenIsAnsweredWithALegalMove) {
  const char* const fens[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",                     // cut after the placement
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w",                   // cut after the side
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ",                // cut in castling
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/QQQQQQQQ w - - 0 1",  // nine ranks
      "4k3/8/8/8/8/8/8/4K3/8/8/8/8/8/8/8/8/8/8/rrrrrrrr b - - 0 1",     // many more ranks
      "rnbqkbnrrnbq/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",    // a rank of twelve squares
      "88888888k/8/8/8/8/8/8/K7 w - - 0 1",                              // digits far past file h
      "r#%k3/8/8/$$$$$$$$/8/8/8/4K3 w - - 0 1",                          // garbage characters
      "4k3/8/8/8/8/8/8/4K3 w - - 0 1 \x01\x7f\xff",                      // garbage after the fields
      "4k3/8/8/3pP3/8/8/8/4K3 w - z9 0 1",                               // en passant z9
      "4k3/8/8/8/8/8/8/4K3 w - e6 0 1",                                  // en passant with no pawn
      "4k3/8/8/3pP3/8/8/8/4K3 w - d3 0 1",                               // en passant on the wrong rank
      "4k3/8/8/3pP3/8/8/8/4K3 w - d",                                    // en passant cut
      "4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1",                                // rights without rooks
      "8/8/8/8/8/8/8/8 w - - 0 1",                                       // no kings, no pieces
      "8/8/8/3q4/8/8/1P6/8 b - - 0 1",                                   // no kings
      "PPPPPPPP/8/8/4k3/8/8/8/pppppppp w - - 0 1",                       // pawns on the first and last ranks
      "PPPPPPPP/8/8/4k3/3K4/8/8/pppppppp b - - 0 1",
      "pppppppp/8/8/4k3/3K4/8/8/PPPPPPPP w - - 0 1",
      "pppppppp/8/8/4k3/3K4/8/8/PPPPPPPP b - - 0 1",
      "QQQQQQQQ/8/QQQQQQQQ/8/QQQQQQQQ/8/8/K6k w - - 0 1",                 // more moves than a list holds
      "qqqqqqqq/8/qqqqqqqq/8/qqqqqqqq/8/8/K6k b - - 0 1",
      "KKKKKKKK/8/8/8/8/8/8/kkkkkkkk w - - 0 1",                         // many kings
      "4k3/4Q3/8/8/8/8/8/4K3 w - - 0 1",                                 // the side not to move is in check
      "4k3/8/8/8/8/8/8/4K3 x - - 0 1",                                   // unknown side letter
      "",                                                                // nothing at all
  };
  for (const char* fen : fens) ExpectLegalAnswer(std::string("position fen ") + fen);
}

TEST_F(StressTest, ForeignMoveTokensAreRejectedWithoutTouchingTheBoard) {
  // Every rejected token must leave the search exactly as it was without it.
  const std::string base = "position startpos moves e2e4 e7e5 g1f3";
  const char* const tokens[] = {"O-O", "P@e4", "e1g1", "e2e4+", "Nf3", "e7e5", "a1a9", "e2e4Q",
                                "b8c6x", "e2e4e5", "0000", "@@@@", "h7h8q"};
  auto normalised = [this](const std::string& position) {
    EXPECT_TRUE(ProcessWriteLine(&engine_, position));
    EXPECT_TRUE(ProcessWriteLine(&engine_, "go depth 4"));
    std::vector<std::string> lines;
    EXPECT_TRUE(ProcessReadUntil(&engine_, "bestmove ", &line_, 60000, &lines));
    std::string text;
    for (const std::string& l : lines) {
      if (l.rfind("info ", 0) != 0 || l.find(" pv ") == std::string::npos) continue;
      text += l.substr(l.find(" depth ")) + "\n";  // without the timing-dependent nps
    }
    return text + line_;
  };
  const std::string expected = normalised(base);
  for (const char* token : tokens) EXPECT_EQ(normalised(base + " " + token), expected) << token;
}

TEST_F(StressTest, ManyQueensAnswerStopAndQuitAtOnce) {
  const std::string queens = "position fen qqqqkqqq/qqqqqqqq/8/8/8/8/QQQQQQQQ/QQQQKQQQ w - - 0 1";
  for (const char* last : {"stop", "quit"}) {
    ASSERT_TRUE(ProcessWriteLine(&engine_, queens));
    ASSERT_TRUE(ProcessWriteLine(&engine_, "go infinite"));
    usleep(300000);
    const long long start = ProcessNowMs();
    ASSERT_TRUE(ProcessWriteLine(&engine_, last));
    if (std::string(last) == "stop") {
      ReadBestMove("many queens, stop", 10000);
      std::printf("many queens: bestmove %lld ms after stop\n", ProcessNowMs() - start);
      ExpectReady("many queens");
    } else {
      std::string rest;
      EXPECT_TRUE(ProcessReadAll(&engine_, &rest, 10000));
      EXPECT_EQ(rest.find("bestmove"), std::string::npos);
      std::printf("many queens: exit %lld ms after quit\n", ProcessNowMs() - start);
    }
  }
  // The process has ended: TearDown's quit finds no reader and its status is 1.
}

TEST_F(StressTest, HundredInfiniteSearchesStopped) {
  // Each search runs to the first input poll; with few pieces that comes soonest.
  ASSERT_TRUE(ProcessWriteLine(&engine_, "position fen r3k3/8/8/8/8/8/8/R3K3 w Qq - 0 1"));
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(ProcessWriteLine(&engine_, "go infinite"));
    if (i % 3 == 0) usleep(20000);  // some stops arrive inside the search, some before it starts
    ASSERT_TRUE(ProcessWriteLine(&engine_, i % 2 ? "stop" : "isready\nstop"));
    const std::string best = ReadBestMove("infinite search " + std::to_string(i), 20000);
    ASSERT_EQ(best.size(), 4u) << i;
  }
  ExpectReady("a hundred stops");
}

TEST_F(StressTest, ExtremeClockAndDepthValues) {
  const std::string position = "position startpos moves d2d4 d7d5";
  // Values that end the search at once.
  for (const char* go : {"go wtime -5 btime -5", "go movetime -5", "go depth -5", "go wtime 0 btime 0",
                         "go depth 0", "go wtime", "go movetime abc", "go btime -99999999999"})
    ExpectLegalAnswer(position, go);
  // Values that would think for weeks: stopped by "stop".
  for (const char* go : {"go wtime 99999999999 btime 99999999999", "go movetime 99999999999",
                         "go depth 99999999999", "go wtime 2147483647 btime 2147483647 movestogo -5"}) {
    const std::vector<std::string> legal = LegalMovesAfter(position, &board_);
    ASSERT_TRUE(ProcessWriteLine(&engine_, position));
    ASSERT_TRUE(ProcessWriteLine(&engine_, go));
    usleep(100000);
    ASSERT_TRUE(ProcessWriteLine(&engine_, "stop"));
    const std::string best = ReadBestMove(go, 20000);
    bool found = false;
    for (const std::string& m : legal) found = found || m == best;
    EXPECT_TRUE(found) << best << " after " << go;
    ExpectReady(go);
  }
}

}  // namespace
