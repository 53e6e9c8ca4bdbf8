// The threat search's nodes, one per depth, in storage the engine owns: a node holds a copy of
// the position and two threat inventories (about 9 KB), far too much for the thread's stack
// when the search goes deep. The nodes are allocated once, at the first search, for the deepest
// search the move list allows; a search then uses only a small, fixed amount of the stack.
#pragma once

#include <cassert>
#include <memory>

#include "patterns/board.h"
#include "patterns/threat_inventory.h"
#include "search/search_call.h"
#include "threats/carry.h"

namespace zel {

// Everything a node owns for the length of its call.
struct SearchNode {
  // Starts the node of a call on a copy of the parent's position; the inventories are left for
  // the node's entry to build.
  void Reset(const SearchCall& c, const Position& parent) {
    call = c;
    ply = c.depth + 1;
    pos = parent;
    lastExamined = {0, 0};
  }

  SearchCall call;
  int ply = 1;           // depth + 1: the number of the move this node chooses
  Position pos;          // the node's own copy of the position
  ThreatInventory own;   // the mover's threats around its previous stone (ThreatSearch::OwnKinds)
  ThreatInventory last;  // threats around the opponent's last stone; handed to children
  Point lastExamined{0, 0};  // the last attack tried in the four-three and four steps
};

class SearchStack {
 public:
  // Room for a node at every depth from 0 to maxDepth.
  explicit SearchStack(int maxDepth) : size_(maxDepth + 1) {}

  // Scratch, not state: a copy has room for as many nodes and allocates its own.
  SearchStack(const SearchStack& other) : size_(other.size_) {}
  SearchStack& operator=(const SearchStack& other) {
    if (size_ != other.size_) {
      size_ = other.size_;
      nodes_.reset();
    }
    return *this;
  }

  // Where a node's entry classifies the parent's threats before merging them into its two
  // inventories; no node holds on to it.
  CarriedThreats& Carried() {
    if (!carried_) carried_ = std::make_unique_for_overwrite<CarriedThreats>();
    return *carried_;
  }

  // The node of a call at depth 0 to maxDepth. A node stays in use while its children, one
  // depth further each, run; siblings take turns in the same node.
  SearchNode& At(int depth) {
    assert(depth >= 0 && depth < size_);
    if (!nodes_) nodes_ = std::make_unique_for_overwrite<SearchNode[]>(static_cast<size_t>(size_));
    return nodes_[static_cast<size_t>(depth)];
  }

 private:
  int size_;
  std::unique_ptr<SearchNode[]> nodes_;
  std::unique_ptr<CarriedThreats> carried_;
};

}  // namespace zel
