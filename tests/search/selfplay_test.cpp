// The engine plays short games against itself through its UCI loop, with the
// clocks kept by the test; every answer must be a legal move.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "legal_move_texts.h"
#include "board/makemove.h"
#include "movegen/movegen.h"
#include "uci/report.h"
#include "uci/uci.h"
#include "uci_process.h"

namespace {

// Legal moves of the position reached by "position startpos moves <moves>", in coordinate form.
std::vector<std::string> LegalMoves(const std::string& moves) {
  static T_Bitboard board;
  std::snprintf(input_line, sizeof(input_line), "position startpos moves %s", moves.c_str());
  PositionCommand(&board);
  return LegalMoveTexts(&board);
}

TEST(SelfPlay, ShortGamesWithRealClocksPlayOnlyLegalMoves) {
  T_Process engine;
  ASSERT_TRUE(ProcessStart(&engine));
  ASSERT_TRUE(ProcessWriteLine(&engine, "uci"));
  ASSERT_TRUE(ProcessWriteLine(&engine, "isready"));
  std::string line;
  ASSERT_TRUE(ProcessReadUntil(&engine, "readyok ", &line));

  const int kGames = 3, kMaxPlies = 80;
  for (int game = 0; game < kGames; ++game) {
    ASSERT_TRUE(ProcessWriteLine(&engine, "ucinewgame"));
    long long clock_ms[2] = {2000, 2000};  // [0] black, [1] white
    std::string moves;
    for (int ply = 0; ply < kMaxPlies; ++ply) {
      std::vector<std::string> legal = LegalMoves(moves);
      if (legal.empty()) break;
      const int side = ply % 2 == 0 ? 1 : 0;
      ASSERT_TRUE(ProcessWriteLine(&engine, "position startpos" + (moves.empty() ? "" : " moves " + moves)));
      long long start = ProcessNowMs();
      ASSERT_TRUE(ProcessWriteLine(&engine, "go wtime " + std::to_string(clock_ms[1]) + " btime " +
                                                std::to_string(clock_ms[0])));
      std::vector<std::string> skipped;
      ASSERT_TRUE(ProcessReadUntil(&engine, "bestmove ", &line, 30000, &skipped)) << moves;
      clock_ms[side] -= ProcessNowMs() - start;
      for (const std::string& s : skipped) {
        EXPECT_NE(s.compare(0, 5, "ERROR"), 0) << s << " after " << moves;
        EXPECT_NE(s.compare(0, 11, "white test_"), 0) << s << " after " << moves;
      }
      std::string move = line.substr(9);
      bool found = false;
      for (const std::string& m : legal) found = found || m == move;
      ASSERT_TRUE(found) << "illegal bestmove " << move << " after " << moves;
      moves += (moves.empty() ? "" : " ") + move;
      if (clock_ms[side] < 100) clock_ms[side] = 100;  // keep the game going on a slow machine
    }
  }
  ASSERT_TRUE(ProcessWriteLine(&engine, "quit"));
  EXPECT_EQ(ProcessWait(&engine), 1);
}

}  // namespace
