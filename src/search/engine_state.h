// What the move choice and the searches read from, and write to, the game they serve.
#pragma once

#include <array>

#include "patterns/board.h"
#include "search/random.h"
#include "search/search_stack.h"

namespace zel {

// Moves 1 to 225 of a game at their own index (index 0 holds no move), and above the move
// count the scratch entries that the search writes for the line it examines: the node at depth
// d (its stone being move moveCount + d) writes entry moveCount + d.
inline constexpr int kMaxMoves = kBoardSize * kBoardSize;
inline constexpr int kScratchEntries = 64;
inline constexpr int kMoveListSize = kMaxMoves + 1 + kScratchEntries;
using MoveList = std::array<Point, kMoveListSize>;  // unwritten entries read kNoPoint

// The deepest node a search may enter, whatever the game's move count: its entry is still in
// the move list. A search reaches depth searchLevel + fourExtension.
inline constexpr int kMaxSearchDepth = kScratchEntries;

// The one-ply choice's score of every point.
using ScoreTable = std::array<std::array<int, kBoardSize>, kBoardSize>;

// Settings of the move choice and the search. No command changes them except the search level
// (for the length of one search, and through "Beginner") and the quiet-move switch.
struct SearchSettings {
  int searchLevel = 10;     // depth bound for threes and defences; 0 or less: one-ply choice
  int fourExtension = 6;    // extra plies for fours
  int fourReachDepth = 3;   // with the reach filter on, a four near the previous stone still
  int fourReach = 4;        //   counts up to this ply, "near" meaning both differences < 4
  int threeReachDepth = 3;  // the same for threes
  int threeReach = 4;
  int strongLineDepth = 7;    // beyond this ply a three needs two lines coded 4 or more
  int quickDefenceDepth = 2;  // beyond this ply the first sound answer to a straight four stands
  int trialWeight = 4;        // weight of the trial placements in the ranking key
  bool quietMoves = true;     // "Non 3/4": quiet moves at plies 2 and 3
  bool randomChoice = true;   // pick at random among the near-best moves

  // Whether a search on these settings stays within the move list's scratch entries.
  constexpr bool WithinDepthBound() const {
    return fourExtension >= 0 && searchLevel <= kMaxSearchDepth - fourExtension;
  }
};

// The deepest search level at the default four extension.
inline constexpr int kMaxSearchLevel = kMaxSearchDepth - SearchSettings{}.fourExtension;

// Calls from the search to the world outside the engine.
class SearchHooks {
 public:
  virtual ~SearchHooks() = default;
  // Handles one pending window message, if any, so the window stays responsive.
  virtual void PumpOneMessage() {}
  // Receives one examined move of the search (entry index, ply, point, value).
  virtual void RecordTrace(int index, int ply, int row, int col, int value) {
    (void)index, (void)ply, (void)row, (void)col, (void)value;
  }
  // Asked at every node: true abandons the search (its time is up). The answer of an abandoned
  // search means nothing.
  virtual bool StopRequested() { return false; }
};

struct EngineState {
  int moveCount = 0;  // stones on the game's board
  MoveList moveList;
  Position position;  // the game's own board and pattern tables
  SearchSettings settings;
  Random random;
  int traceCount = 0;  // index of the next trace entry
  SearchHooks* hooks = nullptr;
  SearchStack searchStack{kMaxSearchDepth};  // the search's nodes; scratch
};

}  // namespace zel
