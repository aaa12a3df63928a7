#include "uci/bench.h"

#include <cstdio>
#include <cstring>

#include "board/zobrist.h"
#include "eval/eval.h"
#include "search/hash_table.h"
#include "search/search.h"
#include "search/search_internal.h"
#include "uci/output.h"
#include "uci/uci.h"

namespace {

constexpr int kDefaultBenchDepth = 10;

// Openings, middlegames, endgames and a few tactical positions, both sides to move.
const char* const kBenchPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
    "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3",
    "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq - 1 5",
    "rnbqk2r/ppp1ppbp/3p1np1/8/2PPP3/2N5/PP3PPP/R1BQKBNR w KQkq - 0 5",
    "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP1B1PPP/R2QKB1R b KQ - 0 8",
    "2rq1rk1/pb2bppp/1pn1pn2/2pp4/3P4/1P2PNP1/PBPNQPBP/R4RK1 b - - 0 11",
    "r2q1rk1/ppp2ppp/2n1bn2/2bpp3/4P3/2PP1NP1/PP1N1PBP/R1BQ1RK1 w - - 0 8",
    "rnb2k1r/pp1Pbppp/2p5/q7/2B5/8/PPPQNnPP/RNB1K2R w KQ - 3 9",
    "r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2N2B2/PPPQ2PP/R4R1K b - - 0 14",
    "3r1rk1/p4ppp/1qp1b3/2b1P3/8/1PN1B3/P1Q2PPP/3R1RK1 w - - 0 18",
    "r1bbk1nr/pp3p1p/2n5/1N4p1/2Np1B2/8/PPP2PPP/2KR1B1R w kq - 0 13",
    "2r3k1/pp3ppp/1qr1p3/3pP3/1P1Q4/P4N2/5PPP/2R2RK1 b - - 0 22",
    "6k1/5pp1/4p2p/3pP3/2pP2P1/2P2K1P/8/8 w - - 0 40",
    "8/8/3k4/8/2PK4/8/8/8 w - - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "8/5pk1/6p1/8/3R4/6P1/5PK1/1r6 b - - 0 45",
    "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1",
    "8/8/1p1k4/1P6/2K5/8/8/8 b - - 0 60",
    "6k1/8/8/8/8/8/8/3QK3 w - - 0 1",
    "8/3k4/8/8/8/8/2R5/3K4 b - - 0 1",
    "r5k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1",
    "r1bqkbnr/pppp1ppp/2n5/4p3/2B1P3/5Q2/PPPP1PPP/RNB1K1NR w KQkq - 0 4",
    "2kr3r/ppp2ppp/2n1b3/2b1q3/4P3/2NB1N2/PPP2PPP/R2QR1K1 b - - 0 13",
    "r1b1k2r/ppppnppp/2n2q2/2b5/3NP3/2P1B3/PP3PPP/RN1QKB1R w KQkq - 0 7",
    "3rr1k1/pp3pp1/1qn2np1/8/3p4/PP1R1P2/2P1NQPP/R1B3K1 b - - 0 20",
};

bool ParseDepth(const char* text, int* depth) {
  if (*text == 0) return false;
  long value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (*p - '0');
    if (value > 50) return false;
  }
  if (value < 1) return false;
  *depth = static_cast<int>(value);
  return true;
}

}  // namespace

int BenchCommand(int argc, char** argv) {
  int depth = kDefaultBenchDepth;
  if (argc >= 3 && !ParseDepth(argv[2], &depth)) {
    std::fprintf(stderr, "usage: ombrix bench [DEPTH]   (DEPTH 1 to 50, default %d)\n", kDefaultBenchDepth);
    return 2;
  }

  // As one "uci" and one "isready" would leave the engine.
  InitZobrist();
  CreateHashTable();
  ClearHashTable();
  InitEvalTables();

  static T_Bitboard board;
  search_totals = T_SearchTotals{};
  output_muted = true;
  search_polls_input = false;
  const int start = Clock();
  for (const char* fen : kBenchPositions) {
    std::snprintf(input_line, sizeof(input_line), "position fen %s", fen);
    PositionCommand(&board);
    std::snprintf(input_line, sizeof(input_line), "go depth %d", depth);
    GoCommand(&board);
  }
  const int elapsed = ClockDifference(Clock(), start);
  output_muted = false;
  search_polls_input = true;

  const u64 total = search_totals.main_nodes + search_totals.quiesce_moves;
  const u64 ms = elapsed > 0 ? static_cast<u64>(elapsed) : 1;
  T_OutLine out;
  OutStart(&out);
  OutText(&out, "Nodes searched: ");
  OutUnsigned(&out, search_totals.main_nodes);
  OutText(&out, "\nTotal nodes: ");
  OutUnsigned(&out, total);
  OutText(&out, "\nTime (ms): ");
  OutUnsigned(&out, static_cast<u64>(elapsed));
  OutText(&out, "\nNodes/second: ");
  OutUnsigned(&out, total * 1000 / ms);
  OutChar(&out, '\n');
  OutFlush(&out);
  ReleaseHashTable();
  return 0;
}
