#include "patterns/board.h"
#include "patterns/line_codes.h"

namespace zel {

void Position::Clear() {
  for (int r = 0; r < kBoardSize; ++r)
    board[r].fill(kEmpty);
  blackCodes.fill(kBase);
  whiteCodes.fill(kBase);
  blackCounts = {};
  whiteCounts = {};
  blackLines = {};
  whiteLines = {};
  threatLines = {};
  blackThreatMasks = {};
  whiteThreatMasks = {};
}

}  // namespace zel
