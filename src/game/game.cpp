#include "game/game.h"

#include <cassert>
#include <ctime>

#include "patterns/update.h"

namespace zel {

Game::Game(Host& host) : host_(host) {
  engine_.random.Seed(static_cast<std::uint32_t>(std::time(nullptr)));
  NewGame();
}

void Game::Reset() {
  engine_.position.Clear();
  for (auto& row : scoreTable)
    row.fill(0);
  storedInventory = ThreatInventory{};
  engine_.moveCount = 0;
  statusMark = ' ';
}

void Game::NewGame() {
  Reset();
  if (blackPlayer == kComputer) Play({7, 7});
  host_.ShowStatus(kGreeting);
}

int Game::LoadMoves(std::span<const Point> moves) {
  if (moves.empty()) {
    NewGame();
    return 0;
  }
  Reset();
  for (const Point p : moves) {
    if (engine_.moveCount == kMaxMoves || !OnBoard(p) || engine_.position.board[p.row][p.col] > 0) {
      break;
    }
    Play(p);
  }
  host_.ShowStatus(kGreeting);
  return engine_.moveCount;
}

void Game::Play(Point p) {
  assert(OnBoard(p) && engine_.position.board[p.row][p.col] < 1);
  assert(engine_.moveCount < kMaxMoves);
  const int colour = SideToMove();
  engine_.moveList[++engine_.moveCount] = p;
  UpdatePatterns(engine_.position, p.row, p.col, colour);
}

bool Game::TakeBack() {
  if (engine_.moveCount == 0) return false;
  const Point last = engine_.moveList[engine_.moveCount];
  UpdatePatterns(engine_.position, last.row, last.col, 0);
  --engine_.moveCount;
  return true;
}

bool Game::ReplayNext() {
  if (engine_.moveCount >= kMaxMoves) return false;
  const Point next = engine_.moveList[engine_.moveCount + 1];
  if (!OnBoard(next) || engine_.position.board[next.row][next.col] > 0) return false;
  Play(next);
  return true;
}

}  // namespace zel
