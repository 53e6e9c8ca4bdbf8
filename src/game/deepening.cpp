// The reply that deepens level by level within a time budget.
#include <algorithm>
#include <vector>

#include "game/game.h"

namespace zel {
namespace {

using Clock = std::chrono::steady_clock;

// A level's cost grows by at least this factor per step of 2 levels; the measured growth is used
// when it is larger, up to the maximum.
constexpr double kMinGrowth = 2.0;
constexpr double kMaxGrowth = 8.0;
// Below this many milliseconds a level's time says nothing about the next one's.
constexpr double kMeasurableCost = 5.0;

bool IsWinFor(int colour, int value) {
  return value == (colour == kBlack ? 3 : -3);
}

}  // namespace

Thought Game::ThinkWithin(const MoveBudget& budget, int firstLevel, int lastLevel,
                          const std::function<void(const LevelReport&)>& onLevel) {
  const auto start = Clock::now();
  const auto deadline = start + budget.hard;
  const SearchSettings saved = engine_.settings;
  // Through move 9 the search runs at level 12 at least: the first level, and the last with it.
  int level = engine_.moveCount <= kOpeningMoves ? std::max(firstLevel, kOpeningLevel) : firstLevel;
  lastLevel = std::min(std::max(lastLevel, level), kMaxSearchLevel);

  Thought best;
  best.stopped = true;
  // The trace file shows the search whose answer is played: the last completed level's.
  std::vector<TraceEntry> bestTrace;
  int bestTraceCount = 0;
  double lastCost = 0;  // milliseconds of the last completed level
  double growth = kMinGrowth;
  std::int64_t lastNodes = -1;
  while (budget.hard.count() > 0 && level <= lastLevel) {
    engine_.settings.searchLevel = level;
    trace_.clear();
    const auto levelStart = Clock::now();
    const Thought thought = Think(deadline);
    const auto now = Clock::now();
    const double cost = std::chrono::duration<double, std::milli>(now - levelStart).count();
    if (onLevel) onLevel({level, thought.nodes, cost, thought.stopped});
    if (thought.stopped) break;
    best = thought;
    bestTrace.swap(trace_);
    bestTraceCount = engine_.traceCount;
    if (!thought.result || IsWinFor(SideToMove(), thought.result->value)) break;
    // A level that visited no more nodes than the one before it has seen all there is.
    if (thought.nodes == lastNodes) break;
    if (lastCost >= kMeasurableCost) growth = std::clamp(cost / lastCost, kMinGrowth, kMaxGrowth);
    const double spent = std::chrono::duration<double, std::milli>(now - start).count();
    if (spent + cost * growth > static_cast<double>(budget.soft.count())) break;
    lastCost = cost;
    lastNodes = thought.nodes;
    level += kDeepeningStep;
  }
  engine_.settings = saved;
  trace_.swap(bestTrace);
  engine_.traceCount = bestTraceCount;
  return best;
}

}  // namespace zel
