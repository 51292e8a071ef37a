// The hit areas of the craft, relative to the sprite's top-left corner, as the game builds them.
// The sprites are drawn so that their hulls fill these shapes: a shot that looks like a hit is
// one. The contact sheets outline them over the pictures.
#pragma once

#include <array>
#include <vector>

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

inline const std::array<std::vector<HitShape>, 9>& EnemyShapes() {
  static const std::array<std::vector<HitShape>, 9> s{{
      {R(26, 18, 19, 56), R(45, 18, 57, 28), R(102, 18, 19, 56), R(60, 4, 30, 114),
       R(36, 76, 6, 52), R(106, 76, 6, 52), R(42, 102, 64, 10), C(75, 129, 20)},
      {R(38, 38, 9, 18), C(43, 18, 33)},
      {C(70, 56, 30), C(70, 123, 10), R(26, 62, 11, 18), R(104, 62, 11, 18)},
      {R(37, 7, 24, 48), R(12, 35, 25, 8), R(61, 35, 26, 8), R(46, 56, 7, 31)},
      {R(16, 1, 22, 13), R(56, 2, 22, 13), R(38, 14, 18, 47), R(26, 61, 41, 79),
       R(19, 117, 55, 10)},
      {R(42, 11, 37, 24), C(33, 77, 28), C(88, 77, 28), C(61, 97, 10)},
      {R(52, 5, 16, 65), R(32, 17, 57, 12), C(28, 48, 16), C(92, 48, 16), C(60, 89, 16)},
      {R(25, 79, 14, 7), R(100, 79, 14, 7), R(37, 102, 7, 11), R(96, 102, 7, 11), C(37, 53, 18),
       C(102, 53, 18), C(69, 38, 15), C(69, 74, 8), C(35, 93, 5), C(104, 94, 5)},
      {R(20, 12, 85, 32), R(48, 58, 29, 44), R(53, 44, 19, 110)},
  }};
  return s;
}

inline const std::array<std::vector<HitShape>, 6>& BossShapes() {
  static const std::array<std::vector<HitShape>, 6> s{{
      {R(32, 29, 230, 22), R(99, 14, 94, 74), R(68, 80, 156, 20), R(110, 96, 18, 90),
       R(163, 96, 18, 90)},
      {C(76, 79, 51)},
      {R(95, 10, 121, 53), R(108, 62, 17, 42), R(128, 62, 13, 75), R(166, 62, 14, 85),
       R(140, 62, 27, 134), R(186, 62, 15, 42)},
      {R(134, 128, 31, 53), R(6, 38, 286, 31), R(109, 22, 82, 101), R(45, 69, 64, 14),
       R(84, 82, 24, 13), R(191, 69, 64, 14), R(191, 82, 24, 13)},
      {R(155, 134, 10, 38), C(159, 200, 25), C(253, 39, 25), C(224, 55, 8), C(213, 63, 8),
       C(202, 70, 8), C(66, 39, 25), C(95, 55, 8), C(107, 63, 8), C(117, 68, 8), C(159, 93, 38)},
      {C(157, 124, 108)},
  }};
  return s;
}

// The player's aircraft by kind code.
inline const std::array<std::vector<HitShape>, 4>& AircraftShapes() {
  static const std::vector<HitShape> f5f{R(76, 13, 8, 40), C(79, 70, 32), R(41, 74, 78, 12),
                                         R(57, 103, 45, 8)};
  static const std::array<std::vector<HitShape>, 4> s{{
      {C(79, 74, 39), C(54, 80, 10), C(105, 80, 10), R(76, 4, 8, 106), R(63, 104, 33, 10)},
      f5f,
      {C(77, 17, 3), C(77, 46, 10), C(54, 83, 10), C(101, 83, 10), C(77, 76, 20)},
      f5f,
  }};
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
