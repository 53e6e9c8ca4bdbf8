// pbrain-zel: the protocol's commands, answers and errors over a Brain driven line by line, the
// legality of every move it answers, the time budget, and one run of the real program.
#include "brain/brain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>

#include "rules/renju_rules.h"
#include "support/run_cli.h"

namespace zel {
namespace {

// Each line: what is sent (lines split at ';') | what is answered (lines split at '|'), MOVE
// standing for any move "x,y" and <end> for the engine's exit. "--" starts a new engine, at the
// level that follows or 4. Own stones are 1 on a BOARD, the opponent's 2; with as many of each,
// the engine plays Black.
constexpr const char* kScript =
    "START 15|OK\n"
    "ABOUT|name=\"pbrain-zel\", version=\"1.0\", author=\"the Kelvo developers\", "
    "country=\"unknown\"\n"
    "BEGIN|7,7\n"
    "TURN 7,7|ERROR move onto a stone: 7,7\n"
    "TURN 8,8|MOVE\n"
    "TAKEBACK 8,8|ERROR not the last move: 8,8\n"
    "RESTART|OK\n"
    "BEGIN;TAKEBACK 7,7;TAKEBACK 7,7|7,7|OK|ERROR not the last move: 7,7\n"
    "start 15\r|OK\n"
    "START 20|ERROR unsupported board size 20: pbrain-zel plays on 15 x 15 only\n"
    "START x|ERROR START needs a board size: x\n"
    "RECTSTART 15,15|ERROR pbrain-zel plays on a square board of size 15 only\n"
    "TURN|ERROR TURN needs x,y: \n"
    "TURN 1,2,3|ERROR TURN needs x,y: 1,2,3\n"
    "TURN 7,a|ERROR TURN needs x,y: 7,a\n"
    "TURN -1,3|ERROR move off the board: -1,3\n"
    "TURN 3,15|ERROR move off the board: 3,15\n"
    "TAKEBACK|ERROR TAKEBACK needs x,y: \n"
    // Input quoted back: printable characters only, at most 40 of them.
    "\x01\xff WHAT ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789|ERROR unknown command: ?? WHAT "
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345...\n"
    // Unknown keys are ignored; another rule is announced, and Renju is played all the same.
    "INFO timeout_turn 200;INFO folder /a b;INFO evaluate 7,7;INFO|\n"
    "INFO rule 1|MESSAGE pbrain-zel plays Renju rules only (rule 4); playing on under them\n"
    "INFO timeout_turn abc|ERROR INFO TIMEOUT_TURN needs a number: abc\n"
    "info TIME_LEFT|ERROR INFO TIME_LEFT needs a number: \n"
    ";\r;   ;\t\r|\n"
    "  End  |<end>\n"
    "--\n"
    "BOARD;7,7|ERROR BOARD needs x,y,who lines or DONE: 7,7\n"
    "7,7,4|ERROR who must be 1, 2 or 3: 7,7,4\n"
    "15,15,2|ERROR stone off the board: 15,15,2\n"
    "7,7,2;7,7,1|ERROR two stones on one point: 7,7,1\n"
    "DONE|MOVE\n"
    "BOARD;7,7,3;done|MESSAGE stones of a continuous game are taken as the opponent's|MOVE\n"
    "BOARD;1,1,1;2,2,1;DONE|ERROR the stone counts do not fit alternate moves: 2 own, 0 "
    "opponent's\n"
    "3,3,1|ERROR unknown command: 3,3,1\n"
    "BOARD;3,3,1;END|<end>\n"
    // A five on offer is taken at once, the first in row order: Black's in row 7 ...
    "--\n"
    "BOARD;3,7,1;4,7,1;5,7,1;6,7,1;3,9,2;4,9,2;5,9,2;6,9,2;DONE|2,7\n"
    // ... and White's in column 10, beside Black's scattered stones.
    "BOARD;10,2,1;10,3,1;10,4,1;10,5,1;1,1,2;1,3,2;3,1,2;13,13,2;12,12,2;DONE|10,1\n"
    // White to move, and the search answers Black's stone k6 (10,9): the engine plays the
    // best-scored legal point instead. (lfz084's 白先VCF #391, two moves into its answer.)
    "-- 10\n"
    "BOARD;5,9,2;5,8,2;6,10,2;6,9,2;7,11,2;8,10,2;8,6,2;9,13,2;9,9,2;10,11,2;10,9,2;10,6,2;"
    "11,11,2;11,7,2;12,7,2;8,8,2;6,8,1;7,8,1;7,7,1;8,12,1;9,11,1;9,10,1;9,7,1;9,6,1;10,8,1;"
    "11,10,1;11,8,1;12,11,1;12,6,1;13,12,1;9,8,1;DONE|DEBUG 10,9 is not legal; playing MOVE "
    "instead|MOVE\n";

// Every move answered is checked: the game's last move, of the colour to move, and for Black
// not forbidden.
void CheckMove(const Game& game, const std::string& answer) {
  int x = -1, y = -1;
  const size_t last = answer.rfind('\n', answer.size() - 2);
  if (std::sscanf(answer.c_str() + (last == std::string::npos ? 0 : last + 1), "%d,%d", &x, &y) !=
      2)
    return;
  ASSERT_EQ(game.Move(game.moveCount()), (Point{y, x})) << answer;
  Board before = game.position().board;
  EXPECT_EQ(before[y][x], game.moveCount() % 2 == 1 ? kBlack : kWhite);
  before[y][x] = kEmpty;
  EXPECT_TRUE(game.moveCount() % 2 == 0 || !IsForbidden(JudgeBlackMove(before, {y, x})));
}

TEST(Brain, Protocol) {
  std::ostringstream out;
  std::unique_ptr<Brain> brain = std::make_unique<Brain>(out, BrainOptions{4, {}, 1u});
  std::istringstream script(kScript);
  for (std::string line; std::getline(script, line);) {
    if (line.starts_with("--")) {
      const int level = line.size() > 3 ? std::stoi(line.substr(3)) : 4;
      brain = std::make_unique<Brain>(out, BrainOptions{level, {}, 1u});
      continue;
    }
    const size_t bar = line.find('|');
    std::string expected = line.substr(bar + 1), answers;
    if (!expected.empty()) expected += "\n";
    expected = std::regex_replace(expected, std::regex(R"([.^$()\[\]{}*+?\\])"), R"(\$&)");
    expected = std::regex_replace(std::regex_replace(expected, std::regex("\\|"), "\n"),
                                  std::regex("MOVE"), R"(\d+,\d+)");
    std::istringstream inputs(line.substr(0, bar));
    for (std::string input; std::getline(inputs, input, ';');) {
      out.str("");
      const bool running = brain->HandleLine(input);
      CheckMove(brain->game(), out.str());
      answers += out.str() + (running ? "" : "<end>\n");
    }
    EXPECT_TRUE(std::regex_match(answers, std::regex(expected))) << line << "\n" << answers;
  }
}

// A tenth and 30 ms are kept back; a twelfth of what is left of the match is the soft limit.
TEST(Brain, BudgetKeepsAMargin) {
  const struct {
    TimeLimits limits;
    std::int64_t hard, soft;
  } cases[] = {
      {{1000, 0, {}}, 870, 870},    {{20, 0, {}}, 0, 0},
      {{1000, 60000, 500}, 420, 7}, {{10000, 60000, 24000}, 8970, 1770},
      {{5000, 0, 0}, 0, 0},         {{1'000'000'000'000, 0, {}}, 899'999'970, 899'999'970},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BudgetFor(c.limits).hard.count(), c.hard) << c.limits.turn;
    EXPECT_EQ(BudgetFor(c.limits).soft.count(), c.soft) << c.limits.turn;
  }
}

// Lines end at LF; a longer line keeps its first kMaxLineLength characters; any byte passes.
TEST(Brain, ReadsLines) {
  const std::string binary("a\0b\xff\x01", 5), end = "END";
  std::istringstream in(std::string(100000, 'x') + "\r\n" + binary + "\n" + end);
  std::string line;
  for (const std::string& expected : {std::string(kMaxLineLength, 'x'), binary, end}) {
    ASSERT_TRUE(ReadProtocolLine(in, line));
    EXPECT_EQ(line, expected);
  }
  EXPECT_FALSE(ReadProtocolLine(in, line));
}

// The program answers on standard output until END, and refuses options it does not know.
TEST(Brain, Program) {
  const auto dir = test::ScratchDir("brain_" + std::to_string(getpid()));
  test::WriteFile(dir / "in", "START 15\r\nBEGIN\nINFO time_left 3\nEND\nBEGIN\n");
  EXPECT_EQ(test::RunProgram(ZEL_BRAIN_PATH, "--seed 1 <" + (dir / "in").string(), 60).out,
            "OK\n7,7\n");
  for (const char* options : {"--level 59", "--seed"}) {
    const test::CliRun run = test::RunProgram(ZEL_BRAIN_PATH, options, 60);
    EXPECT_EQ(run.err, "usage: pbrain-zel [--level L | --max-level L] [--seed S] [--verbose]\n");
    EXPECT_EQ(run.status, 2);
  }
}

}  // namespace
}  // namespace zel
