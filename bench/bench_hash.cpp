// Cost of one table probe and one table store, on the default 1-MB table (fits in
// the caches) and on a 64-MB table (mostly cache misses), with pseudo-random keys.
#include <benchmark/benchmark.h>

#include <vector>

#include "search/hash_table.h"

namespace {

u64 SplitMix(u64* state) {
  u64 z = (*state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

constexpr size_t kKeys = size_t{1} << 20;

std::vector<u64> Keys(u64 seed) {
  std::vector<u64> keys(kKeys);
  for (u64& k : keys) k = SplitMix(&seed);
  return keys;
}

T_MoveList OneMoveList() {
  T_MoveList list{};
  list.move[0] = MakeMoveWord(0, move_quiet, 12, 28, kPawn);
  list.count = 1;
  return list;
}

// A table of the given size, half of the probed keys stored in it.
void PrepareTable(int megabytes, const std::vector<u64>& keys, const T_MoveList& list) {
  CreateHashTable();
  if (megabytes != 1) ResizeHashTable(megabytes);
  ClearHashTable();
  for (size_t i = 0; i < keys.size(); i += 2) StoreHash(1 + static_cast<int>(i % 3), 8, 2, &list, 0, keys[i], 10);
}

void BM_ProbeHashWhite(benchmark::State& state) {
  const std::vector<u64> keys = Keys(1);
  const T_MoveList list = OneMoveList();
  PrepareTable(static_cast<int>(state.range(0)), keys, list);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ProbeHashWhite(8, keys[i], 3, -20, 30));
    i = (i + 1) & (kKeys - 1);
  }
  state.counters["entries"] = static_cast<double>(hash_mask + 1);
  ReleaseHashTable();
}

void BM_StoreHash(benchmark::State& state) {
  const std::vector<u64> keys = Keys(2);
  const T_MoveList list = OneMoveList();
  PrepareTable(static_cast<int>(state.range(0)), keys, list);
  size_t i = 0;
  for (auto _ : state) {
    StoreHash(1 + static_cast<int>(i & 1) * 2, 8, 1 + static_cast<int>(i & 3), &list, 0, keys[i], static_cast<int>(i));
    i = (i + 1) & (kKeys - 1);
  }
  benchmark::DoNotOptimize(hash_table);
  state.counters["entries"] = static_cast<double>(hash_mask + 1);
  ReleaseHashTable();
}

}  // namespace

BENCHMARK(BM_ProbeHashWhite)->Arg(1)->Arg(64)->ArgName("MB");
BENCHMARK(BM_StoreHash)->Arg(1)->Arg(64)->ArgName("MB");
