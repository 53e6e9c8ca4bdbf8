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
      const MoveBudget budget = BudgetFor(brain->limits(), brain->game().moveCount());
      EXPECT_EQ(budget.hard.count(), hard) << line;
      EXPECT_EQ(budget.soft.count(), soft) << line;
      continue;
    }
    if (line.starts_with("--")) {
      const int level = line.size() > 3 && line != "-- strong" ? std::stoi(line.substr(3)) : 4;
      brain = std::make_unique<Brain>(
          out, line == "-- strong" ? BrainOptions{{}, {}, 1u} : BrainOptions{level, {}, 1u});
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

// The turn less 30 ms and a twentieth; with a match clock, what is left of it (the whole match
// before the first time_left) shared among the moves to come (35 a side less those played, at
// least 12), and at most three shares for the hard limit.
TEST(Brain, TimeBudget) {
  struct Case {
    TimeLimits limits;
    int stones;
    std::int64_t hard, soft;
  };
  const Case cases[] = {
      {{5000, 0, {}}, 0, 4720, 4720},
      {{0, 180000, 90000}, 10, 0, 0},      // as fast as possible
      {{5000, 60000, {}}, 0, 4720, 1627},  // the whole match left: 56970 / 35
      {{5000, 180000, 180000}, 0, 4720, 4720},
      {{5000, 180000, 1000}, 40, 183, 61},      // 920 / 15
      {{5000, 180000, 1000}, 200, 228, 76},     // 920 / 12
      {{60000, 180000, 24000}, 20, 2730, 910},  // 22770 / 25
      {{5000, 0, 24000}, 0, 1950, 650},         // a time_left without a match
      {{5000, 180000, 60}, 30, 3, 1},           // 27 / 20
      {{5000, 180000, 31}, 0, 0, 0},
      {{5000, 180000, -5}, 0, 0, 0},
      {{std::int64_t{1} << 50, 0, std::int64_t{1} << 50}, 0, 81428568, 27142856},
  };
  for (const Case& c : cases) {
    const MoveBudget budget = BudgetFor(c.limits, c.stones);
    EXPECT_EQ(std::pair(budget.hard.count(), budget.soft.count()), std::pair(c.hard, c.soft))
        << c.limits.turn << " " << c.limits.match << " " << c.limits.left.value_or(-1) << " "
        << c.stones;
  }
  // max_memory: the engine's default for 0, what the 20 MB beside the table leave, 256 MB at most.
  for (const auto& [memory, bytes] : {std::pair<std::int64_t, std::size_t>{0, 16 << 20},
                                      {-1, 16 << 20},
                                      {1, 0},
                                      {20 << 20, 0},
                                      {200'000'000, 200'000'000 - (20 << 20)},
                                      {std::int64_t{1} << 40, 256 << 20}}) {
    EXPECT_EQ(HashBytesFor(memory), bytes) << memory;
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

// The program answers on standard output until END, and refuses options it does not know. The
// strong engine plays unless --level or --max-level asks for the threat search; --strong undoes
// them. --verbose tells the engines apart: the strong engine's iterations have a depth, the
// threat search's levels a level.
TEST(Brain, Program) {
  const std::string run = "printf 'START 15\\r\\nBEGIN\\nEND\\nBEGIN\\n' | " ZEL_BRAIN_PATH;
  EXPECT_EQ(test::RunProgram(run, "--level 58 --max-level 58 --seed 1").out, "OK\n7,7\n");
  const std::string turn =
      "printf 'START 15\\nINFO timeout_turn 100\\nBEGIN\\nTURN 8,8\\n' | " ZEL_BRAIN_PATH;
  for (const auto& [options, engine] : {std::pair{"--verbose", "DEBUG depth 1: "},
                                        {"--max-level 6 --verbose", "DEBUG level "},
                                        {"--strong --level 4 --verbose", "DEBUG level "},
                                        {"--level 4 --strong --verbose", "DEBUG depth 1: "}}) {
    const auto start = std::chrono::steady_clock::now();
    const std::string out = test::RunProgram(turn, options, 60).out;
    EXPECT_TRUE(out.starts_with("OK\n7,7\n" + std::string(engine))) << options;
    // The turn's 100 ms hold, with room for a slow machine: the 5 s of the default turn would
    // keep the strong engine searching for about 2 s.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500)) << options;
  }
  const test::CliRun refused = test::RunProgram(ZEL_BRAIN_PATH, "--level 59", 60);
  EXPECT_EQ(refused.err,
            "usage: pbrain-zel [--strong (the default) | --level L | --max-level L] [--seed S] "
            "[--verbose]\n");
  EXPECT_EQ(refused.status, 2);
}

}  // namespace
}  // namespace zel
