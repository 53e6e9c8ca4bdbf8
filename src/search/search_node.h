// Internals shared by the files of the threat search: a node's state and small helpers.
#pragma once

#include <optional>

#include "patterns/board.h"
#include "patterns/line_codes.h"
#include "patterns/threat_inventory.h"
#include "search/choose_move.h"
#include "search/threat_search.h"

namespace zel {

// The inventory lists of one colour.
template <int Us>
struct Kinds;

template <>
struct Kinds<kBlack> {
  static constexpr int kFives = kBlackFives;
  static constexpr int kStraightFours = kBlackStraightFours;
  static constexpr int kCombinations = kBlackFourThrees;
  static constexpr int kFours = kBlackFours;
  static constexpr int kThrees = kBlackThrees;
};

template <>
struct Kinds<kWhite> {
  static constexpr int kFives = kWhiteFives;
  static constexpr int kStraightFours = kWhiteStraightFours;
  static constexpr int kCombinations = kWhiteFourCombos;
  static constexpr int kFours = kWhiteFours;
  static constexpr int kThrees = kWhiteThrees;
};

// The best answer so far among the defences a node tries. Black prefers the greater value and,
// among equal values, the longer line; White the smaller value and the longer line. A tie keeps
// the earlier answer.
template <int Us>
class ThreatSearch::BestAnswer {
 public:
  void Update(Point p, const SearchResult& child) {
    if (Us == kBlack ? Key(child.value, child.depth) > Key(value_, depth_)
                     : Key(child.value, child.depth) < Key(value_, depth_)) {
      point_ = p;
      value_ = child.value;
      depth_ = child.depth;
    }
  }
  int value() const { return value_; }
  int depth() const { return depth_; }
  SearchResult result() const { return {point_.row, point_.col, value_, depth_}; }

 private:
  static int Key(int value, int depth) {
    return Us == kBlack ? value * 100 + depth : value * 100 - depth;
  }

  Point point_{0, 0};
  int value_ = Us == kBlack ? -9 : 9;  // worse than any outcome: no answer tried yet
  int depth_ = 0;
};

// The call of a child for a move of the node: levels and filters passed on unchanged.
inline SearchCall ChildCall(const ThreatSearch::Node& node, Point move) {
  SearchCall child = node.call;
  child.depth = node.ply;
  child.previous = node.call.last;
  child.last = move;
  return child;
}

inline Point ToPoint(const ThreatEntry& e) {
  return {e.row, e.col};
}

// Whether some line code of the colour at p is a threat (7 or more).
inline bool HasThreatCode(const Position& pos, int colour, Point p) {
  const PatternEntry codes = pos.Entry(colour, p.row, p.col);
  for (int d = 0; d < kDirections; ++d) {
    if (IsThreat(codes[d])) return true;
  }
  return false;
}

// A point where the searching side makes a threat: for Black an unmarked empty point, for White
// any point.
template <int Us>
bool IsOwnThreatPoint(const Position& pos, Point p) {
  if (Us == kBlack && pos.board[p.row][p.col] != kEmpty) return false;
  return HasThreatCode(pos, Us, p);
}

}  // namespace zel
