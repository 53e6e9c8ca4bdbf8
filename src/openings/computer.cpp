#include "openings/computer.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "alphabeta/search.h"
#include "openings/names.h"
#include "openings/symmetry.h"
#include "rules/renju_rules.h"

namespace zel::openings {
namespace {

// The engine's tables for the opening's short searches.
constexpr std::size_t kHashBytes = std::size_t{4} << 20;
// A search is given at least this much, however many positions share the budget.
constexpr std::int64_t kLeastNodes = 256;
constexpr std::chrono::milliseconds kLeastTime{1};
// Stones and 5th moves are looked for this close to a stone (5th moves farther when too few).
constexpr int kFifthReach = 2;

int Distance(Point a, Point b) {
  return std::max(std::abs(a.row - b.row), std::abs(a.col - b.col));
}

std::vector<Point> With(std::span<const Point> stones, Point p) {
  std::vector<Point> moves(stones.begin(), stones.end());
  moves.push_back(p);
  return moves;
}

// One empty point of each class of points that the stones' symmetries map onto each other, in
// the order of the board (row by row), within `area` and `reach` of a stone; Black's forbidden
// points left out when Black is to play.
std::vector<Point> DistinctPoints(std::span<const Point> stones, int area, int reach) {
  const Board board = StonesBoard(stones);
  const SymmetryGroup group = StonesGroup(stones);
  const bool black = stones.size() % 2 == 0;
  std::vector<Point> points;
  for (int row = 0; row < kBoardSize; ++row) {
    for (int col = 0; col < kBoardSize; ++col) {
      const Point p{row, col};
      if (board[row][col] != kEmpty || !WithinArea(p, area)) continue;
      if (std::none_of(stones.begin(), stones.end(),
                       [&](Point s) { return Distance(s, p) <= reach; }))
        continue;
      if (black && IsForbidden(JudgeBlackMove(board, p))) continue;
      if (std::any_of(points.begin(), points.end(),
                      [&](Point q) { return Symmetrical(group, q, p); }))
        continue;
      points.push_back(p);
    }
  }
  return points;
}

}  // namespace

OpeningComputer::OpeningComputer(DecisionBudget budget, std::uint32_t seed)
    : budget_(budget), random_(seed), searcher_(std::make_unique<ab::Searcher>(kHashBytes)) {}

OpeningComputer::~OpeningComputer() = default;

void OpeningComputer::SetPollHook(std::function<void()> hook) {
  searcher_->SetPollHook(std::move(hook));
}

ab::Limits OpeningComputer::Share(int shares) const {
  ab::Limits limits;
  if (budget_.nodes > 0) limits.nodes = std::max(budget_.nodes / shares, kLeastNodes);
  if (budget_.time.count() > 0) limits.time = std::max(budget_.time / shares, kLeastTime);
  if (limits.nodes == 0 && limits.time.count() == 0) limits.nodes = kLeastNodes;
  return limits;
}

std::optional<int> OpeningComputer::BlackScore(std::span<const Point> moves, int shares) {
  // Each position is scored afresh, so that its score does not hang on what was searched before.
  searcher_->ClearHash();
  bool iterated = false;
  const ab::SearchReport report = searcher_->Search(
      moves, Share(shares), nullptr, [&](const ab::SearchReport&) { iterated = true; });
  if (!iterated && !ab::IsDecisive(report.score)) return std::nullopt;
  return moves.size() % 2 == 0 ? report.score : -report.score;
}

std::vector<OpeningComputer::Scored> OpeningComputer::StonesWithin(std::span<const Point> stones,
                                                                   size_t atLeast, int area) {
  std::vector<Point> points;
  for (int reach = kFifthReach; points.size() < atLeast && reach < kBoardSize; ++reach)
    points = DistinctPoints(stones, area, reach);
  std::vector<Scored> scored;
  for (const Point p : points) {
    const std::optional<int> score = BlackScore(With(stones, p), static_cast<int>(points.size()));
    scored.push_back({p, score.value_or(0), score.has_value()});
  }
  std::stable_sort(scored.begin(), scored.end(), [](const Scored& a, const Scored& b) {
    return a.known != b.known ? a.known : a.score > b.score;
  });
  return scored;
}

// The first three stones: the centre, then one of the balanced openings that the stones so far
// allow, drawn with the seed.
Point OpeningComputer::OpeningStone(std::span<const Point> stones) {
  if (stones.empty()) return kCentre;
  std::vector<Point> choices;
  for (const std::string_view code : kBalancedOpenings) {
    const std::array<Point, 3> canonical = *StonesOf(code);
    for (int t = 0; t < kSymmetries; ++t) {
      const bool fits = stones.size() < 2 || Transform(t, canonical[1]) == stones[1];
      if (fits) {
        choices.push_back(Transform(t, canonical[stones.size()]));
        break;
      }
    }
  }
  if (choices.empty()) return BalancedStone(stones, 5);
  return choices[static_cast<size_t>(random_.Next()) % choices.size()];
}

// The stone within the area, near the others, after which the position is nearest balance.
Point OpeningComputer::BalancedStone(std::span<const Point> stones, int area) {
  const std::vector<Scored> scored = StonesWithin(stones, 1, area);
  const auto nearest =
      std::min_element(scored.begin(), scored.end(), [](const Scored& a, const Scored& b) {
        return a.known != b.known ? a.known : std::abs(a.score) < std::abs(b.score);
      });
  return nearest->point;
}

OpeningStep OpeningComputer::Decide(const Opening& opening) {
  const Request& request = opening.Next();
  const std::span<const Point> stones = opening.Stones();
  switch (request.kind) {
    case OpeningStepKind::kPlace: {
      if (request.stone <= 3) return OpeningStep::Place(OpeningStone(stones));
      if (request.offerInstead) {
        // Offer when Black keeps the better game after White's choice, else place a 5th that
        // leaves the swap nothing to gain.
        const std::vector<Scored> fifths = FifthMoves(stones, request.count);
        if (fifths.size() >= static_cast<size_t>(request.count) &&
            fifths[request.count - 1].score > 0) {
          std::vector<Point> offer;
          for (int i = 0; i < request.count; ++i)
            offer.push_back(fifths[i].point);
          return OpeningStep::Offer(offer);
        }
      }
      if (request.area < kBoardSize) return OpeningStep::Place(BalancedStone(stones, request.area));
      const ab::SearchReport report = searcher_->Search(stones, Share(1));
      return OpeningStep::Place(report.move != ab::kNoCell ? ab::PointOf(report.move)
                                                           : BalancedStone(stones, kBoardSize));
    }
    case OpeningStepKind::kSwap: {
      // After a declaration, Black's game is the worst of the moves it will offer.
      int score = 0;
      if (opening.Declared() > 0) {
        const std::vector<Scored> fifths = FifthMoves(stones, opening.Declared());
        score = fifths[std::min<size_t>(opening.Declared(), fifths.size()) - 1].score;
      } else {
        score = BlackScore(stones, 1).value_or(0);
      }
      const bool swap = request.colour == kBlack ? score < 0 : score > 0;
      return OpeningStep::Swap(swap);
    }
    case OpeningStepKind::kDeclare: {
      const std::vector<Scored> fifths = FifthMoves(stones, request.count);
      int best = 1;
      for (int n = 2; n <= request.count && n <= static_cast<int>(fifths.size()); ++n) {
        if (std::abs(fifths[n - 1].score) < std::abs(fifths[best - 1].score)) best = n;
      }
      return OpeningStep::Declare(best);
    }
    case OpeningStepKind::kOffer: {
      const std::vector<Scored> fifths = FifthMoves(stones, request.count);
      std::vector<Point> offer;
      for (int i = 0; i < request.count; ++i)
        offer.push_back(fifths[i].point);
      return OpeningStep::Offer(offer);
    }
    case OpeningStepKind::kChoose: {
      const std::span<const Point> offered = opening.Offered();
      Point best = offered.front();
      int bestScore = 0;
      for (size_t i = 0; i < offered.size(); ++i) {
        const int score =
            BlackScore(With(stones, offered[i]), static_cast<int>(offered.size())).value_or(0);
        if (i == 0 || score < bestScore) best = offered[i], bestScore = score;
      }
      return OpeningStep::Choose(best);
    }
    case OpeningStepKind::kNone:
      break;
  }
  return {};
}

}  // namespace zel::openings
