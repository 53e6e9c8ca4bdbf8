#include "threats/carry.h"

#include <bit>
#include <cassert>
#include <cstdint>

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
  int five;
  int straightFour;
  int four;
  int three;
  int fours;
  int threes;
};

PointThreats Classify(ThreatMask mask) {
  auto first = [](unsigned dirs) { return dirs != 0 ? std::countr_zero(dirs) : -1; };
  const unsigned threes = Directions(mask, kThreeGroup);
  const unsigned fours = Directions(mask, kFourGroup);
  const unsigned straightFours = Directions(mask, kStraightFourGroup);
  return {
      first(Directions(mask, kFiveGroup)),    first(straightFours),   first(fours), first(threes),
      CountDirections(fours | straightFours), CountDirections(threes)};
}

}  // namespace

void CarriedThreats::Collect(const ThreatInventory& source, const Position& pos) {
  sizes_.fill(0);
  CarryColour(source, pos, kBlack);
  CarryColour(source, pos, kWhite);
}

void CarriedThreats::CarryColour(const ThreatInventory& source, const Position& pos, int colour) {
  const bool black = colour == kBlack;
  const ColourKinds& kinds = black ? kBlackColourKinds : kWhiteColourKinds;
  const ThreatMaskTable& masks = pos.ThreatMasks(colour);
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
      const ThreatMask mask = masks[r][c];
      if (mask == 0) continue;
      if (black ? pos.board[r][c] != kEmpty : pos.board[r][c] >= 1) continue;
      // 3. Classify the point afresh under the current codes.
      const PointThreats t = Classify(mask);
      if (t.five >= 0) Add(kinds.fives, {r, c, t.five});
      if (t.straightFour >= 0) Add(kinds.straightFours, {r, c, t.straightFour});
      if (t.four >= 0) Add(kinds.fours, {r, c, t.four});
      if (t.three >= 0) Add(kinds.threes, {r, c, t.three});
      // 4. Combination points; they stay in the four and three groups as well. Black's is a
      // four-three; White's a four-four or four-three, and a double three besides (a point can
      // be both).
      if (black) {
        if (t.fours == 1 && t.threes == 1) Add(kinds.combinations, {r, c, 0});
      } else {
        if (t.fours >= 1 && t.fours + t.threes >= 2) Add(kinds.combinations, {r, c, 0});
        if (t.threes >= 2) Add(kinds.doubleThrees, {r, c, 0});
      }
    }
  }
}

void CarriedThreats::MergeInto(ThreatInventory& target, KindSet kinds) const {
  for (int kind = 0; kind < kThreatKinds; ++kind) {
    const int size = sizes_[kind];
    if (size == 0 || (kinds & KindBit(kind)) == 0) continue;
    const Group& group = groups_[kind];
    if (target.Empty(kind)) {
      // A group holds each point once: into an empty list it goes whole, as far as there is
      // room.
      target.AppendAll(kind, {group.data(), static_cast<size_t>(size)});
    } else {
      // A group holds each point once, so only the list's earlier entries can hold one of its
      // points.
      PointSet held{};
      for (const ThreatEntry& e : target.List(kind))
        Insert(held, e);
      for (int i = 0; i < size; ++i) {
        const ThreatEntry& entry = group[i];
        if (!Insert(held, entry)) continue;
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
