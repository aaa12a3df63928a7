#pragma once
// "ombrix bench [DEPTH]": returns the exit status.
int BenchCommand(int argc, char** argv);
