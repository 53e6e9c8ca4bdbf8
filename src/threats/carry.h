// Carrying a parent position's threats into a child's inventories.
#pragma once

#include <array>

#include "patterns/board.h"
#include "patterns/threat_inventory.h"

namespace zel {

// The points of a parent's (the source) inventory that still threaten in the child's position,
// each classified afresh under the child's codes. A node classifies once and merges the result
// into both of its inventories. About 10 KB: the search keeps one in its own storage.
class CarriedThreats {
 public:
  // Classifies the source's points under pos, in place of what was collected before.
  void Collect(const ThreatInventory& source, const Position& pos);

  // Merges the carried threats of the lists in kinds, list by list, into the target, which
  // keeps its earlier contents and takes no point twice into one list.
  void MergeInto(ThreatInventory& target, KindSet kinds = kEveryKind) const;

 private:
  // One list's carried entries: each point once, with its first direction, in the order found.
  // One slot more than there are points, for the entry that is written and not kept.
  // The sizes are kept together, apart from the entries, as a merge reads them all.
  using Group = std::array<ThreatEntry, kBoardSize * kBoardSize + 1>;
  template <int Colour>
  void CarryColour(const ThreatInventory& source, const Position& pos);

  std::array<Group, kThreatKinds> groups_;
  std::array<int, kThreatKinds> sizes_{};
  KindSet filled_ = 0;  // the groups that hold an entry
};

// Re-examines every point of the source inventory under the current codes and merges the
// threats it still makes into the target, which keeps its earlier contents: the one-target form.
void CarryThreatInventory(ThreatInventory& target, const ThreatInventory& source,
                          const Position& pos);

}  // namespace zel
