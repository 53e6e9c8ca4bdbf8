#include "alphabeta/evaluate.h"

#include <charconv>
#include <cstdlib>
#include <span>
#include <string_view>

namespace zel::ab {

namespace {

// Fitted to game outcomes (scripts/fit_weights.py: the squared error of a logistic of the
// evaluation against the side to move's result, over 23,261 quiet positions of about 750 games
// of this engine's matches and of Rapfi's self-play), from the weights of an earlier self-play
// tuning; the README gives the figures.
// Line patterns:      dead one two open2 three open3 four open4 five overline double4
// Threat classes:     none forbidden two double2 closed3 three double3 four four3 flex4 five
constexpr Weights kWeights{{
    // The side to move: its open threes and fours are a move from winning.
    {{0, -2, 5, 25, 32, 47, 62, 160, 0, 0, 0}, {0, -2, -29, -37, -19, -8, 96, 60, 460, 674, 574}},
    // The side that waits: its threats are the opponent's to answer first.
    {{0, -2, 5, 17, 28, 25, 55, 96, 0, 0, 0}, {0, -9, -22, -20, -16, 1, 35, 43, 164, 260, 158}},
}};

}  // namespace

bool ParseWeights(std::string_view text, Weights& weights) {
  std::size_t at = 0;
  auto skipSeparators = [&] {
    while (at < text.size() && (text[at] == ',' || text[at] == ' '))
      ++at;
  };
  auto read = [&](std::span<std::int16_t> values) {
    for (std::int16_t& value : values) {
      skipSeparators();
      const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
      if (error != std::errc()) return false;
      at = static_cast<std::size_t>(end - text.data());
    }
    return true;
  };
  Weights parsed{};
  for (PointWeights& role : parsed) {
    if (!read(role.line) || !read(role.threat)) return false;
  }
  skipSeparators();
  if (at != text.size()) return false;
  weights = parsed;
  return true;
}

const Weights& DefaultWeights() {
  // The tuning matches try other weights through the environment; anything unreadable there
  // leaves the built-in ones.
  static const Weights weights = [] {
    Weights w = kWeights;
    if (const char* text = std::getenv("ZEL_WEIGHTS")) ParseWeights(text, w);
    return w;
  }();
  return weights;
}

}  // namespace zel::ab
