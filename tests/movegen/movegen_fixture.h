#pragma once
// Shared helpers of the move generation tests: boards from FEN text and move
// lists written out as short texts, so that a failing order shows at a glance.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/move.h"
#include "movegen/movegen.h"
#include "uci/uci.h"

inline T_Bitboard BoardFromFen(const char* fen) {
  T_Bitboard board;
  std::memset(&board, 0, sizeof(board));
  ReadFen(&board, (std::string("fen ") + fen).c_str());
  return board;
}

inline std::string SquareName(int s) { return {static_cast<char>('a' + s % 8), static_cast<char>('1' + s / 8)}; }

// "e2e4" for a quiet move; captures, promotions and castling add their move
// type, the captured code and the key: "b7a8 t25 x4 k25". The moving piece is
// checked separately against the board.
inline std::string Describe(const T_MoveList& list, int i) {
  int m = list.move[i];
  std::string text = SquareName(MoveFrom(m)) + SquareName(MoveTo(m));
  int type = MoveType(m);
  if (type != move_quiet) {
    text += " t" + std::to_string(type);
    if (MoveCapture(m)) text += " x" + std::to_string(MoveCapture(m));
    text += " k" + std::to_string(list.sort_key[i]);
  } else if (MoveCapture(m)) {
    text += " x" + std::to_string(MoveCapture(m));  // never expected: quiet moves capture nothing
  }
  return text;
}

inline std::vector<std::string> Describe(const T_MoveList& list, int begin, int end) {
  std::vector<std::string> out;
  for (int i = begin; i < end; ++i) out.push_back(Describe(list, i));
  return out;
}

// Captures then quiet moves of the side to move, as in every full generation.
inline void GenerateAll(const T_Bitboard& board, T_MoveList* list) {
  if (board.colour_move) {
    GenerateCapturesWhite(&board, list);
    GenerateQuietWhite(&board, list);
  } else {
    GenerateCapturesBlack(&board, list);
    GenerateQuietBlack(&board, list);
  }
}

inline void GenerateCapturesOnly(const T_Bitboard& board, T_MoveList* list) {
  if (board.colour_move) GenerateCapturesWhite(&board, list);
  else GenerateCapturesBlack(&board, list);
}
