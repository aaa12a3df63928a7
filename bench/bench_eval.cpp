// Cost of one static evaluation over a fixed mix of opening, middlegame and
// endgame positions; the figure to watch is the time per Evaluate call.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "eval/eval.h"
#include "uci/uci.h"

namespace {

const char* const kPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "2r3k1/pp3ppp/2n1p3/3pP3/3P4/P1R2N2/1P3PPP/6K1 w - - 0 25",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "4k3/8/4P3/8/8/8/8/4K3 w - - 0 1",
    "8/5pk1/6p1/3P3p/7P/6P1/5PK1/8 w - - 0 40",
    "4k2r/7q/4P3/8/8/8/8/4K3 w - - 0 1",
};

std::vector<T_Bitboard> Boards() {
  std::vector<T_Bitboard> boards;
  for (const char* fen : kPositions) {
    T_Bitboard b{};
    ReadFen(&b, (std::string("fen ") + fen).c_str());
    boards.push_back(b);
  }
  return boards;
}

// One iteration evaluates every position once.
void BM_EvaluateMix(benchmark::State& state) {
  InitEvalTables();
  const std::vector<T_Bitboard> boards = Boards();
  for (auto _ : state)
    for (const T_Bitboard& b : boards) benchmark::DoNotOptimize(Evaluate(&b));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(boards.size()));
  state.counters["ns_per_eval"] = benchmark::Counter(
      static_cast<double>(state.iterations() * boards.size()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EvaluateMix);

// Each position on its own, to see which terms cost most.
void BM_EvaluateOne(benchmark::State& state) {
  InitEvalTables();
  const T_Bitboard b = Boards()[static_cast<size_t>(state.range(0))];
  for (auto _ : state) benchmark::DoNotOptimize(Evaluate(&b));
}
BENCHMARK(BM_EvaluateOne)->DenseRange(0, 9);

void BM_MaterialFromScratch(benchmark::State& state) {
  InitEvalTables();
  const std::vector<T_Bitboard> boards = Boards();
  for (auto _ : state)
    for (const T_Bitboard& b : boards) benchmark::DoNotOptimize(MaterialFromScratch(&b));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(boards.size()));
}
BENCHMARK(BM_MaterialFromScratch);

}  // namespace
