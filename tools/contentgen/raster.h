// Pixels for the content generator: cairo drawing surfaces, the 8-bit pictures written to disk,
// colour-key resolution, and deterministic noise and randomness.
#pragma once

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// Colour keys are written 0x00BBGGRR in the game's tables.
inline Rgb KeyRgb(uint32_t key) {
  return {uint8_t(key & 0xFF), uint8_t((key >> 8) & 0xFF), uint8_t((key >> 16) & 0xFF)};
}

// A picture as it goes to disk: 8-bit RGB, top row first.
struct Image {
  int w = 0, h = 0;
  std::vector<uint8_t> px;
  Image() = default;
  Image(int width, int height) : w(width), h(height), px(size_t(width) * height * 3, 0) {}
  Rgb At(int x, int y) const {
    const uint8_t* p = &px[(size_t(y) * w + x) * 3];
    return {p[0], p[1], p[2]};
  }
  void Set(int x, int y, Rgb c) {
    uint8_t* p = &px[(size_t(y) * w + x) * 3];
    p[0] = c.r, p[1] = c.g, p[2] = c.b;
  }
  void Fill(Rgb c) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Set(x, y, c);
  }
  // Copies src with its top-left corner at (x, y), clipped.
  void Blit(const Image& src, int x, int y);
};

// Linear-ish float colour with straight (not premultiplied) alpha, components 0..1.
struct Col {
  float r = 0, g = 0, b = 0, a = 1;
};
inline Col Hex(uint32_t rgb, float a = 1) {
  return {((rgb >> 16) & 0xFF) / 255.f, ((rgb >> 8) & 0xFF) / 255.f, (rgb & 0xFF) / 255.f, a};
}
inline float Clamp01(float v) {
  return v < 0 ? 0 : (v > 1 ? 1 : v);
}
inline float Smooth(float e0, float e1, float v) {
  float t = Clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
inline float Lerp(float a, float b, float t) {
  return a + (b - a) * t;
}
inline Col Mix(Col a, Col b, float t) {
  return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t), Lerp(a.a, b.a, t)};
}
inline Col Scale(Col c, float k) {
  return {c.r * k, c.g * k, c.b * k, c.a};
}
inline Col WithAlpha(Col c, float a) {
  return {c.r, c.g, c.b, a};
}
// Paints b over a (straight alpha).
Col Over(Col a, Col b);

// A cairo ARGB32 surface with its context.
class Surface {
 public:
  Surface(int width, int height);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int w, h;
  cairo_surface_t* s;
  cairo_t* cr;

  Col Get(int x, int y) const;
  void Put(int x, int y, Col c);    // replaces the pixel
  void Blend(int x, int y, Col c);  // paints over the pixel
  // Per-pixel painting: f(x, y) returns the colour placed over the current pixel.
  template <class F>
  void Shade(F f) {
    cairo_surface_flush(s);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Blend(x, y, f(float(x) + 0.5f, float(y) + 0.5f));
    cairo_surface_mark_dirty(s);
  }
  void Flush() { cairo_surface_flush(s); }
  void Dirty() { cairo_surface_mark_dirty(s); }
};

// Output conversions.
Image Opaque(Surface& s);  // over black
// Pixels at least half covered keep the sprite's own colour (edges resolved against the sprite,
// never against the key); the rest become exactly the key. No sprite pixel equals the key.
Image Keyed(Surface& s, uint32_t key, float threshold = 0.5f);
// As Keyed, but partly covered pixels are kept or dropped by an ordered dither of their coverage:
// smoke and fire thin out without blending.
Image KeyedDither(Surface& s, uint32_t key, float bias = 0.f);
// The nearest colour that differs from the key.
Rgb AvoidKey(Rgb c, Rgb key);
Rgb ToRgb(Col c);

// Deterministic randomness (no library distributions, so output never depends on the library).
uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0);
inline float Hash01(int x, int y, uint32_t seed) {
  return float(Hash(uint32_t(x), uint32_t(y), seed) >> 8) / float(1 << 24);
}
struct Rng {
  uint64_t state;
  explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint64_t Next();
  double Uniform() { return double(Next() >> 11) / double(1ull << 53); }
  float F(float lo, float hi) { return float(lo + (hi - lo) * Uniform()); }
  int Range(int lo, int hi) { return lo + int(Next() % uint64_t(hi - lo + 1)); }  // inclusive
  bool Chance(double p) { return Uniform() < p; }
};

// Smooth value noise on an integer lattice, 0..1. With period > 0 the lattice wraps, so the noise
// repeats every `period` lattice cells in x and y.
float Noise(float x, float y, uint32_t seed, int period = 0);
// Octaves of Noise; cell = size of the first octave in pixels; periodic when period_px > 0 (each
// octave's cell must divide period_px).
float Fbm(float x, float y, float cell, int octaves, uint32_t seed, int period_px = 0);
// Distance to the nearest feature point of a periodic cellular pattern (cell px, period px),
// and the hash of that point.
float Cellular(float x, float y, float cell, int period_px, uint32_t seed, uint32_t* id = nullptr);

// Cairo helpers.
void SetCol(cairo_t* cr, Col c);
void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);
// Draws UTF-8 text in DejaVu Sans; align 0 left, 0.5 centre, 1 right of x; y = baseline.
void Text(cairo_t* cr, double x, double y, double size, bool bold, const std::string& text,
          double align = 0);
double TextWidth(cairo_t* cr, double size, bool bold, const std::string& text);

}  // namespace gen

namespace gen {
// Distances to the nearest and second-nearest feature points of a periodic cellular pattern
// (period_px = 0: not periodic); seams lie where f2 - f1 is small.
void Cellular2(float x, float y, float cell, int period_px, uint32_t seed, float& f1, float& f2,
               uint32_t* id = nullptr);
}  // namespace gen
