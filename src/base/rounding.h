// Rounding and sign. Every place a float becomes an integer rounds to the nearest integer,
// halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), so speeds and percentages
// never drift one way. Done explicitly so it cannot depend on the floating-point mode.
#pragma once

#include <cmath>
#include <cstdint>

inline int32_t Round(double v) {
  double f = std::floor(v);
  double diff = v - f;
  double r = f;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0.0)) r = f + 1.0;
  // Clamp before converting so a runaway value can never invoke undefined behaviour.
  if (!(r < 2147483647.0)) return r != r ? 0 : INT32_MAX;
  if (r <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(r);
}

constexpr int32_t Sign(int64_t n) {
  return n < 0 ? -1 : (n > 0 ? 1 : 0);
}
