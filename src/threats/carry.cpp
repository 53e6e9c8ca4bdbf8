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
  CarryColour<kBlack>(source, pos);
  CarryColour<kWhite>(source, pos);
  filled_ = 0;
  for (int kind = 0; kind < kThreatKinds; ++kind)
    filled_ |= sizes_[kind] > 0 ? KindBit(kind) : 0;
}

template <int Colour>
void CarriedThreats::CarryColour(const ThreatInventory& source, const Position& pos) {
  constexpr bool black = Colour == kBlack;
  constexpr ColourKinds kinds = black ? kBlackColourKinds : kWhiteColourKinds;
  const ThreatMaskTable& masks = pos.ThreatMasks(Colour);
  // The sizes in a local copy, which the compiler can keep in registers: the writes of
  // entries could otherwise change the members for all it knows.
  std::array<int, kThreatKinds> sizes = sizes_;
  // Adds the entry to a group when the condition holds. Without a branch: what a point adds to
  // which group is hard to foresee.
  auto addIf = [&](bool condition, int kind, ThreatEntry entry) {
    groups_[kind][sizes[kind]] = entry;
    sizes[kind] += condition ? 1 : 0;
  };
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
      addIf(fives != 0, kinds.fives, {r, c, std::countr_zero(fives)});
      addIf(straightFours != 0, kinds.straightFours, {r, c, std::countr_zero(straightFours)});
      addIf(fours != 0, kinds.fours, {r, c, std::countr_zero(fours)});
      addIf(threes != 0, kinds.threes, {r, c, std::countr_zero(threes)});
      // 4. Combination points; they stay in the four and three groups as well. Black's is a
      // four-three; White's a four-four or four-three, and a double three besides (a point can
      // be both).
      const int fourCount = CountDirections(fours | straightFours);
      const int threeCount = CountDirections(threes);
      if constexpr (black) {
        addIf(fourCount == 1 && threeCount == 1, kinds.combinations, {r, c, 0});
      } else {
        addIf(fourCount >= 1 && fourCount + threeCount >= 2, kinds.combinations, {r, c, 0});
        addIf(threeCount >= 2, kinds.doubleThrees, {r, c, 0});
      }
    }
  }
  sizes_ = sizes;
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
