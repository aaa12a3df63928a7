#if defined(_WIN32)

#include "uci/system_io.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <climits>

namespace {

// Set up by the first SystemInputWaiting call; the mode never changes afterwards.
int initialised = 0;
int pipe_mode = 0;  // 1 unless standard input is a console
HANDLE input_handle = nullptr;

constexpr unsigned kChunk = 1u << 30;  // _read and _write take an unsigned int count

int Clamp(DWORD count) { return count > static_cast<DWORD>(INT_MAX) ? INT_MAX : static_cast<int>(count); }

}  // namespace

// In text mode the runtime would turn "\n" into "\r\n" on output, end input at
// a Ctrl-Z and keep a byte of look-ahead that the pipe test could not see.
void PrepareStandardStreams() {
  _setmode(0, _O_BINARY);
  _setmode(1, _O_BINARY);
}

size_t SystemRead(char* buffer, size_t size) {
  const unsigned count = size < kChunk ? static_cast<unsigned>(size) : kChunk;
  const int n = _read(0, buffer, count);  // 0 also when the writer has closed the pipe
  return n > 0 ? static_cast<size_t>(n) : 0;
}

bool SystemWrite(const char* text, size_t length) {
  while (length > 0) {
    const unsigned count = length < kChunk ? static_cast<unsigned>(length) : kChunk;
    const int n = _write(1, text, count);
    if (n <= 0) return false;
    text += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

int SystemInputWaiting() {
  if (!initialised) {
    initialised = 1;
    input_handle = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    pipe_mode = GetConsoleMode(input_handle, &mode) ? 0 : 1;
    if (!pipe_mode) {
      // Window-size and mouse events would otherwise count as waiting input.
      SetConsoleMode(input_handle, mode & ~static_cast<DWORD>(ENABLE_WINDOW_INPUT | ENABLE_MOUSE_INPUT));
      FlushConsoleInputBuffer(input_handle);
    }
  }
  if (pipe_mode) {
    DWORD available = 0;
    // A file, or a pipe whose writer has gone: let the caller read (and find the end).
    if (!PeekNamedPipe(input_handle, nullptr, 0, nullptr, &available, nullptr)) return 1;
    return Clamp(available);
  }
  DWORD events = 0;
  if (!GetNumberOfConsoleInputEvents(input_handle, &events)) return 0;
  // A single event is usually a key release left from the last Enter.
  return events > 1 ? Clamp(events) : 0;
}

#endif
