#include <cstdio>
#include <string>

#include "board/makemove.h"
#include "movegen/movegen.h"
#include "uci/output.h"
#include "uci/report.h"
#include "uci/uci.h"

namespace {

// Deep enough for any count that can finish, shallow enough that the frames
// (one move list each) always fit on the stack.
constexpr int kMaxPerftDepth = 64;

// Every move is made and tested, down to the last ply: perft is there to
// exercise the engine's own generators, make, unmake and legality test.
template <int C>
u64 PerftColour(T_Bitboard* board, int depth) {
  T_MoveList list;
  GenerateCaptures<C>(board, &list);
  GenerateQuiet<C>(board, &list);
  u64 nodes = 0;
  T_Undo undo;
  if (depth == 1) {
    for (int i = 0; i < list.count; ++i) {
      MakeMove<C>(board, &list, i, &undo);
      nodes += KingAttacked<C>(board) == 0;
      UnmakeMove<C>(board, &list, i, &undo);
    }
    return nodes;
  }
  for (int i = 0; i < list.count; ++i) {
    MakeMove<C>(board, &list, i, &undo);
    if (!KingAttacked<C>(board)) nodes += PerftColour<1 - C>(board, depth - 1);
    UnmakeMove<C>(board, &list, i, &undo);
  }
  return nodes;
}

// Plain decimal digits only, at most kMaxPerftDepth; -1 otherwise.
int ParseDepth(const char* text) {
  if (!text || !*text) return -1;
  int value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return -1;
    value = value * 10 + (*p - '0');
    if (value > kMaxPerftDepth) return -1;
  }
  return value;
}

// One line per legal root move, in generation order, with its leaf count.
template <int C>
u64 PerftDivide(T_Bitboard* board, int depth) {
  T_MoveList legal;
  GenerateLegalMoves(board, &legal);
  u64 total = 0;
  T_Undo undo;
  for (int i = 0; i < legal.count; ++i) {
    MakeMove<C>(board, &legal, i, &undo);
    const u64 nodes = depth > 1 ? PerftColour<1 - C>(board, depth - 1) : 1;
    UnmakeMove<C>(board, &legal, i, &undo);
    total += nodes;
    char text[8];
    T_OutLine out;
    OutStart(&out);
    MoveText(legal.move[i], text);
    OutText(&out, text);
    OutText(&out, ": ");
    OutUnsigned(&out, nodes);
    OutChar(&out, '\n');
    OutFlush(&out);
  }
  return total;
}

}  // namespace

u64 Perft(T_Bitboard* board, int depth) {
  if (depth <= 0) return 1;
  return board->colour_move ? PerftColour<1>(board, depth) : PerftColour<0>(board, depth);
}

int PerftCommand(int argc, char** argv) {
  int depth = argc >= 3 ? ParseDepth(argv[2]) : -1;
  if (depth < 0) {
    std::fprintf(stderr, "usage: ombrix perft DEPTH [FEN...]  (DEPTH: 0 to %d)\n", kMaxPerftDepth);
    std::fflush(stderr);
    return 2;
  }
  std::string fen = "fen";
  for (int i = 3; i < argc; ++i) {
    fen += ' ';
    fen += argv[i];
  }
  T_Bitboard board{};
  ReadFen(&board, argc > 3 ? fen.c_str() : start_fen);

  u64 total = 1;
  if (depth > 0) total = board.colour_move ? PerftDivide<1>(&board, depth) : PerftDivide<0>(&board, depth);
  T_OutLine out;
  OutStart(&out);
  OutText(&out, "\nNodes searched: ");
  OutUnsigned(&out, total);
  OutChar(&out, '\n');
  OutFlush(&out);
  return 0;
}
