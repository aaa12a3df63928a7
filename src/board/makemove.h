#pragma once
#include "board/board.h"
#include "board/move.h"

// C = 1 plays a White move, C = 0 a Black move.
template <int C> void MakeMove(T_Bitboard* board, const T_MoveList* list, int index, T_Undo* undo);
template <int C> void UnmakeMove(T_Bitboard* board, const T_MoveList* list, int index, const T_Undo* undo);
extern template void MakeMove<1>(T_Bitboard*, const T_MoveList*, int, T_Undo*);
extern template void MakeMove<0>(T_Bitboard*, const T_MoveList*, int, T_Undo*);
extern template void UnmakeMove<1>(T_Bitboard*, const T_MoveList*, int, const T_Undo*);
extern template void UnmakeMove<0>(T_Bitboard*, const T_MoveList*, int, const T_Undo*);

inline void MakeMoveWhite(T_Bitboard* b, const T_MoveList* l, int i, T_Undo* u) { MakeMove<1>(b, l, i, u); }
inline void MakeMoveBlack(T_Bitboard* b, const T_MoveList* l, int i, T_Undo* u) { MakeMove<0>(b, l, i, u); }
inline void UnmakeMoveWhite(T_Bitboard* b, const T_MoveList* l, int i, const T_Undo* u) { UnmakeMove<1>(b, l, i, u); }
inline void UnmakeMoveBlack(T_Bitboard* b, const T_MoveList* l, int i, const T_Undo* u) { UnmakeMove<0>(b, l, i, u); }
