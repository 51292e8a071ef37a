// Explosions, smoke, the projectiles' sprites and the two bonus pick-ups.
#include <cmath>
#include <vector>

#include "base/asset_catalog.h"
#include "gen.h"

namespace gen {

namespace {

const catalog::Picture& Item(const char* path) {
  for (const auto& p : catalog::kStartupPictures)
    if (std::string(p.Path) == path) return p;
  throw std::logic_error(std::string("not in the catalog: ") + path);
}

// Heat 0..1 -> fire colour: white core, yellow, orange, red, then sooty smoke.
Col Fire(float heat) {
  struct Stop {
    float h;
    uint32_t c;
  };
  static const Stop ramp[] = {{0.0f, 0x2a2522},  {0.12f, 0x4a3a30}, {0.25f, 0x8a2a10},
                              {0.45f, 0xe0541a}, {0.65f, 0xffa030}, {0.82f, 0xffe070},
                              {1.0f, 0xfffbe8}};
  heat = Clamp01(heat);
  for (size_t i = 1; i < std::size(ramp); ++i)
    if (heat <= ramp[i].h) {
      float u = (heat - ramp[i - 1].h) / (ramp[i].h - ramp[i - 1].h);
      return Mix(Hex(ramp[i - 1].c), Hex(ramp[i].c), u);
    }
  return Hex(ramp[std::size(ramp) - 1].c);
}

// One explosion of `frames` frames, each size x size, side by side.
Image Explosion(int size, int frames, uint32_t seed) {
  Surface s(size * frames, size);
  struct Puff {
    float x, y, r, delay;
  };
  Rng rng(seed);
  std::vector<Puff> puffs;
  for (int i = 0; i < 6; ++i) {
    float ang = rng.F(0, 6.283f), dist = i == 0 ? 0 : rng.F(0.12f, 0.26f);
    puffs.push_back({0.5f + dist * std::cos(ang), 0.52f + dist * std::sin(ang),
                     i == 0 ? 0.36f : rng.F(0.17f, 0.25f), i == 0 ? 0 : rng.F(0, 0.3f)});
  }
  for (int f = 0; f < frames; ++f) {
    // The last frame the game shows is the last wisp of smoke, not an empty cell.
    float t = float(f) / float(frames);
    for (int py = 0; py < size; ++py)
      for (int px = 0; px < size; ++px) {
        float x = (float(px) + 0.5f) / float(size), y = (float(py) + 0.5f) / float(size);
        float v = -1;
        for (const auto& p : puffs) {
          float tp = Clamp01((t - p.delay) / (1 - p.delay));
          if (t < p.delay) continue;
          float r = p.r * (0.35f + 0.65f * (1 - std::pow(1 - tp, 2.2f)));
          // smoke rises (up the screen) as it ages
          float cy = p.y - 0.08f * tp;
          v = std::max(v, 1 - std::hypot(x - p.x, y - cy) / r);
        }
        float n = Fbm(x * 64 + float(seed % 7) * 13, y * 64 - t * 20, 10, 3, seed) - 0.5f;
        v += n * (0.5f + 0.4f * t);
        if (v <= 0) continue;
        // hot and white at first, then fire, then soot that thins away
        float heat = (v * 1.5f + 0.25f) * (1.2f - 1.45f * t);
        Col c = Fire(heat);
        float alpha =
            Smooth(0, 0.12f, v) * (1 - Smooth(0.55f, 1.0f, t) * (1 - Smooth(0.25f, 0.7f, heat)));
        s.Put(f * size + px, py, WithAlpha(c, alpha));
      }
  }
  s.Dirty();
  return KeyedDither(s, catalog::kBlack);
}

// A smoke trail puff of w x h, thinning over `frames` frames.
Image Smoke(int w, int h, int frames, uint32_t seed, bool flame) {
  Surface s(w * frames, h);
  for (int f = 0; f < frames; ++f) {
    float t = float(f) / float(frames - 1);
    for (int py = 0; py < h; ++py)
      for (int px = 0; px < w; ++px) {
        float x = (float(px) + 0.5f) / float(w), y = (float(py) + 0.5f) / float(h);
        float width = 0.22f + 0.26f * t + 0.12f * y;
        float n = Fbm(float(px) * 3, float(py) * 1.5f + t * 9, 6, 2, seed) - 0.5f;
        float d = std::fabs(x - 0.5f) / width + n * 0.5f;
        float along = Smooth(0, 0.12f, y) * Smooth(1, 0.55f, y);
        float dens = (1 - d) * along * (1 - 0.8f * t);
        if (dens <= 0) continue;
        Col c = Mix(Hex(0x9a9a98), Hex(0xeeeeea), Clamp01(dens * 1.6f));
        if (flame && f == 0 && y < 0.3f) c = Mix(c, Hex(0xffb040), Smooth(0.3f, 0, y));
        s.Put(f * w + px, py, WithAlpha(c, Clamp01(dens * 2.2f)));
      }
  }
  s.Dirty();
  return KeyedDither(s, catalog::kBlack);
}

void Missile(cairo_t* cr, double w, double h, bool mini) {
  // pointing up; nose at the top
  double cx = w / 2, bw = mini ? 1.6 : 2.6;
  cairo_move_to(cr, cx, 1);
  cairo_curve_to(cr, cx + bw, 3, cx + bw, 6, cx + bw, 8);
  cairo_line_to(cr, cx + bw, h - 6);
  cairo_line_to(cr, cx - bw, h - 6);
  cairo_line_to(cr, cx - bw, 8);
  cairo_curve_to(cr, cx - bw, 6, cx - bw, 3, cx, 1);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(cx - bw, 0, cx + bw, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.95, 0.95, 0.93);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.55, 0.56, 0.6);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // nose cone and band
  cairo_rectangle(cr, cx - bw, 5, 2 * bw, mini ? 3 : 5);
  SetCol(cr, Hex(mini ? 0xc03030 : 0x40464e));
  cairo_fill(cr);
  // fins
  double fy = h - (mini ? 8 : 14);
  for (double sgn : {-1.0, 1.0}) {
    cairo_move_to(cr, cx + sgn * bw, fy);
    cairo_line_to(cr, cx + sgn * (w / 2 - 0.2), fy + (mini ? 5 : 9));
    cairo_line_to(cr, cx + sgn * (w / 2 - 0.2), h - 4);
    cairo_line_to(cr, cx + sgn * bw, h - 5);
    cairo_close_path(cr);
  }
  SetCol(cr, Hex(0x5a6068));
  cairo_fill(cr);
  // exhaust
  cairo_move_to(cr, cx - bw * 0.8, h - 6);
  cairo_line_to(cr, cx + bw * 0.8, h - 6);
  cairo_line_to(cr, cx, h - 0.5);
  cairo_close_path(cr);
  SetCol(cr, Hex(0xffa640));
  cairo_fill(cr);
}

Image Projectile2(const char* path, bool mini) {
  const auto& it = Item(path);
  int w = it.PatternWidth, h = it.PatternHeight;
  Surface s(w * 2, h);
  Missile(s.cr, w, h, mini);
  // pattern 1: the same missile fired down the screen
  cairo_save(s.cr);
  cairo_translate(s.cr, 2 * w, h);
  cairo_scale(s.cr, -1, -1);
  Missile(s.cr, w, h, mini);
  cairo_restore(s.cr);
  return Keyed(s, it.Key);
}

Image Beam(const char* path, Col edge, Col mid) {
  const auto& it = Item(path);
  int w = it.PatternWidth, h = it.PatternHeight;
  Surface s(w, h);
  s.Shade([&](float x, float y) -> Col {
    float across = std::fabs(x - float(w) / 2) / (float(w) / 2);
    float along = std::min(y, float(h) - y) / 4;  // rounded ends
    float core = Clamp01(1 - across * 1.2f);
    if (across > 1 || std::hypot(Clamp01(1 - along), across) > 1.05f) return {0, 0, 0, 0};
    Col c = Mix(edge, mid, Smooth(0, 0.6f, core));
    c = Mix(c, Hex(0xffffff), Smooth(0.55f, 1, core));
    return c;
  });
  return Keyed(s, it.Key);
}

Image Plasma(const char* path, float r) {
  const auto& it = Item(path);
  int w = it.PatternWidth;
  Surface s(w, w);
  float c0 = float(w) / 2;
  s.Shade([&](float x, float y) -> Col {
    float d = std::hypot(x - c0, y - c0) / r;
    float n = Fbm(x * 2, y * 2, 4, 2, 61) - 0.5f;
    if (d + n * 0.3f > 1) return {0, 0, 0, 0};
    Col c = Mix(Hex(0xb03cff), Hex(0x6ad8ff), Smooth(1, 0.5f, d + n * 0.4f));
    return Mix(c, Hex(0xffffff), Smooth(0.45f, 0.1f, d));
  });
  return Keyed(s, it.Key);
}

// Health: a spinning repair canister with a cross; credits: a spinning gold coin.
Image Bonus(const char* path, bool credit) {
  const auto& it = Item(path);
  const int n = 4, size = 50;
  Surface s(size * n, size);
  cairo_t* cr = s.cr;
  for (int f = 0; f < n; ++f) {
    double cx = f * size + 25, cy = 25;
    double turn = std::cos(f * M_PI / 4);  // 1, 0.7, 0, -0.7: a quarter turn per frame
    double sx = std::max(0.14, std::fabs(turn));
    // glow ring that pulses
    double pulse = 0.6 + 0.4 * std::cos(f * M_PI / 2);
    cairo_arc(cr, cx, cy, 22, 0, 2 * M_PI);
    SetCol(cr, credit ? Hex(0xffb03a, float(0.35 * pulse)) : Hex(0x4cff7a, float(0.35 * pulse)));
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, 20.5, 0, 2 * M_PI);
    SetCol(cr, credit ? Hex(0xff8a2a, 0.9f) : Hex(0x2ee060, 0.9f));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, sx, 1);
    if (credit) {
      cairo_arc(cr, 0, 0, 16, 0, 2 * M_PI);
      cairo_pattern_t* g = cairo_pattern_create_linear(-16, -16, 16, 16);
      cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.9, 0.55);
      cairo_pattern_add_color_stop_rgb(g, 0.5, 0.9, 0.66, 0.15);
      cairo_pattern_add_color_stop_rgb(g, 1, 0.6, 0.38, 0.05);
      cairo_set_source(cr, g);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(g);
      SetCol(cr, Hex(0x5a3a08));
      cairo_set_line_width(cr, 1.5 / sx);
      cairo_stroke(cr);
      cairo_arc(cr, 0, 0, 12, 0, 2 * M_PI);
      SetCol(cr, Hex(0x8a5a10, 0.8f));
      cairo_set_line_width(cr, 1 / sx);
      cairo_stroke(cr);
      if (turn > 0.3) {
        SetCol(cr, Hex(0x6a4208));
        Text(cr, 0, 7, 19, true, "K", 0.5);
        cairo_fill(cr);
      } else if (turn < -0.3) {
        SetCol(cr, Hex(0x6a4208));
        Text(cr, 0, 6, 14, true, "₭", 0.5);
        cairo_fill(cr);
      }
    } else {
      RoundRect(cr, -13, -16, 26, 32, 6);
      cairo_pattern_t* g = cairo_pattern_create_linear(-13, 0, 13, 0);
      cairo_pattern_add_color_stop_rgb(g, 0, 0.98, 0.98, 0.98);
      cairo_pattern_add_color_stop_rgb(g, 1, 0.62, 0.66, 0.7);
      cairo_set_source(cr, g);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(g);
      SetCol(cr, Hex(0x30363c));
      cairo_set_line_width(cr, 1.5 / sx);
      cairo_stroke(cr);
      if (std::fabs(turn) > 0.3) {
        cairo_rectangle(cr, -3.5, -10, 7, 20);
        cairo_rectangle(cr, -10, -3.5, 20, 7);
        SetCol(cr, Hex(0xd8202a));
        cairo_fill(cr);
      } else {
        cairo_rectangle(cr, -13, -4, 26, 8);
        SetCol(cr, Hex(0xd8202a));
        cairo_fill(cr);
      }
    }
    cairo_restore(cr);
    // a glint that travels round
    double ga = f * M_PI / 2 - M_PI / 4;
    cairo_arc(cr, cx + 20.5 * std::cos(ga), cy + 20.5 * std::sin(ga), 2.2, 0, 2 * M_PI);
    SetCol(cr, Hex(0xffffff));
    cairo_fill(cr);
  }
  return Keyed(s, it.Key);
}

}  // namespace

void MakeEffects(Out& out) {
  out.Bmp("res/fx/bigexpl.bmp", Explosion(64, 17, 7001));
  out.Bmp("res/fx/medexpl.bmp", Explosion(32, 17, 7002));
  out.Bmp("res/fx/smoke1.bmp", Smoke(10, 40, 5, 7003, true));
  out.Bmp("res/fx/smoke2.bmp", Smoke(5, 20, 5, 7004, true));
  out.Bmp("res/fx/smoke3.bmp", Smoke(15, 25, 5, 7005, false));
  out.Bmp("res/weapons/amraam.bmp", Projectile2("res/weapons/amraam.bmp", false));
  out.Bmp("res/weapons/mini.bmp", Projectile2("res/weapons/mini.bmp", true));
  out.Bmp("res/weapons/lightbeam.bmp",
          Beam("res/weapons/lightbeam.bmp", Hex(0x1a6cff), Hex(0x7af0ff)));
  out.Bmp("res/weapons/mediumbeam.bmp",
          Beam("res/weapons/mediumbeam.bmp", Hex(0x12a040), Hex(0x8cff8a)));
  out.Bmp("res/weapons/largebeam.bmp",
          Beam("res/weapons/largebeam.bmp", Hex(0xc01818), Hex(0xff9a40)));
  out.Bmp("res/weapons/plasmaball.bmp", Plasma("res/weapons/plasmaball.bmp", 9.5f));
  out.Bmp("res/weapons/plasmaball_small.bmp", Plasma("res/weapons/plasmaball_small.bmp", 3.4f));
  out.Bmp("res/other/healthbonus.bmp", Bonus("res/other/healthbonus.bmp", false));
  out.Bmp("res/other/kreditbonus.bmp", Bonus("res/other/kreditbonus.bmp", true));
}

}  // namespace gen
