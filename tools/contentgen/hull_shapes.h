// The hit areas of the craft, relative to the sprite's top-left corner, as the game builds them.
// The sprites are drawn so that their hulls fill these shapes: a shot that looks like a hit is
// one. The contact sheets outline them over the pictures.
#pragma once

#include <array>
#include <vector>

#include "enemies/hulls.h"
#include "flyers/aircraft_hulls.h"

namespace gen {

struct HitShape {
  bool circle;
  int a, b, c, d;  // rectangle: left, top, width, height; circle: centre x, centre y, radius
};
inline constexpr HitShape R(int l, int t, int w, int h) {
  return {false, l, t, w, h};
}
inline constexpr HitShape C(int x, int y, int r) {
  return {true, x, y, r, 0};
}

inline std::vector<HitShape> FromHull(THull hull) {
  std::vector<HitShape> shapes;
  for (const THullShape& h : hull) shapes.push_back({h.Circle, h.A, h.B, h.C, h.D});
  return shapes;
}

template <size_t N>
std::array<std::vector<HitShape>, N> FromHulls(const std::array<THull, N>& hulls) {
  std::array<std::vector<HitShape>, N> out;
  for (size_t i = 0; i < N; ++i) out[i] = FromHull(hulls[i]);
  return out;
}

inline const std::array<std::vector<HitShape>, 9>& EnemyShapes() {
  static const auto s = FromHulls(hulls::kEnemies);
  return s;
}

inline const std::array<std::vector<HitShape>, 6>& BossShapes() {
  static const auto s = FromHulls(hulls::kBosses);
  return s;
}

// The player's aircraft by kind code.
inline const std::array<std::vector<HitShape>, 4>& AircraftShapes() {
  static const auto s = FromHulls(hulls::kAircraft);
  return s;
}

// Where each craft fires from (relative to its top-left corner): turrets are drawn there.
struct Muzzle {
  int x, y;
};
inline const std::array<std::vector<Muzzle>, 9>& EnemyMuzzles() {
  static const std::array<std::vector<Muzzle>, 9> m{{
      {{42, 133}, {112, 133}},
      {{38, 60}},
      {{44, 105}, {89, 105}},
      {{47, 75}},
      {{45, 160}},
      {{3, 140}, {62, 140}},
      {{57, 125}},
      {{49, 135}, {94, 135}},
      {{28, 150}, {73, 150}},
  }};
  return m;
}

}  // namespace gen
