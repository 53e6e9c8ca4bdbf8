#include "search/choose_move.h"

#include <algorithm>
#include <optional>

#include "patterns/line_codes.h"

namespace zel {
namespace {

// The weights of one pattern table: the five, straight-four, four and open-three values and the
// offset added to the plain code contributions.
struct TableWeights {
  int five;
  int straightFour;
  int four;
  int openThree;
  int offset;
};

struct Weights {
  TableWeights own;    // the chooser's table
  TableWeights other;  // the opponent's table
};

// From this move count on the game counts as late and the weights change.
constexpr int kLateGame = 25;
// Before this move count White weighs Black's adjacent open three most.
constexpr int kEarlyGame = 15;

// Indexed [chooser is White][late game]. Each table: five, straight four, four, open three,
// offset; own table first.
constexpr Weights kWeights[2][2] = {
    // Black chooses: early, late.
    {{{9000, 1800, 180, 195, 5}, {7000, 1500, 150, 165, 0}},
     {{9000, 1800, 160, 175, 0}, {7000, 1500, 150, 165, 0}}},
    // White chooses: early, late.
    {{{9000, 1800, 150, 165, 0}, {7000, 1500, 160, 175, 0}},
     {{9000, 1800, 160, 175, 0}, {7000, 1500, 150, 165, 0}}},
};

// Own fours and threes without an own stone next to them in their line lose this much.
constexpr int kNotAdjacentPenalty = 20;
// Open twos: the chooser's, and the opponent's with and without an adjacent stone.
constexpr int kOwnOpenTwo = 48;
constexpr int kOtherOpenTwoAdjacent = 48;
constexpr int kOtherOpenTwo = 42;
// Every other code k above 0 is worth k times this, plus the table's offset.
constexpr int kPlainCodeWeight = 12;
// A point where one colour has threes and fours in two or more lines.
constexpr int kDoubleThreatBonus = 300;
constexpr int kForbiddenPenaltyBlack = 8000;  // Black choosing: never play there
constexpr int kForbiddenPenaltyWhite = 150;   // White choosing: Black cannot play there anyway

// The neighbourhood is the 5 x 5 square around a point; its sum counts one twelfth.
constexpr int kNeighbourhoodReach = 2;
constexpr int kNeighbourhoodDivisor = 12;
constexpr int kOuterRingPenalty = 80;
constexpr int kThirdRingPenalty = 50;

// The candidates are the selectable points within this much of the best score.
constexpr int kCandidateMargin = 90;

// Opening rules: the area where the reply to the first stone, and the third stone after a
// central second stone, are drawn.
constexpr int kThirdMoveCorner = 5;
constexpr int kThirdMoveSize = 5;
constexpr int kCentreLow = 6;
constexpr int kCentreHigh = 8;
constexpr int kSecondMoveSize = 3;
// The draws stop here if no acceptable point turns up; with one acceptable point among 25 the
// chance of that is below 1e-17.
constexpr int kMaxOpeningDraws = 1000;

const Weights& WeightsFor(int colour, int moveCount) {
  return kWeights[colour == kBlack ? 0 : 1][moveCount >= kLateGame ? 1 : 0];
}

// Whether one of the two neighbours of (row, col) in direction dir holds a stone of `stone`.
bool Adjacent(const Board& board, int row, int col, int dir, int stone) {
  for (int side = -1; side <= 1; side += 2) {
    const int r = row + side * kRowStep[dir];
    const int c = col + side * kColStep[dir];
    if (OnBoard(r, c) && board[r][c] == stone) return true;
  }
  return false;
}

// The value of an opponent's open three for the chooser. White fears Black's threes most early
// in the game; the factors are applied in double precision and truncated.
int OtherOpenThree(int chooser, int moveCount, int weight, bool adjacent) {
  if (chooser == kBlack) return adjacent ? weight : weight / 3;
  if (!adjacent) return static_cast<int>(weight / 2.5);
  if (moveCount < kEarlyGame) return static_cast<int>(weight * 1.2);
  if (moveCount < kLateGame) return static_cast<int>(weight * 1.1);
  return weight;
}

// What a code's contribution depends on besides the code itself.
struct CodeContext {
  int chooser;
  int moveCount;
  const TableWeights* weights;
  bool own;
  bool adjacent;
};

// One table's code at a point, turned into its contribution to the pattern sum. Fives and
// straight fours also set the point's score, so that a later one in the scan replaces it.
int Contribution(int code, const CodeContext& ctx, int& score) {
  const TableWeights& w = *ctx.weights;
  switch (code) {
    case kBlocked:
      return 0;
    case kFive:
      score = w.five;
      return kFive;
    case kStraightFour:
      score = w.straightFour;
      return kStraightFour;
    case kFour:
      if (!ctx.own || ctx.adjacent) return w.four;
      return w.four - kNotAdjacentPenalty;
    case kOpenThree:
      if (!ctx.own) return OtherOpenThree(ctx.chooser, ctx.moveCount, w.openThree, ctx.adjacent);
      return ctx.adjacent ? w.openThree : w.openThree - kNotAdjacentPenalty;
    case kOpenTwo:
      if (ctx.own) return kOwnOpenTwo + w.offset;
      return ctx.adjacent ? kOtherOpenTwoAdjacent : kOtherOpenTwo;
    default:
      return kPlainCodeWeight * code + w.offset;
  }
}

// Steps 3 and 4: the neighbourhood sums and the border rings.
void AddNeighbourhoodAndRings(const ScoreTable& local, ScoreTable& scores) {
  // Step 3. Inner points gain their own sum and a twelfth of their 5 x 5 neighbourhood's.
  for (int r = kNeighbourhoodReach; r < kBoardSize - kNeighbourhoodReach; ++r) {
    for (int c = kNeighbourhoodReach; c < kBoardSize - kNeighbourhoodReach; ++c) {
      int sum = 0;
      for (int dr = -kNeighbourhoodReach; dr <= kNeighbourhoodReach; ++dr) {
        for (int dc = -kNeighbourhoodReach; dc <= kNeighbourhoodReach; ++dc) {
          sum += local[r + dr][c + dc];
        }
      }
      scores[r][c] += local[r][c] + sum / kNeighbourhoodDivisor;
    }
  }
  // Step 4. The outer ring gains its sum less 80, the second ring its sum, the third ring
  // loses 50.
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      const int ring = std::min(std::min(r, c), std::min(kBoardSize - 1 - r, kBoardSize - 1 - c));
      if (ring == 0) {
        scores[r][c] += local[r][c] - kOuterRingPenalty;
      } else if (ring == 1) {
        scores[r][c] += local[r][c];
      } else if (ring == 2) {
        scores[r][c] -= kThirdRingPenalty;
      }
    }
  }
}

// Black may play only on unmarked empty points, White on any empty point.
bool Selectable(int colour, int value) {
  return colour == kBlack ? value == kEmpty : value <= 0;
}

// Draws rows, then columns, in the size x size area at (top, left) until the point is on the
// board and holds no stone. Nothing when no point of the area qualifies, so that the caller
// falls through to the scored choice (possible on a search's copy, never in the opening
// itself).
std::optional<Point> DrawOpeningPoint(Random& random, const Board& board, int top, int left,
                                      int size) {
  bool any = false;
  for (int r = top; r < top + size; ++r) {
    for (int c = left; c < left + size; ++c) {
      if (OnBoard(r, c) && board[r][c] <= 0) any = true;
    }
  }
  if (!any) return std::nullopt;
  for (int draw = 0; draw < kMaxOpeningDraws; ++draw) {
    const int r = top + random.Next() % size;
    const int c = left + random.Next() % size;
    if (OnBoard(r, c) && board[r][c] <= 0) return Point{r, c};
  }
  return std::nullopt;
}

// The two opening rules of step 6, or nothing when neither applies (or its area has no room,
// which leaves the choice to the scores).
std::optional<Point> OpeningPoint(EngineState& state, const Board& board) {
  if (state.moveCount == 2) {
    const Point second = state.moveList[2];
    if (second.row >= kCentreLow && second.row <= kCentreHigh && second.col >= kCentreLow &&
        second.col <= kCentreHigh) {
      if (auto p = DrawOpeningPoint(state.random, board, kThirdMoveCorner, kThirdMoveCorner,
                                    kThirdMoveSize)) {
        return p;
      }
    }
  }
  if (state.moveCount == 1) {
    const Point first = state.moveList[1];
    return DrawOpeningPoint(state.random, board, first.row - 1, first.col - 1, kSecondMoveSize);
  }
  return std::nullopt;
}

}  // namespace

void PatternSums(int colour, int moveCount, const Position& pos, ScoreTable& scores,
                 ScoreTable& local) {
  // Step 1. The weights of the own and the other table.
  const Weights& weights = WeightsFor(colour, moveCount);
  const int chooser = colour == kBlack ? kBlack : kWhite;

  // Step 2. Each empty point sums its codes' contributions, Black's before White's in each
  // direction.
  scores = {};
  local = {};
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      const int value = pos.board[r][c];
      if (value > 0) continue;
      int lines[3] = {0, 0, 0};  // threes and fours by colour, indexed by colour
      for (int dir = 0; dir < kDirections; ++dir) {
        for (int stone : {kBlack, kWhite}) {
          const int code = pos.Code(stone, r, c, dir);
          const bool own = stone == chooser;
          const CodeContext ctx{chooser, moveCount, own ? &weights.own : &weights.other, own,
                                Adjacent(pos.board, r, c, dir, stone)};
          local[r][c] += Contribution(code, ctx, scores[r][c]);
          if (code == kOpenThree || IsFourCode(code)) ++lines[stone];
        }
      }
      // Two or more threats of one colour at the point: a double threat, or for Black, when
      // the point is marked, a forbidden point.
      if (lines[kBlack] >= 2) {
        if (value < 0) {
          scores[r][c] -= chooser == kBlack ? kForbiddenPenaltyBlack : kForbiddenPenaltyWhite;
        } else {
          local[r][c] += kDoubleThreatBonus;
        }
      }
      if (lines[kWhite] >= 2) local[r][c] += kDoubleThreatBonus;
    }
  }
}

MoveChoice ChooseMove(EngineState& state, int colour, const Position& pos, ScoreTable& scores) {
  // Steps 1 and 2. Weights and pattern sums.
  ScoreTable local;
  PatternSums(colour, state.moveCount, pos, scores, local);

  // Steps 3 and 4. Neighbourhood and border rings.
  AddNeighbourhoodAndRings(local, scores);

  // Step 5. The best score of a selectable point, at least 0.
  int best = 0;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (Selectable(colour, pos.board[r][c]) && scores[r][c] > best) best = scores[r][c];
    }
  }

  // Step 6. The opening rules, or the best candidates narrowed by their trials.
  MoveChoice choice;
  if (const std::optional<Point> opening = OpeningPoint(state, pos.board)) {
    choice.point = opening;
    return choice;
  }
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (Selectable(colour, pos.board[r][c]) && scores[r][c] + kCandidateMargin >= best) {
        choice.candidates[choice.count++] = {r, c};
      }
    }
  }
  if (choice.count == 0) return choice;  // no selectable point
  RankCandidates(state, colour, pos, scores, choice);
  const int index = state.settings.randomChoice ? state.random.Next() % choice.topCount : 0;
  choice.point = choice.candidates[index];
  return choice;
}

}  // namespace zel
