#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "uci/input.h"

namespace {

// Puts a pipe or a file in place of standard input for one test.
class InputTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_stdin_ = dup(STDIN_FILENO);
    ASSERT_GE(saved_stdin_, 0);
    ResetInputBuffer();
  }
  void TearDown() override {
    dup2(saved_stdin_, STDIN_FILENO);
    close(saved_stdin_);
    if (writer_ >= 0) close(writer_);
    ResetInputBuffer();
  }
  // Standard input becomes an empty pipe; writer_ is its other end.
  void UsePipe() {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    dup2(fds[0], STDIN_FILENO);
    close(fds[0]);
    writer_ = fds[1];
  }
  void Send(const std::string& text) {
    ASSERT_EQ(write(writer_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // Standard input becomes a regular file holding content.
  void UseFile(const std::string& content) {
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(content.data(), 1, content.size(), f), content.size());
    std::fflush(f);
    lseek(fileno(f), 0, SEEK_SET);
    dup2(fileno(f), STDIN_FILENO);
    std::fclose(f);
  }

  int saved_stdin_ = -1;
  int writer_ = -1;
  char line_[kLineSize];
};

TEST_F(InputTest, PipeCountsPendingBytes) {
  UsePipe();
  EXPECT_EQ(InputAvailable(), 0);
  Send("stop\n");
  EXPECT_EQ(InputAvailable(), 5);
  ASSERT_TRUE(ReadLine(line_));
  EXPECT_STREQ(line_, "stop");
  EXPECT_EQ(InputAvailable(), 0);
  Send("st");  // a line still being typed counts as waiting input
  EXPECT_NE(InputAvailable(), 0);
}

TEST_F(InputTest, BytesAlreadyBufferedCountAsWaiting) {
  UsePipe();
  Send("a\nisready\n");
  ASSERT_TRUE(ReadLine(line_));
  EXPECT_STREQ(line_, "a");
  // The reader took the second line from the pipe along with the first.
  EXPECT_EQ(BufferedInputBytes(), 8u);
  EXPECT_EQ(InputAvailable(), 8);
  ASSERT_TRUE(ReadLine(line_));
  EXPECT_STREQ(line_, "isready");
  EXPECT_EQ(InputAvailable(), 0);
}

TEST_F(InputTest, FileInputCountsTheBytesLeft) {
  UseFile("go\nquit\n");
  EXPECT_EQ(InputAvailable(), 8);
  ASSERT_TRUE(ReadLine(line_));
  EXPECT_NE(InputAvailable(), 0);
  ASSERT_TRUE(ReadLine(line_));
  EXPECT_STREQ(line_, "quit");
  EXPECT_EQ(InputAvailable(), 0);
  EXPECT_FALSE(ReadLine(line_));
}

TEST_F(InputTest, PipeAtEndOfInputReadsNothing) {
  UsePipe();
  Send("quit");
  close(writer_);
  writer_ = -1;
  EXPECT_NE(InputAvailable(), 0);
  ASSERT_TRUE(ReadLine(line_));  // a last line without its line feed still counts
  EXPECT_STREQ(line_, "quit");
  EXPECT_EQ(InputAvailable(), 0);
  EXPECT_FALSE(ReadLine(line_));
  EXPECT_FALSE(ReadLineDroppingLong(line_));
}

// Each case: the input and the lines read from it until the read fails.
struct LinesCase {
  const char* name;
  std::string input;
  bool drop_long;
  std::vector<std::string> lines;
};

TEST_F(InputTest, LineSplittingAndLengthLimit) {
  const std::string max(kLineSize - 1, 'x');  // 65,535 characters: the longest line kept
  const std::string over(kLineSize, 'x');
  const LinesCase cases[] = {
      {"plain", "uci\nisready\n", false, {"uci", "isready"}},
      {"crlf", "uci\r\nisready\r\n", false, {"uci", "isready"}},
      {"only one cr is removed", "a\r\r\n", false, {"a\r"}},
      {"empty lines", "\n\r\n\n", false, {"", "", ""}},
      {"last line without lf", "go\nstop", false, {"go", "stop"}},
      {"longest line", max + "\nquit\n", false, {max, "quit"}},
      {"longest line crlf", "a\n" + max + "\r\nb\n", false, {"a", max, "b"}},
      {"too long ends input", "a\n" + over + "\nquit\n", false, {"a"}},
      {"too long with cr", max + "y\r\nquit\n", false, {}},
      {"too long at the end", over, false, {}},
      {"too long dropped", over + "\nquit\n", true, {"", "quit"}},
      {"very long dropped", std::string(200000, 'y') + "\r\nstop\n", true, {"", "stop"}},
      {"longest kept when dropping", max + "\nstop\n", true, {max, "stop"}},
      {"too long at the end dropped", "a\n" + over, true, {"a"}},
  };
  for (const LinesCase& c : cases) {
    SCOPED_TRACE(c.name);
    ResetInputBuffer();
    UseFile(c.input);
    std::vector<std::string> got;
    while (c.drop_long ? ReadLineDroppingLong(line_) : ReadLine(line_)) {
      got.emplace_back(line_);
      if (got.size() > c.lines.size()) break;
    }
    EXPECT_EQ(got, c.lines);
  }
}

}  // namespace
