#include "patterns/update.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "patterns/line_codes.h"
#include "patterns/segment.h"

namespace zel {
namespace {

// The cells of the line through a point in one direction, from the line's start.
struct Line {
  int startRow;
  int startCol;
  int length;
};

Line LineThrough(int row, int col, int dir) {
  switch (dir) {
    case 0:
      return {row, 0, kBoardSize};
    case 1:
      return {0, col, kBoardSize};
    case 2: {
      const int k = row - col;
      const int first = std::max(0, k);
      return {first, first - k, std::min(kBoardSize - 1, kBoardSize - 1 + k) - first + 1};
    }
    default: {
      const int s = row + col;
      const int first = std::max(0, s - (kBoardSize - 1));
      return {first, s - first, std::min(kBoardSize - 1, s) - first + 1};
    }
  }
}

// The points to re-examine after one update. Each of the eight line passes appends at most
// the 14 cells of its line other than the changed point, and a removal adds that point: the
// list can never hold more than this.
class RecheckList {
 public:
  void Append(int row, int col) {
    assert(size_ < static_cast<int>(points_.size()));
    points_[size_++] = {row, col};
  }
  const Point* begin() const { return points_.data(); }
  const Point* end() const { return points_.data() + size_; }

 private:
  std::array<Point, 1 + kDirections * 2 * (kBoardSize - 1)> points_;
  int size_ = 0;
};

// Re-evaluates one colour's codes along one line and records the points to re-examine.
void EvaluateLine(Position& pos, const Line& line, int dir, int colour, int row, int col,
                  RecheckList& recheck) {
  const int dr = kRowStep[dir];
  const int dc = kColStep[dir];
  const int opponent = Opponent(colour);
  PatternTable& table = pos.Table(colour);

  std::array<int, kBoardSize> values;   // board values along the line
  std::array<int, kBoardSize> codes{};  // the new codes; cells in no segment stay kBlocked
  for (int t = 0; t < line.length; ++t) {
    values[t] = pos.board[line.startRow + t * dr][line.startCol + t * dc];
  }

  std::array<int, kMaxSegment> stones;
  for (int start = 0; start < line.length;) {
    if (values[start] == opponent) {
      ++start;
      continue;
    }
    int end = start;
    while (end < line.length && values[end] != opponent)
      ++end;
    const int length = end - start;
    if (length >= 5) {
      for (int t = 0; t < length; ++t)
        stones[t] = values[start + t] == colour ? 1 : 0;
      EvaluateSegment(std::span(stones.data(), length), colour,
                      std::span(codes.data() + start, length));
    }
    start = end;
  }

  for (int t = 0; t < line.length; ++t) {
    const int r = line.startRow + t * dr;
    const int c = line.startCol + t * dc;
    PatternValue& slot = table[r][c][dir];
    if (!(r == row && c == col) && values[t] < 1) {
      const bool threat = IsThreat(codes[t]) || IsThreat(slot);
      if (threat || (colour == kBlack && values[t] < 0)) recheck.Append(r, c);
    }
    slot = static_cast<PatternValue>(codes[t]);
  }
}

// Rewrites Black's mark and both threat counts of an empty point from its codes.
void Reexamine(Position& pos, int r, int c) {
  int value = kEmpty;
  int fours = 0;
  int threes = 0;
  int blackThreats = 0;
  int whiteThreats = 0;
  for (int d = 0; d < kDirections; ++d) {
    const int b = pos.black[r][c][d];
    const int w = pos.white[r][c][d];
    if (b == kOverline) {
      value = kOverlineMark;
    } else if (b == kDoubleFourInLine) {
      value = kForbiddenMark;
    } else if (IsFourCode(b)) {
      ++fours;
    } else if (b == kOpenThree) {
      ++threes;
    }
    if (IsThreat(b)) ++blackThreats;
    if (IsThreat(w)) ++whiteThreats;
  }
  if (fours >= 2 || threes >= 2) value = kForbiddenMark;
  pos.board[r][c] = static_cast<BoardValue>(value);
  pos.black[r][c][kThreatCountSlot] = static_cast<PatternValue>(blackThreats + whiteThreats);
  pos.white[r][c][kThreatCountSlot] = static_cast<PatternValue>(whiteThreats);
}

}  // namespace

void UpdatePatterns(Position& pos, int row, int col, int stone) {
  assert(OnBoard(row, col));
  assert(stone == 0 || stone == kBlack || stone == kWhite);
  pos.board[row][col] = static_cast<BoardValue>(stone);

  RecheckList recheck;
  if (stone == 0) recheck.Append(row, col);

  for (int dir = 0; dir < kDirections; ++dir) {
    const Line line = LineThrough(row, col, dir);
    EvaluateLine(pos, line, dir, kBlack, row, col, recheck);
    EvaluateLine(pos, line, dir, kWhite, row, col, recheck);
  }

  for (const Point& p : recheck)
    Reexamine(pos, p.row, p.col);
}

}  // namespace zel
