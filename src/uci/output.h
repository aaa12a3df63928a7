#pragma once
#include <cstddef>
#include "board/types.h"

// Every reply leaves the process at once: each call is one write to standard output.
void Emit(const char* text, size_t length);
void Emit(const char* text);
// When set, Emit writes nothing (the bench command searches silently).
extern bool output_muted;

// A small line builder on the stack, flushed with one Emit.
struct T_OutLine {
  char text[8192];
  size_t length;
};
void OutStart(T_OutLine* out);
void OutText(T_OutLine* out, const char* text);
void OutChar(T_OutLine* out, char c);
void OutInt(T_OutLine* out, long long value);
void OutUnsigned(T_OutLine* out, u64 value);
void OutFlush(T_OutLine* out);
