#include "patterns/update.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "patterns/line_codes.h"
#include "patterns/segment.h"
#include "support/positions.h"

namespace zel {
namespace {

using test::PlayMoves;

std::vector<int> RowCodes(const PatternTable& table, int row, int dir) {
  std::vector<int> codes;
  for (int c = 0; c < kBoardSize; ++c)
    codes.push_back(table[row][c][dir]);
  return codes;
}

TEST(UpdatePatterns, LoneStoneCodesItsRow) {
  const Position pos = PlayMoves({{7, 7}});
  EXPECT_EQ(RowCodes(pos.black, 7, 0),
            (std::vector<int>{1, 1, 1, 1, 3, 4, 4, 1, 4, 4, 3, 1, 1, 1, 1}));
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      EXPECT_EQ(pos.board[r][c], r == 7 && c == 7 ? kBlack : kEmpty);
      EXPECT_EQ(pos.black[r][c][kThreatCountSlot], 0);
    }
  }
}

TEST(UpdatePatterns, OpponentStoneCutsTheSegment) {
  const Position pos = PlayMoves({{7, 7}, {7, 8}});
  std::vector<int> black(kBoardSize, 1);
  black[8] = 0;
  EXPECT_EQ(RowCodes(pos.black, 7, 0), black);
  EXPECT_EQ(RowCodes(pos.white, 7, 0),
            (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 0, 1, 3, 3, 3, 1, 1, 1}));
}

TEST(UpdatePatterns, DoubleThreeMarkAndItsRemoval) {
  Position pos = PlayMoves({{7, 7}, {0, 0}, {7, 8}, {0, 2}, {8, 7}, {0, 4}, {9, 8}});
  EXPECT_EQ(pos.black[7][6][0], kOpenThree);
  EXPECT_EQ(pos.black[7][6][2], kOpenThree);
  EXPECT_EQ(pos.board[7][6], kForbiddenMark);
  EXPECT_EQ(pos.black[7][6][kThreatCountSlot], 2);
  EXPECT_EQ(pos.white[7][6][kThreatCountSlot], 0);

  UpdatePatterns(pos, 9, 8, 0);
  EXPECT_EQ(pos.board[9][8], kEmpty);
  EXPECT_EQ(pos.board[7][6], kEmpty);
  EXPECT_EQ(pos.black[7][6], (PatternEntry{7, 1, 4, 1, 1}));
}

// Black stones on row 7 at the given columns, White's moves on row 0.
Position BlackRow(std::initializer_list<int> columns) {
  Position pos;
  int whiteCol = 0;
  for (int c : columns) {
    UpdatePatterns(pos, 7, c, kBlack);
    UpdatePatterns(pos, 0, whiteCol, kWhite);
    whiteCol += 2;
  }
  return pos;
}

TEST(UpdatePatterns, OverlinePoint) {
  const Position pos = BlackRow({2, 3, 4, 5, 7});
  EXPECT_EQ(pos.black[7][6][0], kOverline);
  EXPECT_EQ(pos.board[7][6], kOverlineMark);
  EXPECT_EQ(pos.white[7][6][0], kBlocked);
}

TEST(UpdatePatterns, DoubleFourInLine) {
  const Position pos = BlackRow({4, 6, 8, 10});
  EXPECT_EQ(pos.black[7][7][0], kDoubleFourInLine);
  EXPECT_EQ(pos.board[7][7], kForbiddenMark);
  for (int c : {5, 9}) {
    EXPECT_EQ(pos.black[7][c][0], kFour);
    EXPECT_EQ(pos.board[7][c], kEmpty);
  }
}

TEST(UpdatePatterns, ShortDiagonalsAreBlocked) {
  // The diagonal through (0,11) and (3,14) has four cells.
  const Position pos = PlayMoves({{1, 12}});
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(pos.black[k][11 + k][2], kBlocked);
    EXPECT_EQ(pos.white[k][11 + k][2], kBlocked);
  }
}

TEST(UpdatePatterns, LaterDirectionDecidesBetweenOverlineAndDoubleFour) {
  // (7,7): double four in line along the row, overline along the diagonal.
  const Position pos = test::Diagram(R"(
    ...............
    ...............
    ...............
    ...X...........
    ....X..........
    .....X.........
    ......X........
    ....X.X.X.X....
    ........X......)");
  EXPECT_EQ(pos.black[7][7][0], kDoubleFourInLine);
  EXPECT_EQ(pos.black[7][7][2], kOverline);
  EXPECT_EQ(pos.board[7][7], kOverlineMark);
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
          pos.Table(colour)[r][c][d] = code;
        }
      }
    }
  }
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (pos.board[r][c] > 0) continue;
      int fours = 0, threes = 0, black = 0, white = 0, mark = kEmpty;
      for (int d = 0; d < kDirections; ++d) {
        const int b = pos.black[r][c][d];
        if (b == kOverline) mark = kOverlineMark;
        if (b == kDoubleFourInLine) mark = kForbiddenMark;
        fours += IsFourCode(b);
        threes += b == kOpenThree;
        black += IsThreat(b);
        white += IsThreat(pos.white[r][c][d]);
      }
      pos.board[r][c] = fours >= 2 || threes >= 2 ? kForbiddenMark : mark;
      pos.black[r][c][kThreatCountSlot] = black + white;
      pos.white[r][c][kThreatCountSlot] = white;
    }
  }
  return pos;
}

TEST(UpdatePatterns, IncrementalEqualsRecomputedInRandomGames) {
  std::mt19937 rng(20261206);
  for (int game = 0; game < 40; ++game) {
    const std::vector<Point> moves = RandomGame(rng, 20 + game * 5);
    const Position incremental = Replay(moves, moves.size());
    const Position reference = Recompute(incremental.board);
    for (int r = 0; r < kBoardSize; ++r) {
      for (int c = 0; c < kBoardSize; ++c) {
        ASSERT_EQ(incremental.board[r][c], reference.board[r][c]) << r << "," << c;
        if (incremental.board[r][c] > 0) continue;  // a stone's threat count is left as it was
        for (int slot = 0; slot < 5; ++slot) {
          // Lines no update has touched still read base where a fresh evaluation reads blocked.
          if (slot < 4 && OnShortDiagonal(r, c, slot)) continue;
          ASSERT_EQ(incremental.black[r][c][slot], reference.black[r][c][slot]) << r << "," << c;
          ASSERT_EQ(incremental.white[r][c][slot], reference.white[r][c][slot]) << r << "," << c;
        }
      }
    }
  }
}

TEST(UpdatePatterns, RemovalRestoresThePreviousPosition) {
  std::mt19937 rng(7);
  for (int game = 0; game < 30; ++game) {
    const std::vector<Point> moves = RandomGame(rng, 10 + game * 6);
    for (size_t count = 1; count <= moves.size(); count += 1 + count / 4) {
      const Position before = Replay(moves, count - 1);
      Position after = Replay(moves, count);
      const Point last = moves[count - 1];
      UpdatePatterns(after, last.row, last.col, 0);
      for (int r = 0; r < kBoardSize; ++r) {
        for (int c = 0; c < kBoardSize; ++c) {
          ASSERT_EQ(after.board[r][c], before.board[r][c]) << r << "," << c << " move " << count;
          for (int slot = 0; slot < 5; ++slot) {
            // A removal writes 0 on a short diagonal that a new game still reads as 1.
            if (slot < 4 && OnShortDiagonal(r, c, slot) && before.black[r][c][slot] == kBase) {
              continue;
            }
            ASSERT_EQ(after.black[r][c][slot], before.black[r][c][slot]) << r << "," << c;
            ASSERT_EQ(after.white[r][c][slot], before.white[r][c][slot]) << r << "," << c;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace zel
