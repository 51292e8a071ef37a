// A display refreshing HZ times a second beside the 100 Hz tick clock, as the game's loop
// meets one under vsync: frame n is drawn at n / HZ seconds and tick k is due at k x 10 ms,
// both counted from the mission's start; the ticks due run first, then the frame, which sees
// the time since the last tick's scheduled time as its fraction of a tick.
#pragma once

#include <cstdint>

class TVirtualDisplay {
 public:
  static constexpr int64_t kTickNanos = 10'000'000;

  explicit TVirtualDisplay(int32_t hz) : hz_(hz) {}

  // Presents, by draw(frameNumber, fraction), every frame from tick `tick` until the next.
  // Frames before the first tick are not drawn.
  template <class Draw>
  void FramesAfterTick(int64_t tick, Draw&& draw) {
    const int64_t tickAt = tick * kTickNanos;
    for (; FrameAt(next_) < tickAt + kTickNanos; ++next_) {
      if (FrameAt(next_) < tickAt) continue;
      draw(next_, static_cast<double>(FrameAt(next_) - tickAt) / static_cast<double>(kTickNanos));
    }
  }

 private:
  int64_t FrameAt(int64_t n) const { return n * 1'000'000'000 / hz_; }
  int64_t hz_;
  int64_t next_ = 0;
};
