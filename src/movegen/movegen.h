#pragma once
#include "board/board.h"
#include "board/move.h"

// Pseudo-legal captures, en-passant captures and all promotions of colour C,
// written from index 0; sets capture_count and count.
template <int C> void GenerateCaptures(const T_Bitboard* board, T_MoveList* list);
// Quiet moves and castling of colour C, appended from index count.
template <int C> void GenerateQuiet(const T_Bitboard* board, T_MoveList* list);
// Code of a piece of the other colour attacking colour C's king, 0 if none
// (also 0 when C has no king).
template <int C> int KingAttacked(const T_Bitboard* board);
// Code of a piece of the other colour attacking a castling square of C's back rank.
template <int C> int CastlingSquareAttacked(const T_Bitboard* board, int square);

extern template void GenerateCaptures<1>(const T_Bitboard*, T_MoveList*);
extern template void GenerateCaptures<0>(const T_Bitboard*, T_MoveList*);
extern template void GenerateQuiet<1>(const T_Bitboard*, T_MoveList*);
extern template void GenerateQuiet<0>(const T_Bitboard*, T_MoveList*);
extern template int KingAttacked<1>(const T_Bitboard*);
extern template int KingAttacked<0>(const T_Bitboard*);
extern template int CastlingSquareAttacked<1>(const T_Bitboard*, int);
extern template int CastlingSquareAttacked<0>(const T_Bitboard*, int);

inline void GenerateCapturesWhite(const T_Bitboard* b, T_MoveList* l) { GenerateCaptures<1>(b, l); }
inline void GenerateCapturesBlack(const T_Bitboard* b, T_MoveList* l) { GenerateCaptures<0>(b, l); }
inline void GenerateQuietWhite(const T_Bitboard* b, T_MoveList* l) { GenerateQuiet<1>(b, l); }
inline void GenerateQuietBlack(const T_Bitboard* b, T_MoveList* l) { GenerateQuiet<0>(b, l); }
inline int WhiteKingAttacked(const T_Bitboard* b) { return KingAttacked<1>(b); }
inline int BlackKingAttacked(const T_Bitboard* b) { return KingAttacked<0>(b); }
inline int WhiteCastlingSquareAttacked(const T_Bitboard* b, int s) { return CastlingSquareAttacked<1>(b, s); }
inline int BlackCastlingSquareAttacked(const T_Bitboard* b, int s) { return CastlingSquareAttacked<0>(b, s); }

// The legal moves of the side to move, in generation order (the board is
// restored). For tools and tests; the search filters its own lists as it goes.
void GenerateLegalMoves(T_Bitboard* board, T_MoveList* legal);

// Leaves of the legal move tree below the board (generators, make, king-attack
// legality test, unmake). The board is restored.
u64 Perft(T_Bitboard* board, int depth);
// "ombrix perft DEPTH [FEN...]": per-root-move counts and the total; returns the exit status.
int PerftCommand(int argc, char** argv);
