#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "patterns/update.h"
#include "search/choose_move.h"

namespace zel {
namespace {

TEST(CombineTrialSums, SinglePrecisionFactorsTruncatedTowardZero) {
  const struct {
    int colour;
    int moveCount;
    TrialSums sums;
    int value;
  } cases[] = {
      // 10 x 1.3f = 12.9999995, not 13.
      {kBlack, 15, {20, 0, 10, 0}, 12}, {kBlack, 16, {20, 0, 10, 0}, 12},  // 1.2f lies above 1.2
      {kBlack, 24, {20, 0, 10, 0}, 11}, {kBlack, 32, {20, 0, 10, 0}, 10},
      {kBlack, 0, {10, 0, 20, 0}, -12},  // toward zero, not down
      {kBlack, 0, {10, 30, 10, 35}, 5},  // White's gain counts for Black in full
      {kWhite, 0, {10, 0, 20, 0}, 12},   // (B2 - B1) x f
      {kWhite, 0, {0, 35, 0, 30}, 5},
  };
  for (const auto& tc : cases) {
    EXPECT_EQ(CombineTrialSums(tc.colour, tc.moveCount, tc.sums), tc.value)
        << tc.colour << " at move " << tc.moveCount;
  }
}

EngineState EmptyGame(int moveCount) {
  EngineState state;
  state.moveCount = moveCount;
  return state;
}

// On an empty board a stone at (7, 7) lifts its own codes on the 32 near points by 3, 3, 2, 0
// out from it on each side of each line: a gain of 64 for the side that plays there, while the
// other side's codes stay 1. At (0, 0) three lines run one way, with codes 3, 3, 3, 1: 18.
TEST(TrialValue, EmptyBoardGains) {
  const struct {
    int colour;
    int moveCount;
    Point point;
    int value;
  } cases[] = {
      {kBlack, 0, {7, 7}, 147},   // 64 x 1.3f + 64
      {kWhite, 0, {7, 7}, -147},  // Black to move: -64 - 64 x 1.3f
      {kWhite, 1, {7, 7}, 147},   // White to move: the first stone is White's
      {kBlack, 1, {7, 7}, -147}, {kBlack, 20, {7, 7}, 140},  // 64 x 1.2f + 64
      {kBlack, 30, {7, 7}, 134},                             // 64 x 1.1f + 64
      {kBlack, 40, {7, 7}, 128}, {kBlack, 0, {0, 0}, 41},    // 18 x 1.3f + 18
  };
  const Position empty;
  for (const auto& tc : cases) {
    EXPECT_EQ(TrialValue(EmptyGame(tc.moveCount), tc.colour, tc.point.row, tc.point.col, empty),
              tc.value)
        << tc.colour << " at move " << tc.moveCount;
  }
}

TEST(TrialValue, NearPointsComeFromTheGamesBoard) {
  // The game has a stone at (7, 9) that the position handed in lacks: (7, 9) is left out, and
  // with it a gain of 3 for each side. 61 x 1.3f + 61 = 140.3.
  EngineState state = EmptyGame(0);
  UpdatePatterns(state.position, 7, 9, kWhite);
  EXPECT_EQ(TrialValue(state, kBlack, 7, 7, Position()), 140);
}

using Points = std::vector<Point>;
constexpr Point kA{0, 1}, kB{0, 2}, kC{0, 3}, kD{0, 4};

TEST(SortByKey, OrderAmongEqualKeysFollowsThePartitions) {
  const struct {
    std::vector<int> keys;
    Points points;
    SortOrder order;
    std::vector<int> sortedKeys;
    Points sortedPoints;
  } cases[] = {
      {{5, 5, 5}, {kA, kB, kC}, SortOrder::kDescending, {5, 5, 5}, {kB, kA, kC}},
      {{1, 3, 3, 2}, {kA, kB, kC, kD}, SortOrder::kDescending, {3, 3, 2, 1}, {kB, kC, kD, kA}},
      {{2, 1, 2}, {kA, kB, kC}, SortOrder::kAscending, {1, 2, 2}, {kB, kC, kA}},
  };
  for (auto tc : cases) {
    SortByKey(0, static_cast<int>(tc.keys.size()) - 1, tc.keys, tc.points, tc.order);
    EXPECT_EQ(tc.keys, tc.sortedKeys);
    EXPECT_EQ(tc.points, tc.sortedPoints);
  }
}

TEST(SortByKey, SortsAnyKeysWithTheirPoints) {
  std::mt19937 rng(3);
  for (int size = 1; size < 60; ++size) {
    std::vector<int> keys(size);
    Points points(size);
    for (int k = 0; k < size; ++k) {
      keys[k] = static_cast<int>(rng() % 7) - 3;
      points[k] = {keys[k], k};  // each point remembers its key
    }
    const std::vector<int> original = keys;
    SortByKey(0, size - 1, keys, points, SortOrder::kDescending);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end(), std::greater<>()));
    std::vector<bool> seen(size);
    for (int k = 0; k < size; ++k) {
      EXPECT_EQ(points[k].row, keys[k]);
      seen[points[k].col] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), size);
  }
}

TEST(RankCandidates, KeysAddTheWeightedTrialAndNarrowTheCounts) {
  // Empty board, Black at move 0: the trial adds 147 x 4 / 15 = 39 at (5..9, 5..9) and
  // 41 x 4 / 15 = 10 at (0, 0).
  const struct {
    Point point;
    int score;
  } candidates[] = {{{0, 0}, 230}, {{5, 5}, 185}, {{5, 6}, 101},  {{6, 5}, 100},
                    {{6, 6}, 186}, {{7, 7}, 200}, {{9, 9}, -5000}};
  ScoreTable scores{};
  MoveChoice choice;
  for (const auto& [point, score] : candidates) {
    scores[point.row][point.col] = score;
    choice.candidates[choice.count++] = point;
  }
  RankCandidates(EmptyGame(0), kBlack, Position(), scores, choice);
  // Keys 240, 239, 225, 224, 140, 139, -4961: within 100 of 240 the first four, within 15 the
  // first two. A negative key ranks last.
  const Points ranked = {{0, 0}, {7, 7}, {6, 6}, {5, 5}, {5, 6}, {6, 5}, {9, 9}};
  EXPECT_EQ(Points(choice.candidates.begin(), choice.candidates.begin() + 7), ranked);
  EXPECT_EQ(choice.count, 4);
  EXPECT_EQ(choice.topCount, 2);
}

}  // namespace
}  // namespace zel
