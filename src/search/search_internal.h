#pragma once
#include "search/search.h"

// Polls input ("stop", "quit", "isready") and applies the in-search time limit.
void PollInputAndClock(T_SearchControl* control);
// Seconds since a Clock() reading, never below 0.01.
double SecondsSince(int start);
// Off in the bench command, whose node counts must not depend on standard input.
extern bool search_polls_input;

constexpr int kInfinity = 9999999;
constexpr int kMate = 1000000;
constexpr int kPollInterval = 50000;  // a poll every 50,001 calls
// Deepest ply a node is searched at; the ply-indexed arrays hold one more.
constexpr int kPlyLimit = 100;

// The depth limit and the time rules of one "go".
struct T_Limits {
  int max_depth;
  double time_budget;  // seconds an iteration may take for another to start; -1: none
};
T_Limits ComputeLimits(const T_Bitboard* board, int depth, bool infinite, double wtime, double btime,
                       double movetime);
