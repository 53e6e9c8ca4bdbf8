#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "support/positions.h"
#include "support/run_cli.h"

namespace zel {
namespace {

using test::RecordFile;
using test::RunCli;

// Runs "COMMAND FILE ARGUMENTS" with the moves ("r,c r,c ...") written as the record FILE.
test::CliRun RunOn(const std::string& command, const char* moves, const std::string& arguments) {
  static int records = 0;
  const std::string file = RecordFile(std::to_string(++records), test::Points(moves));
  return RunCli(command + " " + file + arguments);
}

std::vector<std::string> Lines(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// Every point filled, row by row.
std::string FullBoard() {
  std::string moves;
  for (int k = 0; k < kBoardSize * kBoardSize; ++k) {
    moves += std::to_string(k / kBoardSize) + "," + std::to_string(k % kBoardSize) + " ";
  }
  return moves;
}

TEST(Cli, HelpListsTheCommands) {
  const test::CliRun run = RunCli("--help");
  EXPECT_EQ(run.status, 0);
  for (const char* command :
       {"codes FILE", "threats FILE", "answers FILE", "choose FILE", "search FILE", "bench"}) {
    EXPECT_NE(run.out.find(command), std::string::npos) << command;
  }
}

TEST(Cli, Outputs) {
  const std::string full = FullBoard();
  struct Case {
    const char* command;
    const char* moves;
    const char* arguments;
    const char* out;  // the output starts with this
  };
  const Case cases[] = {
      // Black's stone: its own codes read 1, White's 0 in every line through it.
      {"codes", "7,7 7,8", "", "0 0 0 1 1 1 1 0 1 1 1 1 0\n"},
      // Black's open three on row 7; White's two stones in the corners make nothing.
      {"threats", "7,7 0,0 7,6 0,14 7,8", "",
       "0 0\n1 2 7,5,0 7,9,0\n2 0\n3 2 7,4,0 7,10,0\n4 0\n5 0\n6 0\n7 0\n8 0\n9 0\n10 0\n"},
      // Black's three against the left edge: the far end and, past the edge, the near end. The
      // same stones for the other colour's attack: not a straight four of White's.
      {"answers", "7,1 0,14 7,2 14,14 7,3", " straight4 7 4 1", "7,4 7,0 7,5\n"},
      {"answers", "7,1 0,14 7,2 14,14 7,3", " straight4 7 4 2", "7,4\n"},
      // K X . X: the gap and both ends.
      {"answers", "7,8 0,0 7,10", " threes 7 7 1", "7,7 7,6 7,9 7,11\n"},
      // White's four closed by (7,2) with its partner (7,6), and the column's three K . X X.
      {"answers", "7,2 7,3 0,0 7,4 0,14 7,5 14,0 9,7 14,14 10,7", " fourthree 7 7 2",
       "7,7 7,6 6,7 8,7 11,7\n"},
      // An opening rule prints no counts. With seed 1 the generator starts 41, 18467: the reply
      // to (7, 7) is (6 + 41 % 3, 6 + 18467 % 3).
      {"choose", "7,7", " --seed 1", "8 8\n- -\n"},
      {"choose", full.c_str(), " --seed 1", "none\n"},
      // Black's open four: the five is found at the root.
      {"search", "7,7 14,0 7,8 12,0 7,9 10,0 7,10 8,0", "", "7 6 3 1\nnodes 1 ms "},
      {"search", full.c_str(), "", "none\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + c.arguments);
    const test::CliRun run = RunOn(c.command, c.moves, c.arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, std::string(c.out).size()), c.out);
  }
}

TEST(Cli, BadCommandLines) {
  const std::string file = RecordFile("bad", {{7, 7}});
  for (const std::string& arguments : std::vector<std::string>{
           "", "frobnicate " + file, "codes", "codes /nonexistent/move.txt",
           "threats " + file + " x", "answers " + file + " fours 7 7 1",
           "answers " + file + " threes 15 7 1", "answers " + file + " threes 7 -1 1",
           "answers " + file + " threes 7 7 3", "answers " + file + " threes x 7 1",
           "answers " + file + " threes 7 7", "choose " + file + " --seed",
           "choose " + file + " --seed -3", "choose " + file + " " + file,
           "search " + file + " --level", "search " + file + " --level 59",
           "search " + file + " --seed x", "search " + file + " --depth 3", "bench x"}) {
    const test::CliRun run = RunCli(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << arguments;
  }
}

// Self-play: one line per game, then the totals; the same seed plays the same games.
TEST(Cli, SelfPlay) {
  const test::CliRun run = RunCli("selfplay 2 --seed 3 --level 4");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 4U);
  for (int game = 0; game < 2; ++game) {
    int number = 0;
    int moves = 0;
    ASSERT_EQ(std::sscanf(lines[game].c_str(), "game %d: %d moves", &number, &moves), 2);
    EXPECT_EQ(number, game + 1);
    EXPECT_GT(moves, 4);
  }
  EXPECT_EQ(lines[2].rfind("2 games: ", 0), 0U) << lines[2];
  // All but the times.
  auto untimed = [](const std::vector<std::string>& output) {
    std::vector<std::string> kept;
    for (const std::string& line : output)
      kept.push_back(line.substr(0, std::min(line.find("slowest"), line.find("average"))));
    return kept;
  };
  EXPECT_EQ(untimed(Lines(RunCli("selfplay 2 --seed 3 --level 4").out)), untimed(lines));
  for (const char* bad : {"selfplay", "selfplay 0", "selfplay 2 --seed", "selfplay 2 --level 99",
                          "selfplay 2 --depth 3"}) {
    EXPECT_EQ(RunCli(bad).status, 2) << bad;
  }
}

TEST(Cli, ChoiceIsRepeatableWithItsSeedAndServesLevelZero) {
  const char* moves = "7,7 6,8 8,8 8,6 6,6 9,9 8,7 9,7";
  const test::CliRun choose = RunOn("choose", moves, " --seed 5");
  ASSERT_EQ(choose.status, 0) << choose.err;
  EXPECT_EQ(RunOn("choose", moves, " --seed 5").out, choose.out);
  int row = -1, col = -1, count = 0, topCount = 0;
  ASSERT_EQ(std::sscanf(choose.out.c_str(), "%d %d\n%d %d\n", &row, &col, &count, &topCount), 4);
  EXPECT_GE(count, topCount);
  EXPECT_GE(topCount, 1);
  // A search at level 0 or less is the one-ply choice, with value 0.
  const std::vector<std::string> search = Lines(RunOn("search", moves, " --level 0 --seed 5").out);
  ASSERT_EQ(search.size(), 2U);
  EXPECT_EQ(search[0], std::to_string(row) + " " + std::to_string(col) + " 0 0");
  EXPECT_EQ(search[1].rfind("nodes 0 ms ", 0), 0U) << search[1];
}

// A file that cannot be read at all is an error naming the file and the reason.
TEST(Cli, RefusesFilesItCannotRead) {
  const auto dir = test::ScratchDir("cli_refuses_" + std::to_string(getpid()));
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  test::WriteFile(dir / "large.txt", std::string(kRecordSizeLimit + 1, '\n'));
  const struct {
    std::filesystem::path path;
    const char* reason;
  } cases[] = {
      {dir / "missing.txt", "cannot read: No such file or directory"},
      {dir, "not a regular file but a directory"},
      {dir / "fifo", "not a regular file but a pipe"},
      {dir / "large.txt", "larger than 1048576 bytes"},
  };
  for (const auto& c : cases) {
    const test::CliRun run = RunCli("codes " + c.path.string(), 20);
    EXPECT_EQ(run.status, 2) << c.path;
    EXPECT_EQ(run.err.rfind("zel-cli: " + c.path.string() + ": " + c.reason, 0), 0U) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "");
  }
  std::filesystem::remove_all(dir);
}

// A damaged record gives one warning with the line and the reason, and the commands go on with
// the valid moves: their output is that of a clean record of those moves.
TEST(Cli, WarnsOnceAndGoesOnWithTheValidMoves) {
  const auto dir = test::ScratchDir("cli_warns_" + std::to_string(getpid()));
  const struct {
    const char* text;
    const char* moves;  // the moves that load
    const char* warning;
  } cases[] = {
      {"  1  7 7  8 h\n  2  7 8  8 i\n  4  6 8  7 i\n", "7,7 7,8",
       "line 3: move number 4 where 3 was expected; loading stops there, after 2 moves"},
      {"  1  7 7  8 h\r\n  2  7 8  8 i junk\r\n  3  6 8  7 i\r\n", "7,7 7,8",
       "line 2: text after the move: \"junk\"; loading stops there, after 2 moves"},
      {"\n", "", "no move line; the game is empty"},
  };
  int records = 0;
  for (const auto& c : cases) {
    const auto path = dir / ("move" + std::to_string(++records) + ".txt");
    test::WriteFile(path, c.text);
    const test::CliRun run = RunCli("codes " + path.string());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "zel-cli: warning: " + path.string() + ": " + c.warning + "\n");
    EXPECT_EQ(run.out, RunOn("codes", c.moves, "").out) << c.text;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zel
