// The reply that deepens level by level within a time, and the level items that use it.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "game/game.h"
#include "support/positions.h"
#include "support/recording_host.h"

namespace zel {
namespace {

using namespace std::chrono_literals;
using test::Rif;

constexpr MoveBudget kAmple{60s, 60s};

class DeepeningTest : public ::testing::Test {
 protected:
  DeepeningTest() {
    SearchSettings settings = game.settings();
    settings.randomChoice = false;  // the same answer for the same level, however reached
    game.SetSettings(settings);
  }

  // The levels a deepening search went through, with its thought.
  std::vector<LevelReport> Deepen(const MoveBudget& budget, int first, int last) {
    std::vector<LevelReport> reports;
    thought = game.ThinkWithin(budget, first, last,
                               [&](const LevelReport& report) { reports.push_back(report); });
    return reports;
  }
  std::vector<int> Levels(const std::vector<LevelReport>& reports) {
    std::vector<int> levels;
    for (const LevelReport& report : reports)
      levels.push_back(report.level);
    return levels;
  }

  test::RecordingHost host;
  Game game{host, {}};
  Thought thought;
};

// Levels go up by 2 from the first (12 through move 9) to the last, and the thought is the last
// level's own, as a search at that level finds it; the settings are restored.
TEST_F(DeepeningTest, LevelsAndTheirThought) {
  game.LoadMoves(Rif("h8 h9 i8 g8 i9 i10 j10 k11 g10 j8"));
  EXPECT_EQ(Levels(Deepen(kAmple, 4, 9)), (std::vector{4, 6, 8}));
  ASSERT_TRUE(thought.result && !thought.stopped);
  SearchSettings at8 = game.settings();
  at8.searchLevel = 8;
  const SearchSettings saved = game.settings();
  game.SetSettings(at8);
  const Thought direct = game.Think();
  game.SetSettings(saved);
  EXPECT_EQ(*thought.result, *direct.result);
  EXPECT_EQ(thought.nodes, direct.nodes);
  EXPECT_EQ(game.settings().searchLevel, 10);

  // Nine scattered stones: the search's own floor of 12 is where deepening starts.
  game.LoadMoves(Rif("h8 a1 c3 o15 m13 a15 o1 c13 m3"));
  EXPECT_EQ(Levels(Deepen(kAmple, 4, 14)), (std::vector{12, 14})) << thought.result->value;
  EXPECT_EQ(Levels(Deepen(kAmple, 10, 10)), (std::vector{12}));  // a fixed level below the floor
}

// A proven win ends the deepening at once; no time at all gives a stopped thought.
TEST_F(DeepeningTest, WinAndNoTime) {
  game.LoadMoves(Rif("d8 a1 e8 a3 f8 a5 g8 a7"));  // Black to move with an open four
  EXPECT_EQ(Levels(Deepen(kAmple, 4, 20)), (std::vector{12}));
  EXPECT_EQ(thought.result->value, 3);
  EXPECT_TRUE(Deepen({0ms, 0ms}, 4, 20).empty());
  EXPECT_TRUE(thought.stopped);
}

// A level cut off by the time leaves the answer of the last level that completed.
TEST_F(DeepeningTest, LevelCutOffByTheTime) {
  // A middle game whose deeper levels take seconds.
  game.LoadMoves(
      test::Points("7,7 8,7 7,9 7,6 9,8 8,8 8,9 7,10 9,9 6,9 10,9 11,9 9,11 9,12 8,11 "
                   "9,10 8,10"));
  const auto reports = Deepen({200ms, 60s}, 4, kMaxSearchLevel);
  ASSERT_GE(reports.size(), 2U);
  ASSERT_TRUE(reports.back().stopped);
  ASSERT_FALSE(thought.stopped);
  SearchSettings settings = game.settings();
  settings.searchLevel = reports[reports.size() - 2].level;
  game.SetSettings(settings);
  const Thought direct = game.Think();
  EXPECT_EQ(*thought.result, *direct.result);
  EXPECT_EQ(thought.nodes, direct.nodes);
}

// With the trace switch on, the trace holds the nodes of the level whose answer stands.
TEST_F(DeepeningTest, TraceIsTheLastCompletedLevels) {
  game.SetTraceSwitch(true);
  game.LoadMoves(Rif("h8 h9 i8 g8 i9 i10 j10 k11 g10 j8"));
  ASSERT_EQ(Levels(Deepen(kAmple, 4, 8)), (std::vector{4, 6, 8}));
  const int count = game.traceCount();
  const std::vector<TraceEntry> deepened(game.traceEntries().begin(), game.traceEntries().end());
  SearchSettings at8 = game.settings();
  at8.searchLevel = 8;
  game.SetSettings(at8);
  game.Think();
  EXPECT_EQ(game.traceCount(), count);
  EXPECT_EQ(std::vector<TraceEntry>(game.traceEntries().begin(), game.traceEntries().end()),
            deepened);
}

// Selecting a level item sets its search level and thinking time and keeps the other settings;
// an index outside the table changes nothing.
TEST_F(DeepeningTest, LevelItems) {
  SearchSettings settings = game.settings();
  settings.quietMoves = false;
  game.SetSettings(settings);
  for (int i = 0; i < static_cast<int>(kLevelItems.size()); ++i) {
    ASSERT_TRUE(game.SelectLevel(i));
    EXPECT_EQ(game.levelIndex(), i);
    EXPECT_EQ(game.settings().searchLevel, kLevelItems[i].searchLevel);
    EXPECT_EQ(game.thinkingTime(), kLevelItems[i].thinkingTime);
    EXPECT_FALSE(game.settings().quietMoves);
  }
  EXPECT_FALSE(game.SelectLevel(-1));
  EXPECT_FALSE(game.SelectLevel(static_cast<int>(kLevelItems.size())));
  EXPECT_EQ(game.levelIndex(), static_cast<int>(kLevelItems.size()) - 1);
}

}  // namespace
}  // namespace zel
