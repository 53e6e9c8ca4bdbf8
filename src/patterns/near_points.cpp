#include "patterns/near_points.h"

namespace zel {

NearPoints CollectNearPoints(int mode, int reach, int row, int col, const Position& pos) {
  NearPoints near;
  ForEachNearPoint(mode, reach, row, col, pos, [&near](int r, int c) {
    assert(near.count < static_cast<int>(near.points.size()));
    near.points[near.count++] = {r, c};
  });
  return near;
}

}  // namespace zel
