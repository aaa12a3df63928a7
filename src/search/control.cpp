#include <chrono>
#include <cstring>

#include "search/hash_table.h"
#include "search/search.h"
#include "search/search_internal.h"
#include "uci/input.h"
#include "uci/output.h"
#include "uci/uci.h"

T_SearchControl search_control;
int start_clock;
int now_clock;
double elapsed_seconds;
T_SearchTotals search_totals;
bool search_polls_input = true;

namespace {
const std::chrono::steady_clock::time_point process_start = std::chrono::steady_clock::now();
}

int Clock() {
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - process_start);
  // Wraps after 24.8 days; ClockDifference keeps durations right across the wrap.
  return static_cast<int>(static_cast<u32>(ms.count()));
}

int ClockDifference(int later, int earlier) {
  return static_cast<int>(static_cast<u32>(later) - static_cast<u32>(earlier));
}

double SecondsSince(int start) {
  double seconds = ClockDifference(Clock(), start) / 1000.0;
  return seconds < 0.01 ? 0.01 : seconds;
}

// The one place where the engine looks at its input and the clock while it
// thinks. "isready" is answered at once (a GUI may wait for it during a
// search); "stop" unwinds the search; "quit" ends the process.
void PollInputAndClock(T_SearchControl* control) {
  if (search_polls_input && InputAvailable()) {
    if (ReadLineDroppingLong(control->line)) {
      if (std::strcmp(control->line, "quit") == 0) {
        ReleaseHashTable();
        EndProcess(1);
      } else if (std::strcmp(control->line, "stop") == 0) {
        control->stop = 1;
      } else if (std::strcmp(control->line, "isready") == 0) {
        Emit("readyok \n\n");
      }
    }
  }
  now_clock = Clock();
  elapsed_seconds = ClockDifference(now_clock, start_clock) / 1000.0;
  if (elapsed_seconds < 0.01) elapsed_seconds = 0.01;
  if (control->max_time > 0 && elapsed_seconds > control->max_time) control->stop = 1;
}
