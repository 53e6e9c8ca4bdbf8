// The pattern update as it was first written, on a position of plain ints: every line pass
// evaluates the whole line and re-examines every threat point of it. The randomised test holds
// the engine's compact position to it, value for value.
#pragma once

#include <array>

#include "patterns/board.h"

namespace zel::test {

struct ReferencePosition {
  using Table = std::array<std::array<std::array<int, 5>, kBoardSize>, kBoardSize>;

  std::array<std::array<int, kBoardSize>, kBoardSize> board{};
  Table black;
  Table white;

  ReferencePosition();
  Table& Of(int colour) { return colour == kBlack ? black : white; }
};

void ReferenceUpdate(ReferencePosition& pos, int row, int col, int stone);

}  // namespace zel::test
