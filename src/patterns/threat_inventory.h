// The threat inventory: the points of each colour that make fives, fours, threes and their
// combinations, listed by kind. The search builds one per node.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "patterns/board.h"

namespace zel {

// List kinds, in their fixed order.
enum ThreatKind : int {
  kBlackFives = 0,          // Black's code is 10
  kBlackStraightFours = 1,  // empty points where Black's code is 9
  kBlackFourThrees = 2,     // empty points with exactly one Black four and one open three
  kBlackFours = 3,          // empty points where Black's code is 8, four-threes excepted
  kBlackThrees = 4,         // empty points where Black's code is 7, four-threes excepted
  kWhiteFives = 5,
  kWhiteStraightFours = 6,
  kWhiteFourCombos = 7,    // a White four and at least two fours and threes in all
  kWhiteFours = 8,         // four-combination points excepted
  kWhiteDoubleThrees = 9,  // no White four, at least two open threes
  kWhiteThrees = 10,       // four-combination and double-three points excepted
  kThreatKinds = 11,
};

// A set of list kinds, bit k for kind k: the lists a scan or a merge fills. A node fills only the
// lists its search reads.
using KindSet = unsigned;
constexpr KindSet KindBit(int kind) {
  return 1U << kind;
}
inline constexpr KindSet kEveryKind = (1U << kThreatKinds) - 1;
inline constexpr KindSet kBlackKinds = (1U << kWhiteFives) - 1;
inline constexpr KindSet kWhiteKinds = kEveryKind & ~kBlackKinds;

// One listed point and the line in which it has the listed code. Combination kinds (2, 7, 9)
// list points; their direction is not meaningful.
// Four bytes, so that a node's inventories stay in the cache and an entry moves as one word;
// trivially default-constructible, so that lists of entries cost nothing until they are
// written.
struct alignas(4) ThreatEntry {
  ThreatEntry() = default;
  constexpr ThreatEntry(int r, int c, int d)
      : row(static_cast<std::int8_t>(r)),
        col(static_cast<std::int8_t>(c)),
        dir(static_cast<std::int8_t>(d)) {}

  std::int8_t row;
  std::int8_t col;
  std::int8_t dir;
  friend constexpr bool operator==(ThreatEntry, ThreatEntry) = default;
};

// A set of board points, one bit each: small enough to clear at every node.
class PointSet {
 public:
  // Adds the point; false when the set held it already.
  bool Insert(int row, int col) {
    const int bit = row * kBoardSize + col;
    std::uint64_t& word = words_[static_cast<size_t>(bit >> 6)];
    const std::uint64_t mask = std::uint64_t{1} << (bit & 63);
    const bool added = (word & mask) == 0;
    word |= mask;
    return added;
  }

 private:
  std::array<std::uint64_t, (kBoardSize * kBoardSize + 63) / 64> words_{};
};

// Capacity of each list, four times what ordinary play needs. An append to a full list is
// dropped, so an inventory never overflows whatever the position.
inline constexpr std::array<int, kThreatKinds> kThreatCapacity{16, 40, 24, 64, 160, 16,
                                                               40, 24, 64, 40, 160};

class ThreatInventory {
 public:
  int Count(int kind) const { return count_[kind]; }
  bool Empty(int kind) const { return count_[kind] == 0; }
  const ThreatEntry& At(int kind, int i) const { return entries_[kOffset[kind] + i]; }
  std::span<const ThreatEntry> List(int kind) const {
    return {entries_.data() + kOffset[kind], static_cast<size_t>(count_[kind])};
  }

  // Appends an entry; returns false (and changes nothing) when the list is full.
  bool Append(int kind, ThreatEntry entry) {
    if (count_[kind] >= kThreatCapacity[kind]) return false;
    entries_[kOffset[kind] + count_[kind]++] = entry;
    return true;
  }

  // Appends the entries in order, as many as there is room for.
  void AppendAll(int kind, std::span<const ThreatEntry> entries) {
    const int room = kThreatCapacity[kind] - count_[kind];
    const int n = std::min(room, static_cast<int>(entries.size()));
    std::copy_n(entries.begin(), n, entries_.begin() + kOffset[kind] + count_[kind]);
    count_[kind] += n;
  }

  // Appends, in order and as far as there is room, the entries at points the list does not
  // hold yet. The entries are at distinct points.
  void AppendNewPoints(int kind, std::span<const ThreatEntry> entries);

  // Sets every count to 0; entries are not cleared.
  void ClearCounts() { count_.fill(0); }

 private:
  static constexpr std::array<int, kThreatKinds + 1> kOffset = [] {
    std::array<int, kThreatKinds + 1> offset{};
    for (int k = 0; k < kThreatKinds; ++k)
      offset[k + 1] = offset[k] + kThreatCapacity[k];
    return offset;
  }();

  std::array<int, kThreatKinds> count_{};
  // Only the first count_[kind] entries of a list are ever read, so the entries are left
  // unwritten on construction: the search builds two inventories at every node.
  std::array<ThreatEntry, kOffset[kThreatKinds]> entries_;
};

// Rebuilds an inventory from zero counts: every point of the board when depth < 2, else the
// ray-mode near points of (row, col) with reach 5 (of which only the threat ray mode's can list
// anything). Only the lists in kinds are filled; the others stay empty, and what goes into a
// filled list does not depend on which others are filled.
void ScanThreats(int depth, ThreatInventory& inventory, const Position& pos, int row, int col,
                 KindSet kinds = kEveryKind);

}  // namespace zel
