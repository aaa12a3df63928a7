#include "board/makemove.h"
#include "movegen/movegen.h"

namespace {

template <int C>
void CollectLegal(T_Bitboard* board, T_MoveList* legal) {
  T_MoveList list;
  GenerateCaptures<C>(board, &list);
  GenerateQuiet<C>(board, &list);
  legal->count = 0;
  legal->capture_count = 0;
  for (int i = 0; i < list.count; ++i) {
    T_Undo undo;
    MakeMove<C>(board, &list, i, &undo);
    const bool ok = KingAttacked<C>(board) == 0;
    UnmakeMove<C>(board, &list, i, &undo);
    if (!ok) continue;
    legal->move[legal->count] = list.move[i];
    legal->sort_key[legal->count] = list.sort_key[i];
    if (i < list.capture_count) legal->capture_count++;
    legal->count++;
  }
}

}  // namespace

void GenerateLegalMoves(T_Bitboard* board, T_MoveList* legal) {
  if (board->colour_move == 1) CollectLegal<1>(board, legal);
  else CollectLegal<0>(board, legal);
}
