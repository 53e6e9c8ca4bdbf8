// The playing levels the window offers: each a search level of the threat search, for the
// stronger ones a time within which it deepens level by level instead, and for the strongest the
// strong engine within a time.
#pragma once

#include <array>
#include <chrono>
#include <string_view>

namespace zel {

struct LevelItem {
  std::string_view label;
  int searchLevel = 10;
  // When above zero, the reply deepens level by level up to searchLevel for at most this long: a
  // level starts only when it is expected to end in time, one still running then is abandoned,
  // and the last completed level's point is played.
  std::chrono::milliseconds thinkingTime{0};
  // The strong engine plays instead of the threat search, within thinkingTime.
  bool strong = false;
};

// Each level beats the one before it in a match over the tournament openings (see the README).
// The search level of "Advanced" stays for settings read elsewhere; its reply is the strong
// engine's.
inline constexpr std::array kLevelItems{
    LevelItem{"Beginner", 10},
    LevelItem{"Level 1", 12},
    LevelItem{"Level 2", 14},
    LevelItem{"Level 3", 16},
    LevelItem{"Level 4", 20, std::chrono::milliseconds(700)},
    LevelItem{"Advanced", 22, std::chrono::milliseconds(2000), true},
};

}  // namespace zel
