// zel-cli codes FILE: the board value and both pattern tables of every point.
#include <cstdio>

#include "cli/commands.h"
#include "cli/replay.h"

namespace zel::cli {

int RunCodes(Args args) {
  if (args.size() != 1) return Fail("usage: zel-cli codes FILE");
  HeadlessHost host;
  Game game(host);
  if (!ReplayRecord(args[0], game)) return kUsageError;

  const Position& pos = game.position();
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      const PatternEntry b = pos.Entry(kBlack, r, c);
      const PatternEntry w = pos.Entry(kWhite, r, c);
      std::printf("%d %d %d %d %d %d %d %d %d %d %d %d %d\n", r, c, pos.board[r][c], b[0], b[1],
                  b[2], b[3], b[4], w[0], w[1], w[2], w[3], w[4]);
    }
  }
  return 0;
}

}  // namespace zel::cli
