#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "files/record.h"
#include "support/run_cli.h"

namespace zel {
namespace {

using test::RunCli;

std::string RecordFile(const std::string& name, const std::vector<Point>& moves) {
  const auto dir = test::ScratchDir("choose_" + name);
  test::WriteFile(dir / "move.txt", FormatRecord(moves));
  return (dir / "move.txt").string();
}

// With seed 1 the generator gives 41, 18467, 6334, 26500, ...
TEST(ChooseCli, OpeningRulesPrintNoCounts) {
  const struct {
    const char* name;
    std::vector<Point> moves;
    const char* seed;
    const char* out;
  } cases[] = {
      {"first", {{7, 7}}, "1", "8 8\n- -\n"},           // 6 + 41 % 3, 6 + 18467 % 3
      {"first2", {{7, 7}}, "2", "6 "},                  // seed 2 starts with 45: row 6 + 0
      {"second", {{7, 7}, {6, 7}}, "1", "9 5\n- -\n"},  // (6, 7) is taken, then 5 + 4, 5 + 0
  };
  for (const auto& tc : cases) {
    const test::CliRun run =
        RunCli("choose " + RecordFile(tc.name, tc.moves) + " --seed " + tc.seed);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, std::string(tc.out).size()), tc.out) << tc.name;
  }
}

TEST(ChooseCli, RankedChoiceIsRepeatableWithItsSeed) {
  const std::string file =
      RecordFile("mid", {{7, 7}, {6, 8}, {8, 8}, {8, 6}, {6, 6}, {9, 9}, {8, 7}, {9, 7}});
  const test::CliRun run = RunCli("choose --seed 5 " + file);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(RunCli("choose " + file + " --seed 5").out, run.out);
  int row = -1, col = -1, count = 0, topCount = 0;
  ASSERT_EQ(std::sscanf(run.out.c_str(), "%d %d\n%d %d\n", &row, &col, &count, &topCount), 4);
  EXPECT_TRUE(OnBoard(row, col));
  EXPECT_GE(count, topCount);
  EXPECT_GE(topCount, 1);
}

TEST(ChooseCli, FullBoardHasNoChoice) {
  std::vector<Point> moves;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c)
      moves.push_back({r, c});
  }
  const test::CliRun run = RunCli("choose " + RecordFile("full", moves) + " --seed 1");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "none\n");
}

TEST(ChooseCli, BadArguments) {
  const std::string file = RecordFile("bad", {{7, 7}});
  for (const std::string& args : std::vector<std::string>{
           "choose", "choose " + file + " --seed", "choose " + file + " --seed x",
           "choose " + file + " --seed -3", "choose " + file + " --depth 2",
           "choose " + file + " " + file, "choose /nonexistent/move.txt --seed 1"}) {
    const test::CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_TRUE(run.out.empty()) << args;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << args;
  }
}

}  // namespace
}  // namespace zel
