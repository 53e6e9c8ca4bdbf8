#include <gtest/gtest.h>

#include <sstream>

#include "support/run_cli.h"

namespace zel {
namespace {

using test::RunCli;

TEST(Cli, HelpListsTheCommands) {
  const test::CliRun run = RunCli("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("codes FILE"), std::string::npos);
}

TEST(Cli, BadCommandLines) {
  EXPECT_EQ(RunCli("").status, 2);
  EXPECT_EQ(RunCli("frobnicate x").status, 2);
  const test::CliRun missing = RunCli("codes /nonexistent/move.txt");
  EXPECT_EQ(missing.status, 2);
  EXPECT_TRUE(missing.out.empty());
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);
}

TEST(Cli, CodesPrintsEveryPoint) {
  const auto dir = test::ScratchDir("cli_codes");
  test::WriteFile(dir / "move.txt", "  1  7 7  8 h\n  2  7 8  8 i\n\n");
  const test::CliRun run = RunCli("codes " + (dir / "move.txt").string());
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  std::vector<std::string> all;
  while (std::getline(lines, line))
    all.push_back(line);
  ASSERT_EQ(all.size(), 225U);
  EXPECT_EQ(all[0], "0 0 0 1 1 1 1 0 1 1 1 1 0");
  // Black's stone: its own codes read 1, White's 0 in every line through it.
  EXPECT_EQ(all[7 * 15 + 7], "7 7 1 1 1 1 1 0 0 0 0 0 0");
  // Beyond White's stone: a fresh segment for Black, a lone stone's singles for White.
  EXPECT_EQ(all[7 * 15 + 9], "7 9 0 1 1 1 1 0 3 1 1 1 0");
}

}  // namespace
}  // namespace zel
