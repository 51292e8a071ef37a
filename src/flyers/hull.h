// Hit areas as data: one table per craft kind, read by the constructors that build the shape
// list and by the content generator that draws each hull to fill its shapes.
#pragma once

#include <cstdint>
#include <span>

struct THullShape {
  bool Circle;
  int32_t A, B, C, D;  // rectangle: left, top, width, height; circle: centre x, centre y, radius
};

constexpr THullShape HullRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {false, left, top, width, height};
}
constexpr THullShape HullCircle(int32_t cx, int32_t cy, int32_t radius) {
  return {true, cx, cy, radius, 0};
}

using THull = std::span<const THullShape>;
