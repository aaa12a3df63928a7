#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "uci_process.h"

namespace {

TEST(BenchSignature, NodeCountMatchesTheRecordedSignature) {
  std::ifstream file(std::string(OMBRIX_SOURCE_DIR) + "/tests/search/bench_signature.txt");
  ASSERT_TRUE(file.good());
  std::string line;
  int checked = 0;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string depth, nodes;
    fields >> depth >> nodes;
    std::string output;
    ASSERT_EQ(ProcessRun("", &output, {"bench", depth}, 300000), 0);
    EXPECT_NE(output.find("Nodes searched: " + nodes + "\n"), std::string::npos)
        << "bench " << depth << " now gives:\n" << output;
    EXPECT_NE(output.find("Nodes/second: "), std::string::npos);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

TEST(BenchSignature, MalformedDepthIsAUsageError) {
  std::string output;
  EXPECT_EQ(ProcessRun("", &output, {"bench", "x"}), 2);
  EXPECT_EQ(output, "");
}

}  // namespace
