#pragma once
#include "board/board.h"

// Evaluation values: process-wide, zero until InitEvalTables fills them.
extern int pawn_value, knight_value, bishop_value, rook_value, queen_value, king_value;
extern int material_value[7];
extern int phase_value[7];
extern int king_shelter_penalty, doubled_pawn_penalty, passed_pawn_unit, rook_mobility_weight,
    endgame_material_limit;
extern int king_middlegame_table[64];
extern int king_endgame_table[64];
extern int knight_table[64];
extern int bishop_table[64];
extern int pawn_middlegame_table[64];
extern int pawn_endgame_table[64];
extern int passed_pawn_table[64];

void InitEvalTables();
// White's material minus Black's, from the piece bitboards.
int MaterialFromScratch(const T_Bitboard* board);
// Positional score, white's view, without material.
int Evaluate(const T_Bitboard* board);
// Squares a rook on s reaches along its file (an enemy blocker counts, an own one not).
int FileMobility(int s, u64 occupied, u64 own);
