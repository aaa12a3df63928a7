#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "movegen_fixture.h"

namespace {

// The sanitizer build is many times slower: there the deeper counts are skipped.
#ifdef OMBRIX_SANITIZED
constexpr u64 kMaxLeaves = 2200000;
#else
constexpr u64 kMaxLeaves = 5000000;
#endif

struct PerftCase {
  const char* fen;
  std::vector<u64> counts;  // depth 1, 2, ...
};

// Published totals of well-known test positions: castling through and out of
// check, en passant that exposes the king, promotions with and without capture.
const PerftCase kCases[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {20, 400, 8902, 197281, 4865609}},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", {48, 2039, 97862, 4085603}},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", {14, 191, 2812, 43238, 674624}},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", {6, 264, 9467, 422333}},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", {44, 1486, 62379, 2103487}},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", {46, 2079, 89890, 3894594}},
    // Mirror of the fourth position with Black to move: the Black twins on the same tree.
    {"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", {6, 264, 9467, 422333}},
};

TEST(Perft, PublishedTotalsAndBoardRestored) {
  for (const PerftCase& c : kCases) {
    T_Bitboard board = BoardFromFen(c.fen);
    T_Bitboard before;
    std::memcpy(&before, &board, sizeof(board));
    EXPECT_EQ(Perft(&board, 0), 1u) << c.fen;
    for (size_t d = 0; d < c.counts.size() && c.counts[d] <= kMaxLeaves; ++d) {
      EXPECT_EQ(Perft(&board, static_cast<int>(d + 1)), c.counts[d]) << c.fen << " depth " << d + 1;
      EXPECT_EQ(std::memcmp(&before, &board, sizeof(board)), 0) << c.fen << " depth " << d + 1;
    }
  }
}

TEST(Perft, BoardsWithoutKingsOrManyPieces) {
  // Nothing is undefined on boards the FEN reader accepts: a side without a
  // king is never in check, and a list never overflows.
  struct Case {
    const char* fen;
    int depth;
    u64 leaves;
  } cases[] = {
      {"8/8/8/8/8/8/8/8 w - - 0 1", 3, 0},
      {"8/8/8/8/8/8/8/R7 w - - 0 1", 1, 14},
      {"8/8/8/8/8/8/8/R7 w - - 0 1", 2, 0},  // Black has no move at all
      {"k7/8/8/8/8/8/8/R7 b - - 0 1", 1, 2},
  };
  for (const Case& c : cases) {
    T_Bitboard board = BoardFromFen(c.fen);
    EXPECT_EQ(Perft(&board, c.depth), c.leaves) << c.fen;
  }
  T_Bitboard crowded = BoardFromFen("QQQQQQQQ/Q6Q/Q6Q/Q6Q/Q6Q/n1Q4Q/Q3QQ1Q/KQQQ1nnQ w - - 0 1");
  EXPECT_GT(Perft(&crowded, 2), 0u);
}

struct BinaryRun {
  std::string out;
  int status;
};

BinaryRun RunBinary(const std::string& args) {
  std::string command = std::string(OMBRIX_BINARY) + " " + args + " 2>/dev/null";
  BinaryRun run{"", -1};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) run.out.append(buffer, n);
  int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

TEST(PerftCommand, DividedCountsThenTotal) {
  struct Case {
    const char* args;
    const char* out;
  } cases[] = {
      {"perft 2",
       "b1a3: 20\nb1c3: 20\ng1f3: 20\ng1h3: 20\na2a3: 20\na2a4: 20\nb2b3: 20\nb2b4: 20\nc2c3: 20\nc2c4: 20\n"
       "d2d3: 20\nd2d4: 20\ne2e3: 20\ne2e4: 20\nf2f3: 20\nf2f4: 20\ng2g3: 20\ng2g4: 20\nh2h3: 20\nh2h4: 20\n"
       "\nNodes searched: 400\n"},
      {"perft 1 8/P7/8/8/8/8/8/k6K w - - 0 1",
       "a7a8q: 1\na7a8r: 1\na7a8b: 1\na7a8n: 1\nh1g1: 1\nh1g2: 1\nh1h2: 1\n\nNodes searched: 7\n"},
      {"perft 2 8/P7/8/8/8/8/8/k6K b - - 0 1", "a1b1: 7\na1a2: 7\na1b2: 7\n\nNodes searched: 21\n"},
      {"perft 0", "\nNodes searched: 1\n"},
      {"perft 01 4k3/8/8/8/8/8/8/4K3 b - - 0 1", "e8d7: 1\ne8e7: 1\ne8f7: 1\ne8d8: 1\ne8f8: 1\n\nNodes searched: 5\n"},
  };
  for (const Case& c : cases) {
    BinaryRun run = RunBinary(c.args);
    EXPECT_EQ(run.status, 0) << c.args;
    EXPECT_EQ(run.out, c.out) << c.args;
  }
}

TEST(PerftCommand, MalformedDepthIsAUsageError) {
  for (const char* args : {"perft", "perft x", "perft -1", "perft 3x", "perft ''", "perft +2", "perft 1.5",
                           "perft 99999999999999999999"}) {
    BinaryRun run = RunBinary(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(run.out, "") << args;
  }
  std::string command = std::string(OMBRIX_BINARY) + " perft x 2>&1 >/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[256] = {0};
  ASSERT_NE(std::fgets(line, sizeof(line), pipe), nullptr);
  pclose(pipe);
  EXPECT_EQ(std::strncmp(line, "usage: ombrix perft DEPTH", 25), 0) << line;
}

}  // namespace
