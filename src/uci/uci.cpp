#include "uci/uci.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/zobrist.h"
#include "eval/eval.h"
#include "search/hash_table.h"
#include "uci/input.h"
#include "uci/output.h"

char input_line[65536];

namespace {

bool StartsWith(const char* line, const char* prefix) {
  return std::strncmp(line, prefix, std::strlen(prefix)) == 0;
}

void SetOptionCommand() {
  const char* found = std::strstr(input_line, "Hash value ");
  if (found == nullptr) return;
  int megabytes = ReadDecimal(found + 11);
  if (megabytes == -1) return;
  ResizeHashTable(megabytes);
  ClearHashTable();
}

}  // namespace

int ReadDecimal(const char* text) {
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  // Accumulate the magnitude and stop growing it once it is past the range.
  long long magnitude = 0;
  const long long limit = static_cast<long long>(INT_MAX) + 1;
  while (*p >= '0' && *p <= '9') {
    if (magnitude <= limit) magnitude = magnitude * 10 + (*p - '0');
    ++p;
  }
  if (negative) return magnitude >= limit ? INT_MIN : static_cast<int>(-magnitude);
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

void HandleCommand(T_Bitboard* board) {
  const char* line = input_line;
  if (std::strcmp(line, "uci") == 0) {
    Emit("id name Ombrix_r5_1_Beta_14_02_2010\n"
         "id author Quillon88\n"
         "option name Hash type spin default 1 min 1 max 1024\n");
    InitZobrist();
    CreateHashTable();
    ClearHashTable();
    Emit("uciok \n");
  } else if (std::strcmp(line, "isready") == 0) {
    InitEvalTables();
    Emit("readyok \n\n");
  } else if (StartsWith(line, "setoption ")) {
    SetOptionCommand();
  } else if (StartsWith(line, "position ")) {
    PositionCommand(board);
  } else if (StartsWith(line, "go")) {
    GoCommand(board);
  } else if (std::strcmp(line, "quit") == 0) {
    ReleaseHashTable();
    EndProcess(1);
  } else if (std::strcmp(line, "ucinewgame") == 0 || StartsWith(line, "debug ") ||
             std::strcmp(line, "ponderhit") == 0 || std::strcmp(line, "stop") == 0) {
    // Accepted and ignored: no search is running while the loop reads.
  } else {
    Emit("WARNING ! Unknown command\n");
  }
}

int UciLoop() {
  // The one live board, zero-filled: an empty board with Black to move.
  static T_Bitboard board;
  std::memset(&board, 0, sizeof(board));
  // Nothing of the engine goes through stdio buffers; this is for anything that might.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  // The evaluation values are there even for a "go" that no "isready" preceded.
  InitEvalTables();
  while (ReadLine(input_line)) HandleCommand(&board);
  return 0;
}
