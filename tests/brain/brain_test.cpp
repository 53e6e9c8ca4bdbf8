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

// \r, \t and \xHH as those characters.
std::string Unescape(const std::string& text) {
  std::string bytes;
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] != '\\' || k + 1 == text.size()) {
      bytes += text[k];
    } else if (text[++k] == 'x') {
      bytes += static_cast<char>(std::stoi(text.substr(k + 1, 2), nullptr, 16));
      k += 2;
    } else {
      bytes += text[k] == 'r' ? '\r' : text[k] == 't' ? '\t' : text[k];
    }
  }
  return bytes;
}

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

// The lines of data/protocol.txt, sent and answered.
TEST(Brain, Protocol) {
  std::ostringstream out;
  auto brain = std::make_unique<Brain>(out, BrainOptions{4, {}, 1u});
  std::istringstream script(test::ReadFile(ZEL_BRAIN_DATA_DIR "/protocol.txt"));
  int exchanges = 0;
  for (std::string line; std::getline(script, line);) {
    if (line.starts_with("#")) continue;
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
    const std::string inputs = Unescape(line.substr(0, bar));
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
      end = inputs.find(';', start);
      out.str("");
      const bool running = brain->HandleLine(inputs.substr(start, end - start));
      CheckMove(brain->game(), out.str());
      answers += out.str() + (running ? "" : "<end>\n");
    }
    EXPECT_TRUE(std::regex_match(answers, std::regex(expected))) << line << "\n" << answers;
    ++exchanges;
  }
  EXPECT_GT(exchanges, 50);
}

TEST(Brain, InfoSetsTheTimeLimits) {
  std::ostringstream out;
  Brain brain(out);
  for (const char* line :
       {"INFO timeout_turn 200", "info TIMEOUT_MATCH 90000", "INFO time_left -5"})
    brain.HandleLine(line);
  EXPECT_EQ(brain.limits().turn, 200);
  EXPECT_EQ(brain.limits().match, 90000);
  EXPECT_EQ(brain.limits().left, 0);
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
