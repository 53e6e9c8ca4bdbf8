// The whole state of one game: the moves, the position, the players and the settings, with the
// engine's state that the search reads. Platform-free; the window reaches the platform through
// Host.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "game/host.h"
#include "patterns/board.h"
#include "patterns/threat_inventory.h"
#include "search/choose_move.h"
#include "search/engine_state.h"
#include "search/think.h"

namespace zel {

inline constexpr char kMan = 'M';       // a colour played by the user
inline constexpr char kComputer = 'C';  // a colour played by the computer

inline constexpr std::string_view kGreeting = "Welcome to Kelvo version";

// What became of a move handed to Game::Play.
enum class PlayResult {
  kPlayed,
  kOffBoard,  // the point is not on the board
  kOccupied,  // a stone is already there
};

class Game {
 public:
  // Seeds the move choice's random generator from the clock and starts a new game.
  explicit Game(Host& host);

  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // Clears the position and the stored threat inventory, sets the move count to 0 (the move
  // list keeps its entries), places the computer's centre stone when Black is the computer, and
  // shows the greeting.
  void NewGame();

  // Replaces the game by one holding these moves (stone k is Black for odd k); with no moves
  // this is a new game. Loading stops before a move off the board or onto a stone, so the game
  // stays sound whatever it is given. Returns the number of moves loaded.
  int LoadMoves(std::span<const Point> moves);

  // Enters the next move of the side to move into the move list and places it. A point off the
  // board or on a stone is refused and changes nothing. A marked point is not refused: Black's
  // forbidden points are the player's to avoid.
  [[nodiscard]] PlayResult Play(Point p);
  // Takes the last stone off; its move-list entry stays. False when the board is empty.
  bool TakeBack();
  // Plays the move-list entry after the last move again, if it lies on the board.
  bool ReplayNext();

  int moveCount() const { return engine_.moveCount; }
  // Move k of the game (1 to moveCount); other entries are scratch or kNoPoint.
  Point Move(int k) const { return engine_.moveList[k]; }
  std::span<const Point> Moves() const {
    return {engine_.moveList.data() + 1, static_cast<size_t>(engine_.moveCount)};
  }
  int SideToMove() const { return engine_.moveCount % 2 == 0 ? kBlack : kWhite; }
  const Position& position() const { return engine_.position; }
  const EngineState& engine() const { return engine_; }

  const SearchSettings& settings() const { return engine_.settings; }
  // Replaces the search settings; refuses (false, nothing changed) settings under which a search
  // would run past the move list's scratch entries.
  bool SetSettings(const SearchSettings& settings);
  // Restarts the move choice's random generator, for repeatable games.
  void SeedRandom(std::uint32_t seed) { engine_.random.Seed(seed); }

  // The computer's reply for the side to move, found without playing it.
  Thought Think();
  // The one-ply choice for the side to move; its scores become the score table.
  MoveChoice ChooseMove();

  Host& host() { return host_; }

  char blackPlayer = kMan;
  char whitePlayer = kMan;
  int levelIndex = 0;     // which level item is checked; 0 = "Beginner"
  int displayMode = 0;    // coordinate labels: 1 "Debug", 0 "Goo"
  char statusMark = ' ';  // '+' when the last search proved a win for its colour
  bool traceSwitch = false;
  bool shortTraceFlag = false;

  // What is wrong with the game's state, or nothing: the board must hold exactly the stones of
  // moves 1 to moveCount, and the board's marks and both pattern tables must equal those of a
  // fresh replay of the moves.
  std::optional<std::string> BrokenInvariant() const;

  // The scores of the last one-ply choice made through ChooseMove.
  const ScoreTable& scoreTable() const { return scoreTable_; }

 private:
  // Everything a new game resets, without the computer's centre stone.
  void Reset();

  Host& host_;
  EngineState engine_;
  ScoreTable scoreTable_{};
  // Cleared at every new game and handed to the search, whose root does not read it.
  ThreatInventory storedInventory_;
};

}  // namespace zel
