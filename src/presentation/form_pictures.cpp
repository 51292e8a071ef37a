#include "presentation/form_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "presentation/color.h"

namespace form_pictures {
namespace {

uint32_t Rgb(double r, double g, double b) {
  auto c = [](double v) { return static_cast<uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
  return (c(r) << 16) | (c(g) << 8) | c(b);
}

// Mixes two colours, t from 0 (a) to 1 (b).
uint32_t Mix(uint32_t a, uint32_t b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto ch = [&](int s) { return ((a >> s) & 255) * (1 - t) + ((b >> s) & 255) * t; };
  return Rgb(ch(16), ch(8), ch(0));
}

// A smooth ramp through fire colours: 0 dark red .. 1 white-hot.
uint32_t Fire(double heat) {
  static constexpr uint32_t kStops[] = {0x5A1408, 0xB42A0A, 0xF06414, 0xFFA82A, 0xFFE070, 0xFFFFE6};
  heat = std::clamp(heat, 0.0, 1.0) * 5.0;
  const int i = std::min(static_cast<int>(heat), 4);
  return Mix(kStops[i], kStops[i + 1], heat - i);
}

// Repeatable noise in [0, 1) from a cell position and a seed.
double Noise(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFF) / 65536.0;
}

TPicture Blank(int32_t w, int32_t h, uint32_t pixel) {
  TPicture p;
  p.Width = w;
  p.Height = h;
  p.Pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), pixel);
  return p;
}

void Put(TPicture& p, int32_t x, int32_t y, uint32_t pixel) {
  p.Pixels[static_cast<size_t>(y) * static_cast<size_t>(p.Width) + static_cast<size_t>(x)] = pixel;
}

}  // namespace

TPicture Shell() {
  constexpr uint32_t G = 0xC0C0C0;
  constexpr uint32_t B = 0x000000;
  // Straight: a solid tracer. Left and right: a short diagonal leaning the way it flies.
  static constexpr uint32_t kCells[3][3][2] = {
      {{G, G}, {G, G}, {G, G}},
      {{G, B}, {G, G}, {B, G}},
      {{B, G}, {G, G}, {G, B}},
  };
  TPicture p = Blank(6, 3, B);
  for (int c = 0; c < 3; ++c) {
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 2; ++x) Put(p, 2 * c + x, y, kCells[c][y][x]);
    }
  }
  return p;
}

TPicture MuzzleFlash() {
  TPicture p = Blank(36, 13, 0);
  // Each frame: the flame's length, its widest half-width and how hot it burns.
  struct Frame {
    double length, halfWidth, heat;
  };
  static constexpr Frame kFrames[4] = {
      {13.0, 4.4, 1.0}, {11.0, 3.8, 0.82}, {8.0, 3.0, 0.6}, {5.0, 2.2, 0.38}};
  for (int f = 0; f < 4; ++f) {
    const Frame& fr = kFrames[f];
    for (int y = 0; y < 13; ++y) {
      // t runs from the muzzle (the bottom row, 0) to the flame's tip (1).
      const double t = (12.5 - y) / fr.length;
      if (t < 0 || t > 1) continue;
      const double hw = fr.halfWidth * std::pow(1.0 - t, 0.55) * std::min(1.0, (t + 0.3) / 0.5);
      for (int x = 0; x < 9; ++x) {
        const double dx = std::fabs(x - 4.0) / std::max(hw, 0.01);
        if (dx > 1.0) continue;
        const double flicker = 0.12 * (Noise(x, y, f + 1) - 0.5);
        const double heat = fr.heat * (1.0 - 0.75 * dx * dx) * (1.0 - 0.45 * t) + flicker;
        if (heat < 0.12) continue;
        Put(p, 9 * f + x, y, Fire(heat));
      }
    }
  }
  return p;
}

TPicture SmallExplosion() {
  const uint32_t key = ColorToPixel(kSmallExplosionKey);
  TPicture p = Blank(48, 16, key);
  for (int f = 0; f < 3; ++f) {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const double dx = x - 7.5, dy = y - 7.5;
        const double r = std::sqrt(dx * dx + dy * dy);
        const double ragged = 1.6 * (Noise(x, y, 10 + f) - 0.5);
        uint32_t pixel = key;
        if (f == 0) {  // the flash: small, white-hot, a few sparks around it
          const double edge = 4.2 + ragged;
          if (r < edge) {
            pixel = Fire(1.0 - 0.55 * r / edge);
          } else if (r < 7.0 && Noise(x, y, 31) > 0.9) {
            pixel = Fire(0.75);
          }
        } else if (f == 1) {  // the fireball: yellow heart, orange body, dark red rim
          const double edge = 7.0 + ragged;
          if (r < edge) pixel = Fire(0.95 - 0.8 * r / edge + 0.15 * (Noise(x, y, 41) - 0.5));
        } else {  // the smoke: a grey-brown ring thinning out, embers glowing inside
          const double edge = 7.6 + ragged;
          if (r < edge && Noise(x, y, 51) > 0.18 + 0.5 * r / edge * (r / edge)) {
            const double shade = 0.35 + 0.3 * Noise(x, y, 52);
            pixel = Rgb(110 * shade + 40, 95 * shade + 30, 85 * shade + 28);
            if (r < 4.5 && Noise(x, y, 53) > 0.7) pixel = Fire(0.35 + 0.3 * Noise(x, y, 54));
          }
        }
        if (pixel != key && (pixel & 0xFFFFFF) == key) pixel ^= 1;  // never the key by chance
        Put(p, 16 * f + x, y, pixel);
      }
    }
  }
  return p;
}

}  // namespace form_pictures
