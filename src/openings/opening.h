// The tournament opening rules as state machines. An opening is driven one step at a time by
// whoever is asked (Request): place a stone within a central square, swap colours or not, declare
// how many 5th moves will be offered, offer them, or choose one offered. Each step is validated,
// and refused with a reason a player can read. When the last step is taken the game goes on as a
// normal Renju game from the stones placed.
//
//   RIF (1996): the first player (the tentative Black) places the three stones of one of the 26
//     openings; the second player may swap; White plays the 4th anywhere; Black offers two 5th
//     moves; White keeps one and plays the 6th.
//   Soosõrv-8: the first player places one of the 26 openings; the second may swap; White plays
//     the 4th anywhere and declares how many 5th moves (1 to 8) Black will offer; the other
//     player may swap; Black offers them; White keeps one.
//   Taraguchi-10: the 1st stone on the centre, the 2nd within the central 3 x 3, the 3rd within
//     5 x 5, the 4th within 7 x 7, the player not to place each stone may swap after it. Then
//     Black either places the 5th within 9 x 9 (and White's player may swap once more), or,
//     having not swapped after the 4th, offers ten 5th moves anywhere, of which White keeps one.
//
// Offered 5th moves are pairwise not symmetrical under the symmetries that keep the first four
// stones in place, and never on a point forbidden to Black.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/opening_log.h"
#include "patterns/board.h"

namespace zel::openings {

enum class Rule { kRif, kSoosorv8, kTaraguchi10 };

// "rif", "soosorv8", "taraguchi10", and back.
std::string_view RuleName(Rule rule);
std::optional<Rule> RuleFromName(std::string_view name);

// The two players: the first places the first stone (as the tentative Black).
inline constexpr int kFirstPlayer = 0;
inline constexpr int kSecondPlayer = 1;

// The step the opening waits for, and who takes it.
struct Request {
  OpeningStepKind kind = OpeningStepKind::kNone;  // kNone: the opening is over
  int player = kFirstPlayer;
  int colour = kBlack;  // the colour that player holds now
  int stone = 0;        // kPlace: the stone's number in the game, 1 to 5
  int area = 0;         // kPlace: within the central area x area square (kBoardSize: anywhere)
  int count = 0;        // kOffer: how many 5th moves; kDeclare: the most that may be declared
  bool offerInstead = false;  // kPlace: `count` 5th moves may be offered instead
};

// What is asked, for the status bar: "White (second player): place the 4th stone anywhere".
std::string Describe(const Request& request);

class Opening {
 public:
  explicit Opening(Rule rule);

  Rule rule() const { return rule_; }
  const Request& Next() const { return request_; }
  bool Done() const { return request_.kind == OpeningStepKind::kNone; }

  // The player holding a colour now.
  int PlayerOf(int colour) const { return colour == kBlack ? blackPlayer_ : 1 - blackPlayer_; }
  // The stones placed (and the 5th kept), in the order of play: Black's first.
  std::span<const Point> Stones() const { return stones_; }
  // The 5th moves on offer, until one is chosen.
  std::span<const Point> Offered() const { return offered_; }
  // The number of 5th moves declared (Soosõrv-8), 0 before.
  int Declared() const { return declared_; }
  // The steps taken, in order.
  std::span<const OpeningStep> Steps() const { return steps_; }

  // The legal choices when they are few: the points a stone may be placed on when that is a
  // small area (up to 7 x 7), the offered moves to choose from; empty otherwise.
  std::vector<Point> Choices() const;

  // Why the step may not be taken now, or nothing when it may.
  std::optional<std::string> Validate(const OpeningStep& step) const;
  // Takes the step when it is valid; otherwise changes nothing and says why.
  std::optional<std::string> Apply(const OpeningStep& step);

  // The opening after a rule's steps, or why they are not a valid opening ("step 4: ...").
  struct Replay;
  static Replay FromLog(const OpeningLog& log);
  OpeningLog Log() const;

 private:
  struct Phase {
    OpeningStepKind kind;
    int deciderColour;  // the player holding this colour takes the step
    int stone = 0;
    int area = kBoardSize;
    int count = 0;
  };
  // Moves phase_ past the phases that do not apply, onto the next request.
  void Settle();
  std::optional<std::string> ValidatePlace(Point p) const;
  std::optional<std::string> ValidateOffer(std::span<const Point> points) const;

  Rule rule_;
  std::vector<Phase> phases_;
  size_t phase_ = 0;
  Request request_;
  int blackPlayer_ = kFirstPlayer;
  int declared_ = 0;
  bool lastSwap_ = false;
  std::vector<Point> stones_;
  std::vector<Point> offered_;
  std::vector<OpeningStep> steps_;
};

struct Opening::Replay {
  std::optional<Opening> opening;
  std::string error;
};

// The board of these moves (Black's first, then each colour in turn), as the rules judge reads it.
Board StonesBoard(std::span<const Point> stones);

// Whether p lies within the central area x area square.
bool WithinArea(Point p, int area);

}  // namespace zel::openings
