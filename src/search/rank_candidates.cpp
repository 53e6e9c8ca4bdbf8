// The ranking of the move choice's candidates: trial placements, ranking keys and their sort.
#include <tuple>
#include <utility>

#include "patterns/near_points.h"
#include "patterns/update.h"
#include "search/choose_move.h"

namespace zel {
namespace {

// The trial looks at the empty points on the four lines through the candidate, up to four
// points away.
constexpr int kTrialReach = 5;

// The trial weighs Black's gain by a factor that falls with the game's move count.
constexpr int kTrialEarly = 16;
constexpr int kTrialMiddle = 24;
constexpr int kTrialLate = 32;

// Ranking keys: the trial term is divided by this; the count keeps the keys within the first
// margin of the top key, the near-best group those within the second.
constexpr int kTrialDivisor = 15;
constexpr int kCountMargin = 100;
constexpr int kTopMargin = 15;

// Single precision, as the factors always were: 1.3f lies slightly below 1.3, so that a gain of
// 10 weighs 12.9999995 and truncates to 12.
float TrialFactor(int moveCount) {
  if (moveCount < kTrialEarly) return 1.3f;
  if (moveCount < kTrialMiddle) return 1.2f;
  if (moveCount < kTrialLate) return 1.1f;
  return 1.0f;
}

// Places `stone` on a copy of pos and sums each colour's four line codes over the near points.
std::pair<int, int> CodeSumsAfter(const Position& pos, int row, int col, int stone,
                                  const NearPoints& near) {
  Position trial = pos;
  UpdatePatterns(trial, row, col, stone);
  int black = 0;
  int white = 0;
  for (const Point p : near.List()) {
    for (int dir = 0; dir < kDirections; ++dir) {
      black += trial.Code(kBlack, p.row, p.col, dir);
      white += trial.Code(kWhite, p.row, p.col, dir);
    }
  }
  return {black, white};
}

bool Before(int key, int pivot, SortOrder order) {
  return order == SortOrder::kDescending ? key > pivot : key < pivot;
}

}  // namespace

int CombineTrialSums(int colour, int moveCount, const TrialSums& sums) {
  const double factor = TrialFactor(moveCount);
  if (colour == kBlack) {
    return static_cast<int>((sums.black1 - sums.black2) * factor + sums.white2 - sums.white1);
  }
  return static_cast<int>((sums.white1 - sums.white2) + (sums.black2 - sums.black1) * factor);
}

int TrialValue(const EngineState& state, int colour, int row, int col, const Position& pos) {
  // 1. The near points, taken on the game's own board: during a search the points that the
  //    search has filled still count, with the codes the tables hold for them.
  const NearPoints near = CollectNearPoints(kWindowMode, kTrialReach, row, col, state.position);
  // 2. A stone of the side to move on the candidate.
  TrialSums sums;
  std::tie(sums.black1, sums.white1) =
      CodeSumsAfter(pos, row, col, StoneColour(state.moveCount, 0), near);
  // 3. A stone of the other side instead.
  std::tie(sums.black2, sums.white2) =
      CodeSumsAfter(pos, row, col, StoneColour(state.moveCount, 1), near);
  // 4 and 5. The chooser's value of the two placements.
  return CombineTrialSums(colour, state.moveCount, sums);
}

void SortByKey(int low, int high, std::span<int> keys, std::span<Point> points, SortOrder order) {
  if (low >= high) return;
  const int pivot = keys[(low + high) / 2];
  int i = low;
  int j = high;
  while (i < j) {
    while (Before(keys[i], pivot, order))
      ++i;
    while (Before(pivot, keys[j], order))
      --j;
    if (i <= j) {
      std::swap(keys[i], keys[j]);
      std::swap(points[i], points[j]);
      ++i;
      --j;
    }
  }
  SortByKey(low, j, keys, points, order);
  SortByKey(i, high, keys, points, order);
}

void RankCandidates(const EngineState& state, int colour, const Position& pos,
                    const ScoreTable& scores, MoveChoice& choice) {
  // 1. Each candidate's key: its score plus its weighted trial value. Keys are plain ints: a
  //    strongly negative key ranks last.
  std::array<int, kMaxMoves> keys;
  for (int k = 0; k < choice.count; ++k) {
    const Point p = choice.candidates[k];
    keys[k] = scores[p.row][p.col] + TrialValue(state, colour, p.row, p.col, pos) *
                                         state.settings.trialWeight / kTrialDivisor;
  }
  // 2. Highest key first.
  SortByKey(0, choice.count - 1, keys, choice.candidates, SortOrder::kDescending);
  // 3. The candidates within reach of the top key.
  const int top = keys[0];
  int count = 1;
  int topCount = 1;
  for (int k = 1; k < choice.count; ++k) {
    if (keys[k] + kCountMargin > top) ++count;
    if (keys[k] + kTopMargin > top) ++topCount;
  }
  choice.count = count;
  choice.topCount = topCount;
}

}  // namespace zel
