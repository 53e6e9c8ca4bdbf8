#include "threats/line_tests.h"

#include <cstdlib>

#include "patterns/line_codes.h"

namespace zel {

int LineDirection(int reach, int row1, int col1, int row2, int col2) {
  const int rowGap = std::abs(row1 - row2);
  const int colGap = std::abs(col1 - col2);
  if (row1 == row2 && colGap < reach) return 1;
  if (col1 == col2 && rowGap < reach) return 2;
  if (row1 - row2 == col1 - col2 && rowGap < reach) return 3;
  if (row1 - row2 == col2 - col1 && rowGap < reach) return 4;
  return 0;
}

bool IsNear(int reach, int row1, int col1, int row2, int col2) {
  return std::abs(row1 - row2) < reach && std::abs(col1 - col2) < reach;
}

int CountStrongLines(int row, int col, const Position& pos, int colour) {
  int lines = 0;
  for (int d = 0; d < kDirections; ++d) {
    if (pos.Code(colour, row, col, d) >= kOpenTwo) ++lines;
  }
  return lines;
}

}  // namespace zel
