#include "patterns/board.h"
#include "patterns/line_codes.h"

namespace zel {

void Position::Clear() {
  constexpr PatternEntry kFresh{kBase, kBase, kBase, kBase, 0};
  for (int r = 0; r < kBoardSize; ++r) {
    board[r].fill(kEmpty);
    black[r].fill(kFresh);
    white[r].fill(kFresh);
  }
  blackLines = {};
  whiteLines = {};
  threatLines = {};
  blackThreatMasks = {};
  whiteThreatMasks = {};
}

}  // namespace zel
