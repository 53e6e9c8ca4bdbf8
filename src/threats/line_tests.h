// Small geometric tests with which the search limits the moves it tries.
#pragma once

#include "patterns/board.h"

namespace zel {

// 1 + the direction of the line joining the two points when they lie on one line less than
// `reach` apart (tests in the order row, column, diagonal, anti-diagonal), else 0.
int LineDirection(int reach, int row1, int col1, int row2, int col2);

// Whether both the rows and the columns differ by less than `reach`.
bool IsNear(int reach, int row1, int col1, int row2, int col2);

// The number of directions in which the line code at the point is 4 (open two) or more.
int CountStrongLines(int row, int col, const Position& pos, int colour);

}  // namespace zel
