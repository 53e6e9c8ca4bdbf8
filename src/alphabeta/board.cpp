#include "alphabeta/board.h"

#include "rules/renju_rules.h"

namespace zel::ab {
namespace {

constexpr int kSlots = 2 * kSideCells;

constexpr int OffsetOf(int slot) {
  return slot < kSideCells ? slot - kSideCells : slot - kSideCells + 1;
}

// The cell at each slot of each cell's view of each line (kNoCell off the board), and each view's
// key on the empty board, where the cells off the board are blocked.
struct Geometry {
  std::array<std::array<std::array<std::int16_t, kSlots>, kDirections>, kCells> neighbour;
  std::array<std::array<LineKey, kDirections>, kCells> emptyKey;
  std::array<std::array<std::int16_t, 25>, kCells> square;  // the 5 x 5 square around, kNoCell off
};

constexpr Geometry MakeGeometry() {
  Geometry g{};
  for (Cell c = 0; c < kCells; ++c) {
    const Point p = PointOf(c);
    for (int d = 0; d < kDirections; ++d) {
      int key = 0;
      for (int slot = 0; slot < kSlots; ++slot) {
        const int row = p.row + OffsetOf(slot) * kRowStep[d];
        const int col = p.col + OffsetOf(slot) * kColStep[d];
        const bool on = OnBoard(row, col);
        g.neighbour[c][d][slot] = static_cast<std::int16_t>(on ? CellAt({row, col}) : kNoCell);
        if (!on) key += kBlocked * kPow3[slot];
      }
      g.emptyKey[c][d] = static_cast<LineKey>(key);
    }
    int k = 0;
    for (int row = p.row - 2; row <= p.row + 2; ++row) {
      for (int col = p.col - 2; col <= p.col + 2; ++col)
        g.square[c][k++] =
            static_cast<std::int16_t>(OnBoard(row, col) ? CellAt({row, col}) : kNoCell);
    }
  }
  return g;
}
constexpr Geometry kGeometry = MakeGeometry();

// Zobrist keys for each colour's stone on each cell, from a fixed splitmix64 sequence.
constexpr std::array<std::array<std::uint64_t, kCells>, 2> MakeZobrist() {
  std::array<std::array<std::uint64_t, kCells>, 2> keys{};
  std::uint64_t state = 0x5eed'1234'abcd'0001ULL;
  for (auto& colour : keys) {
    for (auto& key : colour) {
      std::uint64_t z = (state += 0x9e37'79b9'7f4a'7c15ULL);
      z = (z ^ (z >> 30)) * 0xbf58'476d'1ce4'e5b9ULL;
      z = (z ^ (z >> 27)) * 0x94d0'49bb'1331'11ebULL;
      key = z ^ (z >> 31);
    }
  }
  return keys;
}
constexpr auto kZobrist = MakeZobrist();
constexpr std::uint64_t kWhiteToMove = 0x2f1c'8d6a'93b5'0e47ULL;

}  // namespace

PatternBoard::PatternBoard(const Weights* weights) : tables_(&Tables()), weights_(weights) {
  for (int colour : {kBlack, kWhite}) {
    for (Cell c = 0; c < kCells; ++c) {
      view_[colour - 1][c].keys = kGeometry.emptyKey[c];
      Refresh(colour, c);
    }
  }
}

// Takes the empty cell c out of the colour's sets and sum, as its stone goes down.
void PatternBoard::Forget(int colour, Cell c) {
  View& v = view_[colour - 1][c];
  if (v.sets & kInFives) fives_[colour - 1].Remove(c);
  if (v.sets & kInFours) fours_[colour - 1].Remove(c);
  if (v.sets & kInThrees) threes_[colour - 1].Remove(c);
  for (const Role role : {kToMove, kWaiting}) {
    sums_[colour - 1][role] -= v.values[role];
    v.values[role] = 0;
  }
  v.sets = 0;
}

// Files the empty cell c under the class its patterns make, and updates the colour's sum.
void PatternBoard::Classify(int index, Cell c, View& v) {
  const PointClass point = tables_->point[index][PointIndex(v.patterns)];
  if (const std::uint8_t changed = v.sets ^ point.sets; changed != 0) {
    auto file = [&](CellSet& set, std::uint8_t bit) {
      if (changed & bit) (point.sets & bit) ? set.Add(c) : set.Remove(c);
    };
    file(fives_[index], kInFives);
    file(fours_[index], kInFours);
    file(threes_[index], kInThrees);
    v.sets = point.sets;
  }
  v.threat = point.threat;
  if (weights_ == nullptr) return;
  for (const Role role : {kToMove, kWaiting}) {
    const PointWeights& w = (*weights_)[role];
    int value = w.threat[static_cast<int>(v.threat)];
    for (const Pattern p : v.patterns)
      value += w.line[p];
    sums_[index][role] += value - v.values[role];
    v.values[role] = static_cast<std::int16_t>(value);
  }
}

// Works out the empty cell c's patterns and class for the colour from its keys.
void PatternBoard::Refresh(int colour, Cell c) {
  const int index = colour - 1;
  View& v = view_[index][c];
  for (int d = 0; d < kDirections; ++d)
    v.patterns[d] = tables_->line[index][v.keys[d]];
  Classify(index, c, v);
}

// The same after a change to the key of one line: nothing to do unless its pattern changed.
void PatternBoard::RefreshLine(int index, Cell c, int dir) {
  View& v = view_[index][c];
  const Pattern p = tables_->line[index][v.keys[dir]];
  if (p == v.patterns[dir]) return;
  v.patterns[dir] = p;
  Classify(index, c, v);
}

// Adds (sign +1) or takes away (sign -1) the colour's stone on c in every view that sees it, and
// refreshes the empty cells among them.
void PatternBoard::Place(Cell c, int colour, int sign) {
  const int own = sign * kOwn;
  const int blocked = sign * kBlocked;
  const int other = 3 - colour;
  for (int d = 0; d < kDirections; ++d) {
    const auto& line = kGeometry.neighbour[c][d];
    for (int slot = 0; slot < kSlots; ++slot) {
      const Cell q = line[slot];
      if (q == kNoCell) continue;
      // q sees c at the opposite offset: the mirrored slot.
      const int power = kPow3[kSlots - 1 - slot];
      LineKey& ownKey = view_[colour - 1][q].keys[d];
      LineKey& otherKey = view_[other - 1][q].keys[d];
      ownKey = static_cast<LineKey>(ownKey + own * power);
      otherKey = static_cast<LineKey>(otherKey + blocked * power);
      if (cells_[q] != 0) continue;
      RefreshLine(colour - 1, q, d);
      RefreshLine(other - 1, q, d);
    }
  }
  for (const Cell q : kGeometry.square[c]) {
    if (q != kNoCell) neighbours_[q] = static_cast<std::uint8_t>(neighbours_[q] + sign);
  }
}

void PatternBoard::AddStone(Cell c, int colour) {
  Forget(kBlack, c);
  Forget(kWhite, c);
  cells_[c] = static_cast<std::int8_t>(colour);
  const Point p = PointOf(c);
  stones_[p.row][p.col] = static_cast<BoardValue>(colour);
  hash_ ^= kZobrist[colour - 1][c];
  Place(c, colour, +1);
}

void PatternBoard::Play(Cell c) {
  AddStone(c, side_);
  moves_[moveCount_++] = c;
  SetSideToMove(Opponent(side_));
}

void PatternBoard::Put(Cell c, int colour) {
  AddStone(c, colour);
}

void PatternBoard::SetSideToMove(int colour) {
  if (colour != side_) hash_ ^= kWhiteToMove;
  side_ = colour;
}

void PatternBoard::Undo() {
  const Cell c = moves_[--moveCount_];
  const int colour = cells_[c];
  cells_[c] = 0;
  const Point p = PointOf(c);
  stones_[p.row][p.col] = kEmpty;
  hash_ ^= kZobrist[colour - 1][c];
  Place(c, colour, -1);
  Refresh(kBlack, c);
  Refresh(kWhite, c);
  SetSideToMove(colour);
}

bool PatternBoard::IsForbiddenForBlack(Cell c) const {
  switch (view_[0][c].threat) {
    case Threat::kForbidden:
      return true;
    case Threat::kDoubleThree:
      return IsForbidden(JudgeBlackMove(stones_, PointOf(c)));
    default:
      return false;
  }
}

bool PatternBoard::IsLegal(Cell c) const {
  return cells_[c] == 0 && (side_ == kWhite || !IsForbiddenForBlack(c));
}

Cell PatternBoard::FiveToBlock(bool& lost) const {
  const CellSet& fives = fives_[Opponent(side_) - 1];
  lost = false;
  if (fives.Empty()) return kNoCell;
  const Cell c = fives.First();
  lost = fives.Count() > 1 || !IsLegal(c);
  return c;
}

}  // namespace zel::ab
