// libFuzzer target: the bytes are a UCI conversation. Its lines (made small by
// fuzz_script.h) reach the command loop through standard input, a pipe, so
// that the search's input poll reads the lines that wait behind a "go". The
// engine's output goes to an in-memory file and is checked after each command:
// every "go" answers one "bestmove" that is legal on the board it searched (or
// "0000" when there is none), no self-test line appears, the board stays a
// consistent record and a search gives it back unchanged.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "legal_move_texts.h"
#include "board/makemove.h"
#include "board/zobrist.h"
#include "eval/eval.h"
#include "fuzz_script.h"
#include "movegen/movegen.h"
#include "search/hash_table.h"
#include "search/ordering.h"
#include "search/pv.h"
#include "search/repetition.h"
#include "search/search.h"
#include "uci/input.h"
#include "uci/output.h"
#include "uci/report.h"
#include "uci/uci.h"

namespace {

std::jmp_buf end_of_process;
int output_fd = -1;   // the in-memory file behind fd 1
off_t output_read = 0;

[[noreturn]] void Finding(const char* what, const std::string& detail) {
  std::fprintf(stderr, "FINDING: %s\n%s\n", what, detail.c_str());
  std::abort();
}

std::string NewOutput() {
  off_t end = lseek(output_fd, 0, SEEK_END);
  std::string text(static_cast<size_t>(end - output_read), '\0');
  if (!text.empty() && pread(output_fd, text.data(), text.size(), output_read) != static_cast<ssize_t>(text.size()))
    Finding("cannot read the output", "");
  output_read = end;
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t lf = text.find('\n', start);
    if (lf == std::string::npos) lf = text.size();
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  return lines;
}

void CheckNoSelfTestLines(const std::string& output) {
  for (const std::string& line : Lines(output))
    if (line.compare(0, 5, "ERROR") == 0 || line.compare(0, 11, "white test_") == 0) Finding("self-test line", output);
}

// The record is what make and the FEN reader must always leave: the square
// arrays and the bitboards tell the same, the colours do not overlap, the
// flags are flags and name real squares.
void CheckConsistent(const T_Bitboard* b, const char* where) {
  u64 all[2] = {0, 0};
  for (int c = 0; c < 2; ++c) {
    const u64* pieces = c ? b->white_piece : b->black_piece;
    const int* names = c ? b->white_name_from_coord : b->black_name_from_coord;
    if (pieces[0] != 0) Finding("piece set 0 not empty", where);
    for (int p = 1; p <= 6; ++p) {
      if (all[c] & pieces[p]) Finding("two pieces on one square", where);
      all[c] |= pieces[p];
    }
    for (int s = 0; s < 64; ++s) {
      int code = names[s];
      if (code < 0 || code > 6) Finding("piece code out of range", where);
      if (code != 0 && !((pieces[code] >> s) & 1)) Finding("square array and bitboard disagree", where);
      if (code == 0 && ((all[c] >> s) & 1)) Finding("bitboard square without a code", where);
    }
  }
  if (all[1] != b->all_white_piece || all[0] != b->all_black_piece) Finding("colour set is not its pieces", where);
  if (all[0] & all[1]) Finding("a square of both colours", where);
  if (b->all_piece != (all[0] | all[1])) Finding("all_piece wrong", where);
  if (b->colour_move > 1 || b->taking_passage_yes > 1) Finding("flag out of range", where);
  if (b->castling_K > 1 || b->castling_Q > 1 || b->castling_k > 1 || b->castling_q > 1)
    Finding("castling flag out of range", where);
  if (b->taking_passage_yes &&
      (b->taking_passage_x < 0 || b->taking_passage_x > 7 || b->taking_passage_y < 0 || b->taking_passage_y > 7))
    Finding("en-passant square off the board", where);
}

bool SamePosition(const T_Bitboard* a, const T_Bitboard* b) {
  T_Bitboard x = *a, y = *b;
  x.hash_key = y.hash_key = 0;  // the search recomputes both from scratch
  x.eval = y.eval = 0;
  if (!x.taking_passage_yes && !y.taking_passage_yes) {
    x.taking_passage_x = y.taking_passage_x = 0;
    x.taking_passage_y = y.taking_passage_y = 0;
  }
  return std::memcmp(&x, &y, sizeof(x)) == 0;
}

void CheckBestMove(const T_Bitboard* before, const std::string& output) {
  std::string best;
  int count = 0;
  for (const std::string& line : Lines(output)) {
    if (line.compare(0, 9, "bestmove ") == 0) {
      best = line.substr(9);
      ++count;
    }
  }
  if (count != 1) Finding("a go without exactly one bestmove", output);
  const std::vector<std::string> legal = LegalMoveTexts(before);
  if (legal.empty()) {
    if (best != "0000") Finding("bestmove without a legal move", output);
    return;
  }
  for (const std::string& m : legal)
    if (m == best) return;
  Finding("illegal bestmove", output);
}

// As a new process would start, except that the keys are drawn at once (the
// drawn flag cannot be taken back): the same keys for every input, no table.
void ResetEngine() {
  ReleaseHashTable();
  ResetZobristRandom();
  InitZobrist();
  std::memset(key_history, 0, sizeof(key_history));
  key_history_count = 0;
  std::memset(search_keys, 0, sizeof(search_keys));
  std::memset(first_killer, 0, sizeof(first_killer));
  std::memset(second_killer, 0, sizeof(second_killer));
  std::memset(&p_PV_best_point, 0, sizeof(p_PV_best_point));
  std::memset(current_line, 0, sizeof(current_line));
  std::memset(&search_control, 0, sizeof(search_control));
  last_reported_score = -999999999;
  last_reported_depth = 0;
  output_muted = false;
  ResetInputBuffer();
}

// The loop of UciLoop with the checks around each command.
void RunLoop(T_Bitboard* board) {
  std::memset(board, 0, sizeof(*board));
  InitEvalTables();
  while (ReadLine(input_line)) {
    const bool go = std::strncmp(input_line, "go", 2) == 0;
    static T_Bitboard before;
    before = *board;
    if (go) {
      // The reader must accept every line (the rewritten one is what runs).
      T_GoLimits limits;
      ReadGoLimits(input_line, &limits);
    }
    HandleCommand(board);
    const std::string output = NewOutput();
    CheckNoSelfTestLines(output);
    CheckConsistent(board, input_line);
    if (go) {
      if (!SamePosition(&before, board)) Finding("the search changed the board", input_line);
      CheckBestMove(&before, output);
    }
  }
}

}  // namespace

// The process exits of the engine ("quit", a failed table allocation) come back here.
void EndProcess(int) { std::longjmp(end_of_process, 1); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string script = FuzzScript(reinterpret_cast<const char*>(data), size);

  // Mostly a pipe, as under a GUI; every fourth input size a file, whose
  // bytes the poll counts differently (and a pipe holds only 64 KiB unread).
  int in_fd;
  int fds[2];
  if (script.size() < 60000 && size % 4 != 0 && pipe(fds) == 0) {
    if (write(fds[1], script.data(), script.size()) != static_cast<ssize_t>(script.size())) std::abort();
    close(fds[1]);
    in_fd = fds[0];
  } else {
    in_fd = memfd_create("fuzz-input", 0);
    if (in_fd < 0 || write(in_fd, script.data(), script.size()) != static_cast<ssize_t>(script.size())) std::abort();
    lseek(in_fd, 0, SEEK_SET);
  }
  const int saved_in = dup(STDIN_FILENO), saved_out = dup(STDOUT_FILENO);
  output_fd = memfd_create("fuzz-output", 0);
  output_read = 0;
  dup2(in_fd, STDIN_FILENO);
  dup2(output_fd, STDOUT_FILENO);
  close(in_fd);

  ResetEngine();
  static T_Bitboard board;
  if (setjmp(end_of_process) == 0) RunLoop(&board);
  // Whatever came before the end (a "quit" in the middle of a search) is checked too.
  CheckNoSelfTestLines(NewOutput());

  dup2(saved_in, STDIN_FILENO);
  dup2(saved_out, STDOUT_FILENO);
  close(saved_in);
  close(saved_out);
  close(output_fd);
  ReleaseHashTable();
  return 0;
}
