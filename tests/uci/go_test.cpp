#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "uci/uci.h"

namespace {

TEST(GoLimitsTest, ReadsTheParameters) {
  struct Case {
    const char* line;
    int depth;
    bool infinite;
    double wtime, btime, movetime;
  } cases[] = {
      {"go", -1, false, -1.0, -1.0, -1.0},
      {"go depth 6", 6, false, -1.0, -1.0, -1.0},
      {"go depth 6 depth 9", 9, false, -1.0, -1.0, -1.0},
      {"go wtime 60000 btime 1000", -1, false, 60.0, 1.0, -1.0},
      {"go movetime 2000", -1, false, -1.0, -1.0, 2.0},
      {"go wtime 1234 btime 5", -1, false, 1.234, 0.005, -1.0},
      {"go infinite", -1, true, -1.0, -1.0, -1.0},
      {"go   depth   3    infinite  ", 3, true, -1.0, -1.0, -1.0},
      {"go winc 5000 binc 5000 movestogo 40", -1, false, -1.0, -1.0, -1.0},
      {"go winc depth 7", -1, false, -1.0, -1.0, -1.0},  // "depth" is the value of winc
      {"go nodes 5 searchmoves e2e4 d2d4", -1, false, -1.0, -1.0, -1.0},
      {"go nodes 5 depth 2", 2, false, -1.0, -1.0, -1.0},
      {"godepth 4", -1, false, -1.0, -1.0, -1.0},  // the whole first word is the command
      {"gox depth 4", 4, false, -1.0, -1.0, -1.0},
      {"go Depth 4", -1, false, -1.0, -1.0, -1.0},
      {"go wtime abc", -1, false, 0.0, -1.0, -1.0},
      {"go wtime -1000", -1, false, -1.0, -1.0, -1.0},
      {"go depth -3", -3, false, -1.0, -1.0, -1.0},
      {"go depth 12abc", 12, false, -1.0, -1.0, -1.0},
      // A word at the end of the line has no value and changes nothing.
      {"go depth", -1, false, -1.0, -1.0, -1.0},
      {"go depth 5 wtime", 5, false, -1.0, -1.0, -1.0},
      {"go movetime 100 movetime ", -1, false, -1.0, -1.0, 0.1},
      {"go infinite winc", -1, true, -1.0, -1.0, -1.0},
      // Numbers past 32 bits saturate.
      {"go depth 99999999999 wtime 99999999999", INT_MAX, false, INT_MAX / 1000.0, -1.0, -1.0},
      {"go btime -99999999999", -1, false, -1.0, INT_MIN / 1000.0, -1.0},
  };
  for (const auto& c : cases) {
    T_GoLimits limits;
    std::memset(&limits, 0x55, sizeof(limits));
    ReadGoLimits(c.line, &limits);
    EXPECT_EQ(limits.depth, c.depth) << c.line;
    EXPECT_EQ(limits.infinite, c.infinite) << c.line;
    EXPECT_DOUBLE_EQ(limits.wtime, c.wtime) << c.line;
    EXPECT_DOUBLE_EQ(limits.btime, c.btime) << c.line;
    EXPECT_DOUBLE_EQ(limits.movetime, c.movetime) << c.line;
  }
}

TEST(ReadDecimalTest, UsualRuleSaturated) {
  struct Case { const char* text; int value; } cases[] = {
      {"64", 64}, {"  64 rest", 64}, {"\t+7", 7}, {"-1", -1}, {"", 0}, {"abc", 0}, {"- 5", 0},
      {"12x", 12}, {"007", 7}, {"2147483647", INT_MAX}, {"2147483648", INT_MAX},
      {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN}, {"99999999999999999999999", INT_MAX},
      {"-99999999999999999999999", INT_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadDecimal(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
