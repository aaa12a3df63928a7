#include "board/makemove.h"
#include "eval/eval.h"
#include "movegen/movegen.h"
#include "search/ordering.h"
#include "search/search.h"
#include "search/search_internal.h"

template <int C>
int Horizon(T_SearchControl* control, T_Bitboard* board, int alpha, int beta, u8 pv_node, int ply) {
  if (control->node_counter > kPollInterval) {
    PollInputAndClock(control);
    control->node_counter = 0;
  }
  control->node_counter++;
  return Quiesce<C>(control, board, alpha, beta, ply, pv_node);
}

// Capture-only search, fail-soft, White maximising and Black minimising over
// the same window. Its own poll keeps "stop" and the clock working when one
// capture search is huge (positions set up with many queens).
template <int C>
int Quiesce(T_SearchControl* control, T_Bitboard* board, int alpha, int beta, int ply, u8 pv_node) {
  constexpr int O = 1 - C;
  if (control->quiesce_counter > kPollInterval) {
    PollInputAndClock(control);
    control->quiesce_counter = 0;
  }
  control->quiesce_counter++;

  const int stand = Evaluate(board) + board->eval;
  if (control->stop) return stand;
  if (ply >= kPlyLimit) {
    if (pv_node) SetPVFromLine(ply, stand);
    return stand;
  }

  bool improved = false;
  if constexpr (C == kWhite) {
    if (stand > alpha) {
      if (stand >= beta) return stand;
      alpha = stand;
      improved = true;
    }
  } else {
    if (stand < beta) {
      if (stand <= alpha) return stand;
      beta = stand;
      improved = true;
    }
  }
  int best = stand;

  // Delta pruning: victims that cannot lift the score back to the window are
  // taken out of the generator's target set; sliders are still blocked by them.
  u64& victims = OwnAll<O>(board);
  const u64* enemy = OwnPieces<O>(board);
  const u64 saved_victims = victims;
  const int deficit = C == kWhite ? alpha - stand : stand - beta;
  if (deficit > 160) victims ^= enemy[kPawn];
  if (deficit > 500) victims ^= enemy[kKnight] | enemy[kBishop];
  if (deficit > 700) victims ^= enemy[kRook];

  T_MoveList list;
  GenerateCaptures<C>(board, &list);
  SortCaptures(&list);
  victims = saved_victims;

  T_Undo undo;
  T_PV_point PV_saved;
  for (int i = 0; i < list.count; ++i) {
    MakeMove<C>(board, &list, i, &undo);
    control->quiesce_moves++;
    if (pv_node) current_line[ply] = list.move[i];
    if (MoveCapture(list.move[i]) == kKing) {
      const int v = C == kWhite ? kMate - 1000 * ply : 1000 * ply - kMate;
      UnmakeMove<C>(board, &list, i, &undo);
      if (pv_node) SetPVFromLine(ply, v);
      return v;
    }
    const int v = Quiesce<O>(control, board, alpha, beta, ply + 1, pv_node);
    UnmakeMove<C>(board, &list, i, &undo);
    if constexpr (C == kWhite) {
      if (v > best) {
        best = v;
        if (v > alpha) {
          if (v >= beta) return v;
          alpha = v;
          improved = true;
          if (pv_node) CopyPV(&PV_saved);
        }
      }
    } else {
      if (v < best) {
        best = v;
        if (v < beta) {
          if (v <= alpha) return v;
          beta = v;
          improved = true;
          if (pv_node) CopyPV(&PV_saved);
        }
      }
    }
  }

  if (!improved) return best;
  if (best == stand) {
    if (pv_node) SetPVFromLine(ply, stand);
    return best;
  }
  if (pv_node) RestorePV(&PV_saved);
  return best;
}

template int Horizon<1>(T_SearchControl*, T_Bitboard*, int, int, u8, int);
template int Horizon<0>(T_SearchControl*, T_Bitboard*, int, int, u8, int);
template int Quiesce<1>(T_SearchControl*, T_Bitboard*, int, int, int, u8);
template int Quiesce<0>(T_SearchControl*, T_Bitboard*, int, int, int, u8);
