// The backend's clock: microseconds since it was made, on the steady clock.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

class MicroClock {
 public:
  uint64_t Micros() const {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - epoch_)
                                     .count());
  }

 private:
  std::chrono::steady_clock::time_point epoch_ = std::chrono::steady_clock::now();
};

}  // namespace platform
