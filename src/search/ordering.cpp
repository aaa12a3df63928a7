#include "search/ordering.h"

#include <cstring>

int first_killer[kMaxPly];
int second_killer[kMaxPly];

namespace {

// Takes entry from out of the list and reinserts it at to (to <= from), shifting
// the entries in between one place towards the end.
inline void BringForward(T_MoveList* list, int from, int to) {
  if (from == to) return;
  int move = list->move[from];
  int key = list->sort_key[from];
  size_t bytes = static_cast<size_t>(from - to) * sizeof(int);
  std::memmove(&list->move[to + 1], &list->move[to], bytes);
  std::memmove(&list->sort_key[to + 1], &list->sort_key[to], bytes);
  list->move[to] = move;
  list->sort_key[to] = key;
}

// Brings the first occurrence of move at or after target to target. Move words are
// never 0, so an empty killer slot matches nothing.
inline void KillerTo(T_MoveList* list, int move, int target) {
  if (move == 0) return;
  for (int i = target; i < list->count; ++i) {
    if (list->move[i] == move) {
      BringForward(list, i, target);
      return;
    }
  }
}

}  // namespace

// Plain exchange sort over the captures: the list part is short, and the exact
// exchange order decides how equal keys end up (2, 2', 3 becomes 3, 2', 2).
void SortCaptures(T_MoveList* list) {
  int n = list->capture_count;
  int* move = list->move;
  int* key = list->sort_key;
  for (int i = 0; i < n - 1; ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (key[i] < key[j]) {
        int m = move[i];
        move[i] = move[j];
        move[j] = m;
        int k = key[i];
        key[i] = key[j];
        key[j] = k;
      }
    }
  }
}

// Entry 100 is deliberately left alone: only plies 0 to 99 are reset per iteration.
void ClearKillers() {
  for (int p = 0; p < 100; ++p) {
    first_killer[p] = 0;
    second_killer[p] = 0;
  }
}

void StoreKiller(const T_MoveList* list, int i, int ply) {
  if (ply < 0 || ply >= kMaxPly) return;  // beyond the tables no killers are kept
  int m = list->move[i];
  if (first_killer[ply] != m) {
    second_killer[ply] = first_killer[ply];
    first_killer[ply] = m;
  }
}

void KillersToFront(T_MoveList* list, int start, int ply) {
  if (ply < 0 || ply >= kMaxPly) return;
  KillerTo(list, first_killer[ply], start);
  // The second killer goes behind the first one's place even when the first is absent.
  KillerTo(list, second_killer[ply], start + 1);
}
