#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "files/record.h"
#include "support/positions.h"
#include "support/run_cli.h"

namespace zel {
namespace {

using test::RunCli;

std::string RecordFile(const std::string& name, const std::vector<Point>& moves) {
  const auto dir = test::ScratchDir("search_" + name);
  test::WriteFile(dir / "move.txt", FormatRecord(moves));
  return (dir / "move.txt").string();
}

std::vector<std::string> Lines(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

TEST(SearchCli, PrintsTheReplyAndItsNodes) {
  // Black's open four h8-k8: the five at g8 is found at the root.
  const std::string file = RecordFile("five", test::Rif("h8 a1 i8 a3 j8 a5 k8 a7"));
  const test::CliRun run = RunCli("search " + file);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], "7 6 3 1");
  EXPECT_EQ(lines[1].rfind("nodes 1 ms ", 0), 0U) << lines[1];
}

TEST(SearchCli, LevelZeroUsesTheOnePlyChoice) {
  const std::string file = RecordFile("level0", test::Rif("h8 i9 h10 a1"));
  const test::CliRun search = RunCli("search " + file + " --level 0 --seed 3");
  const test::CliRun choose = RunCli("choose " + file + " --seed 3");
  ASSERT_EQ(search.status, 0) << search.err;
  const std::vector<std::string> lines = Lines(search.out);
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], Lines(choose.out).at(0) + " 0 0");
  EXPECT_EQ(lines[1].rfind("nodes 0 ms ", 0), 0U) << lines[1];
}

TEST(SearchCli, NoPlayablePoint) {
  std::vector<Point> full;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c)
      full.push_back({r, c});
  }
  const test::CliRun run = RunCli("search " + RecordFile("full", full));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "none\n");
}

TEST(SearchCli, BadArguments) {
  const std::string file = RecordFile("bad", test::Rif("h8"));
  for (const char* args : {"", " --level", " --level x", " --level 41", " --seed", " --depth 3"}) {
    const test::CliRun run = RunCli("search " + (std::string(args).empty() ? "" : file) + args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << args;
  }
}

// The bench's total node count is the search's signature: it changes with anything the search
// does. When a change of behaviour is intended, update the number here and in the README.
TEST(SearchCli, BenchSignature) {
  const test::CliRun run = RunCli("bench");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_GE(lines.size(), 33U);
  EXPECT_EQ(lines[lines.size() - 3], "Total nodes 72377");
}

}  // namespace
}  // namespace zel
