#pragma once
#include "board/move.h"
#include "board/types.h"

constexpr int kNoHashValue = -1000000000;

struct T_HashEntry {
  u64 key;           // all ones: empty
  int best_move;
  int value;
  u8 bound;          // 1 exact, 2 cutoff, 3 fail-low
  u8 stored_ply;
  u8 stored_depth;
};

extern T_HashEntry* hash_table;
extern u64 hash_mask;

bool HashTableExists();
// Entry count of a table of megabytes M (limited to 1..1024).
u64 HashEntryCount(int megabytes);
void CreateHashTable();
void ResizeHashTable(int megabytes);
void ClearHashTable();
void ReleaseHashTable();
int ProbeHashWhite(int iteration_depth, u64 key, int ply, int alpha, int beta);
int ProbeHashBlack(int iteration_depth, u64 key, int ply, int alpha, int beta);
void StoreHash(int bound, int iteration_depth, int ply, const T_MoveList* list, int i, u64 key, int value);
void HashMoveToFront(T_MoveList* list, u64 key);
