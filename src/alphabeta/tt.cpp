#include "alphabeta/tt.h"

#include <algorithm>
#include <bit>

namespace zel::ab {

TranspositionTable::TranspositionTable(std::size_t bytes) {
  Resize(bytes);
}

void TranspositionTable::Resize(std::size_t bytes) {
  const std::size_t buckets = std::bit_floor(std::max<std::size_t>(bytes / sizeof(Bucket), 1));
  buckets_.assign(buckets, Bucket{});
  buckets_.shrink_to_fit();
  mask_ = buckets - 1;
}

void TranspositionTable::Clear() {
  std::fill(buckets_.begin(), buckets_.end(), Bucket{});
}

const TtEntry* TranspositionTable::Probe(std::uint64_t hash) const {
  const auto check = static_cast<std::uint32_t>(hash >> 32);
  for (const TtEntry& e : BucketOf(hash).entries) {
    if (e.check == check && e.bound != Bound::kNone) return &e;
  }
  return nullptr;
}

void TranspositionTable::Store(std::uint64_t hash, int score, Cell move, int depth, Bound bound) {
  const auto check = static_cast<std::uint32_t>(hash >> 32);
  Bucket& bucket = BucketOf(hash);
  TtEntry* slot = &bucket.entries[0];
  for (TtEntry& e : bucket.entries) {
    if (e.check == check || e.bound == Bound::kNone) {
      slot = &e;
      break;
    }
    // The entry worth least: from an older search, else searched least deep.
    const auto worth = [this](const TtEntry& t) { return t.depth - (t.age != age_ ? 64 : 0); };
    if (worth(e) < worth(*slot)) slot = &e;
  }
  // A shallower result for the same position keeps the deeper one's move when it has none.
  if (slot->check == check && move == kNoCell) move = slot->move;
  *slot = {check,
           static_cast<std::int16_t>(score),
           static_cast<std::int16_t>(move),
           static_cast<std::int8_t>(std::clamp(depth, -128, 127)),
           bound,
           age_};
}

}  // namespace zel::ab
