// The segment evaluator: line codes for every cell of one segment of a line.
#pragma once

#include <span>

#include "patterns/board.h"

namespace zel {

// The longest segment a 15 x 15 board has.
inline constexpr int kMaxSegment = 15;

// Evaluates a segment (a maximal run of cells that holds no opponent stone) for a colour
// (1 Black, any other value White). stones[k] is 1 where cell k holds an own stone and 0
// elsewhere; codes receives one line code per cell and must be as long as stones.
// Returns -1 without writing anything when the segment is shorter than five cells, else 0.
int EvaluateSegment(std::span<const int> stones, int colour, std::span<int> codes);

// The same evaluation on a stone mask, as the pattern update holds a line: bit k of stones is
// set where cell k holds an own stone (no bit at or above length). length is 5 to kMaxSegment.
// The codes are worked out once per thread and kept: the result is a block of kSegmentBlock
// bytes, a fixed size that loads fast, holding the length codes and then zeros. The
// kSegmentBlock bytes before the block may be read as well (they hold other codes), so that the
// block can be loaded as if it started further on. It stays valid for the calling thread's
// lifetime.
inline constexpr int kSegmentBlock = kMaxSegment + 1;
const PatternValue* SegmentBlock(unsigned stones, int length, int colour);

}  // namespace zel
