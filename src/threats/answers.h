// The defender's answers to a threat point: a straight-four point, a four-three (or White
// four-four) point, or a double-three point. Pure functions of the position handed in.
#pragma once

#include <array>

#include "patterns/board.h"

namespace zel {

// An answer list: entry 0 is the key point, written by the caller; the generators append from
// entry 1 and return the entry count. No generator appends more than 12 entries (three answers
// to a three in each of four directions), so 13 entries always hold the whole list.
inline constexpr int kAnswerCapacity = 13;
using AnswerList = std::array<Point, kAnswerCapacity>;

// Answers to the attacker's straight-four point (row, col): the key point and the points that
// spoil the straight four, along the first direction coded 9. colour: 1 Black attacks, any
// other value White. Returns 1 to 5.
int AnswersToStraightFour(AnswerList& list, int row, int col, int colour, const Position& pos);

// Answers to a four-three or four-four point: the partner point of the four along the first
// direction coded 8, then the answers to the threes in the other directions. Returns 1 to 11.
int AnswersToFourThree(AnswerList& list, int row, int col, int colour, const Position& pos);

// Answers to a double-three point: the answers to its threes in every direction. Returns 1 to 13.
int AnswersToThrees(AnswerList& list, int row, int col, int colour, const Position& pos);

// Appends, for each direction other than skippedDir (4 skips none) in which the attacker's code
// at (row, col) is an open three, the points that keep that three from becoming a straight four.
// count is the number of entries already in the list; returns the new count.
int AddThreeAnswers(AnswerList& list, int row, int col, int colour, int count, int skippedDir,
                    const Position& pos);

}  // namespace zel
