#pragma once
#include "board/board.h"
#include "board/move.h"

// [colour block: 0 black, 1 white][piece code][square]; row 0 stays 0.
extern u64 zobrist[2][7][64];

constexpr u64 side_key = 0x7C0228DD624EC390ull;
constexpr u64 castling_K_key = 0xB3598055CE64A656ull;
constexpr u64 castling_Q_key = 0x12A8F886AF9418C2ull;
constexpr u64 castling_k_key = 0x1877B67E57A764D5ull;
constexpr u64 castling_q_key = 0xD4490AD346F14431ull;
constexpr u64 taking_passage_key = 0x6BE8C34538F83F11ull;

// The engine's own linear congruential generator (15-bit outputs).
int ZobristRandom();
// Restarts the generator at its process-start state (tests only).
void ResetZobristRandom();

void InitZobrist();
// True once InitZobrist has run in this process.
bool ZobristKeysDrawn();
void HashKeyFromScratch(T_Bitboard* board);
// colour: 1 when White made move[index], 0 when Black did.
void UpdateHashKey(const T_MoveList* list, int colour, int index, T_Bitboard* board, const T_Undo* undo);
