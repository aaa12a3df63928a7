// Holds UCI conversations with ombrix.exe over pipes made here with CreatePipe,
// the way a Windows GUI starts an engine, and checks the replies byte for byte.
//   uci_driver PATH-OF-ombrix.exe
// Prints one line per check and "N passed, N failed"; exit status 1 on any failure.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kTimeoutMs = 60000;  // Wine may be slow to start a process

struct T_Engine {
  HANDLE process = nullptr;
  HANDLE to_engine = nullptr;    // our end of its standard input
  HANDLE from_engine = nullptr;  // our end of its standard output
  std::string output;            // everything it has written so far
  size_t seen = 0;               // output before this offset has been matched
};

// From the start position the search has polled its input more than once by
// the time it starts its eleventh iteration.
const char kPolledAlready[] = " currmovenumber 1 depth 11\n";

int passed = 0;
int failed = 0;

void Check(bool ok, const char* what, const std::string& detail = std::string()) {
  if (ok) {
    ++passed;
    std::printf("ok   %s\n", what);
  } else {
    ++failed;
    std::printf("FAIL %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
  }
  std::fflush(stdout);
}

// Control characters and bytes above 127 as \xNN, so that a mismatch is
// readable; of a long text only the end.
std::string Visible(const std::string& text) {
  constexpr size_t kShown = 800;
  std::string out = text.size() > kShown ? "..." : "";
  for (unsigned char c : text.substr(text.size() > kShown ? text.size() - kShown : 0)) {
    if (c == '\n') {
      out += "\\n";
    } else if (c < 32 || c > 126) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// Standard input is a new pipe, or console_input when that is given.
bool StartEngine(T_Engine* engine, const char* exe, HANDLE console_input = nullptr) {
  SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE child_in = console_input, child_out = nullptr;
  if (console_input == nullptr && !CreatePipe(&child_in, &engine->to_engine, &inherit, 0)) return false;
  if (!CreatePipe(&engine->from_engine, &child_out, &inherit, 0)) return false;
  // Our ends stay with us, or the engine would never see its input end.
  SetHandleInformation(engine->to_engine, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(engine->from_engine, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_in;
  startup.hStdOutput = child_out;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info;
  std::string command = std::string("\"") + exe + "\"";
  BOOL ok = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
  if (console_input == nullptr) CloseHandle(child_in);
  CloseHandle(child_out);
  if (!ok) return false;
  CloseHandle(info.hThread);
  engine->process = info.hProcess;
  return true;
}

void Send(T_Engine* engine, const char* text) {
  DWORD length = static_cast<DWORD>(std::strlen(text));
  while (length > 0) {
    DWORD written = 0;
    if (!WriteFile(engine->to_engine, text, length, &written, nullptr)) return;
    text += written;
    length -= written;
  }
}

void CloseInput(T_Engine* engine) {
  if (engine->to_engine != nullptr) CloseHandle(engine->to_engine);
  engine->to_engine = nullptr;
}

// Takes whatever the engine has written, without blocking.
void Pump(T_Engine* engine) {
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(engine->from_engine, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
    char buffer[4096];
    DWORD got = 0;
    if (!ReadFile(engine->from_engine, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr) ||
        got == 0)
      return;
    engine->output.append(buffer, got);
  }
}

// Reads the engine's output for ms milliseconds, so that its writes never wait.
void Idle(T_Engine* engine, DWORD ms) {
  const ULONGLONG until = GetTickCount64() + ms;
  while (GetTickCount64() < until) {
    Pump(engine);
    Sleep(5);
  }
}

// Waits until needle appears after the part already matched; *at is where it starts.
bool WaitFor(T_Engine* engine, const std::string& needle, size_t* at) {
  const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
  for (;;) {
    Pump(engine);
    size_t found = engine->output.find(needle, engine->seen);
    if (found != std::string::npos) {
      *at = found;
      engine->seen = found + needle.size();
      return true;
    }
    // Once the engine has ended, whatever it wrote is in the pipe already.
    if (WaitForSingleObject(engine->process, 0) == WAIT_OBJECT_0) {
      Pump(engine);
      if (engine->output.find(needle, engine->seen) == std::string::npos) return false;
      continue;
    }
    if (GetTickCount64() > deadline) return false;
    Sleep(5);
  }
}

// The reply to the last command: the text from the end of the last match up to
// and including needle, or a note of what came instead.
bool Reply(T_Engine* engine, const std::string& needle, std::string* text) {
  const size_t from = engine->seen;
  size_t at = 0;
  if (!WaitFor(engine, needle, &at)) {
    *text = "no \"" + Visible(needle) + "\" in \"" + Visible(engine->output.substr(from)) + "\"";
    return false;
  }
  *text = engine->output.substr(from, engine->seen - from);
  return true;
}

// The exit status, or -1 when the engine is still running after the timeout.
long WaitExit(T_Engine* engine) {
  if (WaitForSingleObject(engine->process, kTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(engine->process, 99);
    WaitForSingleObject(engine->process, kTimeoutMs);
    return -1;
  }
  DWORD status = 0;
  GetExitCodeProcess(engine->process, &status);
  Pump(engine);
  return static_cast<long>(status);
}

void StopEngine(T_Engine* engine) {
  CloseInput(engine);
  if (WaitForSingleObject(engine->process, 0) != WAIT_OBJECT_0) TerminateProcess(engine->process, 99);
  CloseHandle(engine->process);
  CloseHandle(engine->from_engine);
}

// True when a running search keeps writing (a search blocked in a read writes nothing).
bool SearchGoesOn(T_Engine* engine) {
  Pump(engine);
  const size_t before = engine->output.size();
  Idle(engine, 1500);
  return engine->output.size() > before;
}

// True when the text is "bestmove " + a move in coordinate notation + a line feed.
bool IsBestMoveLine(const std::string& line) {
  const size_t n = line.size();
  if (line.compare(0, 9, "bestmove ") != 0 || (n != 14 && n != 15) || line[n - 1] != '\n') return false;
  for (int i = 0; i < 4; i += 2)
    if (line[9 + i] < 'a' || line[9 + i] > 'h' || line[10 + i] < '1' || line[10 + i] > '8') return false;
  return n == 14 || std::strchr("nbrq", line[13]) != nullptr;
}

// Waits for the next "bestmove" line; *line is that line, or what came instead.
bool WaitBestMove(T_Engine* engine, std::string* line) {
  const size_t from = engine->seen;
  size_t at = 0, end = 0;
  if (!WaitFor(engine, "bestmove ", &at) || !WaitFor(engine, "\n", &end)) {
    *line = engine->output.substr(from);
    return false;
  }
  *line = engine->output.substr(at, end + 1 - at);
  return IsBestMoveLine(*line);
}

void Conversation(const char* exe) {
  T_Engine engine;
  if (!StartEngine(&engine, exe)) {
    Check(false, "engine starts on pipes", "CreateProcess failed for " + std::string(exe));
    return;
  }
  std::string text;

  Send(&engine, "uci\n");
  bool ok = Reply(&engine, "uciok \n", &text);
  Check(ok && text ==
                  "id name Ombrix_r5_1_Beta_14_02_2010\n"
                  "id author Quillon88\n"
                  "option name Hash type spin default 1 min 1 max 1024\n"
                  "uciok \n",
        "uci: identity, option and uciok", Visible(text));

  Send(&engine, "isready\n");
  ok = Reply(&engine, "readyok \n\n", &text);
  Check(ok && text == "readyok \n\n", "isready: readyok", Visible(text));

  Send(&engine, "position startpos moves e2e4\ngo depth 4\n");
  ok = WaitBestMove(&engine, &text);
  Check(ok, "go depth 4: bestmove", Visible(text));

  // Deep enough for many polls: were the pipe test to fail, the first poll
  // would wait for a line that never comes.
  Send(&engine, "go depth 10\n");
  ok = WaitBestMove(&engine, &text);
  Check(ok, "go depth 10 with nothing pending: bestmove", Visible(text));

  size_t at = 0;
  const size_t search_start = engine.seen;
  Send(&engine, "go infinite\n");
  ok = WaitFor(&engine, kPolledAlready, &at);
  Send(&engine, "isready\n");
  ok = ok && WaitFor(&engine, "readyok \n\n", &at);
  Check(ok && engine.output.substr(search_start, at - search_start).find("bestmove ") == std::string::npos,
        "go infinite: readyok during the search", Visible(engine.output.substr(search_start)));

  Check(SearchGoesOn(&engine), "the search goes on after the line");

  // Half a stop: the poll sees two bytes and the search waits for the rest of the line.
  Send(&engine, "st");
  Idle(&engine, 500);
  Check(engine.output.find("bestmove ", engine.seen) == std::string::npos, "partial \"st\": the search waits",
        Visible(engine.output.substr(engine.seen)));
  Send(&engine, "op\n");
  ok = WaitBestMove(&engine, &text);
  Check(ok, "stop: bestmove", Visible(text));

  Check(engine.output.find('\r') == std::string::npos, "no carriage return in the output");

  Send(&engine, "quit\n");
  long status = WaitExit(&engine);
  Check(status == 1, "quit: exit status 1", std::to_string(status));
  StopEngine(&engine);
}

// The table messages are single-byte Windows-1251 text; no code page may touch them.
void HashWithoutTable(const char* exe) {
  T_Engine engine;
  if (!StartEngine(&engine, exe)) {
    Check(false, "engine starts on pipes", "CreateProcess failed");
    return;
  }
  Send(&engine, "setoption name Hash value 8\n");
  long status = WaitExit(&engine);
  Check(engine.output == "\xEE\xF1\xE2\xEE\xE1\xEE\xE6\xE4\xE0\xF2\xFC \xED\xE5\xF7\xE5\xE3\xEE \n" && status == 1,
        "setoption Hash before uci: the message bytes and exit status 1",
        Visible(engine.output) + " status " + std::to_string(status));
  StopEngine(&engine);
}

void EndOfInput(const char* exe) {
  T_Engine engine;
  if (!StartEngine(&engine, exe)) {
    Check(false, "engine starts on pipes", "CreateProcess failed");
    return;
  }
  Send(&engine, "isready\n");
  CloseInput(&engine);
  long status = WaitExit(&engine);
  Check(engine.output == "readyok \n\n" && status == 0, "end of input: exit status 0",
        Visible(engine.output) + " status " + std::to_string(status));
  StopEngine(&engine);
}

// Key presses for text, as a user would type it; "\r" is the Enter key.
void Type(HANDLE console, const char* text) {
  for (; *text; ++text) {
    INPUT_RECORD keys[2];
    std::memset(keys, 0, sizeof keys);
    for (int i = 0; i < 2; ++i) {
      keys[i].EventType = KEY_EVENT;
      keys[i].Event.KeyEvent.bKeyDown = i == 0;
      keys[i].Event.KeyEvent.wRepeatCount = 1;
      keys[i].Event.KeyEvent.wVirtualKeyCode = *text == '\r' ? VK_RETURN : 0;
      keys[i].Event.KeyEvent.uChar.AsciiChar = *text;
    }
    DWORD written = 0;
    WriteConsoleInputA(console, keys, 2, &written);
  }
}

// Standard input a console: the poller counts its input events. Run with
// the driver's own standard input on a console (Wine makes one of a terminal).
void ConsoleInput(const char* exe) {
  HANDLE console = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(console, &mode)) {
    Check(false, "console: standard input of the driver is a console");
    return;
  }
  SetHandleInformation(console, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  T_Engine engine;
  if (!StartEngine(&engine, exe, console)) {
    Check(false, "engine starts on a console", "no console");
    return;
  }
  std::string text;
  Type(console, "uci\r");
  bool ok = Reply(&engine, "uciok \n", &text);
  Check(ok, "console: uci", Visible(text));

  size_t at = 0;
  const size_t search_start = engine.seen;
  // The first poll discards the console events queued before it: the first
  // "isready" is typed before the search starts and gets no answer.
  Type(console, "position startpos\rgo infinite\risready\r");
  ok = WaitFor(&engine, kPolledAlready, &at);
  Check(ok && engine.output.find("readyok", search_start) == std::string::npos,
        "console: keys typed before the first poll are discarded", Visible(engine.output.substr(search_start)));
  Type(console, "isready\r");
  ok = WaitFor(&engine, "readyok \n\n", &at);
  Check(ok && engine.output.substr(search_start, at - search_start).find("bestmove ") == std::string::npos,
        "console: readyok during the search", Visible(engine.output.substr(search_start)));
  // The key release left from Enter alone is no waiting input: a read would block the search.
  Check(SearchGoesOn(&engine), "console: the search goes on after the line");
  Type(console, "stop\r");
  ok = WaitBestMove(&engine, &text);
  Check(ok, "console: stop, bestmove", Visible(text));

  Type(console, "quit\r");
  long status = WaitExit(&engine);
  Check(status == 1, "console: quit, exit status 1", std::to_string(status));
  StopEngine(&engine);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: uci_driver PATH-OF-ombrix.exe\n");
    return 2;
  }
  Conversation(argv[1]);
  HashWithoutTable(argv[1]);
  EndOfInput(argv[1]);
  ConsoleInput(argv[1]);
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
