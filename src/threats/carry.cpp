#include "threats/carry.h"

#include <bit>
#include <cassert>
#include <cstdint>
#include <span>

namespace zel {
namespace {

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

}  // namespace

void CarriedThreats::Collect(const ThreatInventory& source, const Position& pos) {
  sizes_.fill(0);
  CarryColour(source, pos, kBlack);
  CarryColour(source, pos, kWhite);
  filled_ = 0;
  for (int kind = 0; kind < kThreatKinds; ++kind)
    filled_ |= sizes_[kind] > 0 ? KindBit(kind) : 0;
}

void CarriedThreats::CarryColour(const ThreatInventory& source, const Position& pos, int colour) {
  const bool black = colour == kBlack;
  const ColourKinds& kinds = black ? kBlackColourKinds : kWhiteColourKinds;
  const ThreatMaskTable& masks = pos.ThreatMasks(colour);
  // A point listed again (in another direction or another list) would be classified the same
  // way again, and every entry it gave would be dropped as a repeat when merged: it is visited
  // once, and gives each list at most its first entry.
  PointSet visited;

  // 1. The points of the colour's source lists, list by list, each list from its first entry.
  for (int kind = kinds.fives; kind <= kinds.threes; ++kind) {
    for (const ThreatEntry& listed : source.List(kind)) {
      const int r = listed.row;
      const int c = listed.col;
      if (!visited.Insert(r, c)) continue;
      // 2. Only a point that still threatens and holds no stone; Black skips its marked points,
      // which do not concern White.
      const ThreatMask mask = masks[r][c];
      if (mask == 0) continue;
      if (black ? pos.board[r][c] != kEmpty : pos.board[r][c] >= 1) continue;
      // 3. Classify the point afresh under the current codes: each threat code's first
      // direction.
      const unsigned fives = Directions(mask, kFiveGroup);
      const unsigned straightFours = Directions(mask, kStraightFourGroup);
      const unsigned fours = Directions(mask, kFourGroup);
      const unsigned threes = Directions(mask, kThreeGroup);
      AddIf(fives != 0, kinds.fives, {r, c, std::countr_zero(fives)});
      AddIf(straightFours != 0, kinds.straightFours, {r, c, std::countr_zero(straightFours)});
      AddIf(fours != 0, kinds.fours, {r, c, std::countr_zero(fours)});
      AddIf(threes != 0, kinds.threes, {r, c, std::countr_zero(threes)});
      // 4. Combination points; they stay in the four and three groups as well. Black's is a
      // four-three; White's a four-four or four-three, and a double three besides (a point can
      // be both).
      const int fourCount = CountDirections(fours | straightFours);
      const int threeCount = CountDirections(threes);
      if (black) {
        AddIf(fourCount == 1 && threeCount == 1, kinds.combinations, {r, c, 0});
      } else {
        AddIf(fourCount >= 1 && fourCount + threeCount >= 2, kinds.combinations, {r, c, 0});
        AddIf(threeCount >= 2, kinds.doubleThrees, {r, c, 0});
      }
    }
  }
}

void CarriedThreats::MergeInto(ThreatInventory& target, KindSet kinds) const {
  for (KindSet rest = filled_ & kinds; rest != 0; rest &= rest - 1) {
    const int kind = std::countr_zero(rest);
    const std::span<const ThreatEntry> group{groups_[kind].data(),
                                             static_cast<size_t>(sizes_[kind])};
    // A group holds each point once: into an empty list it goes whole, as far as there is room.
    if (target.Empty(kind)) {
      target.AppendAll(kind, group);
    } else {
      target.AppendNewPoints(kind, group);
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
