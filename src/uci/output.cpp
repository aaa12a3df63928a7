#include "uci/output.h"

#include <cstring>

#include "uci/system_io.h"

bool output_muted = false;

void Emit(const char* text, size_t length) {
  if (output_muted) return;
  // A false return means the reader has gone; nothing sensible is left to do with the text.
  SystemWrite(text, length);
}

void Emit(const char* text) { Emit(text, std::strlen(text)); }

void OutStart(T_OutLine* out) { out->length = 0; }

void OutText(T_OutLine* out, const char* text) {
  while (*text) OutChar(out, *text++);
}

void OutChar(T_OutLine* out, char c) {
  if (out->length == sizeof(out->text)) OutFlush(out);
  out->text[out->length++] = c;
}

void OutUnsigned(T_OutLine* out, u64 value) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) OutChar(out, digits[--n]);
}

void OutInt(T_OutLine* out, long long value) {
  if (value < 0) {
    OutChar(out, '-');
    OutUnsigned(out, static_cast<u64>(0) - static_cast<u64>(value));
  } else {
    OutUnsigned(out, static_cast<u64>(value));
  }
}

void OutFlush(T_OutLine* out) {
  Emit(out->text, out->length);
  out->length = 0;
}
