#include <gtest/gtest.h>

#include "board/board.h"
#include "search/search_internal.h"

namespace {

TEST(SearchLimits, TimeBudgetAndDepthFollowTheGoParameters) {
  struct Case {
    int colour;
    int depth;
    bool infinite;
    double wtime, btime, movetime;
    int max_depth;
    double budget;
  } cases[] = {
      {1, -1, false, -1, -1, -1, 1, -1},      // bare go: one ply
      {1, 4, false, -1, -1, -1, 4, -1},       // depth alone: no time limit
      {1, 4, false, -1, -1, 0.5, 50, 0.5},    // a time overrides the depth
      {1, 80, false, -1, -1, -1, 80, -1},     // the loop itself stops at 50
      {1, -1, true, -1, -1, -1, 50, -1},      // infinite
      {1, -1, false, 60.0, 1.0, -1, 50, 0.6},  // one minute for White to move
      {0, -1, false, 60.0, 1.0, -1, 50, 0.01}, // Black to move uses Black's clock
      {1, -1, false, 60.0, -1, 2.0, 50, 2.0}, // movetime replaces the clock budget
      {1, -1, false, 0.0, 0.0, -1, 50, 0.0},  // an empty clock: every iteration exceeds it
      {1, 0, false, -1, -1, -1, 1, -1},       // depth 0 searches one ply
      {1, -1, false, -0.005, -1, -1, 50, -0.00005},  // a negative clock: one iteration
  };
  for (const Case& c : cases) {
    T_Bitboard board{};
    board.colour_move = static_cast<u8>(c.colour);
    T_Limits limits = ComputeLimits(&board, c.depth, c.infinite, c.wtime, c.btime, c.movetime);
    EXPECT_EQ(limits.max_depth, c.max_depth) << c.depth << " " << c.wtime << " " << c.movetime;
    EXPECT_DOUBLE_EQ(limits.time_budget, c.budget) << c.depth << " " << c.wtime << " " << c.movetime;
  }
}

}  // namespace
