// Positions for tests, written the way a player would draw them.
#pragma once

#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "patterns/board.h"
#include "patterns/threat_inventory.h"
#include "patterns/update.h"
#include "support/printers.h"

namespace zel::test {

// Points in board notation ("h8 i9 ..."): column letter, row number counted from the bottom.
inline std::vector<Point> Rif(std::string_view text) {
  std::vector<Point> points;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    const int col = text[i++] - 'a';
    int number = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
      number = number * 10 + (text[i++] - '0');
    points.push_back({kBoardSize - number, col});
  }
  return points;
}

// Points written "r,c r,c ...", row and column from 0.
inline std::vector<Point> Points(std::string_view text) {
  std::vector<Point> points;
  std::istringstream in{std::string(text)};
  int row = 0;
  int col = 0;
  char comma = 0;
  while (in >> row >> comma >> col)
    points.push_back({row, col});
  return points;
}

// Black's stones, then White's ("r,c r,c ..."), where the order of play does not matter.
inline Position Stones(std::string_view black, std::string_view white = "") {
  Position pos;
  for (Point p : Points(black))
    UpdatePatterns(pos, p.row, p.col, kBlack);
  for (Point p : Points(white))
    UpdatePatterns(pos, p.row, p.col, kWhite);
  return pos;
}

// The position after `moves` random moves, Black and White in turn, each on a point without a
// stone (Black's may be marked: the pattern engine does not refuse them).
inline Position RandomPosition(std::mt19937& rng, int moves) {
  Position pos;
  for (int k = 0; k < moves;) {
    const int r = static_cast<int>(rng() % kBoardSize);
    const int c = static_cast<int>(rng() % kBoardSize);
    if (pos.board[r][c] < 1) UpdatePatterns(pos, r, c, k++ % 2 == 0 ? kBlack : kWhite);
  }
  return pos;
}

inline ThreatInventory Scan(const Position& pos, int depth = 1, Point around = {0, 0}) {
  ThreatInventory inventory;
  ScanThreats(depth, inventory, pos, around.row, around.col);
  return inventory;
}

// Every list's count, in kind order: "0 2 0 2 ...".
inline std::string Counts(const ThreatInventory& inventory) {
  std::string text;
  for (int kind = 0; kind < kThreatKinds; ++kind) {
    if (kind > 0) text += ' ';
    text += std::to_string(inventory.Count(kind));
  }
  return text;
}

// A list as "r,c,d r,c,d ...".
inline std::string Listing(const ThreatInventory& inventory, int kind) {
  std::string text;
  for (const ThreatEntry& e : inventory.List(kind)) {
    if (!text.empty()) text += ' ';
    text += std::to_string(e.row) + "," + std::to_string(e.col) + "," + std::to_string(e.dir);
  }
  return text;
}

// The entries of one point in every list, in kind order, as "kind/dir": b5 bS4 b43 b4 b3 for
// Black's lists, w5 wS4 wC4 w4 w33 w3 for White's; combination kinds have no direction.
inline std::string Where(const ThreatInventory& inventory, Point p) {
  static constexpr const char* kNames[kThreatKinds] = {"b5",  "bS4", "b43", "b4",  "b3", "w5",
                                                       "wS4", "wC4", "w4",  "w33", "w3"};
  std::string text;
  for (int kind = 0; kind < kThreatKinds; ++kind) {
    const bool combination =
        kind == kBlackFourThrees || kind == kWhiteFourCombos || kind == kWhiteDoubleThrees;
    for (const ThreatEntry& e : inventory.List(kind)) {
      if (e.row != p.row || e.col != p.col) continue;
      if (!text.empty()) text += ' ';
      text += kNames[kind];
      if (combination) continue;
      text += '/';
      text += std::to_string(e.dir);
    }
  }
  return text;
}

}  // namespace zel::test
