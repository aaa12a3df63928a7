// The search through the real binary: what "go" writes, how it ends, and how
// it answers while it thinks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uci_process.h"

namespace {

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

bool StartsWith(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

// Iteration lines carry "nps" but no "seldepth"; the per-root-move lines carry both.
bool IsIterationLine(const std::string& s) {
  return StartsWith(s, "info  nps ") && s.find(" seldepth ") == std::string::npos;
}

std::string Field(const std::string& line, const std::string& name) {
  size_t at = line.find(" " + name + " ");
  if (at == std::string::npos) return "";
  at += name.size() + 2;
  size_t end = line.find(' ', at);
  return line.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// Runs a whole conversation and returns the output lines after "readyok ".
std::vector<std::string> Converse(const std::string& commands, int* status) {
  std::string output;
  *status = ProcessRun("uci\nisready\n" + commands, &output);
  std::vector<std::string> lines = Lines(output);
  size_t i = 0;
  while (i < lines.size() && lines[i] != "readyok ") ++i;
  // Skip "readyok " and the empty line after it.
  return std::vector<std::string>(lines.begin() + std::min(lines.size(), i + 2), lines.end());
}

void ExpectNoDiagnostics(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    EXPECT_FALSE(StartsWith(line, "ERROR")) << line;
    EXPECT_FALSE(StartsWith(line, "white test_")) << line;
  }
}

TEST(SearchConversation, DepthThreeWritesEveryLineInOrder) {
  int status = -1;
  std::vector<std::string> lines = Converse("position startpos\ngo depth 3\n", &status);
  EXPECT_EQ(status, 0);
  ExpectNoDiagnostics(lines);
  ASSERT_FALSE(lines.empty());

  int depth = 1, expected_number = 1;
  std::string last_pv_move;
  size_t i = 0;
  for (; i < lines.size() && depth <= 3; ++i) {
    const std::string& line = lines[i];
    if (StartsWith(line, "info currmove ")) {
      EXPECT_EQ(Field(line, "currmovenumber"), std::to_string(expected_number)) << line;
      EXPECT_EQ(Field(line, "depth"), std::to_string(depth)) << line;
      ++expected_number;
      // After each root move: a full line, an empty line, or an empty line and a full line.
      ASSERT_LT(i + 1, lines.size());
      if (lines[i + 1].empty()) ++i;
      if (i + 1 < lines.size() && StartsWith(lines[i + 1], "info  nps ") && !IsIterationLine(lines[i + 1])) {
        ++i;
        EXPECT_EQ(Field(lines[i], "depth"), std::to_string(depth));
        EXPECT_NE(lines[i].find(" pv "), std::string::npos);
      }
    } else if (IsIterationLine(line)) {
      EXPECT_EQ(expected_number, 21) << "the start position has 20 legal moves";
      EXPECT_EQ(Field(line, "depth"), std::to_string(depth));
      EXPECT_EQ(line.back(), ' ') << "a pv list ends with a space";
      last_pv_move = Field(line, "pv");
      ++depth;
      expected_number = 1;
    } else {
      ADD_FAILURE() << "unexpected line: " << line;
    }
  }
  EXPECT_EQ(depth, 4);
  ASSERT_LT(i, lines.size());
  EXPECT_EQ(lines[i], "bestmove " + last_pv_move);
  EXPECT_EQ(i + 1, lines.size());
}

TEST(SearchConversation, MateInOneIsReportedAndEndsTheSearch) {
  struct Case {
    const char* fen;
    const char* best;
  } cases[] = {
      {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "bestmove a1a8"},
      {"r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1", "bestmove a8a1"},
  };
  for (const Case& c : cases) {
    int status = -1;
    std::vector<std::string> lines = Converse(std::string("position fen ") + c.fen + "\ngo depth 6\n", &status);
    ExpectNoDiagnostics(lines);
    std::vector<std::string> iterations;
    for (const std::string& line : lines)
      if (IsIterationLine(line)) iterations.push_back(line);
    ASSERT_EQ(iterations.size(), 1u) << c.fen;
    EXPECT_NE(iterations[0].find(" score mate 1 "), std::string::npos) << iterations[0];
    EXPECT_EQ(lines.back(), c.best);
  }
}

TEST(SearchConversation, RootWithoutLegalMoveAnswersNullMove) {
  const char* fens[] = {
      "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3",  // checkmated
      "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",                                  // stalemated
  };
  for (const char* fen : fens) {
    int status = -1;
    std::vector<std::string> lines = Converse(std::string("position fen ") + fen + "\ngo depth 3\n", &status);
    EXPECT_EQ(status, 0);
    ExpectNoDiagnostics(lines);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "bestmove 0000") << fen;
  }
}

TEST(SearchConversation, DepthBelowOneAndZeroClockSearchOneIteration) {
  const char* gos[] = {"go depth 0", "go depth -3", "go wtime 0 btime 0", "go"};
  for (const char* go : gos) {
    int status = -1;
    std::vector<std::string> lines = Converse(std::string("position startpos\n") + go + "\n", &status);
    int iterations = 0;
    for (const std::string& line : lines)
      if (IsIterationLine(line)) {
        ++iterations;
        EXPECT_EQ(Field(line, "depth"), "1") << go;
      }
    EXPECT_EQ(iterations, 1) << go;
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(StartsWith(lines.back(), "bestmove ")) << go;
  }
}

class LiveSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ProcessStart(&process_));
    ASSERT_TRUE(ProcessWriteLine(&process_, "uci"));
    ASSERT_TRUE(ProcessWriteLine(&process_, "isready"));
    std::string line;
    ASSERT_TRUE(ProcessReadUntil(&process_, "readyok ", &line));
    ASSERT_TRUE(ProcessReadLine(&process_, &line));
    ASSERT_EQ(line, "");
  }
  void TearDown() override { ProcessWait(&process_); }

  // Reads until a line equal to want or starting with "bestmove"; returns that line.
  std::string ReadFor(const std::string& want, int timeout_ms) {
    std::string line;
    long long deadline = ProcessNowMs() + timeout_ms;
    while (ProcessNowMs() < deadline) {
      if (!ProcessReadLine(&process_, &line, static_cast<int>(deadline - ProcessNowMs()))) return "";
      if (line == want || StartsWith(line, "bestmove")) return line;
    }
    return "";
  }

  T_Process process_;
};

TEST_F(LiveSearch, InfiniteStopsOnStopEveryTime) {
  for (int round = 0; round < 5; ++round) {
    ASSERT_TRUE(ProcessWriteLine(&process_, "position startpos moves e2e4"));
    ASSERT_TRUE(ProcessWriteLine(&process_, "go infinite"));
    usleep(100000);
    long long sent = ProcessNowMs();
    ASSERT_TRUE(ProcessWriteLine(&process_, "stop"));
    std::string line;
    EXPECT_TRUE(ProcessReadUntil(&process_, "bestmove ", &line, 5000));
    EXPECT_LT(ProcessNowMs() - sent, 2000);
  }
}

TEST_F(LiveSearch, IsReadyIsAnsweredWhileSearching) {
  ASSERT_TRUE(ProcessWriteLine(&process_, "position startpos"));
  ASSERT_TRUE(ProcessWriteLine(&process_, "go infinite"));
  usleep(100000);
  ASSERT_TRUE(ProcessWriteLine(&process_, "isready"));
  EXPECT_EQ(ReadFor("readyok ", 5000), "readyok ");
  ASSERT_TRUE(ProcessWriteLine(&process_, "stop"));
  std::string line;
  EXPECT_TRUE(ProcessReadUntil(&process_, "bestmove ", &line, 5000));
}

TEST_F(LiveSearch, QuitDuringSearchEndsWithStatusOneAndNoBestMove) {
  ASSERT_TRUE(ProcessWriteLine(&process_, "position startpos"));
  ASSERT_TRUE(ProcessWriteLine(&process_, "go infinite"));
  usleep(100000);
  ASSERT_TRUE(ProcessWriteLine(&process_, "quit"));
  std::string rest;
  EXPECT_TRUE(ProcessReadAll(&process_, &rest, 5000));
  EXPECT_EQ(rest.find("bestmove"), std::string::npos);
  EXPECT_EQ(ProcessWait(&process_), 1);
}

}  // namespace
