#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/record.h"
#include "support/run_cli.h"

namespace zel {
namespace {

using test::RunCli;

// Writes the moves as a game record and returns its path.
std::string Record(const std::string& name, const std::vector<Point>& moves) {
  const auto dir = test::ScratchDir(name);
  test::WriteFile(dir / "move.txt", FormatRecord(moves));
  return (dir / "move.txt").string();
}

TEST(CliThreats, ListsEveryKind) {
  // Black's open three on row 7; White's two stones in the corners make nothing.
  const std::string file = Record("cli_threats", {{7, 7}, {0, 0}, {7, 6}, {0, 14}, {7, 8}});
  const test::CliRun run = RunCli("threats " + file);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "0 0\n"
            "1 2 7,5,0 7,9,0\n"
            "2 0\n"
            "3 2 7,4,0 7,10,0\n"
            "4 0\n5 0\n6 0\n7 0\n8 0\n9 0\n10 0\n");
}

TEST(CliAnswers, EachGenerator) {
  struct Case {
    std::vector<Point> moves;
    std::string arguments;
    std::string out;
  };
  const Case cases[] = {
      // Black's three against the left edge: the far end and, past the edge, the near end.
      {{{7, 1}, {0, 14}, {7, 2}, {14, 14}, {7, 3}}, "straight4 7 4 1", "7,4 7,0 7,5\n"},
      // The same stones for the other colour's attack: not a straight four of White's.
      {{{7, 1}, {0, 14}, {7, 2}, {14, 14}, {7, 3}}, "straight4 7 4 2", "7,4\n"},
      // K X . X: the gap and both ends.
      {{{7, 8}, {0, 0}, {7, 10}}, "threes 7 7 1", "7,7 7,6 7,9 7,11\n"},
      // White's four closed by (7,2) with its partner (7,6), and the column's three K . X X.
      {{{7, 2}, {7, 3}, {0, 0}, {7, 4}, {0, 14}, {7, 5}, {14, 0}, {9, 7}, {14, 14}, {10, 7}},
       "fourthree 7 7 2",
       "7,7 7,6 6,7 8,7 11,7\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const test::CliRun run =
        RunCli("answers " + Record("cli_answers", c.moves) + " " + c.arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(CliAnswers, BadArguments) {
  const std::string file = Record("cli_answers_bad", {{7, 7}});
  for (const std::string& arguments : std::vector<std::string>{
           "answers " + file + " fours 7 7 1", "answers " + file + " threes 15 7 1",
           "answers " + file + " threes 7 -1 1", "answers " + file + " threes 7 7 3",
           "answers " + file + " threes 7 7 0", "answers " + file + " threes x 7 1",
           "answers " + file + " threes 7 7", "threats " + file + " extra", "threats"}) {
    SCOPED_TRACE(arguments);
    const test::CliRun run = RunCli(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
  }
}

}  // namespace
}  // namespace zel
