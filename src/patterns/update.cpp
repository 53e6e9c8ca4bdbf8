#include "patterns/update.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>

#include "patterns/line_codes.h"
#include "patterns/lines.h"
#include "patterns/segment.h"

namespace zel {
namespace {

// Each colour's stones along one line, bit t for cell t.
struct LineStones {
  unsigned black;
  unsigned white;
};

// Re-evaluates one colour's codes along one line; returns the cells to re-examine, bit t for
// cell t.
//
// Only the cells between the opponent's nearest stones on either side of the changed point can
// change: a segment's codes depend on its own cells alone, and every other segment of the line
// is what it was when an earlier update (the first one on this line saw the line whole)
// evaluated it.
//
// An empty point's mark and threat counts follow from its threat codes alone, so only a point
// whose code here changes to or from a threat needs re-examining: any other keeps all four
// codes, as no other line through the changed point passes through it.
unsigned EvaluateLine(Position& pos, const Line& line, const LineStones& stones, int colour) {
  const unsigned own = colour == kBlack ? stones.black : stones.white;
  const unsigned opponent = colour == kBlack ? stones.white : stones.black;
  const int at = line.at;
  const unsigned before = opponent & ((1U << at) - 1);
  const unsigned after = opponent & ~((2U << at) - 1);
  const int first = std::bit_width(before);
  const int last = after != 0 ? std::countr_zero(after) : line.length;

  // The new codes of cells first to last - 1; cells in no segment of five or more stay blocked.
  // A segment's block may reach past the line's end.
  std::array<PatternValue, kBoardSize + kSegmentBlock> codes;
  auto evaluate = [&](int start, int end) {
    const int length = end - start;
    if (length >= 5) {
      EvaluateSegmentMask(own >> start & ((1U << length) - 1), length, colour,
                          codes.data() + start);
    } else {
      std::fill(codes.data() + start, codes.data() + end, PatternValue{kBlocked});
    }
  };
  if ((opponent >> at & 1U) != 0) {
    evaluate(first, at);
    codes[at] = kBlocked;
    evaluate(at + 1, last);
  } else {
    evaluate(first, last);
  }

  // The line's fields in locals: the table's writes could otherwise change them for all the
  // compiler knows. Only a changed cell's row and column are worked out.
  PatternTable& table = pos.Table(colour);
  const unsigned occupied = stones.black | stones.white;
  const int dir = line.dir;
  const int startRow = line.startRow;
  const int startCol = line.startCol;
  const int dr = kRowStep[dir];
  const int dc = kColStep[dir];
  unsigned recheck = 0;
  for (int t = first; t < last; ++t) {
    const int r = startRow + t * dr;
    const int c = startCol + t * dc;
    PatternValue& slot = table[r][c][dir];
    const PatternValue code = codes[t];
    if (code == slot) continue;
    if (std::max(code, slot) > kThreatThreshold) recheck |= 1U << t;
    slot = code;
  }
  return recheck & ~occupied;
}

// Rewrites Black's mark and both colours' threat counts and masks of an empty point from its
// codes.
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
  const bool threatened = blackThreats + whiteThreats > 0;
  for (int d = 0; d < kDirections; ++d) {
    const LineSpot spot = kLineSpots[r][c][d];
    std::uint16_t& mask = pos.threatLines[d][spot.number];
    const auto bit = static_cast<std::uint16_t>(1U << spot.at);
    mask = static_cast<std::uint16_t>(threatened ? mask | bit : mask & ~bit);
  }
  pos.black[r][c][kThreatCountSlot] = static_cast<PatternValue>(blackThreats + whiteThreats);
  pos.white[r][c][kThreatCountSlot] = static_cast<PatternValue>(whiteThreats);
  pos.blackThreatMasks[r][c] = ThreatMaskOf(pos.black[r][c]);
  pos.whiteThreatMasks[r][c] = ThreatMaskOf(pos.white[r][c]);
}

}  // namespace

void UpdatePatterns(Position& pos, int row, int col, int stone) {
  assert(OnBoard(row, col));
  assert(stone == 0 || stone == kBlack || stone == kWhite);
  pos.board[row][col] = static_cast<BoardValue>(stone);
  // A stone's point lists no threats. (Its threat counts are left as they were: its codes say
  // it makes none.)
  if (stone != 0) pos.blackThreatMasks[row][col] = pos.whiteThreatMasks[row][col] = 0;

  for (int dir = 0; dir < kDirections; ++dir) {
    const Line line = LineAt(row, col, dir);
    std::uint16_t& black = pos.blackLines[dir][line.number];
    std::uint16_t& white = pos.whiteLines[dir][line.number];
    const auto bit = static_cast<std::uint16_t>(1U << line.at);
    black = static_cast<std::uint16_t>(stone == kBlack ? black | bit : black & ~bit);
    white = static_cast<std::uint16_t>(stone == kWhite ? white | bit : white & ~bit);
    const LineStones stones{black, white};
    // A cell of this line other than the changed point lies on no other line through that
    // point: its codes are final once both colours' are written, and it is re-examined once
    // whichever colour's code changed.
    const unsigned recheck =
        (EvaluateLine(pos, line, stones, kBlack) | EvaluateLine(pos, line, stones, kWhite)) &
        ~(1U << line.at);
    for (unsigned rest = recheck; rest != 0; rest &= rest - 1) {
      const int t = std::countr_zero(rest);
      Reexamine(pos, line.Row(t), line.Col(t));
    }
  }
  // The changed point lies on all four lines; a stone's point is not re-examined.
  if (stone == 0) Reexamine(pos, row, col);
}

}  // namespace zel
