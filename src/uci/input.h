#pragma once
#include <cstddef>

constexpr size_t kLineSize = 65536;

// Reads one line from standard input into buf (kLineSize bytes): the characters
// up to a line feed, which is consumed and not stored, and a carriage return
// before it removed. Returns false at end of input, on a read error, and for a
// line of kLineSize or more characters without a line feed.
bool ReadLine(char* buf);
// The same, but a line that is too long is consumed up to its line feed and
// dropped (returned as an empty line); false only at end of input or error.
bool ReadLineDroppingLong(char* buf);
// Bytes read from standard input but not yet handed out by ReadLine.
size_t BufferedInputBytes();
// Non-blocking: non-zero when a line (or part of one) is waiting.
int InputAvailable();
// Discards the bytes buffered by the reader (for tests that swap standard input).
void ResetInputBuffer();
