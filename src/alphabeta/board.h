// The strong engine's board: stones placed and taken back in place (no copy per node), with
// every empty point's line patterns and threat class for both colours kept up to date, sets of
// the points that make fives, fours and open threes, each colour's evaluation sum, and a
// Zobrist hash.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "alphabeta/line_patterns.h"
#include "patterns/board.h"

namespace zel::ab {

// A point as one number, row * 15 + column.
using Cell = int;
inline constexpr int kCells = kBoardSize * kBoardSize;
inline constexpr Cell kNoCell = -1;
constexpr Cell CellAt(Point p) {
  return p.row * kBoardSize + p.col;
}
constexpr Point PointOf(Cell c) {
  return {c / kBoardSize, c % kBoardSize};
}

// A set of cells, a bit each, visited in increasing order.
class CellSet {
 public:
  void Add(Cell c) { words_[c >> 6] |= std::uint64_t{1} << (c & 63); }
  void Remove(Cell c) { words_[c >> 6] &= ~(std::uint64_t{1} << (c & 63)); }
  bool Has(Cell c) const { return (words_[c >> 6] >> (c & 63) & 1) != 0; }
  bool Empty() const { return (words_[0] | words_[1] | words_[2] | words_[3]) == 0; }
  int Count() const {
    return std::popcount(words_[0]) + std::popcount(words_[1]) + std::popcount(words_[2]) +
           std::popcount(words_[3]);
  }
  Cell First() const {
    for (int w = 0; w < 4; ++w) {
      if (words_[w] != 0) return w * 64 + std::countr_zero(words_[w]);
    }
    return kNoCell;
  }
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (int w = 0; w < 4; ++w) {
      for (std::uint64_t bits = words_[w]; bits != 0; bits &= bits - 1)
        visit(w * 64 + std::countr_zero(bits));
    }
  }

 private:
  std::array<std::uint64_t, 4> words_{};
};

// What the evaluation adds up for each empty point and colour: a value per line pattern and one
// per threat class, one set for the side to move and one for the other side. The board keeps
// each colour's sums over the empty points.
struct PointWeights {
  std::array<std::int16_t, kPatterns> line{};
  std::array<std::int16_t, kThreatClasses> threat{};
};
enum Role { kToMove, kWaiting };
using Weights = std::array<PointWeights, 2>;  // by Role

class PatternBoard {
 public:
  // An empty board; `weights` must outlive it.
  explicit PatternBoard(const Weights* weights = nullptr);

  // Places the side to move's stone on the empty cell c, and takes the last stone back.
  void Play(Cell c);
  void Undo();

  // Sets up a position: a stone of either colour on the empty cell c, which Undo does not take
  // back, and the side to move (Black on an empty board, then each colour in turn).
  void Put(Cell c, int colour);
  void SetSideToMove(int colour);

  int SideToMove() const { return side_; }
  int MoveCount() const { return moveCount_; }
  Cell LastMove() const { return moveCount_ > 0 ? moves_[moveCount_ - 1] : kNoCell; }
  Cell Move(int index) const { return moves_[index]; }
  int Stone(Cell c) const { return cells_[c]; }
  bool Empty(Cell c) const { return cells_[c] == 0; }

  // The stones as the rules judge reads them.
  const zel::Board& Stones() const { return stones_; }

  Pattern LineAt(int colour, Cell c, int dir) const { return view_[colour - 1][c].patterns[dir]; }
  Threat ThreatAt(int colour, Cell c) const { return view_[colour - 1][c].threat; }

  // The empty points where the colour makes a five; a four (any line's kFour or kOpenFour, for
  // Black also on points the judge may forbid); an open three.
  const CellSet& Fives(int colour) const { return fives_[colour - 1]; }
  const CellSet& Fours(int colour) const { return fours_[colour - 1]; }
  const CellSet& Threes(int colour) const { return threes_[colour - 1]; }

  // Whether the side to move may play on the empty cell c: always for White; for Black unless
  // the exact rules forbid it (the judge runs only where the patterns show two open threes).
  bool IsLegal(Cell c) const;
  // Whether Black's stone on the empty cell c is forbidden by the exact rules.
  bool IsForbiddenForBlack(Cell c) const;

  // The opponent's five point that the side to move must take, or kNoCell; `lost` when it
  // cannot (two five points, or one forbidden to Black).
  Cell FiveToBlock(bool& lost) const;

  // The stones' Zobrist hash, and the side to move's.
  std::uint64_t Hash() const { return hash_; }

  // What the empty cell c is worth to the colour in one role (0 without weights).
  int Value(int colour, Cell c, Role role) const { return view_[colour - 1][c].values[role]; }
  // The colour's sum of one role's weights over the empty points (0 without weights).
  int WeightSum(int colour, Role role) const { return sums_[colour - 1][role]; }

  // The number of stones within two cells (a 5 x 5 square) of the empty cell c.
  int Neighbours(Cell c) const { return neighbours_[c]; }

 private:
  struct View {
    std::array<LineKey, 4> keys;
    std::array<Pattern, 4> patterns;
    Threat threat;
    std::uint8_t sets;                   // kInFives, kInFours, kInThrees
    std::array<std::int16_t, 2> values;  // by Role
  };

  void Place(Cell c, int colour, int sign);
  void AddStone(Cell c, int colour);
  void Refresh(int colour, Cell c);
  void RefreshLine(int index, Cell c, int dir);
  void Classify(int index, Cell c, View& v);
  void Forget(int colour, Cell c);

  const PatternTables* tables_;
  const Weights* weights_;
  std::array<std::int8_t, kCells> cells_{};
  zel::Board stones_{};
  std::array<std::array<View, kCells>, 2> view_{};
  std::array<CellSet, 2> fives_{}, fours_{}, threes_{};
  std::array<std::array<int, 2>, 2> sums_{};  // [colour - 1][role]
  std::array<std::uint8_t, kCells> neighbours_{};
  std::array<Cell, kCells + 1> moves_{};
  int moveCount_ = 0;
  int side_ = kBlack;
  std::uint64_t hash_ = 0;
};

}  // namespace zel::ab
