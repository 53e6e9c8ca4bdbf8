// One call of a threat-search node: where it stands in the line and what it may try.
#pragma once

#include "patterns/board.h"

namespace zel {

inline constexpr int kThreesAndFours = 3;  // threat level: may attack with threes and fours
inline constexpr int kFoursOnly = 4;       // threat level: fours only

struct SearchCall {
  int depth = 0;              // plies made below the root; 0 at the root
  Point last = kNoPoint;      // the opponent's stone just played (the game's last move at the root)
  Point previous = kNoPoint;  // the mover's own previous stone
  int blackLevel = kThreesAndFours;
  int whiteLevel = kThreesAndFours;
  int blackReach = 0;  // 1: Black tries only attacks on a line with, or near, its previous stone
  int whiteReach = 0;

  int& Level(int colour) { return colour == kBlack ? blackLevel : whiteLevel; }
  int Level(int colour) const { return colour == kBlack ? blackLevel : whiteLevel; }
  int& Reach(int colour) { return colour == kBlack ? blackReach : whiteReach; }
  int Reach(int colour) const { return colour == kBlack ? blackReach : whiteReach; }
};

}  // namespace zel
