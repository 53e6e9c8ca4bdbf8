#include "openings/symmetry.h"

#include <utility>

namespace zel::openings {

Point Transform(int t, Point p) {
  int dr = p.row - kCentre.row;
  int dc = p.col - kCentre.col;
  if (t & 4) std::swap(dr, dc);  // the diagonal
  if (t & 2) dr = -dr;           // the horizontal middle line
  if (t & 1) dc = -dc;           // the vertical middle line
  return {kCentre.row + dr, kCentre.col + dc};
}

SymmetryGroup StonesGroup(std::span<const Point> stones) {
  SymmetryGroup group = 0;
  for (int t = 0; t < kSymmetries; ++t) {
    bool keeps = true;
    for (size_t i = 0; i < stones.size() && keeps; ++i) {
      const Point image = Transform(t, stones[i]);
      bool found = false;
      // A stone's image must be a stone of the same colour: one an even number of moves away.
      for (size_t j = i % 2; j < stones.size() && !found; j += 2)
        found = stones[j] == image;
      keeps = found;
    }
    if (keeps) group = static_cast<SymmetryGroup>(group | 1U << t);
  }
  return group;
}

bool Symmetrical(SymmetryGroup group, Point a, Point b) {
  for (int t = 0; t < kSymmetries; ++t) {
    if ((group >> t & 1U) != 0 && Transform(t, a) == b) return true;
  }
  return false;
}

}  // namespace zel::openings
