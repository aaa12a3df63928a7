#include "board/makemove.h"
#include "board/zobrist.h"
#include "eval/eval.h"
#include "movegen/movegen.h"
#include "search/hash_table.h"
#include "search/ordering.h"
#include "search/repetition.h"
#include "search/search.h"
#include "search/search_internal.h"

namespace {

inline u64 PassageTerm(int x, int y) { return taking_passage_key ^ static_cast<u64>(static_cast<int64_t>(x ^ y)); }

}  // namespace

// Principal-variation alpha-beta in plain minimax form: White's nodes raise
// alpha, Black's lower beta, the window is handed down unnegated, and the
// value returned is fail-soft, from White's point of view.
template <int C>
int AlphaBeta(T_SearchControl* control, T_Bitboard* board, int alpha, int beta, int depth_limit, int ply,
              int prev_move_type, u8 pv_node, u8 in_check, u8 null_done) {
  constexpr int O = 1 - C;
  constexpr bool kW = C == kWhite;

  if (control->stop) return 0;
  if (ply >= kPlyLimit) {
    const int v = Evaluate(board) + board->eval;
    if (pv_node) SetPVFromLine(ply, v);
    return v;
  }
  if (ply >= depth_limit) return Horizon<C>(control, board, alpha, beta, pv_node, ply);
  if (IsRepetition(ply)) {
    if (pv_node) SetPVFromLine(ply, 0);
    return 0;
  }
  if (!pv_node) {
    const int v = kW ? ProbeHashWhite(control->iteration_depth, board->hash_key, ply, alpha, beta)
                     : ProbeHashBlack(control->iteration_depth, board->hash_key, ply, alpha, beta);
    if (v != kNoHashValue) return v;
  }

  // Null move with a verification search when much depth remains. It changes
  // the side and the en-passant state in place; no make, no unmake.
  if (control->null_move_enabled && !null_done && depth_limit - ply >= 2 && !pv_node && prev_move_type != move_capture &&
      !in_check) {
    const u8 saved_yes = board->taking_passage_yes;
    const int saved_x = board->taking_passage_x;
    const int saved_y = board->taking_passage_y;
    const u64 saved_key = board->hash_key;
    if (saved_yes) board->hash_key ^= PassageTerm(saved_x, saved_y);
    board->hash_key ^= side_key;
    board->taking_passage_x = 0;
    board->taking_passage_y = 0;
    board->taking_passage_yes = 0;
    board->colour_move ^= 1;
    const u64 saved_nodes = control->nodes;
    const int v = kW ? AlphaBeta<O>(control, board, alpha, alpha + 1, depth_limit - 4, ply + 1, prev_move_type, 0, 0, 1)
                     : AlphaBeta<O>(control, board, beta - 1, beta, depth_limit - 4, ply + 1, prev_move_type, 0, 0, 1);
    control->nodes = saved_nodes;
    board->taking_passage_yes = saved_yes;
    board->taking_passage_x = saved_x;
    board->taking_passage_y = saved_y;
    board->colour_move ^= 1;
    board->hash_key = saved_key;
    if (kW ? v >= beta : v <= alpha) {
      if (depth_limit - ply < 6) return v;
      if constexpr (kW) {
        const int w = AlphaBeta<C>(control, board, beta - 1, beta, depth_limit - 5, ply, prev_move_type, 0, 0, 1);
        if (w >= beta) return beta;
      } else {
        const int w = AlphaBeta<C>(control, board, alpha, alpha + 1, depth_limit - 5, ply, prev_move_type, 0, 0, 1);
        if (w <= alpha) return alpha;
      }
    }
  }

  T_MoveList list;
  GenerateCaptures<C>(board, &list);
  GenerateQuiet<C>(board, &list);
  SortCaptures(&list);
  KillersToFront(&list, (list.capture_count > 0 && list.sort_key[0] >= 0) ? 1 : 0, ply);
  HashMoveToFront(&list, board->hash_key);
  const int late_threshold = list.capture_count + 2;

  int best = kW ? -kInfinity : kInfinity;
  int best_index = 0;
  int improving_index = 0;
  bool legal_move = false;
  bool improved = false;
  const u64 saved_key = board->hash_key;
  T_Undo undo;
  T_PV_point PV_saved;

  for (int i = 0; i < list.count; ++i) {
    MakeMove<C>(board, &list, i, &undo);
    if (KingAttacked<C>(board)) {
      UnmakeMove<C>(board, &list, i, &undo);
      continue;
    }
    control->nodes++;
    legal_move = true;
    const int move = list.move[i];
    if (pv_node) current_line[ply] = move;
    UpdateHashKey(&list, C, i, board, &undo);
    search_keys[ply + 1] = board->hash_key;

    int child_limit = depth_limit;
    const u8 gives_check = KingAttacked<O>(board) != 0;
    if (gives_check) child_limit = depth_limit + 1;
    const int type = MoveType(move);
    if (pv_node && type == move_capture && MovePiece(move) <= MoveCapture(move)) child_limit = depth_limit + 1;

    int v = 0;
    if (pv_node) {
      if (i == 0) {
        v = AlphaBeta<O>(control, board, alpha, beta, child_limit, ply + 1, type, 1, gives_check, null_done);
      } else if constexpr (kW) {
        v = AlphaBeta<O>(control, board, alpha, alpha + 1, child_limit, ply + 1, type, 0, gives_check, null_done);
        if (v > alpha) v = AlphaBeta<O>(control, board, alpha, beta, child_limit, ply + 1, type, 1, gives_check, null_done);
      } else {
        v = AlphaBeta<O>(control, board, beta - 1, beta, child_limit, ply + 1, type, 0, gives_check, null_done);
        if (v < beta) v = AlphaBeta<O>(control, board, alpha, beta, child_limit, ply + 1, type, 1, gives_check, null_done);
      }
    } else {
      // Late quiet moves are first searched one ply shallower.
      const int lo = kW ? alpha : beta - 1;
      bool full_depth = true;
      if (i > late_threshold && !gives_check && !in_check && child_limit - ply >= 3) {
        v = AlphaBeta<O>(control, board, lo, lo + 1, child_limit - 1, ply + 1, type, 0, 0, null_done);
        full_depth = kW ? v >= beta : v <= alpha;
      }
      if (full_depth) v = AlphaBeta<O>(control, board, lo, lo + 1, child_limit, ply + 1, type, 0, gives_check, null_done);
    }

    UnmakeMove<C>(board, &list, i, &undo);
    board->hash_key = saved_key;

    if (kW ? v > best : v < best) {
      if (kW ? (v > alpha && v >= beta) : (v < beta && v <= alpha)) {
        if (type != move_capture) StoreKiller(&list, i, ply);
        StoreHash(2, control->iteration_depth, ply, &list, i, board->hash_key, v);
        return v;
      }
      if (kW ? v > alpha : v < beta) {
        if constexpr (kW) alpha = v;
        else beta = v;
        improved = true;
        improving_index = i;
        if (pv_node) CopyPV(&PV_saved);
      }
      best = v;
      best_index = i;
    }
  }

  if (legal_move && improved) {
    if (pv_node) RestorePV(&PV_saved);
    StoreHash(1, control->iteration_depth, ply, &list, improving_index, board->hash_key, kW ? alpha : beta);
    return best;
  }
  if (legal_move) {
    StoreHash(3, control->iteration_depth, ply, &list, best_index, board->hash_key, best);
    return best;
  }
  const int v = KingAttacked<C>(board) ? (kW ? ply * 1000 - kMate : kMate - ply * 1000) : 0;
  if (pv_node) SetPVFromLine(ply, v);
  return v;
}

template int AlphaBeta<1>(T_SearchControl*, T_Bitboard*, int, int, int, int, int, u8, u8, u8);
template int AlphaBeta<0>(T_SearchControl*, T_Bitboard*, int, int, int, int, int, u8, u8, u8);
