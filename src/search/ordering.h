#pragma once
#include "board/move.h"
#include "search/pv.h"

extern int first_killer[kMaxPly];
extern int second_killer[kMaxPly];

void SortCaptures(T_MoveList* list);
void ClearKillers();
void StoreKiller(const T_MoveList* list, int i, int ply);
void KillersToFront(T_MoveList* list, int start, int ply);
