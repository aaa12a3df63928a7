#pragma once
#include "board/board.h"

extern char input_line[65536];
extern char go_line[65536];
extern const char start_fen[];

// The UCI loop on standard input; returns the exit status (0 at end of input).
int UciLoop();
void HandleCommand(T_Bitboard* board);
void PositionCommand(T_Bitboard* board);
void ReadFen(T_Bitboard* board, const char* fen);
void PlayTextMove(T_Bitboard* board, char from_file, char from_rank, char to_file, char to_rank, char promotion);
void GoCommand(T_Bitboard* board);

// The limits of a "go" line as they are handed to Deepening: depth -1, infinite
// false and times (seconds) -1.0 when not given.
struct T_GoLimits {
  int depth;
  bool infinite;
  double wtime;
  double btime;
  double movetime;
};
// Copies line into go_line and reads the limits from its tokens.
void ReadGoLimits(const char* line, T_GoLimits* limits);

// Decimal reading shared by the commands: optional white space and sign,
// digits up to the first non-digit, 0 without digits, saturated to 32 bits.
int ReadDecimal(const char* text);

// Ends the process with status (the only way the engine exits from within a command).
[[noreturn]] void EndProcess(int status);
