#pragma once
#include "board/move.h"
#include "board/types.h"
#include "search/pv.h"

extern int last_reported_score;
extern int last_reported_depth;

// "e2e4" into text (5 bytes at least); returns the length written.
int SquareText(int square, char* text);
// A move in coordinate notation with its promotion letter ("e7e8q"); text holds 6 bytes.
int MoveText(int move, char* text);
void PrintCurrentMove(const T_MoveList* list, int index, int move_number, int depth);
void PrintSearchLine(int value, int depth, const T_PV_point* pv, u64 nodes, double seconds, int white_flag);
// root_white: 1 when White is to move at the root.
void PrintIterationLine(u64 nodes, double seconds, int depth, int score, int root_white, const T_PV_point* pv);
void PrintBestMove(int best_from, int best_to, int promotion_move);
