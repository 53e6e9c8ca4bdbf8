#include "patterns/reference_update.h"

#include <algorithm>
#include <vector>

#include "patterns/line_codes.h"
#include "patterns/segment.h"

namespace zel::test {

ReferencePosition::ReferencePosition() {
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      black[r][c] = {kBase, kBase, kBase, kBase, 0};
      white[r][c] = {kBase, kBase, kBase, kBase, 0};
    }
  }
}

namespace {

// The cells of the line through (row, col) in direction dir, from the line's start.
std::vector<Point> LineCells(int row, int col, int dir) {
  int r = row;
  int c = col;
  while (OnBoard(r - kRowStep[dir], c - kColStep[dir])) {
    r -= kRowStep[dir];
    c -= kColStep[dir];
  }
  std::vector<Point> cells;
  for (; OnBoard(r, c); r += kRowStep[dir], c += kColStep[dir])
    cells.push_back({r, c});
  return cells;
}

void EvaluateLine(ReferencePosition& pos, int dir, int colour, int row, int col,
                  std::vector<Point>& recheck) {
  const std::vector<Point> cells = LineCells(row, col, dir);
  const int length = static_cast<int>(cells.size());
  std::vector<int> values;
  for (const Point p : cells)
    values.push_back(pos.board[p.row][p.col]);
  std::vector<int> codes(cells.size(), kBlocked);
  for (int start = 0; start < length;) {
    if (values[start] == Opponent(colour)) {
      ++start;
      continue;
    }
    int end = start;
    while (end < length && values[end] != Opponent(colour))
      ++end;
    if (end - start >= 5) {
      std::vector<int> stones;
      for (int t = start; t < end; ++t)
        stones.push_back(values[t] == colour ? 1 : 0);
      std::vector<int> segment(stones.size());
      EvaluateSegment(stones, colour, segment);
      std::copy(segment.begin(), segment.end(), codes.begin() + start);
    }
    start = end;
  }
  for (int t = 0; t < length; ++t) {
    const Point p = cells[t];
    int& slot = pos.Of(colour)[p.row][p.col][dir];
    if (!(p.row == row && p.col == col) && values[t] < 1) {
      const bool threat = IsThreat(codes[t]) || IsThreat(slot);
      if (threat || (colour == kBlack && values[t] < 0)) recheck.push_back(p);
    }
    slot = codes[t];
  }
}

void Reexamine(ReferencePosition& pos, int r, int c) {
  int& value = pos.board[r][c];
  value = kEmpty;
  int fours = 0;
  int threes = 0;
  int blackThreats = 0;
  int whiteThreats = 0;
  for (int d = 0; d < kDirections; ++d) {
    const int b = pos.black[r][c][d];
    if (b == kOverline) {
      value = kOverlineMark;
    } else if (b == kDoubleFourInLine) {
      value = kForbiddenMark;
    } else if (IsFourCode(b)) {
      ++fours;
    } else if (b == kOpenThree) {
      ++threes;
    }
    blackThreats += IsThreat(b) ? 1 : 0;
    whiteThreats += IsThreat(pos.white[r][c][d]) ? 1 : 0;
  }
  if (fours >= 2 || threes >= 2) value = kForbiddenMark;
  pos.black[r][c][kThreatCountSlot] = blackThreats + whiteThreats;
  pos.white[r][c][kThreatCountSlot] = whiteThreats;
}

}  // namespace

void ReferenceUpdate(ReferencePosition& pos, int row, int col, int stone) {
  pos.board[row][col] = stone;
  std::vector<Point> recheck;
  if (stone == 0) recheck.push_back({row, col});
  for (int dir = 0; dir < kDirections; ++dir) {
    EvaluateLine(pos, dir, kBlack, row, col, recheck);
    EvaluateLine(pos, dir, kWhite, row, col, recheck);
  }
  for (const Point p : recheck)
    Reexamine(pos, p.row, p.col);
}

}  // namespace zel::test
