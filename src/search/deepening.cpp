#include "board/zobrist.h"
#include "eval/eval.h"
#include "movegen/movegen.h"
#include "search/hash_table.h"
#include "search/repetition.h"
#include "search/search.h"
#include "search/search_internal.h"
#include "uci/output.h"
#include "uci/report.h"

T_Limits ComputeLimits(const T_Bitboard* board, int depth, bool infinite, double wtime, double btime,
                       double movetime) {
  T_Limits limits;
  limits.time_budget = -1;
  const double clock_time = board->colour_move ? wtime : btime;
  if (clock_time != -1) limits.time_budget = clock_time / 100;
  if (movetime != -1) limits.time_budget = movetime;
  limits.max_depth = depth;
  if (limits.time_budget != -1 || infinite) limits.max_depth = 50;
  // A bare "go", and a depth below 1, search one ply.
  if (limits.max_depth < 1) limits.max_depth = 1;
  return limits;
}

namespace {

void SetSingleMoveLine(int move, int score) {
  p_PV_best_point.move_line[0] = move;
  p_PV_best_point.length_line = 1;
  p_PV_best_point.score_move = score;
}

}  // namespace

void Deepening(T_Bitboard* board, int depth, bool infinite, double wtime, double btime, double movetime) {
  T_SearchControl* control = &search_control;
  const T_Limits limits = ComputeLimits(board, depth, infinite, wtime, btime, movetime);
  control->max_time = 50 * limits.time_budget;
  control->node_counter = 0;
  control->quiesce_counter = 0;
  control->quiesce_moves = 0;
  control->stop = 0;

  board->eval = MaterialFromScratch(board);
  const int test_eval = board->eval;
  HashKeyFromScratch(board);
  const u64 test_key = board->hash_key;
  for (int i = 0; i < kSearchKeys; ++i) search_keys[i] = static_cast<u64>(i);
  search_keys[0] = board->hash_key;
  ClearHashTable();

  const int root_colour = board->colour_move ? kWhite : kBlack;
  T_MoveList root_list;
  if (root_colour == kWhite) {
    GenerateCaptures<1>(board, &root_list);
    GenerateQuiet<1>(board, &root_list);
  } else {
    GenerateCaptures<0>(board, &root_list);
    GenerateQuiet<0>(board, &root_list);
  }

  bool mate_found = false;
  bool have_completed = false;  // some iteration completed a root move
  int completed_score = 0;
  T_PV_point completed_line;
  bool any_legal = false;

  for (int d = 1; !mate_found && d < 51 && !control->stop;) {
    start_clock = Clock();
    u64 start_nodes = 0;
    int score = root_colour == kWhite ? RootSearch<1>(control, board, &root_list, d, &start_nodes)
                                      : RootSearch<0>(control, board, &root_list, d, &start_nodes);
    now_clock = Clock();
    elapsed_seconds = ClockDifference(now_clock, start_clock) / 1000.0;
    if (elapsed_seconds < 0.01) elapsed_seconds = 0.01;
    const u64 iteration_nodes = control->nodes;
    if (control->first_legal_root_move != 0) any_legal = true;

    // A stopped iteration that finished no root move reports the last
    // completed result; before any, the first legal move it tried.
    if (control->first_legal_root_move != 0 && control->root_moves_completed == 0) {
      if (have_completed) {
        score = completed_score;
        p_PV_best_point = completed_line;
      } else {
        score = 0;
        SetSingleMoveLine(control->first_legal_root_move, 0);
        control->best_from = MoveFrom(control->first_legal_root_move);
        control->best_to = MoveTo(control->first_legal_root_move);
      }
    } else if (control->first_legal_root_move != 0) {
      have_completed = true;
      completed_score = score;
      completed_line = p_PV_best_point;
    }

    if (board->eval != test_eval) Emit("ERROR test_eval != bitboard->eval\n");
    if (board->hash_key != test_key) Emit("\nERROR HESH Test_Deepening \n");
    const int mover_score = root_colour == kWhite ? score : -score;
    if (mover_score > 900000 || mover_score < -900000) mate_found = true;
    PrintIterationLine(iteration_nodes, elapsed_seconds, d, score, root_colour == kWhite ? 1 : 0, &p_PV_best_point);
    search_totals.main_nodes += iteration_nodes;

    if (limits.time_budget != -1 && elapsed_seconds > limits.time_budget) break;
    ++d;
    if (d > limits.max_depth) break;
  }
  search_totals.quiesce_moves += control->quiesce_moves;

  if (board->hash_key != test_key) Emit("\nERROR HESH Test_Deepening \n");
  if (!any_legal) {
    // No legal move at the root: the UCI null move.
    Emit("bestmove 0000\n");
    return;
  }
  const int first = p_PV_best_point.move_line[0];
  PrintBestMove(control->best_from, control->best_to, first);
  if (MoveFrom(first) != control->best_from) Emit("ERROR from(Deepening)\n");
  if (MoveTo(first) != control->best_to) Emit("ERROR to(Deepening)\n");
}
