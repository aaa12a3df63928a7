// Conversations with the real engine binary over pipes.
#include <gtest/gtest.h>

#include <string>

#include "uci_process.h"

namespace {

const std::string kUciReply =
    "id name Ombrix_r5_1_Beta_14_02_2010\n"
    "id author Quillon88\n"
    "option name Hash type spin default 1 min 1 max 1024\n"
    "uciok \n";
const std::string kReady = "readyok \n\n";
const std::string kUnknown = "WARNING ! Unknown command\n";
const std::string kMovesError = "WARNING ! moves error\n";
// "освобождать нечего " in Windows-1251, then a line feed.
const std::string kNothingToRelease =
    "\xee\xf1\xe2\xee\xe1\xee\xe6\xe4\xe0\xf2\xfc\x20\xed\xe5\xf7\xe5\xe3\xee\x20\n";

struct ConversationCase {
  const char* name;
  std::string input;
  std::string output;
  int status;
};

TEST(ConversationTest, CommandTable) {
  const std::string longest(65535, 'x');
  const ConversationCase cases[] = {
      {"no input", "", "", 0},
      {"uci", "uci\n", kUciReply, 0},
      {"isready", "isready\n", kReady, 0},
      {"uci twice", "uci\nuci\n", kUciReply + kUciReply, 0},
      {"crlf", "uci\r\nisready\r\nquit\r\n", kUciReply + kReady, 1},
      {"last line without line feed", "isready", kReady, 0},
      {"empty line", "\n", kUnknown, 0},
      {"uci with a space", "uci \n", kUnknown, 0},
      {"capital", "Uci\n", kUnknown, 0},
      {"isready with a space", "isready \n", kUnknown, 0},
      {"quit with a space", "quit \n", kUnknown, 0},
      {"leading space", " uci\n", kUnknown, 0},
      {"position without space", "position\n", kUnknown, 0},
      {"setoption without space", "setoption\n", kUnknown, 0},
      {"debug without space", "debug\n", kUnknown, 0},
      {"silent commands", "debug on\nucinewgame\nstop\nponderhit\ndebug \n", "", 0},
      {"quit", "quit\n", "", 1},
      {"nothing after quit", "uci\nquit\nisready\n", kUciReply, 1},
      {"hash option", "uci\nsetoption name Hash value 64\nisready\n", kUciReply + kReady, 0},
      {"hash limits", "uci\nsetoption name Hash value 4096\nsetoption name Hash value 0\n", kUciReply, 0},
      {"hash -1 and other options", "uci\nsetoption name Hash value -1\nsetoption name Threads value 2\n", kUciReply,
       0},
      {"hash overflow saturates", "uci\nsetoption name Hash value 99999999999\nisready\n", kUciReply + kReady, 0},
      {"hash before uci", "setoption name Hash value 64\nisready\n", kNothingToRelease, 1},
      {"hash -1 before uci", "setoption name Hash value -1\nisready\n", kReady, 0},
      {"moves error", "uci\nposition startpos moves e2e5\n", kUciReply + kMovesError, 0},
      {"bad tokens", "uci\nposition startpos moves e2e4 e7 e7e5x e7e5n e7e5q e1e3\n",
       kUciReply + kMovesError + kMovesError + kMovesError + kMovesError, 0},
      {"position before uci", "position startpos moves e2e4 e7e5\nisready\n", kReady, 0},
      {"longest line", longest + "\nisready\n", kUnknown + kReady, 0},
      {"too long line ends", longest + "x\nisready\n", "", 0},
      {"too long line after a command", "isready\n" + longest + "xx\nisready\n", kReady, 0},
  };
  for (const ConversationCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string output;
    int status = ProcessRun(c.input, &output);
    EXPECT_EQ(output, c.output);
    EXPECT_EQ(status, c.status);
  }
}

// The replies come as soon as each line is sent, with no buffering in between.
TEST(ConversationTest, RepliesAreNotBuffered) {
  T_Process p;
  ASSERT_TRUE(ProcessStart(&p));
  std::string line;
  ASSERT_TRUE(ProcessWriteLine(&p, "uci"));
  for (const char* expected : {"id name Ombrix_r5_1_Beta_14_02_2010", "id author Quillon88",
                               "option name Hash type spin default 1 min 1 max 1024", "uciok "}) {
    ASSERT_TRUE(ProcessReadLine(&p, &line));
    EXPECT_EQ(line, expected);
  }
  ASSERT_TRUE(ProcessWriteLine(&p, "isready"));
  ASSERT_TRUE(ProcessReadLine(&p, &line));
  EXPECT_EQ(line, "readyok ");
  ASSERT_TRUE(ProcessReadLine(&p, &line));
  EXPECT_EQ(line, "");
  ASSERT_TRUE(ProcessWriteLine(&p, "Uci"));
  ASSERT_TRUE(ProcessReadLine(&p, &line));
  EXPECT_EQ(line, "WARNING ! Unknown command");
  ASSERT_TRUE(ProcessWriteLine(&p, "quit"));
  std::string rest;
  EXPECT_TRUE(ProcessReadAll(&p, &rest));
  EXPECT_EQ(rest, "");
  EXPECT_EQ(ProcessWait(&p), 1);
}

// A "go" searches and answers with one bestmove line, also when no "uci" or
// "isready" came first, and any "go..." word starts it.
TEST(ConversationTest, GoEndsWithBestMove) {
  const char* inputs[] = {
      "uci\nisready\nposition startpos\ngo depth 2\n",
      "position startpos moves e2e4\ngo depth 1\n",
      "go\n",
      "uci\nposition startpos\ngodepth 3\n",
  };
  for (const char* input : inputs) {
    SCOPED_TRACE(input);
    std::string output;
    EXPECT_EQ(ProcessRun(input, &output), 0);
    size_t at = output.rfind("bestmove ");
    ASSERT_NE(at, std::string::npos) << output;
    EXPECT_EQ(output.find("bestmove "), at) << output;
    EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
  }
}

// During a search the engine polls its input: "stop" ends the search with a
// bestmove, "quit" ends the process without one.
TEST(ConversationTest, StopAndQuitDuringSearch) {
  {
    T_Process p;
    ASSERT_TRUE(ProcessStart(&p));
    ASSERT_TRUE(ProcessWrite(&p, "uci\nisready\nposition startpos\ngo infinite\n"));
    std::string line;
    ASSERT_TRUE(ProcessReadUntil(&p, "info currmove", &line));
    ASSERT_TRUE(ProcessWriteLine(&p, "stop"));
    ASSERT_TRUE(ProcessReadUntil(&p, "bestmove ", &line, 60000)) << line;
    ASSERT_TRUE(ProcessWriteLine(&p, "isready"));
    ASSERT_TRUE(ProcessReadUntil(&p, "readyok ", &line));
    EXPECT_EQ(ProcessWait(&p), 0);
  }
  {
    T_Process p;
    ASSERT_TRUE(ProcessStart(&p));
    ASSERT_TRUE(ProcessWrite(&p, "uci\nisready\nposition startpos\ngo infinite\n"));
    std::string line;
    ASSERT_TRUE(ProcessReadUntil(&p, "info currmove", &line));
    ASSERT_TRUE(ProcessWriteLine(&p, "quit"));
    std::string rest;
    EXPECT_TRUE(ProcessReadAll(&p, &rest));
    EXPECT_EQ(rest.find("bestmove"), std::string::npos) << rest;
    EXPECT_EQ(ProcessWait(&p), 1);
  }
}

}  // namespace
