// The move choice's random numbers: the classic linear congruential generator, so that a seed
// gives the same games on every platform.
#pragma once

#include <cstdint>

namespace zel {

class Random {
 public:
  static constexpr int kMax = 32767;

  explicit Random(std::uint32_t seed = 1) : state_(seed) {}

  void Seed(std::uint32_t seed) { state_ = seed; }

  // The next value, 0 to 32767.
  int Next() {
    state_ = state_ * 214013U + 2531011U;
    return static_cast<int>((state_ >> 16) & static_cast<std::uint32_t>(kMax));
  }

 private:
  std::uint32_t state_;
};

}  // namespace zel
