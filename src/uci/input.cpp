#include "uci/input.h"

#include <climits>
#include <cstring>

#include "uci/system_io.h"

// Standard input is read by SystemRead into this buffer only; stdio never
// touches it, so the poller can count every byte not yet handed out.
namespace {

char read_buffer[1 << 16];
size_t read_pos = 0;
size_t read_end = 0;

// Refills the buffer when it is empty. False at end of input or on an error.
bool Fill() {
  if (read_pos < read_end) return true;
  read_pos = 0;
  read_end = SystemRead(read_buffer, sizeof(read_buffer));
  return read_end > 0;
}

enum class LineResult { kLine, kTooLong, kEnd };

// Reads up to the next line feed. The content (a trailing carriage return
// aside) must stay below kLineSize characters; once it cannot, the reader
// either stops at once (stop_when_long) or consumes the rest of the line.
LineResult ReadRawLine(char* buf, bool stop_when_long) {
  size_t raw = 0;  // characters of the line so far, line feed excluded
  bool too_long = false;
  for (;;) {
    if (!Fill()) break;
    const char* start = read_buffer + read_pos;
    size_t avail = read_end - read_pos;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', avail));
    size_t take = lf ? static_cast<size_t>(lf - start) : avail;
    if (!too_long) {
      // Up to kLineSize characters are kept: the last one may still be a
      // carriage return that the line feed turns out to follow.
      size_t room = kLineSize - raw;
      size_t copy = take < room ? take : room;
      std::memcpy(buf + raw, start, copy);
      if (raw + take > kLineSize || (raw + take == kLineSize && buf[kLineSize - 1] != '\r')) too_long = true;
    }
    raw += take;
    read_pos += take;
    if (too_long && stop_when_long) return LineResult::kTooLong;
    if (lf) {
      ++read_pos;  // the line feed
      if (too_long) return LineResult::kTooLong;
      size_t length = raw;
      if (length > 0 && buf[length - 1] == '\r') --length;
      buf[length] = 0;
      return LineResult::kLine;
    }
  }
  // End of input: a last line without its line feed still counts.
  if (raw == 0 || too_long) return LineResult::kEnd;
  size_t length = raw;
  if (buf[length - 1] == '\r') --length;
  buf[length] = 0;
  return LineResult::kLine;
}

}  // namespace

bool ReadLine(char* buf) {
  if (ReadRawLine(buf, true) == LineResult::kLine) return true;
  buf[0] = 0;
  return false;
}

bool ReadLineDroppingLong(char* buf) {
  switch (ReadRawLine(buf, false)) {
    case LineResult::kLine:
      return true;
    case LineResult::kTooLong:
      buf[0] = 0;
      return true;
    case LineResult::kEnd:
      break;
  }
  buf[0] = 0;
  return false;
}

size_t BufferedInputBytes() { return read_end - read_pos; }

void ResetInputBuffer() { read_pos = read_end = 0; }

int InputAvailable() {
  // The system is asked even when the buffer answers: its first call sets up
  // the console, and that must not wait for the buffer to run dry.
  const int waiting = SystemInputWaiting();
  const size_t buffered = BufferedInputBytes();
  if (buffered > 0) return buffered > INT_MAX ? INT_MAX : static_cast<int>(buffered);
  return waiting;
}
