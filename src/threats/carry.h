// Carrying a parent position's threats into a child's inventory.
#pragma once

#include <span>

#include "patterns/board.h"
#include "patterns/threat_inventory.h"

namespace zel {

// Re-examines every point of the source (the parent's) inventory under the current codes and
// merges the threats it still makes into the target, which keeps its earlier contents.
void CarryThreatInventory(ThreatInventory& target, const ThreatInventory& source,
                          const Position& pos);

// Appends the entries, in order, to the target's list of that kind, leaving out every entry
// whose point (row and column) the list already holds, including entries appended by this call.
void MergeThreatList(ThreatInventory& target, int kind, std::span<const ThreatEntry> entries);

}  // namespace zel
