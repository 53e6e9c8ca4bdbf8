#include "threats/carry.h"

#include <cassert>
#include <cstdint>
#include <span>

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

// Whether one of the entries is at the entry's point.
bool Holds(std::span<const ThreatEntry> entries, const ThreatEntry& entry) {
  for (const ThreatEntry& e : entries) {
    if (e.row == entry.row && e.col == entry.col) return true;
  }
  return false;
}

// The lists of one colour, in their merge order.
struct ColourKinds {
  int fives;
  int straightFours;
  int combinations;  // Black: four-three points; White: four-combination points
  int fours;
  int doubleThrees;  // White only; -1 for Black
  int threes;
};

constexpr ColourKinds kBlackColourKinds{
    kBlackFives, kBlackStraightFours, kBlackFourThrees, kBlackFours, -1, kBlackThrees};
constexpr ColourKinds kWhiteColourKinds{kWhiteFives, kWhiteStraightFours, kWhiteFourCombos,
                                        kWhiteFours, kWhiteDoubleThrees,  kWhiteThrees};

// The first direction of each threat code at a point, and the counts of its fours and threes.
struct PointThreats {
  int five = -1;
  int straightFour = -1;
  int four = -1;
  int three = -1;
  int fours = 0;
  int threes = 0;
};

PointThreats Classify(const PatternEntry& codes) {
  PointThreats t;
  auto first = [](int& dir, int d) {
    if (dir < 0) dir = d;
  };
  for (int d = 0; d < kDirections; ++d) {
    if (!IsThreat(codes[d])) continue;  // most codes are not threats
    switch (codes[d]) {
      case kFive:
        first(t.five, d);
        break;
      case kStraightFour:
        first(t.straightFour, d);
        ++t.fours;
        break;
      case kFour:
        first(t.four, d);
        ++t.fours;
        break;
      case kOpenThree:
        first(t.three, d);
        ++t.threes;
        break;
      default:
        break;
    }
  }
  return t;
}

}  // namespace

void CarriedThreats::Collect(const ThreatInventory& source, const Position& pos) {
  for (Group& group : groups_)
    group.size = 0;
  CarryColour(source, pos, kBlack);
  CarryColour(source, pos, kWhite);
}

void CarriedThreats::CarryColour(const ThreatInventory& source, const Position& pos, int colour) {
  const bool black = colour == kBlack;
  const ColourKinds& kinds = black ? kBlackColourKinds : kWhiteColourKinds;
  const PatternTable& table = pos.Table(colour);
  // A point listed again (in another direction or another list) would be classified the same
  // way again, and every entry it gave would be dropped as a repeat when merged: it is visited
  // once, and gives each list at most its first entry.
  PointSet visited{};

  // 1. The points of the colour's source lists, list by list, each list from its first entry.
  for (int kind = kinds.fives; kind <= kinds.threes; ++kind) {
    for (const ThreatEntry& listed : source.List(kind)) {
      if (!Insert(visited, listed)) continue;
      const int r = listed.row;
      const int c = listed.col;
      // 2. Only a point that still threatens and holds no stone; Black skips its marked points,
      // which do not concern White.
      if (pos.Threats(colour, r, c) == 0) continue;
      if (black ? pos.board[r][c] != kEmpty : pos.board[r][c] >= 1) continue;
      // 3. Classify the point afresh under the current codes.
      const PointThreats t = Classify(table[r][c]);
      if (t.five >= 0) groups_[kinds.fives].Add({r, c, t.five});
      if (t.straightFour >= 0) groups_[kinds.straightFours].Add({r, c, t.straightFour});
      if (t.four >= 0) groups_[kinds.fours].Add({r, c, t.four});
      if (t.three >= 0) groups_[kinds.threes].Add({r, c, t.three});
      // 4. Combination points; they stay in the four and three groups as well. Black's is a
      // four-three; White's a four-four or four-three, and a double three besides (a point can
      // be both).
      if (black) {
        if (t.fours == 1 && t.threes == 1) groups_[kinds.combinations].Add({r, c, 0});
      } else {
        if (t.fours >= 1 && t.fours + t.threes >= 2) groups_[kinds.combinations].Add({r, c, 0});
        if (t.threes >= 2) groups_[kinds.doubleThrees].Add({r, c, 0});
      }
    }
  }
}

void CarriedThreats::MergeInto(ThreatInventory& target, KindSet kinds) const {
  for (int kind = 0; kind < kThreatKinds; ++kind) {
    const Group& group = groups_[kind];
    if (group.size == 0 || (kinds & KindBit(kind)) == 0) continue;
    if (target.Empty(kind)) {
      // A group holds each point once: into an empty list it goes whole, as far as there is
      // room.
      target.AppendAll(kind, {group.entries.data(), static_cast<size_t>(group.size)});
    } else {
      // A group holds each point once, so only the list's earlier entries can hold one of its
      // points: few, as they come from the threats on the lines through one stone.
      const std::span<const ThreatEntry> held = target.List(kind);
      for (int i = 0; i < group.size; ++i) {
        const ThreatEntry& entry = group.entries[i];
        if (Holds(held, entry)) continue;
        if (!target.Append(kind, entry)) break;
      }
    }
  }
}

void CarryThreatInventory(ThreatInventory& target, const ThreatInventory& source,
                          const Position& pos) {
  CarriedThreats carried;
  carried.Collect(source, pos);
  carried.MergeInto(target);
}

}  // namespace zel
