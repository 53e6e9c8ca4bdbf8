// The one-ply move choice: scores every point for one colour, narrows the best down with trial
// placements and picks one, or opens the game by its two opening rules.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "patterns/board.h"
#include "search/engine_state.h"

namespace zel {

struct MoveChoice {
  std::optional<Point> point;  // nothing when no point is selectable
  int count = 0;               // candidates after ranking; 0 when an opening rule chose
  int topCount = 0;            // the near-best group, from which the point is drawn
  std::array<Point, kMaxMoves> candidates;  // ranked, best first; count entries are valid
};

// Chooses a move for colour (1 Black, 2 White) on pos, writing every point's score into
// scores. Reads the game's move count, first two moves and own board from state, and draws
// from its random generator.
MoveChoice ChooseMove(EngineState& state, int colour, const Position& pos, ScoreTable& scores);

// The pattern sums of the choice for colour: every point's sum of line-code contributions into
// `local`, and into `scores` the five and straight-four assignments and the forbidden-point
// penalties. Both tables are cleared first; occupied points keep 0 in `local`.
void PatternSums(int colour, int moveCount, const Position& pos, ScoreTable& scores,
                 ScoreTable& local);

// Orders choice.candidates[0 .. choice.count) by ranking key, highest first (key = score +
// TrialValue x trial weight / 15), then narrows choice.count to the keys within 100 of the top
// key and sets choice.topCount to those within 15. choice.count must be at least 1.
void RankCandidates(const EngineState& state, int colour, const Position& pos,
                    const ScoreTable& scores, MoveChoice& choice);

enum class SortOrder { kDescending, kAscending };

// Sorts keys[low .. high] together with points[low .. high] by a recursive partition sort. Not
// stable: the order among equal keys follows from the partition steps.
void SortByKey(int low, int high, std::span<int> keys, std::span<Point> points, SortOrder order);

// The line-code sums of a trial over the near points: each colour's codes after a stone of the
// side to move on the candidate (1), and after a stone of the other side (2).
struct TrialSums {
  int black1 = 0;
  int white1 = 0;
  int black2 = 0;
  int white2 = 0;
};

// The trial value for colour from its sums: what each colour's codes gain from one placement
// over the other, Black's scaled by a single-precision factor that shrinks as the game's move
// count grows; computed in double precision and truncated toward zero.
int CombineTrialSums(int colour, int moveCount, const TrialSums& sums);

// Values (row, col) for colour by placing a stone there for each side in turn on copies of pos
// and comparing the line codes of the points near it that are empty on the game's own board.
int TrialValue(const EngineState& state, int colour, int row, int col, const Position& pos);

}  // namespace zel
