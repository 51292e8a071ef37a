// Smooth motion. The rules tick 100 times a second while a display shows 60, 75, 144 or 165
// pictures a second; a picture of the last tick alone carries one, two or no ticks of motion,
// and the scroll judders. So a frame may draw every moving thing between where it stood when
// the latest tick began and where that tick left it, by the fraction of the tick interval
// that has passed since. The places kept for this are read by drawing only: the rules,
// collisions, replays and the pilot never see them.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>

// When, between two ticks, a frame is drawn: a plain value handed to DrawFrame.
struct TFramePhase {
  bool Smooth = false;  // false: the last tick's state as it stands, as always
  double Fraction = 1;  // of the tick interval elapsed since the last tick, 0..1
};

// Where a moving thing stood when the latest tick it saw began.
struct TLastPlace {
  int32_t X = 0;
  int32_t Y = 0;
  uint64_t Tick = 0;  // the world's MotionTick when taken; 0: never
};

// What the draw passes need: how far to carry each thing from its last place, and the
// world's MotionTick, which tells a place of the latest tick from an older one.
struct TDrawTime {
  double Fraction = 1;
  uint64_t Tick = 0;
};

struct TDrawPoint {
  int32_t X;
  int32_t Y;
};

// Nothing flies this far in a tick; a longer move is a jump and is drawn where it lands.
inline constexpr int32_t kLongestDrawnMove = 256;

// Half a pixel and more rounds away from the last place: the same rule for every thing, so
// things moving alike step alike.
inline int32_t DrawnPixels(double pixels) {
  return static_cast<int32_t>(std::floor(pixels + 0.5));
}

// Where to draw a thing that now stands at (x, y). Something the latest tick did not find
// (made since, or the flight began or resumed since) is drawn where it is, not slid in.
inline TDrawPoint DrawnAt(const TLastPlace& last, int32_t x, int32_t y, const TDrawTime& t) {
  if (t.Fraction >= 1 || last.Tick != t.Tick || t.Tick == 0) return {x, y};
  const int64_t dx = int64_t{x} - last.X, dy = int64_t{y} - last.Y;
  if (std::llabs(dx) > kLongestDrawnMove || std::llabs(dy) > kLongestDrawnMove) return {x, y};
  const double f = t.Fraction > 0 ? t.Fraction : 0;
  return {last.X + DrawnPixels(static_cast<double>(dx) * f),
          last.Y + DrawnPixels(static_cast<double>(dy) * f)};
}
