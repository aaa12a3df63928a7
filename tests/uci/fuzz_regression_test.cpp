// Replays every fuzz finding (fuzz/regressions) and every seed (fuzz/corpus)
// through the real binary, made into the same conversation the fuzz target
// sends. The engine must end normally (status 0, or 1 after "quit"), answer
// every "go" with a legal move of the board the conversation set up, and write
// no self-test line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "legal_move_texts.h"
#include "../../fuzz/fuzz_script.h"
#include "board/makemove.h"
#include "movegen/movegen.h"
#include "uci/output.h"
#include "uci/report.h"
#include "uci/uci.h"
#include "uci_process.h"

namespace {

// What the conversation must produce, worked out on this process's own board.
struct T_Expected {
  std::vector<std::vector<std::string>> legal;  // per "go": its legal moves ({"0000"} when none)
  bool last_go_may_be_cut = false;              // a "quit" waits behind the last "go"
  int status = 0;
};

T_Expected Expect(const std::vector<std::string>& lines) {
  T_Expected e;
  static T_Bitboard board;
  board = T_Bitboard{};
  bool table_exists = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const FuzzLine kind = FuzzClassify(lines[i], &table_exists);
    if (kind == FuzzLine::kEnds) {
      e.status = 1;
      break;
    }
    if (kind == FuzzLine::kPosition) {
      std::snprintf(input_line, sizeof(input_line), "%s", FuzzCommandText(lines[i]).c_str());
      output_muted = true;
      PositionCommand(&board);
      output_muted = false;
    } else if (kind == FuzzLine::kGo) {
      std::vector<std::string> legal = LegalMoveTexts(&board);
      if (legal.empty()) legal.push_back("0000");
      e.legal.push_back(legal);
      size_t j = i + 1;
      while (j < lines.size() && FuzzCommandText(lines[j]) == "isready") ++j;
      e.last_go_may_be_cut = j < lines.size() && FuzzCommandText(lines[j]) == "quit";
    }
  }
  return e;
}

std::vector<std::filesystem::path> Inputs() {
  std::vector<std::filesystem::path> files;
  for (const char* dir : {"/fuzz/regressions", "/fuzz/corpus"}) {
    const std::filesystem::path path = std::string(OMBRIX_SOURCE_DIR) + dir;
    if (!std::filesystem::is_directory(path)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(path))
      if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(FuzzRegressionTest, EveryInputEndsNormallyWithLegalAnswers) {
  const std::vector<std::filesystem::path> files = Inputs();
  ASSERT_FALSE(files.empty());
  for (const std::filesystem::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<std::string> lines = FuzzScriptLines(bytes.data(), bytes.size());
    std::string script;
    for (const std::string& line : lines) script += line + "\n";
    const T_Expected expected = Expect(lines);

    std::string output;
    const int status = ProcessRun(script, &output, {}, 120000);
    EXPECT_EQ(status, expected.status);

    std::vector<std::string> answers;
    size_t start = 0;
    while (start < output.size()) {
      size_t lf = output.find('\n', start);
      if (lf == std::string::npos) lf = output.size();
      const std::string line = output.substr(start, lf - start);
      start = lf + 1;
      EXPECT_NE(line.compare(0, 5, "ERROR"), 0) << line;
      EXPECT_NE(line.compare(0, 11, "white test_"), 0) << line;
      if (line.compare(0, 9, "bestmove ") == 0) answers.push_back(line.substr(9));
    }
    const size_t gos = expected.legal.size();
    const bool count_ok = answers.size() == gos || (expected.last_go_may_be_cut && answers.size() + 1 == gos);
    EXPECT_TRUE(count_ok) << answers.size() << " answers to " << gos << " searches";
    for (size_t i = 0; i < answers.size() && i < gos; ++i) {
      const std::vector<std::string>& legal = expected.legal[i];
      EXPECT_NE(std::find(legal.begin(), legal.end(), answers[i]), legal.end())
          << "search " << i << ": illegal bestmove " << answers[i];
    }
  }
}

}  // namespace
