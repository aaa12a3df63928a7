#if !defined(_WIN32)

#include "uci/system_io.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

// Nothing goes through stdio, so nothing needs to be switched off.
void PrepareStandardStreams() {}

size_t SystemRead(char* buffer, size_t size) {
  for (;;) {
    ssize_t n = read(STDIN_FILENO, buffer, size);
    if (n > 0) return static_cast<size_t>(n);
    if (n < 0 && errno == EINTR) continue;
    return 0;
  }
}

bool SystemWrite(const char* text, size_t length) {
  while (length > 0) {
    ssize_t n = write(STDOUT_FILENO, text, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

int SystemInputWaiting() {
  struct stat st;
  if (fstat(STDIN_FILENO, &st) != 0) return 0;  // no standard input at all: nothing will ever arrive
  if (S_ISREG(st.st_mode)) {
    off_t offset = lseek(STDIN_FILENO, 0, SEEK_CUR);
    if (offset < 0) return 1;
    if (st.st_size <= offset) return 0;
    long long left = static_cast<long long>(st.st_size - offset);
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
  }
  if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) {
    int count = 0;
    if (ioctl(STDIN_FILENO, FIONREAD, &count) != 0) return 1;
    return count;
  }
  // A terminal or another device: only whether a read would return at once.
  struct pollfd p = {STDIN_FILENO, POLLIN, 0};
  int r = poll(&p, 1, 0);
  if (r > 0 && (p.revents & POLLIN)) return 1;
  return 0;
}

#endif
