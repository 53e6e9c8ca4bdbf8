#include "openings/names.h"

#include "files/move_text.h"
#include "openings/symmetry.h"

namespace zel::openings {
namespace {

// Numbers and names as in the RIF's list of the 26 openings (the "Renju opening pattern"
// article, http://w.owiki.org/wiki/Renju_opening_pattern, lists 1I Chosei to 13I Suisei); each
// third stone with White's on h9 (direct) or i9 (indirect), as the public opening tables of
// AbstractPlay's renju game and of a renju trainer's opening dictionary (cells 112 113 ...) both
// place them.
struct Entry {
  OpeningName name;
  std::string_view white;
  std::string_view third;
};
constexpr std::array<Entry, kNamedOpenings> kEntries{{
    {{"1D", "Kansei"}, "h9", "h10"},   {{"2D", "Keigetsu"}, "h9", "i10"},
    {{"3D", "Sosei"}, "h9", "j10"},    {{"4D", "Kagetsu"}, "h9", "i9"},
    {{"5D", "Zangetsu"}, "h9", "j9"},  {{"6D", "Ugetsu"}, "h9", "i8"},
    {{"7D", "Kinsei"}, "h9", "j8"},    {{"8D", "Shogetsu"}, "h9", "h7"},
    {{"9D", "Kyugetsu"}, "h9", "i7"},  {{"10D", "Shingetsu"}, "h9", "j7"},
    {{"11D", "Zuisei"}, "h9", "h6"},   {{"12D", "Sangetsu"}, "h9", "i6"},
    {{"13D", "Yusei"}, "h9", "j6"},    {{"1I", "Chosei"}, "i9", "j10"},
    {{"2I", "Kyogetsu"}, "i9", "j9"},  {{"3I", "Kosei"}, "i9", "j8"},
    {{"4I", "Suigetsu"}, "i9", "j7"},  {{"5I", "Ryusei"}, "i9", "j6"},
    {{"6I", "Ungetsu"}, "i9", "i8"},   {{"7I", "Hogetsu"}, "i9", "i7"},
    {{"8I", "Rangetsu"}, "i9", "i6"},  {{"9I", "Gingetsu"}, "i9", "h7"},
    {{"10I", "Myojo"}, "i9", "h6"},    {{"11I", "Shagetsu"}, "i9", "g7"},
    {{"12I", "Meigetsu"}, "i9", "g6"}, {{"13I", "Suisei"}, "i9", "f6"},
}};

Point At(std::string_view notation) {
  return ParseMoves(notation).moves.at(0);
}

std::array<Point, 3> Stones(const Entry& e) {
  return {kCentre, At(e.white), At(e.third)};
}

}  // namespace

std::span<const OpeningName> NamedOpenings() {
  static const std::array<OpeningName, kNamedOpenings> names = [] {
    std::array<OpeningName, kNamedOpenings> list{};
    for (int i = 0; i < kNamedOpenings; ++i)
      list[i] = kEntries[i].name;
    return list;
  }();
  return names;
}

std::optional<OpeningName> NameOf(std::span<const Point> stones) {
  if (stones.size() != 3) return std::nullopt;
  for (int t = 0; t < kSymmetries; ++t) {
    const std::array<Point, 3> image{Transform(t, stones[0]), Transform(t, stones[1]),
                                     Transform(t, stones[2])};
    for (const Entry& e : kEntries) {
      if (image == Stones(e)) return e.name;
    }
  }
  return std::nullopt;
}

std::optional<std::array<Point, 3>> StonesOf(std::string_view code) {
  for (const Entry& e : kEntries) {
    if (e.name.code == code) return Stones(e);
  }
  return std::nullopt;
}

}  // namespace zel::openings
