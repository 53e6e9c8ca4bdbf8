// How GoogleTest prints the engine's small value types in failure messages.
#pragma once

#include <ostream>

#include "patterns/board.h"
#include "search/search_result.h"

namespace zel {

inline void PrintTo(const Point& p, std::ostream* out) {
  *out << "(" << p.row << ", " << p.col << ")";
}

inline void PrintTo(const SearchResult& r, std::ostream* out) {
  *out << "{" << r.row << ", " << r.col << ", value " << r.value << ", depth " << r.depth << "}";
}

}  // namespace zel
