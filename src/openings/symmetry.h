// The eight symmetries of the board about its centre (h8), and the group of those that leave a
// position's stones where they are: two 5th moves that one of them maps onto each other are the
// same move, and may not both be offered.
#pragma once

#include <cstdint>
#include <span>

#include "patterns/board.h"

namespace zel::openings {

inline constexpr Point kCentre{kBoardSize / 2, kBoardSize / 2};
inline constexpr int kSymmetries = 8;

// Symmetry t (0 the identity) applied to p: the reflections and rotations of p about the centre.
Point Transform(int t, Point p);

// A set of symmetries, bit t for symmetry t.
using SymmetryGroup = std::uint8_t;

// The symmetries that map every stone onto a stone of its own colour. The stones are moves in
// order: Black's first, then each colour in turn.
SymmetryGroup StonesGroup(std::span<const Point> stones);

// Whether a symmetry of the group maps a onto b.
bool Symmetrical(SymmetryGroup group, Point a, Point b);

}  // namespace zel::openings
