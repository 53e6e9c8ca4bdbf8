// The 26 openings: Black's 1st stone on the centre, White's 2nd on one of the eight points around
// it (direct: beside it, indirect: diagonal to it), Black's 3rd within the central 5 x 5. Up to
// the board's symmetries there are 13 of each kind, numbered and named as tournaments know them.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "patterns/board.h"

namespace zel::openings {

struct OpeningName {
  std::string_view code;  // "1D" to "13D", "1I" to "13I"
  std::string_view name;  // "Kansei", ...
};

inline constexpr int kNamedOpenings = 26;

// The 26, direct ones first, each in its order.
std::span<const OpeningName> NamedOpenings();

// The opening whose three stones (Black, White, Black, in order) these are, in any of the eight
// orientations; nothing for three stones that are none of the 26.
std::optional<OpeningName> NameOf(std::span<const Point> stones);

// The three stones of the opening with this code ("2D"), in the orientation the table gives it
// (White's stone on h9 or i9); nothing for an unknown code.
std::optional<std::array<Point, 3>> StonesOf(std::string_view code);

}  // namespace zel::openings
