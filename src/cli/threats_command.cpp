// zel-cli threats FILE: the threat inventory of the whole board.
#include <cstdio>

#include "cli/commands.h"
#include "cli/replay.h"
#include "patterns/threat_inventory.h"

namespace zel::cli {
namespace {

bool IsCombination(int kind) {
  return kind == kBlackFourThrees || kind == kWhiteFourCombos || kind == kWhiteDoubleThrees;
}

}  // namespace

int RunThreats(Args args) {
  if (args.size() != 1) return Fail("usage: zel-cli threats FILE");
  HeadlessHost host;
  Game game(host);
  if (!ReplayRecord(args[0], game)) return kUsageError;

  ThreatInventory inventory;
  ScanThreats(1, inventory, game.position(), 0, 0);
  for (int kind = 0; kind < kThreatKinds; ++kind) {
    std::printf("%d %d", kind, inventory.Count(kind));
    for (const ThreatEntry& entry : inventory.List(kind)) {
      // A combination entry stands for a point; it has no direction.
      std::printf(" %d,%d,%d", entry.row, entry.col, IsCombination(kind) ? 0 : entry.dir);
    }
    std::printf("\n");
  }
  return 0;
}

}  // namespace zel::cli
