#pragma once
// Runs a program (by default the engine binary) on pipes for conversation tests:
// write lines to its standard input, read its standard output line by line with
// a timeout, collect its exit status. No call ever hangs: every read and the
// final wait give up after their timeout (the wait then kills the child).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

struct T_Process {
  pid_t pid = -1;
  int in_fd = -1;        // the child's standard input (our write end)
  int out_fd = -1;       // the child's standard output (our read end)
  std::string pending;   // bytes read from the child but not yet returned as a line
  bool output_ended = false;
};

inline long long ProcessNowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}

// Starts program with args (argv[1...]); false when the pipes or the fork fail.
// The child's standard error stays the test's own.
inline bool ProcessStart(T_Process* p, const std::vector<std::string>& args = {},
                         const std::string& program = OMBRIX_BINARY) {
  signal(SIGPIPE, SIG_IGN);  // a child that has exited must not kill the test on write
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return false;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return false;
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    close(in[0]); close(in[1]); close(out[0]); close(out[1]);
    return false;
  }
  if (pid == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  fcntl(in[1], F_SETFL, fcntl(in[1], F_GETFL) | O_NONBLOCK);
  p->pid = pid;
  p->in_fd = in[1];
  p->out_fd = out[0];
  p->pending.clear();
  p->output_ended = false;
  return true;
}

// Reads what the child has written, until deadline (ms of ProcessNowMs), into
// pending; false on timeout or at the end of its output.
inline bool ProcessReadMore(T_Process* p, long long deadline);

// Writes text as it is (no line feed added). Output that the child writes
// meanwhile is collected, so a long input never deadlocks against a full
// output pipe. False if the child no longer reads or after timeout_ms.
inline bool ProcessWrite(T_Process* p, const std::string& text, int timeout_ms = 60000) {
  long long deadline = ProcessNowMs() + timeout_ms;
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(p->in_fd, text.data() + done, text.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    long long left = deadline - ProcessNowMs();
    if (left <= 0) return false;
    pollfd pfd[2] = {{p->in_fd, POLLOUT, 0}, {p->out_fd, POLLIN, 0}};
    int count = p->output_ended ? 1 : 2;
    if (poll(pfd, count, static_cast<int>(left)) < 0 && errno != EINTR) return false;
    if (count == 2 && pfd[1].revents) ProcessReadMore(p, ProcessNowMs() + 1);
  }
  return true;
}

inline bool ProcessWriteLine(T_Process* p, const std::string& line) { return ProcessWrite(p, line + "\n"); }

inline bool ProcessReadMore(T_Process* p, long long deadline) {
  if (p->output_ended) return false;
  for (;;) {
    long long left = deadline - ProcessNowMs();
    if (left < 0) left = 0;  // past the deadline: one look without waiting
    pollfd pfd = {p->out_fd, POLLIN, 0};
    int r = poll(&pfd, 1, static_cast<int>(left));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    char buf[65536];
    ssize_t n = read(p->out_fd, buf, sizeof(buf));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      p->output_ended = true;
      return false;
    }
    p->pending.append(buf, static_cast<size_t>(n));
    return true;
  }
}

// One line without its line feed. False on timeout or when the output ends
// first (a partial last line is left in pending).
inline bool ProcessReadLine(T_Process* p, std::string* line, int timeout_ms = 10000) {
  long long deadline = ProcessNowMs() + timeout_ms;
  for (;;) {
    size_t lf = p->pending.find('\n');
    if (lf != std::string::npos) {
      *line = p->pending.substr(0, lf);
      p->pending.erase(0, lf + 1);
      return true;
    }
    if (!ProcessReadMore(p, deadline)) return false;
  }
}

// Reads lines until one starts with prefix; the lines before it go to skipped
// when given. False on timeout or end of output.
inline bool ProcessReadUntil(T_Process* p, const std::string& prefix, std::string* line, int timeout_ms = 60000,
                             std::vector<std::string>* skipped = nullptr) {
  long long deadline = ProcessNowMs() + timeout_ms;
  for (;;) {
    long long left = deadline - ProcessNowMs();
    if (left <= 0 || !ProcessReadLine(p, line, static_cast<int>(left))) return false;
    if (line->compare(0, prefix.size(), prefix) == 0) return true;
    if (skipped) skipped->push_back(*line);
  }
}

// Everything the child writes until it closes its output (pending included).
// False on timeout; out then holds what came so far.
inline bool ProcessReadAll(T_Process* p, std::string* out, int timeout_ms = 60000) {
  long long deadline = ProcessNowMs() + timeout_ms;
  while (ProcessNowMs() < deadline && ProcessReadMore(p, deadline)) {
  }
  *out = p->pending;
  p->pending.clear();
  return p->output_ended;
}

inline void ProcessCloseInput(T_Process* p) {
  if (p->in_fd >= 0) close(p->in_fd);
  p->in_fd = -1;
}

// Closes both pipes and waits for the child. Returns its exit status, 128 +
// the signal number when a signal ended it, or -1 when it had to be killed
// after timeout_ms.
inline int ProcessWait(T_Process* p, int timeout_ms = 20000) {
  ProcessCloseInput(p);
  if (p->pid <= 0) return -1;
  long long deadline = ProcessNowMs() + timeout_ms;
  int status = 0;
  int result = -1;
  for (;;) {
    pid_t r = waitpid(p->pid, &status, WNOHANG);
    if (r == p->pid) {
      result = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (r < 0 && errno != EINTR) break;
    if (ProcessNowMs() >= deadline) {
      kill(p->pid, SIGKILL);
      waitpid(p->pid, &status, 0);
      break;
    }
    usleep(2000);
  }
  if (p->out_fd >= 0) close(p->out_fd);
  p->out_fd = -1;
  p->pid = -1;
  return result;
}

// The whole conversation at once: writes input, closes it, returns the output
// and the exit status (-1 on timeout).
inline int ProcessRun(const std::string& input, std::string* output, const std::vector<std::string>& args = {},
                      int timeout_ms = 60000) {
  T_Process p;
  if (!ProcessStart(&p, args)) return -1;
  bool written = ProcessWrite(&p, input);
  ProcessCloseInput(&p);
  bool ended = ProcessReadAll(&p, output, timeout_ms);
  int status = ProcessWait(&p, ended ? 20000 : 0);
  if (!written && status < 0) return -1;
  return status;
}
