#include <cstring>

#include "board/zobrist.h"
#include "search/hash_table.h"
#include "search/search.h"
#include "uci/uci.h"

char go_line[65536];

namespace {

// The next token of go_line, cut off in place; nullptr after the last one.
// A run of spaces is one separator.
char* NextToken(char** cursor) {
  char* p = *cursor;
  while (*p == ' ') ++p;
  if (*p == 0) {
    *cursor = p;
    return nullptr;
  }
  char* token = p;
  while (*p && *p != ' ') ++p;
  if (*p) *p++ = 0;
  *cursor = p;
  return token;
}

}  // namespace

void ReadGoLimits(const char* line, T_GoLimits* limits) {
  size_t length = strnlen(line, sizeof(go_line) - 1);
  std::memcpy(go_line, line, length);
  go_line[length] = 0;

  limits->depth = -1;
  limits->infinite = false;
  limits->wtime = limits->btime = limits->movetime = -1.0;

  char* cursor = go_line;
  NextToken(&cursor);  // the command word
  // A parameter word without a value after it is ignored.
  while (char* word = NextToken(&cursor)) {
    if (std::strcmp(word, "infinite") == 0) {
      limits->infinite = true;
      continue;
    }
    bool depth = std::strcmp(word, "depth") == 0;
    bool wtime = std::strcmp(word, "wtime") == 0;
    bool btime = std::strcmp(word, "btime") == 0;
    bool movetime = std::strcmp(word, "movetime") == 0;
    bool skipped = std::strcmp(word, "winc") == 0 || std::strcmp(word, "binc") == 0 ||
                   std::strcmp(word, "movestogo") == 0;
    if (!(depth || wtime || btime || movetime || skipped)) continue;
    char* value = NextToken(&cursor);
    if (value == nullptr) break;
    int number = ReadDecimal(value);
    if (depth) limits->depth = number;
    if (wtime) limits->wtime = number / 1000.0;
    if (btime) limits->btime = number / 1000.0;
    if (movetime) limits->movetime = number / 1000.0;
  }
}

void GoCommand(T_Bitboard* board) {
  T_GoLimits limits;
  ReadGoLimits(input_line, &limits);
  // A search needs keys and a table even when no "uci" came first.
  if (!HashTableExists()) {
    if (!ZobristKeysDrawn()) InitZobrist();
    CreateHashTable();
    ClearHashTable();
  }
  Deepening(board, limits.depth, limits.infinite, limits.wtime, limits.btime, limits.movetime);
}
