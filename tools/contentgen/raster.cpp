#include "raster.h"

#include <algorithm>

namespace gen {

void Image::Blit(const Image& src, int x, int y) {
  for (int sy = 0; sy < src.h; ++sy) {
    int dy = y + sy;
    if (dy < 0 || dy >= h) continue;
    for (int sx = 0; sx < src.w; ++sx) {
      int dx = x + sx;
      if (dx >= 0 && dx < w) Set(dx, dy, src.At(sx, sy));
    }
  }
}

Col Over(Col a, Col b) {
  float oa = b.a + a.a * (1 - b.a);
  if (oa <= 0) return {0, 0, 0, 0};
  auto ch = [&](float ca, float cb) { return (cb * b.a + ca * a.a * (1 - b.a)) / oa; };
  return {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b), oa};
}

Surface::Surface(int width, int height) : w(width), h(height) {
  s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cr = cairo_create(s);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
}

Surface::~Surface() {
  cairo_destroy(cr);
  cairo_surface_destroy(s);
}

static uint32_t* Row(cairo_surface_t* s, int y) {
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) +
                                     size_t(y) * cairo_image_surface_get_stride(s));
}

Col Surface::Get(int x, int y) const {
  uint32_t p = Row(s, y)[x];
  float a = float(p >> 24) / 255.f;
  if (a <= 0) return {0, 0, 0, 0};
  return {float((p >> 16) & 0xFF) / 255.f / a, float((p >> 8) & 0xFF) / 255.f / a,
          float(p & 0xFF) / 255.f / a, a};
}

void Surface::Put(int x, int y, Col c) {
  float a = Clamp01(c.a);
  auto q = [](float v) { return uint32_t(std::lround(Clamp01(v) * 255.f)); };
  Row(s, y)[x] = (q(a) << 24) | (q(c.r * a) << 16) | (q(c.g * a) << 8) | q(c.b * a);
}

void Surface::Blend(int x, int y, Col c) {
  if (c.a <= 0) return;
  if (c.a >= 1) {
    Put(x, y, c);
    return;
  }
  Put(x, y, Over(Get(x, y), c));
}

Rgb ToRgb(Col c) {
  auto q = [](float v) { return uint8_t(std::lround(Clamp01(v) * 255.f)); };
  return {q(c.r), q(c.g), q(c.b)};
}

Rgb AvoidKey(Rgb c, Rgb key) {
  if (!(c == key)) return c;
  // Move the channel with the most room by one step; invisible, but never the key.
  Rgb out = c;
  if (out.g > 0)
    --out.g;
  else
    ++out.g;
  if (out == key) {
    if (out.b > 0)
      --out.b;
    else
      ++out.b;
  }
  return out;
}

Image Opaque(Surface& s) {
  s.Flush();
  Image img(s.w, s.h);
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      uint32_t p = Row(s.s, y)[x];  // premultiplied = composited over black
      img.Set(x, y, {uint8_t((p >> 16) & 0xFF), uint8_t((p >> 8) & 0xFF), uint8_t(p & 0xFF)});
    }
  return img;
}

Image Keyed(Surface& s, uint32_t key, float threshold) {
  s.Flush();
  Rgb k = KeyRgb(key);
  Image img(s.w, s.h);
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      Col c = s.Get(x, y);
      img.Set(x, y, c.a >= threshold ? AvoidKey(ToRgb(c), k) : k);
    }
  return img;
}

Image KeyedDither(Surface& s, uint32_t key, float bias) {
  static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  s.Flush();
  Rgb k = KeyRgb(key);
  Image img(s.w, s.h);
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) {
      Col c = s.Get(x, y);
      float t = (bayer[y & 3][x & 3] + 0.5f) / 16.f;
      img.Set(x, y, c.a + bias > t ? AvoidKey(ToRgb(c), k) : k);
    }
  return img;
}

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  uint32_t h = 0x811C9DC5u;
  for (uint32_t v : {a, b, c, d}) {
    h ^= v;
    h *= 0x01000193u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
  }
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  return h;
}

uint64_t Rng::Next() {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

static int Wrap(int v, int p) {
  return p > 0 ? ((v % p) + p) % p : v;
}

float Noise(float x, float y, uint32_t seed, int period) {
  int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  float fx = x - float(x0), fy = y - float(y0);
  auto v = [&](int ix, int iy) { return Hash01(Wrap(ix, period), Wrap(iy, period), seed); };
  float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  float a = Lerp(v(x0, y0), v(x0 + 1, y0), sx);
  float b = Lerp(v(x0, y0 + 1), v(x0 + 1, y0 + 1), sx);
  return Lerp(a, b, sy);
}

float Fbm(float x, float y, float cell, int octaves, uint32_t seed, int period_px) {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    int period = period_px > 0 ? std::max(1, int(std::lround(float(period_px) / cell))) : 0;
    sum += amp * Noise(x / cell, y / cell, seed + uint32_t(o) * 7919u, period);
    norm += amp;
    amp *= 0.5f;
    cell *= 0.5f;
    if (cell < 1) break;
  }
  return sum / norm;
}

float Cellular(float x, float y, float cell, int period_px, uint32_t seed, uint32_t* id) {
  int period = std::max(1, int(std::lround(float(period_px) / cell)));
  int cx = int(std::floor(x / cell)), cy = int(std::floor(y / cell));
  float best = 1e9f;
  uint32_t bestId = 0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      int gx = cx + dx, gy = cy + dy;
      int wx = Wrap(gx, period), wy = Wrap(gy, period);
      uint32_t h = Hash(uint32_t(wx), uint32_t(wy), seed);
      float px = (float(gx) + 0.15f + 0.7f * float(h & 0xFFFF) / 65535.f) * cell;
      float py = (float(gy) + 0.15f + 0.7f * float(h >> 16) / 65535.f) * cell;
      float d = std::hypot(px - x, py - y);
      if (d < best) best = d, bestId = h;
    }
  if (id) *id = bestId;
  return best;
}

void SetCol(cairo_t* cr, Col c) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

static void Font(cairo_t* cr, double size, bool bold) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

double TextWidth(cairo_t* cr, double size, bool bold, const std::string& text) {
  Font(cr, size, bold);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  return e.x_advance;
}

void Text(cairo_t* cr, double x, double y, double size, bool bold, const std::string& text,
          double align) {
  double w = TextWidth(cr, size, bold, text);
  cairo_move_to(cr, x - w * align, y);
  cairo_text_path(cr, text.c_str());
}

}  // namespace gen

namespace gen {
void Cellular2(float x, float y, float cell, int period_px, uint32_t seed, float& f1, float& f2,
               uint32_t* id) {
  int period = period_px > 0 ? std::max(1, int(std::lround(float(period_px) / cell))) : 0;
  int cx = int(std::floor(x / cell)), cy = int(std::floor(y / cell));
  f1 = f2 = 1e9f;
  uint32_t bestId = 0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      int gx = cx + dx, gy = cy + dy;
      uint32_t h = Hash(uint32_t(Wrap(gx, period)), uint32_t(Wrap(gy, period)), seed);
      float px = (float(gx) + 0.1f + 0.8f * float(h & 0xFFFF) / 65535.f) * cell;
      float py = (float(gy) + 0.1f + 0.8f * float(h >> 16) / 65535.f) * cell;
      float d = std::hypot(px - x, py - y);
      if (d < f1)
        f2 = f1, f1 = d, bestId = h;
      else if (d < f2)
        f2 = d;
    }
  if (id) *id = bestId;
}
}  // namespace gen
