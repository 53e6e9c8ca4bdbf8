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
#include "support/positions.h"
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
// not forbidden; after YXNBEST, the first of the moves listed, which are all different.
void CheckMove(const Game& game, const std::string& answer) {
  int x = -1, y = -1;
  const std::string move = answer.substr(answer.rfind('\n', answer.size() - 2) + 1);
  if (std::sscanf(move.c_str(), "%d,%d", &x, &y) != 2) return;
  std::vector<std::string> listed;
  const std::regex best(R"(MESSAGE nbest \d+ (\d+,\d+) )");
  for (std::sregex_iterator it(answer.begin(), answer.end(), best), end; it != end; ++it) {
    EXPECT_EQ(std::count(listed.begin(), listed.end(), (*it)[1]), 0) << answer;
    listed.push_back((*it)[1]);
  }
  if (!listed.empty()) {
    EXPECT_EQ(listed[0] + "\n", move) << answer;
  }
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
      const Game& game = brain->game();
      const MoveBudget budget = BudgetFor(brain->limits(), game.moveCount(),
                                          TensionOf(game.position(), game.SideToMove()));
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
    std::string expected =
        std::regex_replace(line.substr(bar + 1), std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
    for (const auto& [name, pattern] : {std::pair{"MOVE", R"(\d+,\d+)"},
                                        {"<n>", R"(-?\d+)"},
                                        {"<score>", R"((-?\d+|[+-]M\d*))"},
                                        {"<pv>", R"(\d+,\d+( \d+,\d+)*)"}}) {
      expected = std::regex_replace(expected, std::regex(name), pattern);
    }
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
    Tension tension = Tension::kQuiet;
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
      // Sharp: two shares within the hard limit; forced: a quarter of one, or of the turn.
      {{60000, 180000, 24000}, 20, 2730, 1820, Tension::kSharp},
      {{5000, 0, {}}, 0, 4720, 4720, Tension::kSharp},
      {{60000, 180000, 24000}, 20, 227, 227, Tension::kForced},
      {{5000, 0, {}}, 0, 1180, 1180, Tension::kForced},
  };
  for (const Case& c : cases) {
    const MoveBudget budget = BudgetFor(c.limits, c.stones, c.tension);
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

// YXSHOWFORBID lists the points that zel-cli forbidden finds in the same position (Black to
// move; positions of the third-party rules cases: an overline, a double four in one line, double
// threes, nested ones).
TEST(Brain, ForbiddenAsTheCliFindsThem) {
  for (const char* moves :
       {"h8 g8 i8 h7 j8 h9 l8 i7 m8 i9", "h8 g8 k8 i9 l8 k7 n8 o8",
        "b6 a8 c7 a9 c8 c13 d6 e1 d7 g1 e3 h13 e4 l1 f3 l13 g5 o1 h8 o15",
        "e10 d11 f5 e5 f6 e9 f9 f4 g8 g11 h10 g6 h8 g7 h9 g9 i7 h7 i9 j10 j7 k8",
        "f4 d4 f6 g10 g7 g12 h7 g5 h8 g6 h9 g8 i10 h6 i8 i9 j9 j7"}) {
    const std::vector<Point> points = test::Rif(moves);
    std::string cli, kind;
    std::istringstream listed(test::RunCli("forbidden " + test::RecordFile("forbid", points)).out);
    for (int row = 0, col = 0; listed >> row >> col >> kind;)
      cli += " " + std::to_string(col) + "," + std::to_string(row);
    std::ostringstream out;
    Brain brain(out);
    brain.HandleLine("YXBOARD");
    for (std::size_t k = 0; k < points.size(); ++k) {
      brain.HandleLine(std::to_string(points[k].col) + "," + std::to_string(points[k].row) +
                       (k % 2 == points.size() % 2 ? ",1" : ",2"));
    }
    brain.HandleLine("DONE");
    brain.HandleLine("YXSHOWFORBID");
    std::string forbid = out.str();
    ASSERT_TRUE(forbid.starts_with("FORBID ") && forbid.ends_with(".\n")) << forbid;
    std::string brainPoints;
    for (std::size_t at = 7; at + 4 <= forbid.size() - 2; at += 4)
      brainPoints += " " + std::to_string(std::stoi(forbid.substr(at, 2))) + "," +
                     std::to_string(std::stoi(forbid.substr(at + 2, 2)));
    EXPECT_FALSE(brainPoints.empty()) << moves;
    EXPECT_EQ(brainPoints, cli) << moves;
  }
}

// The program answers on standard output and refuses options it does not know. At the end of the
// input every command read is still answered; END leaves at once, answering nothing more. A stop
// is read while the engine thinks. The strong engine plays unless --level or --max-level asks for
// the threat search; --strong undoes them. --verbose tells the engines apart: the strong
// engine's iterations have a depth, the threat search's levels a level.
TEST(Brain, Program) {
  const std::string run = "printf 'START 15\\r\\nBEGIN\\n' | " ZEL_BRAIN_PATH;
  EXPECT_EQ(test::RunProgram(run, "--level 58 --max-level 58 --seed 1").out, "OK\n7,7\n");
  const std::string end = "printf 'START 15\\nEND\\nBEGIN\\n' | " ZEL_BRAIN_PATH;
  EXPECT_TRUE(std::string("OK\n").starts_with(test::RunProgram(end, "", 60).out));
  const auto stopped = std::chrono::steady_clock::now();
  const std::string stop =
      "-c '(printf \"START 15\\nINFO timeout_turn 60000\\nBEGIN\\nTURN 8,8\\n\"; sleep 0.5; "
      "printf \"YXSTOP\\n\") | " ZEL_BRAIN_PATH "'";
  EXPECT_TRUE(
      std::regex_match(test::RunProgram("sh", stop, 60).out, std::regex("OK\n7,7\n\\d+,\\d+\n")));
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::seconds(10));
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
  for (const char* options : {"--level 59", "--level", "--max-level", "--seed", "--seed x", "-v"}) {
    const test::CliRun refused = test::RunProgram(ZEL_BRAIN_PATH, options, 60);
    EXPECT_EQ(refused.err,
              "usage: pbrain-zel [--strong (the default) | --level L | --max-level L] [--seed S] "
              "[--verbose]\n")
        << options;
    EXPECT_EQ(refused.status, 2) << options;
  }
}

}  // namespace
}  // namespace zel
