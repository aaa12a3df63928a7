#pragma once
#include <cstddef>

// The engine's only contact with the operating system's standard streams.
// Each platform has its own file (system_io_posix.cpp, system_io_windows.cpp);
// the compiler picks one of them and the other compiles to nothing.

// Standard input and output as raw bytes: no line-end translation, no buffering.
void PrepareStandardStreams();
// Waits for input and reads up to size bytes of it. Returns the count, or 0 at
// end of input and on a read error.
size_t SystemRead(char* buffer, size_t size);
// Writes all of text to standard output; false once the reader has gone.
bool SystemWrite(const char* text, size_t length);
// Never blocks: how much input the system holds for standard input beyond what
// SystemRead has returned. 0 means nothing; the meaning of other values is
// the platform's (bytes of a pipe or file, events of a console, 1 for "read now").
int SystemInputWaiting();
