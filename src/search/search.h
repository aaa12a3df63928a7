#pragma once
#include "board/board.h"
#include "board/move.h"
#include "search/pv.h"

struct T_SearchControl {
  int node_counter;        // horizon calls since the last poll
  int iteration_depth;
  u8 stop;
  u64 nodes;               // legal moves made in the main search this iteration
  char line[65536];        // line read from input during the search
  int best_from;
  int best_to;
  u8 null_move_enabled;
  double max_time;
  int quiesce_counter;     // quiescence nodes since the last poll
  u64 quiesce_moves;       // moves made in quiescence (statistics only)
  int root_moves_completed;  // root moves of this iteration searched to the end before stop
  int first_legal_root_move; // move word of the first legal root move of this iteration, 0 if none
};

extern T_SearchControl search_control;
extern int start_clock;
extern int now_clock;
extern double elapsed_seconds;

// Wall-clock milliseconds since the process started.
int Clock();
// later - earlier in milliseconds, correct across the wrap of Clock().
int ClockDifference(int later, int earlier);

template <int C> int Horizon(T_SearchControl* control, T_Bitboard* board, int alpha, int beta, u8 pv_node, int ply);
template <int C> int Quiesce(T_SearchControl* control, T_Bitboard* board, int alpha, int beta, int ply, u8 pv_node);
template <int C> int AlphaBeta(T_SearchControl* control, T_Bitboard* board, int alpha, int beta, int depth_limit,
                               int ply, int prev_move_type, u8 pv_node, u8 in_check, u8 null_done);
template <int C> int RootSearch(T_SearchControl* control, T_Bitboard* board, T_MoveList* root_list, int depth,
                                u64* start_nodes);

void Deepening(T_Bitboard* board, int depth, bool infinite, double wtime, double btime, double movetime);

// Totals over the searches since the last reset, for the bench command.
struct T_SearchTotals {
  u64 main_nodes;       // sum of the iteration lines' node counts
  u64 quiesce_moves;    // moves made in quiescence
};
extern T_SearchTotals search_totals;
