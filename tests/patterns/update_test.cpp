#include "patterns/update.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "patterns/line_codes.h"
#include "patterns/lines.h"
#include "patterns/reference_update.h"
#include "patterns/segment.h"
#include "support/positions.h"

namespace zel {
namespace {

using test::Rif;

Position Play(const char* moves) {
  Position pos;
  int colour = kBlack;
  for (Point p : Rif(moves)) {
    UpdatePatterns(pos, p.row, p.col, colour);
    colour = Opponent(colour);
  }
  return pos;
}

// One colour's codes along row 7, one character a cell.
std::string Row7(const Position& pos, int colour) {
  std::string codes;
  for (int c = 0; c < kBoardSize; ++c)
    codes += "0123456789ABC"[pos.Code(colour, 7, c, 0)];
  return codes;
}

TEST(UpdatePatterns, RowCodesAroundStones) {
  // A lone stone gives singles and open twos; an opponent stone next to it ends its segment,
  // and a lone stone in the last cell of its segment gives no singles.
  EXPECT_EQ(Row7(Play("h8"), kBlack), "111134414431111");
  EXPECT_EQ(Row7(Play("h8 i8"), kBlack), "111111110111111");
  EXPECT_EQ(Row7(Play("h8 i8"), kWhite), "111111101333111");
}

struct MarkCase {
  const char* name;
  const char* moves;  // Black first, alternating
  Point point;
  int dir;
  int code;   // Black's code at the point in that direction
  int board;  // the point's board value
};

const MarkCase kMarkCases[] = {
    {"double three", "h8 a15 i8 c15 h7 e15 i6", {7, 6}, 2, kOpenThree, kForbiddenMark},
    {"overline", "c8 a15 d8 c15 e8 e15 f8 g15 h8 i15", {7, 6}, 0, kOverline, kOverlineMark},
    {"double four in line",
     "e8 a15 g8 c15 i8 e15 k8 g15",
     {7, 7},
     0,
     kDoubleFourInLine,
     kForbiddenMark},
    {"a four beside it", "e8 a15 g8 c15 i8 e15 k8 g15", {7, 5}, 0, kFour, kEmpty},
    // Double four in line along the row, then an overline along the diagonal: the later
    // direction decides the mark.
    {"later direction",
     "d12 a1 e11 c1 f10 e1 g9 g1 i7 i1 e8 k1 g8 m1 i8 o1 k8",
     {7, 7},
     2,
     kOverline,
     kOverlineMark},
    // The diagonal through (0,11) and (3,14) has four cells: no five can pass through it.
    {"short diagonal", "m14", {0, 11}, 2, kBlocked, kEmpty},
};

TEST(UpdatePatterns, MarksAndCodes) {
  for (const MarkCase& c : kMarkCases) {
    SCOPED_TRACE(c.name);
    const Position pos = Play(c.moves);
    EXPECT_EQ(pos.Code(kBlack, c.point.row, c.point.col, c.dir), c.code);
    EXPECT_EQ(pos.board[c.point.row][c.point.col], c.board);
  }
}

TEST(UpdatePatterns, TakingAStoneBackClearsItsMark) {
  Position pos = Play("h8 a15 i8 c15 h7 e15 i6");
  EXPECT_EQ(pos.Entry(kBlack, 7, 6), (PatternEntry{7, 1, 7, 1, 2}));
  EXPECT_EQ(pos.whiteCounts[7][6], 0);
  UpdatePatterns(pos, 9, 8, 0);
  EXPECT_EQ(pos.board[9][8], kEmpty);
  EXPECT_EQ(pos.board[7][6], kEmpty);
  EXPECT_EQ(pos.Entry(kBlack, 7, 6), (PatternEntry{7, 1, 4, 1, 1}));
}

// A random game of `length` moves, each on a random empty point (Black may play marked points
// too: the pattern engine does not refuse them).
std::vector<Point> RandomGame(std::mt19937& rng, int length) {
  std::vector<Point> moves;
  Position pos;
  std::uniform_int_distribution<int> coord(0, kBoardSize - 1);
  while (static_cast<int>(moves.size()) < length) {
    const Point p{coord(rng), coord(rng)};
    if (pos.board[p.row][p.col] > 0) continue;
    UpdatePatterns(pos, p.row, p.col, moves.size() % 2 == 0 ? kBlack : kWhite);
    moves.push_back(p);
  }
  return moves;
}

Position Replay(const std::vector<Point>& moves, size_t count) {
  Position pos;
  for (size_t k = 0; k < count; ++k) {
    UpdatePatterns(pos, moves[k].row, moves[k].col, k % 2 == 0 ? kBlack : kWhite);
  }
  return pos;
}

// Diagonals of fewer than five cells through (r, c) in direction d.
bool OnShortDiagonal(int r, int c, int d) {
  if (d == 2) return std::abs(r - c) > kBoardSize - 5;
  if (d == 3) return r + c < 4 || r + c > 2 * (kBoardSize - 1) - 4;
  return false;
}

// The codes, marks and threat counts of a position computed from its stones alone: every line
// cut into segments and evaluated, every empty point classified.
Position Recompute(const Board& stones) {
  Position pos;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c)
      pos.board[r][c] = stones[r][c] > 0 ? stones[r][c] : 0;
  }
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      for (int d = 0; d < kDirections; ++d) {
        for (int colour : {kBlack, kWhite}) {
          // Walk back to the segment's first cell, then forward to its end.
          auto inSegment = [&](int rr, int cc) {
            return OnBoard(rr, cc) && pos.board[rr][cc] != Opponent(colour);
          };
          int code = kBlocked;
          if (pos.board[r][c] != Opponent(colour)) {
            int back = 0;
            while (inSegment(r - (back + 1) * kRowStep[d], c - (back + 1) * kColStep[d]))
              ++back;
            std::vector<int> cells;
            for (int k = -back; inSegment(r + k * kRowStep[d], c + k * kColStep[d]); ++k) {
              cells.push_back(pos.board[r + k * kRowStep[d]][c + k * kColStep[d]] == colour);
            }
            std::vector<int> codes(cells.size());
            if (EvaluateSegment(cells, colour, codes) == 0) code = codes[back];
          }
          pos.SetCode(colour, r, c, d, code);
        }
      }
    }
  }
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (pos.board[r][c] > 0) continue;
      int fours = 0, threes = 0, black = 0, white = 0, mark = kEmpty;
      for (int d = 0; d < kDirections; ++d) {
        const int b = pos.Code(kBlack, r, c, d);
        if (b == kOverline) mark = kOverlineMark;
        if (b == kDoubleFourInLine) mark = kForbiddenMark;
        fours += IsFourCode(b);
        threes += b == kOpenThree;
        black += IsThreat(b);
        white += IsThreat(pos.Code(kWhite, r, c, d));
      }
      pos.board[r][c] = static_cast<BoardValue>(fours >= 2 || threes >= 2 ? kForbiddenMark : mark);
      pos.blackCounts[r][c] = static_cast<PatternValue>(black + white);
      pos.whiteCounts[r][c] = static_cast<PatternValue>(white);
    }
  }
  return pos;
}

// Whether two positions agree on every board value and table slot that `skip` does not exempt.
template <typename Skip>
::testing::AssertionResult Agree(const Position& a, const Position& b, Skip skip) {
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (a.board[r][c] != b.board[r][c]) return ::testing::AssertionFailure() << r << "," << c;
      for (int slot = 0; slot < 5; ++slot) {
        if (skip(r, c, slot)) continue;
        if (a.Entry(kBlack, r, c)[slot] != b.Entry(kBlack, r, c)[slot] ||
            a.Entry(kWhite, r, c)[slot] != b.Entry(kWhite, r, c)[slot]) {
          return ::testing::AssertionFailure() << r << "," << c << " slot " << slot;
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// In random games, the incremental tables equal those computed from the stones alone, and
// taking the last stone off restores the position before it.
TEST(UpdatePatterns, RandomGamesAgreeWithRecomputeAndUndo) {
  std::mt19937 rng(20261206);
  for (int game = 0; game < 40; ++game) {
    const std::vector<Point> moves = RandomGame(rng, 20 + game * 5);
    for (size_t count = 1; count <= moves.size(); count += 1 + count / 3) {
      const Position before = Replay(moves, count - 1);
      Position after = Replay(moves, count);
      // A stone's threat count is left as it was; lines no update has touched still read base
      // where a fresh evaluation reads blocked.
      EXPECT_TRUE(Agree(after, Recompute(after.board),
                        [&](int r, int c, int slot) {
                          return slot < 4 ? OnShortDiagonal(r, c, slot) : after.board[r][c] > 0;
                        }))
          << "game " << game << " move " << count;
      const Point last = moves[count - 1];
      UpdatePatterns(after, last.row, last.col, 0);
      // A removal writes 0 on a short diagonal that a new game still reads as 1.
      EXPECT_TRUE(Agree(after, before,
                        [&](int r, int c, int slot) {
                          return slot < 4 && OnShortDiagonal(r, c, slot) &&
                                 before.Code(kBlack, r, c, slot) == kBase;
                        }))
          << "game " << game << " move " << count;
    }
  }
}

// Whether the position holds exactly the reference's board values, codes and threat counts,
// the stale counts of stones' points and the short diagonals' codes included, and line and
// threat masks that agree with them.
::testing::AssertionResult SameAsReference(const Position& pos,
                                           const test::ReferencePosition& ref) {
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (pos.board[r][c] != ref.board[r][c]) {
        return ::testing::AssertionFailure() << "board at " << r << "," << c;
      }
      for (int slot = 0; slot < 5; ++slot) {
        if (pos.Entry(kBlack, r, c)[slot] != ref.black[r][c][slot] ||
            pos.Entry(kWhite, r, c)[slot] != ref.white[r][c][slot]) {
          return ::testing::AssertionFailure() << r << "," << c << " slot " << slot;
        }
      }
    }
  }
  // The threat masks: at an empty point, the directions of each colour's threes, fours,
  // straight fours and fives; none at a stone.
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      for (const int colour : {kBlack, kWhite}) {
        unsigned expected = 0;
        for (int d = 0; d < kDirections && ref.board[r][c] <= 0; ++d) {
          const int code = (colour == kBlack ? ref.black : ref.white)[r][c][d];
          if (code == kOpenThree) expected |= 1U << d;
          if (code == kFour) expected |= 1U << (4 + d);
          if (code == kStraightFour) expected |= 1U << (8 + d);
          if (code == kFive) expected |= 1U << (12 + d);
        }
        if (pos.ThreatMasks(colour)[r][c] != expected) {
          return ::testing::AssertionFailure()
                 << "threat mask of " << colour << " at " << r << "," << c;
        }
      }
    }
  }
  // The line masks: each colour's stones, and the points whose Black threat count is above 0.
  for (int dir = 0; dir < kDirections; ++dir) {
    for (int r = 0; r < kBoardSize; ++r) {
      for (int c = 0; c < kBoardSize; ++c) {
        const LinePlace place = PlaceOnLine(r, c, dir);
        auto has = [&](const LineMasks& masks) {
          return (masks[dir][place.number] >> place.at & 1) != 0;
        };
        if (has(pos.blackLines) != (ref.board[r][c] == kBlack) ||
            has(pos.whiteLines) != (ref.board[r][c] == kWhite) ||
            has(pos.threatLines) != (ref.black[r][c][kThreatCountSlot] > 0)) {
          return ::testing::AssertionFailure()
                 << "line masks at " << r << "," << c << " dir " << dir;
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// Random placements, on empty and marked points, and removals of any stone, dense and sparse
// boards alike, and boards of mostly one colour (long runs of stones, overlines): after every
// update the position equals the one the whole-line reference update keeps.
TEST(UpdatePatterns, RandomPlacementsAndRemovalsMatchTheReference) {
  // Every segment's codes kept first, as after a long search: the update must read only its own
  // segment's codes however full the memory around them is.
  for (int length = 5; length <= kMaxSegment; ++length) {
    for (unsigned stones = 0; stones < 1U << length; ++stones) {
      SegmentBlock(stones, length, kBlack);
      SegmentBlock(stones, length, kWhite);
    }
  }
  std::mt19937 rng(31415);
  std::uniform_int_distribution<int> coord(0, kBoardSize - 1);
  for (int run = 0; run < 60; ++run) {
    Position pos;
    test::ReferencePosition ref;
    std::vector<Point> stones;
    // Later runs fill more of the board before they start taking stones away; a third of the
    // runs place mostly Black stones, a third mostly White ones.
    const int target = 10 + run * 3;
    const unsigned blackPercent = std::array<unsigned, 3>{50, 90, 10}[run % 3];
    for (int step = 0; step < 400; ++step) {
      const bool remove =
          !stones.empty() &&
          (static_cast<int>(stones.size()) >= target ? rng() % 2 == 0 : rng() % 5 == 0);
      if (remove) {
        const size_t k = rng() % stones.size();
        const Point p = stones[k];
        stones.erase(stones.begin() + static_cast<std::ptrdiff_t>(k));
        UpdatePatterns(pos, p.row, p.col, 0);
        test::ReferenceUpdate(ref, p.row, p.col, 0);
      } else {
        const Point p{coord(rng), coord(rng)};
        if (pos.board[p.row][p.col] > 0) continue;
        const int colour = rng() % 100 < blackPercent ? kBlack : kWhite;
        stones.push_back(p);
        UpdatePatterns(pos, p.row, p.col, colour);
        test::ReferenceUpdate(ref, p.row, p.col, colour);
      }
      ASSERT_TRUE(SameAsReference(pos, ref)) << "run " << run << " step " << step;
    }
  }
}

}  // namespace
}  // namespace zel
