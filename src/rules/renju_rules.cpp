#include "rules/renju_rules.h"

#include <bit>
#include <cassert>
#include <cstdint>

namespace zel {
namespace {

// The judge's own board: the 15 x 15 points inside a frame of walls five cells wide, so that a
// window of eleven cells around any point never leaves the array. For Black, a White stone and
// the edge of the board are alike: both only block.
constexpr int kFrame = 5;
constexpr int kStride = kBoardSize + 2 * kFrame;
constexpr int kCells = kStride * kStride;

enum Cell : std::uint8_t { kOpen, kBlackStone, kBlocked };

// Cell steps of the four line directions, in the order of kRowStep / kColStep.
constexpr std::array<int, kDirections> kStep{1, kStride, kStride + 1, kStride - 1};

constexpr int CellOf(int row, int col) {
  return (row + kFrame) * kStride + col + kFrame;
}

// A line seen from one point: the eleven cells from 5 before it to 5 after it, as bit masks.
// Bit i is the cell at offset i - 5; bit 5 is the point itself, which holds Black's stone.
constexpr int kCentre = 5;
constexpr unsigned kNear = 0x3DE;  // offsets -4..+4 without the point itself

struct Line {
  unsigned black = 0;
  unsigned open = 0;
};

// The run of Black stones through the point: its first and last bit.
struct Run {
  int lo;
  int hi;
  int Length() const { return hi - lo + 1; }
};

Run RunThroughCentre(unsigned black) {
  Run run{kCentre, kCentre};
  while (run.lo > 0 && (black >> (run.lo - 1) & 1u) != 0)
    --run.lo;
  while (run.hi < 10 && (black >> (run.hi + 1) & 1u) != 0)
    ++run.hi;
  return run;
}

// The points of the line where one more stone makes exactly five through the point.
unsigned FivePoints(const Line& line) {
  unsigned points = 0;
  for (unsigned candidates = line.open & kNear; candidates != 0; candidates &= candidates - 1) {
    const unsigned bit = candidates & (~candidates + 1);
    if (RunThroughCentre(line.black | bit).Length() == 5) points |= bit;
  }
  return points;
}

// How many fours the line holds through the point. Two five points exactly five apart belong to
// one open four (_XXXX_); any other two are two fours in the line (X_XXX_X, XX_XX_XX).
int FourCount(const Line& line) {
  const unsigned points = FivePoints(line);
  const int count = std::popcount(points);
  if (count == 2 && std::countr_zero(points) + 5 == 31 - std::countl_zero(points)) return 1;
  return count;
}

// The points of the line where one more stone makes a straight four through the point: four in
// a row, both ends open, and each end making exactly five (_XXXX_, no Black stone beyond).
unsigned StraightFourPoints(const Line& line) {
  unsigned points = 0;
  for (unsigned candidates = line.open & kNear; candidates != 0; candidates &= candidates - 1) {
    const unsigned bit = candidates & (~candidates + 1);
    const unsigned black = line.black | bit;
    const Run run = RunThroughCentre(black);
    const int at = std::countr_zero(bit);
    if (run.Length() != 4 || at < run.lo || at > run.hi) continue;
    const unsigned ends = (1u << (run.lo - 1)) | (1u << (run.hi + 1));
    const unsigned beyond = (1u << (run.lo - 2)) | (1u << (run.hi + 2));
    if ((line.open & ends) == ends && (black & beyond) == 0) points |= bit;
  }
  return points;
}

class Judge {
 public:
  explicit Judge(const Board& board) {
    cells_.fill(kBlocked);
    for (int row = 0; row < kBoardSize; ++row) {
      for (int col = 0; col < kBoardSize; ++col) {
        const int value = board[row][col];
        cells_[CellOf(row, col)] = value == kBlack   ? kBlackStone
                                   : value == kWhite ? kBlocked
                                                     : kOpen;
      }
    }
  }

  bool IsOpen(int cell) const { return cells_[cell] == kOpen; }

  // Black's stone on the open cell: placed, judged, taken back.
  Verdict Play(int cell) {
    cells_[cell] = kBlackStone;
    const Verdict verdict = Classify(cell);
    cells_[cell] = kOpen;
    return verdict;
  }

 private:
  Line Read(int cell, int step) const {
    Line line;
    int at = cell - kCentre * step;
    for (int i = 0; i < 11; ++i, at += step) {
      line.black |= static_cast<unsigned>(cells_[at] == kBlackStone) << i;
      line.open |= static_cast<unsigned>(cells_[at] == kOpen) << i;
    }
    return line;
  }

  Verdict Classify(int cell) {
    // Step 1. Read the four lines. A five or an overline needs four other stones near the point
    // in one line, and a double four or a double three two or more in each of two lines; a
    // point without either is legal at once.
    std::array<Line, kDirections> lines;
    int busyLines = 0;
    bool crowded = false;
    for (int d = 0; d < kDirections; ++d) {
      lines[d] = Read(cell, kStep[d]);
      const int near = std::popcount(lines[d].black & kNear);
      busyLines += near >= 2 ? 1 : 0;
      crowded = crowded || near >= 4;
    }
    if (!crowded && busyLines < 2) return Verdict::kLegal;

    // Step 2. A five wins whatever else the stone makes; otherwise six or more is an overline.
    bool overline = false;
    for (const Line& line : lines) {
      const int length = RunThroughCentre(line.black).Length();
      if (length == 5) return Verdict::kFive;
      overline = overline || length > 5;
    }
    if (overline) return Verdict::kOverline;

    // Step 3. Fours, two in one line included. A line with a four is not also a three.
    int fours = 0;
    std::array<unsigned, kDirections> threePoints{};
    int threeLines = 0;
    for (int d = 0; d < kDirections; ++d) {
      const int count = FourCount(lines[d]);
      fours += count;
      if (count == 0 && busyLines >= 2) {
        threePoints[d] = StraightFourPoints(lines[d]);
        threeLines += threePoints[d] != 0 ? 1 : 0;
      }
    }
    if (fours >= 2) return Verdict::kDoubleFour;
    if (threeLines < 2) return Verdict::kLegal;

    // Step 4. Threes. A three counts when one of its straight four points is a legal move with
    // this stone in place; the lines are tried until two count or too few are left.
    int threes = 0;
    for (int d = 0; d < kDirections && threes < 2 && threes + threeLines >= 2; ++d) {
      if (threePoints[d] == 0) continue;
      --threeLines;
      for (unsigned points = threePoints[d]; points != 0; points &= points - 1) {
        const int offset = std::countr_zero(points) - kCentre;
        if (!IsForbidden(Play(cell + offset * kStep[d]))) {
          ++threes;
          break;
        }
      }
    }
    return threes >= 2 ? Verdict::kDoubleThree : Verdict::kLegal;
  }

  std::array<std::uint8_t, kCells> cells_;
};

}  // namespace

std::string_view VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::kLegal:
      return "legal";
    case Verdict::kFive:
      return "five";
    case Verdict::kDoubleThree:
      return "double-three";
    case Verdict::kDoubleFour:
      return "double-four";
    case Verdict::kOverline:
      return "overline";
  }
  return "legal";
}

Verdict JudgeBlackMove(const Board& board, Point p) {
  assert(OnBoard(p) && board[p.row][p.col] != kBlack && board[p.row][p.col] != kWhite);
  Judge judge(board);
  return judge.Play(CellOf(p.row, p.col));
}

VerdictTable JudgeBoard(const Board& board) {
  VerdictTable table;
  Judge judge(board);
  for (int row = 0; row < kBoardSize; ++row) {
    for (int col = 0; col < kBoardSize; ++col) {
      const int cell = CellOf(row, col);
      table[row][col] = judge.IsOpen(cell) ? judge.Play(cell) : Verdict::kLegal;
    }
  }
  return table;
}

}  // namespace zel
