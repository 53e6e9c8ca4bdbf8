#include "game/game.h"

#include <ctime>

#include "patterns/update.h"

namespace zel {

Game::Game(Host& host) : host_(host) {
  engine_.random.Seed(static_cast<std::uint32_t>(std::time(nullptr)));
  NewGame();
}

void Game::Reset() {
  engine_.position.Clear();
  for (auto& row : scoreTable_)
    row.fill(0);
  storedInventory_ = ThreatInventory{};
  engine_.moveCount = 0;
  statusMark = ' ';
}

void Game::NewGame() {
  Reset();
  if (blackPlayer == kComputer) (void)Play({7, 7});  // the empty board takes it
  host_.ShowStatus(kGreeting);
}

int Game::LoadMoves(std::span<const Point> moves) {
  if (moves.empty()) {
    NewGame();
    return 0;
  }
  Reset();
  for (const Point p : moves) {
    if (Play(p) != PlayResult::kPlayed) break;
  }
  host_.ShowStatus(kGreeting);
  return engine_.moveCount;
}

PlayResult Game::Play(Point p) {
  if (!OnBoard(p)) return PlayResult::kOffBoard;
  // A full board has no point left, so the move list cannot overflow.
  if (engine_.position.board[p.row][p.col] > 0) return PlayResult::kOccupied;
  const int colour = SideToMove();
  engine_.moveList[++engine_.moveCount] = p;
  UpdatePatterns(engine_.position, p.row, p.col, colour);
  return PlayResult::kPlayed;
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
  return Play(engine_.moveList[engine_.moveCount + 1]) == PlayResult::kPlayed;
}

bool Game::SetSettings(const SearchSettings& settings) {
  if (!settings.WithinDepthBound()) return false;
  engine_.settings = settings;
  return true;
}

Thought Game::Think() {
  return zel::Think(engine_, storedInventory_);
}

MoveChoice Game::ChooseMove() {
  return zel::ChooseMove(engine_, SideToMove(), engine_.position, scoreTable_);
}

std::optional<std::string> Game::BrokenInvariant() const {
  Position replay;
  for (int k = 1; k <= engine_.moveCount; ++k) {
    const Point p = engine_.moveList[k];
    if (!OnBoard(p)) return "move " + std::to_string(k) + " lies off the board";
    if (replay.board[p.row][p.col] > 0) return "move " + std::to_string(k) + " is on a stone";
    UpdatePatterns(replay, p.row, p.col, StoneColour(k, 1));
  }
  const Position& pos = engine_.position;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      const std::string at = " at " + std::to_string(r) + "," + std::to_string(c);
      if (pos.board[r][c] != replay.board[r][c]) {
        return "board value " + std::to_string(pos.board[r][c]) + at + ", a replay gives " +
               std::to_string(replay.board[r][c]);
      }
      if (pos.black[r][c] != replay.black[r][c]) return "Black's codes differ" + at;
      if (pos.white[r][c] != replay.white[r][c]) return "White's codes differ" + at;
    }
  }
  return std::nullopt;
}

}  // namespace zel
