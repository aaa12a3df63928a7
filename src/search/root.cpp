#include "board/makemove.h"
#include "board/zobrist.h"
#include "movegen/movegen.h"
#include "search/hash_table.h"
#include "search/ordering.h"
#include "search/repetition.h"
#include "search/search.h"
#include "search/search_internal.h"
#include "uci/output.h"
#include "uci/report.h"

// One iteration at the root. The first legal move gets the open window, the
// others a null window bounded by the best value so far and a full re-search
// when they land inside it. The root list's keys become the values of this
// iteration, so the next iteration's sort sees them.
template <int C>
int RootSearch(T_SearchControl* control, T_Bitboard* board, T_MoveList* root_list, int depth, u64* start_nodes) {
  constexpr int O = 1 - C;
  constexpr bool kW = C == kWhite;

  control->nodes = *start_nodes;
  control->iteration_depth = depth;
  control->node_counter = 0;
  control->quiesce_counter = 0;
  control->stop = 0;
  control->root_moves_completed = 0;
  control->first_legal_root_move = 0;
  ClearKillers();
  SortCaptures(root_list);
  HashMoveToFront(root_list, board->hash_key);

  T_Bitboard test_board;
  CopyBoard(&test_board, board);
  const u64 saved_key = board->hash_key;
  control->null_move_enabled = 1;

  int best = kW ? -kInfinity : kInfinity;
  bool legal_move = false;
  bool improved = false;
  int move_number = 1;
  T_Undo undo;
  T_PV_point root_best_line;
  root_best_line.score_move = 0;
  root_best_line.length_line = 0;

  for (int i = 0; i < root_list->count; ++i) {
    MakeMove<C>(board, root_list, i, &undo);
    if (KingAttacked<C>(board)) {
      UnmakeMove<C>(board, root_list, i, &undo);
      root_list->sort_key[i] = kW ? -kMate : kMate;
      continue;
    }
    control->nodes++;
    const int move = root_list->move[i];
    if (!legal_move) control->first_legal_root_move = move;
    legal_move = true;
    PrintCurrentMove(root_list, i, move_number, depth);
    current_line[0] = move;
    UpdateHashKey(root_list, C, i, board, &undo);
    search_keys[1] = board->hash_key;
    const int move_start = Clock();

    const u8 gives_check = KingAttacked<O>(board) != 0;
    const int child_limit = gives_check ? depth + 1 : depth;
    const int type = MoveType(move);
    int v;
    if constexpr (kW) {
      if (i == 0) {
        v = AlphaBeta<O>(control, board, best, kInfinity, child_limit, 1, type, 1, gives_check, 0);
      } else {
        v = AlphaBeta<O>(control, board, best, best + 1, child_limit, 1, type, 0, gives_check, 0);
        if (best < v && v < kInfinity) v = AlphaBeta<O>(control, board, best, kInfinity, child_limit, 1, type, 1, gives_check, 0);
      }
    } else {
      if (i == 0) {
        v = AlphaBeta<O>(control, board, -kInfinity, best, child_limit, 1, type, 1, gives_check, 0);
      } else {
        v = AlphaBeta<O>(control, board, best - 1, best, child_limit, 1, type, 0, gives_check, 0);
        if (-kInfinity < v && v < best) v = AlphaBeta<O>(control, board, -kInfinity, best, child_limit, 1, type, 1, gives_check, 0);
      }
    }
    const double seconds = SecondsSince(move_start);
    UnmakeMove<C>(board, root_list, i, &undo);
    board->hash_key = saved_key;
    root_list->sort_key[i] = v;

    // A move whose search was cut short by stop (or began after it) has no
    // value: it must not become the best move.
    if (control->stop) continue;
    control->root_moves_completed++;
    if (kW ? v > best : v < best) {
      control->best_from = MoveFrom(move);
      control->best_to = MoveTo(move);
      best = v;
      root_best_line = p_PV_best_point;
      improved = true;
      if (p_PV_best_point.score_move != v) Emit(kW ? "ERROR white value \n" : "ERROR black value \n");
      StoreHash(1, control->iteration_depth, 0, root_list, i, board->hash_key, v);
    }
    ++move_number;
    PrintSearchLine(best, depth, &root_best_line, control->nodes, seconds, kW ? 1 : 0);
  }

  TestBoard(&test_board, board);
  if (!legal_move) {
    const int v = KingAttacked<C>(board) ? (kW ? -kMate : kMate) : 0;
    SetPVFromLine(0, v);
    return v;
  }
  if (improved) p_PV_best_point = root_best_line;
  return best;
}

template int RootSearch<1>(T_SearchControl*, T_Bitboard*, T_MoveList*, int, u64*);
template int RootSearch<0>(T_SearchControl*, T_Bitboard*, T_MoveList*, int, u64*);
