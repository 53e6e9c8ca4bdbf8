// pbrain-zel: the protocol's commands, answers and errors over a Brain driven line by line, the
// legality of every move it answers, the time budget, and one run of the real program.
#include "brain/brain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>

#include "rules/renju_rules.h"
#include "support/run_cli.h"

namespace zel {
namespace {

// "\r", "\t" and "\xHH" as those bytes.
std::string Unescape(std::string text) {
  for (size_t at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
    const char c = text[at + 1];
    text.replace(at, c == 'x' ? 4 : 2, 1,
                 c == 'r'   ? '\r'
                 : c == 't' ? '\t'
                            : static_cast<char>(std::stoi(text.substr(at + 2, 2), nullptr, 16)));
  }
  return text;
}

// Every move answered is checked: the game's last move, of the colour to move, and for Black
// not forbidden.
void CheckMove(const Game& game, const std::string& answer) {
  int x = -1, y = -1;
  const std::string move = answer.substr(answer.rfind('\n', answer.size() - 2) + 1);
  if (std::sscanf(move.c_str(), "%d,%d", &x, &y) != 2) return;
  ASSERT_EQ(game.Move(game.moveCount()), (Point{y, x})) << answer;
  Board before = game.position().board;
  EXPECT_EQ(before[y][x], game.moveCount() % 2 == 1 ? kBlack : kWhite);
  before[y][x] = kEmpty;
  EXPECT_TRUE(game.moveCount() % 2 == 0 || !IsForbidden(JudgeBlackMove(before, {y, x})));
}

// The lines of data/protocol.txt, sent and answered.
TEST(Brain, Protocol) {
  std::ostringstream out;
  auto brain = std::make_unique<Brain>(out, BrainOptions{4, {}, 1u});
  std::istringstream script(test::ReadFile(ZEL_BRAIN_DATA_DIR "/protocol.txt"));
  int exchanges = 0;
  for (std::string line; std::getline(script, line);) {
    if (line.starts_with("#")) continue;
    if (std::int64_t hard, soft; std::sscanf(line.c_str(), "budget %ld %ld", &hard, &soft) == 2) {
      EXPECT_EQ(BudgetFor(brain->limits()).hard.count(), hard) << line;
      EXPECT_EQ(BudgetFor(brain->limits()).soft.count(), soft) << line;
      continue;
    }
    if (line.starts_with("--")) {
      const int level = line.size() > 3 ? std::stoi(line.substr(3)) : 4;
      brain = std::make_unique<Brain>(out, BrainOptions{level, {}, 1u});
      continue;
    }
    const size_t bar = line.find('|');
    const std::string expected = std::regex_replace(
        std::regex_replace(line.substr(bar + 1), std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)"),
        std::regex("MOVE"), R"(\d+,\d+)");
    std::string answers;
    const std::string inputs = Unescape(line.substr(0, bar));
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
      end = inputs.find(';', start);
      out.str("");
      const bool running = brain->HandleLine(inputs.substr(start, end - start));
      CheckMove(brain->game(), out.str());
      answers += out.str() + (running ? "" : "<end>\n");
    }
    std::replace(answers.begin(), answers.end(), '\n', '|');
    EXPECT_TRUE(std::regex_match(answers, std::regex(expected + (expected.empty() ? "" : "\\|"))))
        << line + " => " + answers;
    ++exchanges;
  }
  EXPECT_GT(exchanges, 50);
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
  const std::string run = "printf 'START 15\\r\\nBEGIN\\nEND\\nBEGIN\\n' | " ZEL_BRAIN_PATH;
  EXPECT_EQ(test::RunProgram(run, "--level 58 --max-level 58 --seed 1").out, "OK\n7,7\n");
  const test::CliRun refused = test::RunProgram(ZEL_BRAIN_PATH, "--level 59", 60);
  EXPECT_EQ(refused.err,
            "usage: pbrain-zel [--level L | --max-level L | --strong] [--seed S] [--verbose]\n");
  EXPECT_EQ(refused.status, 2);
}

}  // namespace
}  // namespace zel
