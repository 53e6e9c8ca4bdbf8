// Positions for tests, written the way a player would draw them.
#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "patterns/board.h"
#include "patterns/update.h"

namespace zel::test {

// Places stones in order, Black first, then alternating.
inline Position PlayMoves(std::initializer_list<Point> moves) {
  Position pos;
  int colour = kBlack;
  for (Point p : moves) {
    UpdatePatterns(pos, p.row, p.col, colour);
    colour = Opponent(colour);
  }
  return pos;
}

// A drawing of the board, top row first, white space ignored: 'X' a Black stone, 'O' a White
// stone, anything else an empty point. Rows not drawn are empty. Stones are placed row by row.
inline Position Diagram(std::string_view drawing) {
  Position pos;
  int cell = 0;
  for (char ch : drawing) {
    if (ch == ' ' || ch == '\n' || ch == '\t') continue;
    const int row = cell / kBoardSize;
    const int col = cell % kBoardSize;
    if (ch == 'X') UpdatePatterns(pos, row, col, kBlack);
    if (ch == 'O') UpdatePatterns(pos, row, col, kWhite);
    ++cell;
  }
  return pos;
}

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

}  // namespace zel::test
