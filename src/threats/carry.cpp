#include "threats/carry.h"

#include <array>
#include <cassert>
#include <cstdint>

#include "patterns/line_codes.h"

namespace zel {
namespace {

// A set of points, one bit each: small enough to clear at every node.
using PointSet = std::array<std::uint64_t, 4>;

// Adds the entry's point; false when the set already held it.
bool Insert(PointSet& set, const ThreatEntry& entry) {
  const int bit = entry.row * kBoardSize + entry.col;
  std::uint64_t& word = set[static_cast<size_t>(bit >> 6)];
  const std::uint64_t mask = std::uint64_t{1} << (bit & 63);
  if ((word & mask) != 0) return false;
  word |= mask;
  return true;
}

// The entries that one pass collects for one target list, each point once, in the order found.
// Merging leaves out a point's later entries anyway, so keeping only its first one here changes
// nothing and bounds the group by the number of points on the board.
class EntryGroup {
 public:
  void Add(ThreatEntry entry) {
    if (!Insert(seen_, entry)) return;
    assert(size_ < static_cast<int>(entries_.size()));
    entries_[size_++] = entry;
  }
  void MergeInto(ThreatInventory& target, int kind) const {
    if (size_ > 0) MergeThreatList(target, kind, {entries_.data(), static_cast<size_t>(size_)});
  }

 private:
  std::array<ThreatEntry, kBoardSize * kBoardSize> entries_;
  PointSet seen_{};
  int size_ = 0;
};

// The lists of one colour, in their merge order.
struct ColourKinds {
  int fives;
  int straightFours;
  int combinations;  // Black: four-three points; White: four-combination points
  int fours;
  int doubleThrees;  // White only; -1 for Black
  int threes;
};

constexpr ColourKinds kBlackKinds{kBlackFives, kBlackStraightFours, kBlackFourThrees, kBlackFours,
                                  -1,          kBlackThrees};
constexpr ColourKinds kWhiteKinds{kWhiteFives, kWhiteStraightFours, kWhiteFourCombos,
                                  kWhiteFours, kWhiteDoubleThrees,  kWhiteThrees};

void CarryColour(ThreatInventory& target, const ThreatInventory& source, const Position& pos,
                 int colour) {
  const bool black = colour == kBlack;
  const ColourKinds& kinds = black ? kBlackKinds : kWhiteKinds;
  const PatternTable& table = pos.Table(colour);
  EntryGroup fives, straightFours, combinations, fours, doubleThrees, threes;
  // A point listed again (in another direction or another list) would be classified the same
  // way again, and every entry it gave would be dropped as a repeat: it is visited once.
  PointSet visited{};

  // 1. The points of the colour's source lists, list by list, each list from its first entry.
  for (int kind = kinds.fives; kind <= kinds.threes; ++kind) {
    for (const ThreatEntry& listed : source.List(kind)) {
      if (!Insert(visited, listed)) continue;
      const int r = listed.row;
      const int c = listed.col;
      // 2. Only a point that still threatens and holds no stone; Black skips its marked points,
      // which do not concern White.
      if (table[r][c][kThreatCountSlot] == 0) continue;
      if (black ? pos.board[r][c] != kEmpty : pos.board[r][c] >= 1) continue;
      // 3. Classify the point afresh under the current codes.
      int fourCount = 0;
      int threeCount = 0;
      for (int d = 0; d < kDirections; ++d) {
        switch (table[r][c][d]) {
          case kFive:
            fives.Add({r, c, d});
            break;
          case kStraightFour:
            straightFours.Add({r, c, d});
            ++fourCount;
            break;
          case kFour:
            fours.Add({r, c, d});
            ++fourCount;
            break;
          case kOpenThree:
            threes.Add({r, c, d});
            ++threeCount;
            break;
          default:
            break;
        }
      }
      // 4. Combination points; they stay in the four and three groups as well. Black's is a
      // four-three; White's a four-four or four-three, and a double three besides (a point can
      // be both).
      if (black) {
        if (fourCount == 1 && threeCount == 1) combinations.Add({r, c, 0});
      } else {
        if (fourCount >= 1 && fourCount + threeCount >= 2) combinations.Add({r, c, 0});
        if (threeCount >= 2) doubleThrees.Add({r, c, 0});
      }
    }
  }
  // 5. Merge group by group, in list order.
  fives.MergeInto(target, kinds.fives);
  straightFours.MergeInto(target, kinds.straightFours);
  combinations.MergeInto(target, kinds.combinations);
  fours.MergeInto(target, kinds.fours);
  if (!black) doubleThrees.MergeInto(target, kinds.doubleThrees);
  threes.MergeInto(target, kinds.threes);
}

}  // namespace

void CarryThreatInventory(ThreatInventory& target, const ThreatInventory& source,
                          const Position& pos) {
  CarryColour(target, source, pos, kBlack);
  CarryColour(target, source, pos, kWhite);
}

void MergeThreatList(ThreatInventory& target, int kind, std::span<const ThreatEntry> entries) {
  PointSet listed{};
  for (const ThreatEntry& held : target.List(kind))
    Insert(listed, held);
  for (const ThreatEntry& entry : entries) {
    // A full list takes nothing more.
    if (Insert(listed, entry)) target.Append(kind, entry);
  }
}

}  // namespace zel
