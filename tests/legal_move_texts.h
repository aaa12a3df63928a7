#pragma once
// The legal moves of a position in coordinate text ("e7e8q"), by the engine's
// own generator and check test: what the conversation tests, the fuzz target
// and the self-play tool hold every "bestmove" against.
#include <string>
#include <vector>

#include "board/board.h"
#include "movegen/movegen.h"
#include "uci/report.h"

struct T_LegalMoveText {
  std::string text;
  int word;
};

inline std::vector<T_LegalMoveText> LegalMoveList(const T_Bitboard* position) {
  T_Bitboard board = *position;
  T_MoveList list;
  GenerateLegalMoves(&board, &list);
  std::vector<T_LegalMoveText> legal;
  char text[8];
  for (int i = 0; i < list.count; ++i) legal.push_back({std::string(text, MoveText(list.move[i], text)), list.move[i]});
  return legal;
}

inline std::vector<std::string> LegalMoveTexts(const T_Bitboard* position) {
  std::vector<std::string> texts;
  for (const T_LegalMoveText& m : LegalMoveList(position)) texts.push_back(m.text);
  return texts;
}
