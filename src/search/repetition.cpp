#include "search/repetition.h"

u64 search_keys[kSearchKeys];
u64 key_history[kKeyHistory];
int key_history_count = 0;

// A single earlier occurrence at an even distance of at least four plies is a draw.
// Deep in the tree only the search path is compared; near the root the path is too
// short to hold such a position, so the game before the root is compared instead.
bool IsRepetition(int ply) {
  if (ply < 0 || ply >= kSearchKeys) return false;
  const u64 key = search_keys[ply];
  if (ply > 3) {
    for (int i = ply - 4; i >= 0; i -= 2) {
      if (search_keys[i] == key) return true;
    }
    return false;
  }
  int n = key_history_count + ply - 4;
  if (n >= kKeyHistory) n -= ((n - kKeyHistory) / 2 + 1) * 2;  // keep the parity, stay inside the history
  for (int i = n; i >= 0; i -= 2) {
    if (key_history[i] == key) return true;
  }
  return false;
}
