#include <cstring>

#include "movegen/movegen.h"
#include "uci/bench.h"
#include "uci/system_io.h"
#include "uci/uci.h"

int main(int argc, char** argv) {
  PrepareStandardStreams();
  if (argc >= 2 && std::strcmp(argv[1], "perft") == 0) return PerftCommand(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "bench") == 0) return BenchCommand(argc, argv);
  return UciLoop();
}
