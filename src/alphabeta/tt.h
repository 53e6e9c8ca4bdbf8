// The transposition table: what earlier searches learned of a position (its best move, a score
// and whether that is exact or a bound, and to which depth), found by the position's hash.
// Entries come in buckets of four that share a cache line; a new result replaces the entry of
// the same position, else the one searched least deep or left from an older search.
#pragma once

#include <cstdint>
#include <vector>

#include "alphabeta/board.h"

namespace zel::ab {

enum class Bound : std::uint8_t { kNone, kUpper, kLower, kExact };

struct TtEntry {
  std::uint32_t check = 0;  // the hash's upper half, to tell positions of one slot apart
  std::int16_t score = 0;
  std::int16_t move = kNoCell;
  std::int8_t depth = 0;
  Bound bound = Bound::kNone;
  std::uint8_t age = 0;
};

class TranspositionTable {
 public:
  // A table of about `bytes` bytes (at least one bucket).
  explicit TranspositionTable(std::size_t bytes = std::size_t{16} << 20);

  void Resize(std::size_t bytes);
  void Clear();
  // A new search: entries of earlier ones give way first.
  void NewSearch() { ++age_; }

  // The entry of the position, or nullptr.
  const TtEntry* Probe(std::uint64_t hash) const;
  void Store(std::uint64_t hash, int score, Cell move, int depth, Bound bound);

  std::size_t Bytes() const { return buckets_.size() * sizeof(Bucket); }

 private:
  struct alignas(64) Bucket {
    TtEntry entries[4];
  };
  Bucket& BucketOf(std::uint64_t hash) { return buckets_[hash & mask_]; }
  const Bucket& BucketOf(std::uint64_t hash) const { return buckets_[hash & mask_]; }

  std::vector<Bucket> buckets_;
  std::uint64_t mask_ = 0;
  std::uint8_t age_ = 0;
};

}  // namespace zel::ab
