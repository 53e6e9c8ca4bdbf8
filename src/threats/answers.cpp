#include "threats/answers.h"

#include <cassert>

#include "patterns/line_codes.h"

namespace zel {
namespace {

// What an off-board cell reads as: neither free nor a stone nor a mark, so that every test on
// it fails.
constexpr int kOffBoard = 3;
// The line code of an off-board cell: no code at all.
constexpr int kNoCode = -1;

// No skipped direction for AddThreeAnswers.
constexpr int kNoSkippedDir = 4;

// The line through the key point K in direction d, as seen by the attacker: P(k) is the cell
// K + k * step(d), b(k) its board value.
class LineView {
 public:
  LineView(const Position& pos, int row, int col, int dir, int colour)
      : pos_(pos),
        colour_(colour),
        row_(row),
        col_(col),
        dir_(dir),
        stone_(colour == kBlack ? kBlack : kWhite) {}

  Point P(int k) const { return {row_ + k * kRowStep[dir_], col_ + k * kColStep[dir_]}; }
  bool On(int k) const { return OnBoard(P(k)); }
  int B(int k) const { return On(k) ? pos_.board[P(k).row][P(k).col] : kOffBoard; }
  int Code(int k) const { return On(k) ? pos_.Code(colour_, P(k).row, P(k).col, dir_) : kNoCode; }
  bool Stone(int k) const { return B(k) == stone_; }
  // No stone on the cell: empty or marked.
  bool NoStone(int k) const { return B(k) < 1; }
  int stone() const { return stone_; }

 private:
  const Position& pos_;
  int colour_;
  int row_;
  int col_;
  int dir_;
  int stone_;
};

// Appends a point that lies on the board; a point off the board is never an answer. The
// generators append at most 12 points after the key point, so the list never fills; if it ever
// did, the point would be dropped (and a debug build would stop here).
void Add(AnswerList& list, int& count, Point p) {
  assert(count < kAnswerCapacity);
  if (OnBoard(p) && count < kAnswerCapacity) list[count++] = p;
}

// The first direction, in the order 0 to 3, in which the attacker's code at K is `code`.
int FirstDirectionWithCode(const Position& pos, int row, int col, int colour, int code) {
  const PatternEntry entry = pos.Entry(colour, row, col);
  for (int d = 0; d < kDirections; ++d) {
    if (entry[d] == code) return d;
  }
  return -1;
}

}  // namespace

int AnswersToStraightFour(AnswerList& list, int row, int col, int colour, const Position& pos) {
  int count = 1;
  // 1. The first direction of the straight four; a second one is not answered.
  const int dir = FirstDirectionWithCode(pos, row, col, colour, kStraightFour);
  if (dir < 0) return count;
  const LineView line(pos, row, col, dir, colour);
  const bool black = line.stone() == kBlack;
  // 2. A marked cell is free for a White attacker only.
  auto isFree = [&](int k) { return black ? line.B(k) == kEmpty : line.NoStone(k); };

  // 3. The case by the cell before K, then the cell after it.
  if (line.Stone(-1) && line.Stone(1)) {
    // A: the four runs through P(-1), K, P(+1); answer at its open ends.
    if (isFree(-3) && line.Stone(-2)) Add(list, count, line.P(-3));
    if (isFree(-2)) Add(list, count, line.P(-2));
    if (isFree(2)) Add(list, count, line.P(2));
    if (isFree(3) && line.Stone(2)) Add(list, count, line.P(3));
  } else if (line.Stone(-1)) {
    // B: the stones lie at P(-3) to P(-1).
    if (line.Code(-4) == kFour) Add(list, count, line.P(-4));
    if (black) {
      // The near end, when the three cannot become a straight four through P(-4) instead.
      if (line.B(-4) < 0) Add(list, count, line.P(1));
      if (!line.On(-5) || line.B(-5) == kWhite) Add(list, count, line.P(1));
    }
  } else {
    // C: case B seen from the other side.
    if (line.Code(4) == kFour) Add(list, count, line.P(4));
    if (black) {
      if (line.B(4) < 0) Add(list, count, line.P(-1));
      if (!line.On(5) || line.B(5) == kWhite) Add(list, count, line.P(-1));
    }
  }
  return count;
}

int AnswersToFourThree(AnswerList& list, int row, int col, int colour, const Position& pos) {
  // 1. The first direction of a four (a straight four is not one).
  const int dir = FirstDirectionWithCode(pos, row, col, colour, kFour);
  if (dir < 0) return 1;

  // 2. The partner point: the other empty point of the four, nearest first.
  int count = 1;
  const LineView line(pos, row, col, dir, colour);
  for (const int k : {-1, 1, -2, 2, -3, 3}) {
    if (line.Code(k) == kFour) {
      Add(list, count, line.P(k));
      break;
    }
  }

  // 3. The threes of the other directions.
  return AddThreeAnswers(list, row, col, colour, count, dir, pos);
}

int AnswersToThrees(AnswerList& list, int row, int col, int colour, const Position& pos) {
  return AddThreeAnswers(list, row, col, colour, 1, kNoSkippedDir, pos);
}

int AddThreeAnswers(AnswerList& list, int row, int col, int colour, int count, int skippedDir,
                    const Position& pos) {
  const PatternEntry entry = pos.Entry(colour, row, col);
  for (int d = 0; d < kDirections; ++d) {
    if (d == skippedDir || entry[d] != kOpenThree) continue;
    const LineView line(pos, row, col, d, colour);
    auto stone = [&](int k) { return line.Stone(k); };

    if (stone(-1) && stone(1)) {
      // A: three in a row P(-1) to P(+1), answered at both outer cells.
      Add(list, count, line.P(-2));
      Add(list, count, line.P(2));
    } else if (line.NoStone(-1) && line.NoStone(1)) {
      // B: the other two stones lie two and three cells away on one side; the cell beyond them
      // carries the open-three code too.
      Add(list, count, line.P(-1));
      Add(list, count, line.P(1));
      if (line.Code(-4) == kOpenThree) {
        Add(list, count, line.P(-4));
      } else if (line.Code(4) == kOpenThree) {
        Add(list, count, line.P(4));
      }
    } else if (stone(-1)) {
      // C: the stone before K and one more at distance 2 or 3.
      Add(list, count, line.P(1));
      if (stone(2)) {
        Add(list, count, line.P(-2));
        Add(list, count, line.P(3));
      } else if (stone(-2)) {
        Add(list, count, line.P(-3));
      } else if (stone(-3)) {
        Add(list, count, line.P(-2));
        Add(list, count, line.P(-4));
      }
    } else if (stone(1)) {
      // D: case C seen from the other side.
      Add(list, count, line.P(-1));
      if (stone(-2)) {
        Add(list, count, line.P(2));
        Add(list, count, line.P(-3));
      } else if (stone(2)) {
        Add(list, count, line.P(3));
      } else if (stone(3)) {
        Add(list, count, line.P(2));
        Add(list, count, line.P(4));
      }
    }
  }
  return count;
}

}  // namespace zel
