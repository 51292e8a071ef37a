// The world's random generator: small, fast and fully determined by its seed, so a run can
// be replayed exactly from (seed, input).
#pragma once

#include <cstdint>

class TRandom {
 public:
  explicit TRandom(uint64_t seed = 1) { Seed(seed); }

  void Seed(uint64_t seed) {
    state_ = 0;
    inc_ = (seed << 1u) | 1u;
    Next();
    state_ += seed + 0x853c49e6748fea9bULL;
    Next();
  }

  // The whole state, to record and restore a generator exactly (a replay's start).
  uint64_t State() const { return state_; }
  uint64_t Increment() const { return inc_; }
  void Restore(uint64_t state, uint64_t increment) {
    state_ = state;
    inc_ = increment | 1u;
  }

  // PCG32: 64-bit state, 32-bit output.
  uint32_t Next() {
    uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + inc_;
    auto xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    auto rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
  }

  // Uniform integer in 0 .. n - 1; 0 when n <= 0 (callers pass sizes that can be 0).
  int32_t Random(int32_t n) {
    if (n <= 0) return 0;
    // Lemire's multiply-and-reject: unbiased and branch-light.
    auto bound = static_cast<uint32_t>(n);
    uint64_t m = static_cast<uint64_t>(Next()) * bound;
    auto low = static_cast<uint32_t>(m);
    if (low < bound) {
      uint32_t threshold = (0u - bound) % bound;
      while (low < threshold) {
        m = static_cast<uint64_t>(Next()) * bound;
        low = static_cast<uint32_t>(m);
      }
    }
    return static_cast<int32_t>(m >> 32u);
  }

 private:
  uint64_t state_ = 0;
  uint64_t inc_ = 1;
};
