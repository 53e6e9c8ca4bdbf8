#include "patterns/segment.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "patterns/board.h"
#include "patterns/window_tables.h"

namespace zel {
namespace {

// Evaluates a segment drawn as text (X = own stone) and writes its codes as text, one
// character a cell, 10 to 12 as A to C.
std::string Evaluate(const std::string& segment, int colour) {
  std::vector<int> stones;
  for (char ch : segment)
    stones.push_back(ch == 'X' ? 1 : 0);
  std::vector<int> codes(stones.size(), -7);
  EXPECT_EQ(EvaluateSegment(stones, colour, codes), 0);
  std::string text;
  for (int code : codes)
    text += "0123456789ABC"[code];
  return text;
}

struct SegmentCase {
  const char* segment;
  const char* black;
  const char* white;
};

// Known codes of whole segments, for Black (overline rules on) and White.
const SegmentCase kSegmentCases[] = {
    {".....", "11111", "11111"},
    {"....X....", "134414431", "134414431"},
    {".XX......", "511775111", "511775111"},
    {"..XXX....", "891119851", "891119851"},
    {".XXXX....", "A1111A851", "A1111A851"},
    {"X.XX.X...", "181181851", "181191851"},
    {"X..XXX.........", "128111985111111", "189111985111111"},
    {"XXXX.X...", "1111B1851", "1111A1851"},
    {"...XXXXX.......", "58B11111B851111", "58A11111A851111"},
    {".X.X.X.X.", "5181C1815", "518181815"},
    {"X.X.X.X", "181C181", "1818181"},
    {".XX.XX.XX.", "811A11A118", "811A11A118"},
    {"XXX.X.XXX", "111A1A111", "111A1A111"},
};

TEST(EvaluateSegment, KnownSegments) {
  for (const SegmentCase& c : kSegmentCases) {
    SCOPED_TRACE(c.segment);
    EXPECT_EQ(Evaluate(c.segment, kBlack), c.black);
    EXPECT_EQ(Evaluate(c.segment, kWhite), c.white);
  }
}

// Every segment of 5 to 15 cells, every arrangement of own stones in it (its ends are opponent
// stones or the edge), for both colours: the cells coded as threats are counted and every code
// is folded into an FNV-1a hash. Any change to what the evaluator computes, for any segment,
// changes the pair; the known segments above say what the codes mean.
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

TEST(EvaluateSegment, ShortSegmentWritesNothing) {
  const std::vector<int> stones{0, 1, 1, 0};
  std::vector<int> codes(4, -7);
  EXPECT_EQ(EvaluateSegment(stones, kBlack, codes), -1);
  EXPECT_EQ(EvaluateSegment(stones, kWhite, codes), -1);
  EXPECT_EQ(codes, std::vector<int>(4, -7));
}

TEST(EvaluateSegment, OwnStonesAlwaysReadBase) {
  // Every segment of length 5 to 9: the cells holding own stones read 1.
  for (int length = 5; length <= 9; ++length) {
    for (unsigned mask = 0; mask < (1U << length); ++mask) {
      std::vector<int> stones(length);
      for (int k = 0; k < length; ++k)
        stones[k] = (mask >> k) & 1U;
      for (int colour : {kBlack, kWhite}) {
        std::vector<int> codes(length);
        EvaluateSegment(stones, colour, codes);
        for (int k = 0; k < length; ++k) {
          if (stones[k] != 0) {
            ASSERT_EQ(codes[k], 1) << "mask " << mask << " length " << length;
          }
          ASSERT_NE(codes[k], 6);
          if (colour == kWhite) {
            ASSERT_LE(codes[k], 10);
          }
        }
      }
    }
  }
}

// The window tables hold exactly these non-zero entries: "mask position code [position code]"
// per entry, and "mask position" for the overline table.
TEST(InitPatternTables, NonZeroEntries) {
  const char* five =
      "7 1 8 2 8, 11 1 8 3 8, 13 1 8 4 8, 14 1 8 5 8, 15 1 10, 19 2 8 3 8, 21 2 8 4 8, "
      "22 2 8 5 8, 23 2 10, 25 3 8 4 8, 26 3 8 5 8, 27 3 10, 28 4 8 5 8, 29 4 10, 30 5 10";
  const char* six =
      "6 2 7 3 7, 10 2 7 4 7, 12 2 7 5 7, 14 2 9, 18 3 7 4 7, 20 3 7 5 7, 22 3 9, "
      "24 4 7 5 7, 26 4 9, 28 5 9";
  const char* overline = "31 1, 47 2, 55 3, 59 4, 61 5, 62 6";

  WindowTables built;
  built.overline.fill(99);  // stale contents must be cleared
  InitPatternTables(built);
  // Every entry as text, in the format above, non-zero entries only.
  auto describe = [](auto& table, auto&& entry) {
    std::string text;
    for (unsigned mask = 0; mask < table.size(); ++mask) {
      const std::string e = entry(table[mask]);
      if (e.empty()) continue;
      if (!text.empty()) text += ", ";
      text += std::to_string(mask);
      text += e;
    }
    return text;
  };
  auto pairs = [](const WindowEntry& e) {
    std::string text;
    for (const WindowPair& p : e) {
      if (p.position == 0) continue;
      text += ' ';
      text += std::to_string(p.position);
      text += ' ';
      text += std::to_string(p.code);
    }
    return text;
  };
  EXPECT_EQ(describe(built.fiveCell, pairs), five);
  EXPECT_EQ(describe(built.sixCell, pairs), six);
  EXPECT_EQ(describe(built.overline,
                     [](int p) { return p > 0 ? ' ' + std::to_string(p) : std::string(); }),
            overline);
}

}  // namespace
}  // namespace zel
