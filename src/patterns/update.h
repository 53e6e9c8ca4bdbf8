// The pattern update: the one way a stone enters or leaves a position.
#pragma once

#include "patterns/board.h"

namespace zel {

// The colour of a stone placed with a ply offset while moveCount stones are on the game's
// board: Black when moveCount + plyOffset is even. The game's own moves raise the count first
// and pass offset 1, so stone k of a game is Black when k is odd.
constexpr int StoneColour(int moveCount, int plyOffset) {
  return (moveCount + plyOffset) % 2 == 0 ? kBlack : kWhite;
}

// Puts a stone of colour `stone` (kBlack or kWhite) on (row, col), or takes the stone there
// away when `stone` is 0. Re-evaluates both colours' line codes along the four lines through
// the point, then re-examines every empty point of those lines whose code was or is a threat
// (and, for Black, every marked point) to rewrite Black's forbidden and overline marks, the
// threat counts and the threat masks. Allocates nothing.
void UpdatePatterns(Position& pos, int row, int col, int stone);

}  // namespace zel
