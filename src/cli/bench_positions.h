// The fixed positions that `zel-cli bench` searches.
#pragma once

#include <string_view>
#include <vector>

namespace zel::cli {

struct BenchPosition {
  std::string_view name;
  std::string_view kind;
  std::string_view moves;  // "h8 i9 ...": Black first, alternating
};

const std::vector<BenchPosition>& BenchPositions();

}  // namespace zel::cli
