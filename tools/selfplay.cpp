// Self-play through the UCI loop: each side is its own engine process, the
// clocks are kept here in wall time, every answer is checked against the
// engine's own move generator. Prints the figures of the run; the exit status
// is 1 when a move was illegal, a self-test line was written, an engine
// crashed or hung (a time forfeit alone is reported, not failed).
//
//   ombrix_selfplay [--games N] [--time-ms T] [--inc-ms I] [--concurrency K]
//                   [--random-plies R] [--max-plies P] [--engine PATH] [--verbose]
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "legal_move_texts.h"
#include "board/makemove.h"
#include "board/zobrist.h"
#include "movegen/movegen.h"
#include "uci/report.h"
#include "uci/uci.h"
#include "uci_process.h"

namespace {

struct T_Options {
  int games = 10;
  long long time_ms = 5000;
  long long inc_ms = 0;
  int concurrency = 1;
  int random_plies = 4;  // opening moves picked at random, so that the games differ
  int max_plies = 600;   // a game this long is scored a draw
  std::string engine = OMBRIX_BINARY;
  bool verbose = false;
};

struct T_Totals {
  int games = 0;
  long long moves = 0;  // moves answered by the engines
  int white_wins = 0, black_wins = 0, draws = 0;
  int forfeits = 0, illegal = 0, error_lines = 0, crashes = 0, hangs = 0;
  long long max_overrun_ms = 0;  // deepest a clock went below zero
};

// Neither side can mate: bare kings, or one knight or bishop beside them.
bool InsufficientMaterial(const T_Bitboard* b) {
  for (int c = 0; c < 2; ++c) {
    const u64* p = c ? b->white_piece : b->black_piece;
    if (p[kPawn] | p[kRook] | p[kQueen]) return false;
  }
  const int minors = __builtin_popcountll(b->white_piece[kKnight] | b->white_piece[kBishop] |
                                          b->black_piece[kKnight] | b->black_piece[kBishop]);
  return minors <= 1;
}

struct T_Engine {
  T_Process process;
  bool running = false;
};

bool StartEngine(T_Engine* e, const T_Options& options) {
  e->running = ProcessStart(&e->process, {}, options.engine);
  if (!e->running) return false;
  std::string line;
  e->running = ProcessWriteLine(&e->process, "uci") && ProcessReadUntil(&e->process, "uciok", &line, 10000) &&
               ProcessWriteLine(&e->process, "isready") && ProcessReadUntil(&e->process, "readyok", &line, 10000);
  return e->running;
}

void StopEngine(T_Engine* e) {
  if (e->process.pid > 0) {
    ProcessWriteLine(&e->process, "quit");
    ProcessWait(&e->process, 5000);
  }
  e->running = false;
}

bool IsSelfTestLine(const std::string& line) {
  return line.compare(0, 5, "ERROR") == 0 || line.compare(0, 11, "white test_") == 0;
}

// One game; adds its figures to totals (under the lock) and returns false when
// an engine died or hung, so that the worker starts fresh ones.
bool PlayGame(int game, T_Engine engines[2], const T_Options& options, T_Totals* totals, std::mutex* lock) {
  T_Totals t;
  T_Bitboard board;
  ReadFen(&board, start_fen);
  std::vector<u64> keys;
  HashKeyFromScratch(&board);
  keys.push_back(board.hash_key);
  std::string moves;
  int quiet_plies = 0;  // since the last capture or pawn move
  long long clock_ms[2] = {options.time_ms, options.time_ms};  // [0] black, [1] white
  unsigned random_state = 2654435761u * static_cast<unsigned>(game + 1);
  const char* result = "1/2-1/2";
  std::string reason = "move limit";
  bool engines_ok = true;

  for (int ply = 0; ply < options.max_plies; ++ply) {
    const std::vector<T_LegalMoveText> legal = LegalMoveList(&board);
    const int side = board.colour_move;
    if (legal.empty()) {
      const bool in_check = side ? WhiteKingAttacked(&board) : BlackKingAttacked(&board);
      result = !in_check ? "1/2-1/2" : side ? "0-1" : "1-0";
      reason = in_check ? "checkmate" : "stalemate";
      break;
    }
    if (quiet_plies >= 100) { reason = "fifty moves"; break; }
    if (InsufficientMaterial(&board)) { reason = "insufficient material"; break; }
    int repeats = 0;
    for (u64 k : keys) repeats += k == keys.back();
    if (repeats >= 3) { reason = "repetition"; break; }

    std::string move;
    if (ply < options.random_plies) {
      random_state = random_state * 1103515245u + 12345u;
      move = legal[(random_state >> 8) % legal.size()].text;
    } else {
      T_Process* p = &engines[side].process;
      std::string position = "position startpos" + (moves.empty() ? "" : " moves " + moves);
      std::string go = "go wtime " + std::to_string(clock_ms[1]) + " btime " + std::to_string(clock_ms[0]) +
                       " winc " + std::to_string(options.inc_ms) + " binc " + std::to_string(options.inc_ms);
      std::vector<std::string> skipped;
      std::string line;
      ProcessWriteLine(p, position);
      const long long start = ProcessNowMs();
      const bool answered = ProcessWriteLine(p, go) &&
                            ProcessReadUntil(p, "bestmove ", &line, static_cast<int>(clock_ms[side] + 20000), &skipped);
      const long long used = ProcessNowMs() - start;
      for (const std::string& s : skipped) {
        if (!IsSelfTestLine(s)) continue;
        ++t.error_lines;
        std::fprintf(stderr, "game %d: \"%s\" after %s\n", game, s.c_str(), moves.c_str());
      }
      if (!answered) {
        const int status = ProcessWait(p, 2000);
        if (status == -1) ++t.hangs;
        else ++t.crashes;
        std::fprintf(stderr, "game %d: engine %s (status %d) after %s\n", game, status == -1 ? "hung" : "ended",
                     status, moves.c_str());
        engines_ok = false;
        reason = "engine failure";
        break;
      }
      ++t.moves;
      clock_ms[side] += options.inc_ms - used;
      move = line.substr(9, line.find(' ', 9) == std::string::npos ? std::string::npos : line.find(' ', 9) - 9);
      bool found = false;
      for (const T_LegalMoveText& m : legal) found = found || m.text == move;
      if (!found) {
        ++t.illegal;
        std::fprintf(stderr, "game %d: illegal bestmove \"%s\" after %s\n", game, move.c_str(), moves.c_str());
        result = side ? "0-1" : "1-0";
        reason = "illegal move";
        break;
      }
      if (clock_ms[side] - options.inc_ms < 0) {
        ++t.forfeits;
        if (-(clock_ms[side] - options.inc_ms) > t.max_overrun_ms) t.max_overrun_ms = -(clock_ms[side] - options.inc_ms);
        result = side ? "0-1" : "1-0";
        reason = "time forfeit";
        break;
      }
    }

    int word = 0;
    for (const T_LegalMoveText& m : legal)
      if (m.text == move) word = m.word;
    const bool resets = MovePiece(word) == kPawn || MoveType(word) == move_capture ||
                        MoveType(word) == move_taking_passage || MoveType(word) >= move_capture_promotion_knight;
    quiet_plies = resets ? 0 : quiet_plies + 1;
    PlayTextMove(&board, move[0], move[1], move[2], move[3], move.size() > 4 ? move[4] : 0);
    HashKeyFromScratch(&board);
    keys.push_back(board.hash_key);
    moves += (moves.empty() ? "" : " ") + move;
  }

  if (options.verbose)
    std::printf("game %d: %s (%s), %lld engine moves, clocks white %lld ms black %lld ms\n", game, result,
                reason.c_str(), t.moves, clock_ms[1], clock_ms[0]);
  std::fflush(stdout);
  std::lock_guard<std::mutex> guard(*lock);
  ++totals->games;
  totals->moves += t.moves;
  if (std::strcmp(result, "1-0") == 0) ++totals->white_wins;
  else if (std::strcmp(result, "0-1") == 0) ++totals->black_wins;
  else ++totals->draws;
  totals->forfeits += t.forfeits;
  totals->illegal += t.illegal;
  totals->error_lines += t.error_lines;
  totals->crashes += t.crashes;
  totals->hangs += t.hangs;
  if (t.max_overrun_ms > totals->max_overrun_ms) totals->max_overrun_ms = t.max_overrun_ms;
  return engines_ok;
}

void Worker(std::atomic<int>* next_game, const T_Options* options, T_Totals* totals, std::mutex* lock) {
  T_Engine engines[2];
  for (;;) {
    const int game = next_game->fetch_add(1);
    if (game >= options->games) break;
    bool ready = true;
    for (T_Engine& e : engines) {
      if (!e.running) ready = StartEngine(&e, *options) && ready;
      std::string line;
      ready = ready && ProcessWriteLine(&e.process, "ucinewgame") && ProcessWriteLine(&e.process, "isready") &&
              ProcessReadUntil(&e.process, "readyok", &line, 10000);
    }
    if (!ready) {
      std::lock_guard<std::mutex> guard(*lock);
      ++totals->crashes;
      std::fprintf(stderr, "game %d: an engine did not start\n", game);
      for (T_Engine& e : engines) StopEngine(&e);
      continue;
    }
    if (!PlayGame(game, engines, *options, totals, lock))
      for (T_Engine& e : engines) StopEngine(&e);
  }
  for (T_Engine& e : engines) StopEngine(&e);
}

bool ReadNumber(const char* text, long long low, long long* value) {
  char* end = nullptr;
  long long v = std::strtoll(text, &end, 10);
  if (end == text || *end != 0 || v < low) return false;
  *value = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  T_Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool has_value = i + 1 < argc;
    long long v = 0;
    bool ok = true;
    if (a == "--verbose") options.verbose = true;
    else if (a == "--engine" && has_value) options.engine = argv[++i];
    else if (a == "--games" && has_value && (ok = ReadNumber(argv[++i], 1, &v))) options.games = static_cast<int>(v);
    else if (a == "--time-ms" && has_value && (ok = ReadNumber(argv[++i], 1, &v))) options.time_ms = v;
    else if (a == "--inc-ms" && has_value && (ok = ReadNumber(argv[++i], 0, &v))) options.inc_ms = v;
    else if (a == "--concurrency" && has_value && (ok = ReadNumber(argv[++i], 1, &v))) options.concurrency = static_cast<int>(v);
    else if (a == "--random-plies" && has_value && (ok = ReadNumber(argv[++i], 0, &v))) options.random_plies = static_cast<int>(v);
    else if (a == "--max-plies" && has_value && (ok = ReadNumber(argv[++i], 1, &v))) options.max_plies = static_cast<int>(v);
    else ok = false;
    if (!ok) {
      std::fprintf(stderr,
                   "usage: ombrix_selfplay [--games N] [--time-ms T] [--inc-ms I] [--concurrency K]\n"
                   "                       [--random-plies R] [--max-plies P] [--engine PATH] [--verbose]\n");
      return 2;
    }
  }

  // The checker's own board needs the keys for repetitions.
  InitZobrist();
  T_Totals totals;
  std::mutex lock;
  std::atomic<int> next_game{0};
  const long long start = ProcessNowMs();
  std::vector<std::thread> workers;
  for (int w = 0; w < options.concurrency; ++w) workers.emplace_back(Worker, &next_game, &options, &totals, &lock);
  for (std::thread& w : workers) w.join();

  std::printf("self-play: %d games at %lld ms + %lld ms, %d at a time, %.1f s\n", totals.games, options.time_ms,
              options.inc_ms, options.concurrency, (ProcessNowMs() - start) / 1000.0);
  std::printf("games %d  moves %lld  white wins %d  black wins %d  draws %d\n", totals.games, totals.moves,
              totals.white_wins, totals.black_wins, totals.draws);
  std::printf("time forfeits %d (worst %lld ms over)  illegal moves %d  ERROR lines %d  crashes %d  hangs %d\n",
              totals.forfeits, totals.max_overrun_ms, totals.illegal, totals.error_lines, totals.crashes,
              totals.hangs);
  const bool failed = totals.illegal || totals.error_lines || totals.crashes || totals.hangs;
  return failed ? 1 : 0;
}
