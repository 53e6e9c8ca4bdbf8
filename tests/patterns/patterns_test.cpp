// The pattern engine: segment codes, the update held to a whole-line reference, the threat scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <set>
#include <span>
#include <vector>

#include "patterns/line_codes.h"
#include "patterns/lines.h"
#include "patterns/near_points.h"
#include "patterns/segment.h"
#include "patterns/threat_inventory.h"
#include "patterns/update.h"
#include "support/positions.h"

namespace zel {
namespace {

using test::Points;
using test::Scan;
using test::Stones;

// Every segment of 5 to 15 cells, every arrangement of own stones in it, both colours: threat
// cells counted, every code folded into an FNV-1a hash. Any change to any segment's codes
// changes the pair.
TEST(EvaluateSegment, Signature) {
  std::uint64_t hash = 14695981039346656037ULL;
  std::int64_t threats = 0;
  std::vector<int> stones;
  std::vector<int> codes;
  for (const int colour : {kBlack, kWhite}) {
    for (int length = 5; length <= kMaxSegment; ++length) {
      stones.assign(static_cast<size_t>(length), 0);
      codes.assign(static_cast<size_t>(length), 0);
      for (unsigned mask = 0; mask < 1U << length; ++mask) {
        for (int k = 0; k < length; ++k)
          stones[static_cast<size_t>(k)] = static_cast<int>(mask >> k & 1U);
        ASSERT_EQ(EvaluateSegment(stones, colour, codes), 0);
        for (const int code : codes) {
          threats += code > 6 ? 1 : 0;
          hash = (hash ^ static_cast<std::uint64_t>(code)) * 1099511628211ULL;
        }
      }
    }
  }
  EXPECT_EQ(threats, 563687);
  EXPECT_EQ(hash, 10509560011356003155ULL);
}

// The pattern update as first written, on plain ints: a change evaluates each whole line
// through the point for both colours, then re-examines the emptied point and every point of
// those lines that was or became a threat (and, for Black, every marked one).
struct Reference {
  using Entry = std::array<int, 5>;  // four directions' codes, then the threat count
  int board[kBoardSize][kBoardSize] = {};
  Entry codes[3][kBoardSize][kBoardSize];  // by colour

  Reference() { std::fill_n(&codes[0][0][0], 3 * kBoardSize * kBoardSize, Entry{1, 1, 1, 1, 0}); }
  int& At(Point p) { return board[p.row][p.col]; }

  void Update(int row, int col, int stone) {
    board[row][col] = stone;
    std::vector<Point> recheck;
    if (stone == 0) recheck.push_back({row, col});
    for (int dir = 0; dir < kDirections; ++dir) {
      for (const int colour : {kBlack, kWhite})
        EvaluateLine(dir, colour, {row, col}, recheck);
    }
    for (const Point p : recheck)
      Reexamine(p.row, p.col);
  }

  void EvaluateLine(int dir, int colour, Point changed, std::vector<Point>& recheck) {
    std::vector<Point> cells;  // the line from its start
    for (int k = -kBoardSize; k < kBoardSize; ++k) {
      const Point p{changed.row + k * kRowStep[dir], changed.col + k * kColStep[dir]};
      if (OnBoard(p)) cells.push_back(p);
    }
    // Segments run between opponent stones; one under five cells stays blocked.
    std::vector<int> line(cells.size(), kBlocked);
    std::vector<int> stones;
    for (size_t t = 0; t <= cells.size(); ++t) {
      if (t < cells.size() && At(cells[t]) != Opponent(colour)) {
        stones.push_back(At(cells[t]) == colour ? 1 : 0);
        continue;
      }
      EvaluateSegment(stones, colour, std::span<int>(line).subspan(t - stones.size()));
      stones.clear();
    }
    for (size_t t = 0; t < cells.size(); ++t) {
      int& slot = codes[colour][cells[t].row][cells[t].col][dir];
      if (cells[t] != changed && At(cells[t]) < 1 &&
          (IsThreat(line[t]) || IsThreat(slot) || (colour == kBlack && At(cells[t]) < 0)))
        recheck.push_back(cells[t]);
      slot = line[t];
    }
  }

  void Reexamine(int r, int c) {
    int fours = 0, threes = 0, black = 0, white = 0, mark = kEmpty;
    for (int d = 0; d < kDirections; ++d) {
      const int b = codes[kBlack][r][c][d];
      if (b == kOverline) mark = kOverlineMark;
      if (b == kDoubleFourInLine) mark = kForbiddenMark;
      fours += IsFourCode(b) ? 1 : 0;
      threes += b == kOpenThree ? 1 : 0;
      black += IsThreat(b) ? 1 : 0;
      white += IsThreat(codes[kWhite][r][c][d]) ? 1 : 0;
    }
    board[r][c] = fours >= 2 || threes >= 2 ? kForbiddenMark : mark;
    codes[kBlack][r][c][kThreatCountSlot] = black + white;
    codes[kWhite][r][c][kThreatCountSlot] = white;
  }
};

// Whether the position holds the reference's board values, codes and threat counts (stale ones
// included), and the threat and line masks that follow from them.
::testing::AssertionResult SameAsReference(const Position& pos, const Reference& ref) {
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      const int value = ref.board[r][c];
      if (pos.board[r][c] != value)
        return ::testing::AssertionFailure() << "board " << r << "," << c;
      for (const int colour : {kBlack, kWhite}) {
        const Reference::Entry& codes = ref.codes[colour][r][c];
        unsigned mask = 0;  // an empty point's codes 7 to 10 (three to five), in groups 0 to 12
        for (int d = 0; d < kDirections && value < 1; ++d) {
          if (codes[d] >= kOpenThree && codes[d] <= kFive) mask |= 1U << ((codes[d] - 7) * 4 + d);
        }
        const PatternEntry entry = pos.Entry(colour, r, c);
        if (!std::equal(codes.begin(), codes.end(), entry.begin()) ||
            pos.ThreatMasks(colour)[r][c] != mask) {
          return ::testing::AssertionFailure() << "colour " << colour << " at " << r << "," << c;
        }
      }
      for (int dir = 0; dir < kDirections; ++dir) {
        const LinePlace place = PlaceOnLine(r, c, dir);
        auto has = [&](const LineMasks& masks) { return masks[dir][place.number] >> place.at & 1; };
        if (has(pos.blackLines) != (value == kBlack) || has(pos.whiteLines) != (value == kWhite) ||
            has(pos.threatLines) != (ref.codes[kBlack][r][c][kThreatCountSlot] > 0)) {
          return ::testing::AssertionFailure() << "line masks at " << r << "," << c;
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// Placements on empty and marked points and removals, on sparse, dense and mostly one-colour
// boards (long runs, overlines): after every update the position equals the reference's.
TEST(UpdatePatterns, RandomPlacementsAndRemovalsMatchTheReference) {
  // Every segment's codes kept first, as after a long search: the update must read only its own
  // segment's codes however full the memory around them is.
  for (const int colour : {kBlack, kWhite}) {
    for (int length = 5; length <= kMaxSegment; ++length) {
      for (unsigned stones = 0; stones < 1U << length; ++stones)
        SegmentBlock(stones, length, colour);
    }
  }
  std::mt19937 rng(31415);
  for (int run = 0; run < 60; ++run) {
    Position pos;
    Reference ref;
    // A stone met is taken away, seldom while the board holds fewer than the run's target: later
    // runs fill more of it. A third of the runs place mostly Black stones, a third mostly White.
    const int target = 10 + run * 3;
    const unsigned blackPercent = std::array<unsigned, 3>{50, 90, 10}[run % 3];
    for (int step = 0, stones = 0; step < 400; ++step) {
      const Point p{static_cast<int>(rng() % kBoardSize), static_cast<int>(rng() % kBoardSize)};
      int stone = rng() % 100 < blackPercent ? kBlack : kWhite;
      if (pos.board[p.row][p.col] > 0) {
        if (stones < target && rng() % 4 != 0) continue;
        stone = 0;
      }
      stones += stone == 0 ? -1 : 1;
      UpdatePatterns(pos, p.row, p.col, stone);
      ref.Update(p.row, p.col, stone);
      ASSERT_TRUE(SameAsReference(pos, ref)) << "run " << run << " step " << step;
    }
  }
}

TEST(ScanThreats, EntriesOfOnePoint) {
  // Black's stones, White's, a point and its entries.
  const char* const cases[][4] = {
      // A four in the row (closed at (7,3)) and the column's three K . X X: (7,7) leaves the
      // four and three lists, other points stay; with the row open it stays a straight four.
      {"7,4 7,5 7,6 9,7 10,7", "7,3", "7,7", "b43"},
      {"7,4 7,5 7,6 9,7 10,7", "7,3", "7,8", "b4/0"},
      {"7,4 7,5 7,6 9,7 10,7", "0,0", "7,7", "bS4/0 b43"},
      // A five on a point marked for the threes in the column and the diagonal; nothing else.
      {"7,3 7,4 7,5 7,6 9,7 10,7 9,9 10,10", "", "7,7", "b5/0"},
      {"7,2 11,7", "7,3 7,4 7,5 8,7 9,7 10,7", "7,7", "wC4"},  // four-four
      {"0,0", "7,4 7,5 7,6 9,7 10,7", "7,7", "wS4/0 wC4"},     // straight four and three
      // Threes in the row and column, a four on the diagonal: a combination, not a double three.
      {"11,11", "7,5 7,6 9,7 10,7 8,8 9,9 10,10", "7,7", "wC4"},
      {"0,0", "7,5 7,6 5,7 6,7", "7,7", "w33"},
      {"0,0", "7,5 7,6", "7,7", "w3/0"},
      {"7,3", "7,4 7,5 7,6", "7,7", "w4/0"},
  };
  for (const auto& [black, white, point, where] : cases) {
    EXPECT_EQ(test::Where(Scan(Stones(black, white)), Points(point)[0]), where)
        << black << " / " << white << " at " << point;
  }
}

// Below the root the scan lists the threats of the points on the eight rays from the given
// point, four steps at most and up to the first stone of its opponent (White's stones stop the
// rays from a Black stone, Black's the others): the whole-board scan's entries at those points.
// The lists a scan is not asked for stay empty. The move choice's window takes the points
// without a stone four steps along each line, stones or not between.
TEST(ScanThreats, NearScanTakesThePointsOnTheRays) {
  std::mt19937 rng(7);
  ThreatInventory near;  // reused: every scan starts from empty lists
  auto key = [](const ThreatEntry& e) {
    return (e.row * kBoardSize + e.col) * kDirections + e.dir;
  };
  for (int game = 0; game < 300; ++game) {
    const Position pos = test::RandomPosition(rng, 10 + game % 60);
    const Point from{static_cast<int>(rng() % kBoardSize), static_cast<int>(rng() % kBoardSize)};
    const int opponent = pos.board[from.row][from.col] == kBlack ? kWhite : kBlack;
    bool reached[kBoardSize][kBoardSize] = {};
    bool window[kBoardSize][kBoardSize] = {};
    int windowCount = 0;
    for (int ray = 0; ray < 9; ++ray) {
      const int dr = ray / 3 - 1;
      const int dc = ray % 3 - 1;
      bool stopped = false;
      for (int k = 1, r = from.row + dr, c = from.col + dc; k < 5 && ray != 4 && OnBoard(r, c);
           ++k, r += dr, c += dc) {
        stopped = stopped || pos.board[r][c] == opponent;
        reached[r][c] = !stopped;
        window[r][c] = pos.board[r][c] < 1;
        windowCount += window[r][c] ? 1 : 0;
      }
    }
    const NearPoints points = CollectNearPoints(kWindowMode, 5, from.row, from.col, pos);
    ASSERT_EQ(points.count, windowCount) << "game " << game;
    for (const Point p : points.List())
      ASSERT_TRUE(window[p.row][p.col]) << "game " << game << " at " << p.row << "," << p.col;
    const ThreatInventory full = Scan(pos);
    const KindSet kinds = game % 2 == 0 ? kEveryKind : static_cast<KindSet>(rng()) & kEveryKind;
    ScanThreats(2, near, pos, from.row, from.col, kinds);
    for (int kind = 0; kind < kThreatKinds; ++kind) {
      std::multiset<int> expected;
      std::multiset<int> got;
      for (const ThreatEntry& e : full.List(kind)) {
        if (reached[e.row][e.col] && (kinds & KindBit(kind)) != 0) expected.insert(key(e));
      }
      for (const ThreatEntry& e : near.List(kind))
        got.insert(key(e));
      ASSERT_EQ(got, expected) << "game " << game << " list " << kind;
    }
  }
}

}  // namespace
}  // namespace zel
