#include <cstdlib>

#include "uci/uci.h"

// In a file of its own so that a harness can link its own version (the fuzz
// target turns the exit into a return to the fuzzer).
void EndProcess(int status) { std::exit(status); }
