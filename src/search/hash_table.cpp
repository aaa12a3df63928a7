#include "search/hash_table.h"

#include <cstdlib>
#include <cstring>

#include "uci/output.h"
#include "uci/uci.h"

T_HashEntry* hash_table = nullptr;
u64 hash_mask = 0;

// Entry counts are reckoned at 40 bytes an entry, the record itself is smaller.
static_assert(sizeof(T_HashEntry) <= 32, "the 1024-MB table must fit in 512 MiB");

namespace {

constexpr u64 kEmptyKey = ~0ull;
constexpr u64 kDefaultEntries = 16384;  // the 1-megabyte table

// The two messages are single-byte Windows-1251 text.
constexpr char kNoMemory[] = "\xEF\xE0\xEC\xFF\xF2\xE8 \xED\xE5\xF2 \n";
constexpr char kNothingToRelease[] = "\xEE\xF1\xE2\xEE\xE1\xEE\xE6\xE4\xE0\xF2\xFC \xED\xE5\xF7\xE5\xE3\xEE \n";

[[noreturn]] void Fail(const char* message, size_t length) {
  Emit(message, length);
  EndProcess(1);
}

void Allocate(u64 entries) {
  hash_table = static_cast<T_HashEntry*>(std::calloc(entries, sizeof(T_HashEntry)));
  if (hash_table == nullptr) {
    hash_mask = 0;
    Fail(kNoMemory, sizeof kNoMemory - 1);
  }
  hash_mask = entries - 1;
}

inline T_HashEntry& Slot(u64 key) { return hash_table[key & hash_mask]; }

// White's cut entries prove value >= beta and its other entries value < alpha;
// Black's are the mirror image.
template <int C> int ProbeHash(int iteration_depth, u64 key, int ply, int alpha, int beta) {
  const T_HashEntry& e = Slot(key);
  if (e.key != key) return kNoHashValue;
  if (e.stored_depth - e.stored_ply < iteration_depth - ply) return kNoHashValue;
  const int v = e.value;
  bool usable;
  if (e.bound == 2) usable = C ? v >= beta : v <= alpha;
  else usable = C ? v < alpha : v > beta;
  return usable ? v : kNoHashValue;
}

}  // namespace

bool HashTableExists() { return hash_table != nullptr; }

u64 HashEntryCount(int megabytes) {
  if (megabytes < 1) megabytes = 1;
  if (megabytes > 1024) megabytes = 1024;
  const u32 budget = static_cast<u32>(megabytes) * 1048576u / 40u;
  u32 n = 2;
  while (n <= budget) n *= 2;
  return n / 2;
}

void CreateHashTable() {
  ReleaseHashTable();
  Allocate(kDefaultEntries);
}

void ResizeHashTable(int megabytes) {
  if (hash_table == nullptr) Fail(kNothingToRelease, sizeof kNothingToRelease - 1);
  ReleaseHashTable();
  Allocate(HashEntryCount(megabytes));
}

// Only the keys are reset; the other fields are never read behind an empty key.
void ClearHashTable() {
  if (hash_table == nullptr) return;
  for (u64 i = 0; i <= hash_mask; ++i) hash_table[i].key = kEmptyKey;
}

void ReleaseHashTable() {
  std::free(hash_table);
  hash_table = nullptr;
  hash_mask = 0;
}

int ProbeHashWhite(int iteration_depth, u64 key, int ply, int alpha, int beta) {
  return ProbeHash<1>(iteration_depth, key, ply, alpha, beta);
}

int ProbeHashBlack(int iteration_depth, u64 key, int ply, int alpha, int beta) {
  return ProbeHash<0>(iteration_depth, key, ply, alpha, beta);
}

// One slot per key and no check that the slot holds the same position: a stored
// entry gives way to one of an equal or better bound kind with at least its draft.
// Plies below 100 and depths up to 50 fit the entry's bytes.
void StoreHash(int bound, int iteration_depth, int ply, const T_MoveList* list, int i, u64 key, int value) {
  T_HashEntry& e = Slot(key);
  if (e.key != kEmptyKey) {
    if (bound > e.bound) return;
    if (iteration_depth - ply < e.stored_depth - e.stored_ply) return;
  }
  e.key = key;
  e.best_move = list->move[i];
  e.value = value;
  e.bound = static_cast<u8>(bound);
  e.stored_ply = static_cast<u8>(ply);
  e.stored_depth = static_cast<u8>(iteration_depth);
}

void HashMoveToFront(T_MoveList* list, u64 key) {
  const T_HashEntry& e = Slot(key);
  if (e.key != key) return;
  const int best = e.best_move;
  int i = 0;
  while (i < list->count && list->move[i] != best) ++i;
  if (i == 0 || i == list->count) return;
  const int move = list->move[i];
  const int sort_key = list->sort_key[i];
  const size_t bytes = static_cast<size_t>(i) * sizeof(int);
  std::memmove(&list->move[1], &list->move[0], bytes);
  std::memmove(&list->sort_key[1], &list->sort_key[0], bytes);
  list->move[0] = move;
  list->sort_key[0] = sort_key;
}
