#include "aliens.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "base/asset_catalog.h"
#include "gen.h"
#include "hull_shapes.h"

namespace gen {

namespace {

struct Glow {
  float x, y, r;
};

struct Alien {
  int w, h;
  std::vector<HitShape> shapes;
  std::vector<HitShape> struts;  // thin links drawn as hull, not hit areas
  std::vector<Muzzle> muzzles;
  Col hull, hull2, glow;
  std::vector<Glow> glows;
  float blend = 5, bevel = 9, plate = 9;
  uint32_t seed = 1;
  bool roundClip = false;                         // keep the hull inside a rounded box
  std::function<void(cairo_t*)> extra = nullptr;  // details painted over the shell
};

float SdShape(const HitShape& s, float x, float y) {
  if (s.circle) return std::hypot(x - float(s.a), y - float(s.b)) - float(s.c);
  float hw = float(s.c) / 2, hh = float(s.d) / 2;
  float r = std::min(2.5f, std::min(hw, hh) * 0.6f);
  float qx = std::fabs(x - float(s.a) - hw) - (hw - r),
        qy = std::fabs(y - float(s.b) - hh) - (hh - r);
  float out = std::hypot(std::max(qx, 0.f), std::max(qy, 0.f));
  return out + std::min(std::max(qx, qy), 0.f) - r;
}

float SMin(float a, float b, float k) {
  float h = Clamp01(0.5f + 0.5f * (b - a) / k);
  return Lerp(b, a, h) - k * h * (1 - h);
}

bool Thin(const HitShape& s) {
  if (s.circle) return false;
  int lo = std::min(s.c, s.d), hi = std::max(s.c, s.d);
  return lo <= 8 && hi >= 3 * lo;
}

struct Field {
  const Alien& a;
  float D(float x, float y, int* nearest = nullptr) const {
    float d = 1e9f;
    float best = 1e9f;
    int idx = -1;
    for (size_t i = 0; i < a.shapes.size(); ++i) {
      float di = SdShape(a.shapes[i], x, y);
      if (di < best) best = di, idx = int(i);
      d = SMin(d, di, a.blend);
    }
    for (size_t i = 0; i < a.struts.size(); ++i) {
      float di = SdShape(a.struts[i], x, y);
      if (di < best) best = di, idx = int(a.shapes.size() + i);
      d = SMin(d, di, 2.5f);
    }
    // never touch the sprite's edge
    float box = std::max({-x + 0.5f, x - float(a.w) + 0.5f, -y + 0.5f, y - float(a.h) + 0.5f});
    if (a.roundClip) {
      float hw = float(a.w) / 2 - 1, hh = float(a.h) / 2 - 1, r = 12;
      float qx = std::fabs(x - float(a.w) / 2) - (hw - r),
            qy = std::fabs(y - float(a.h) / 2) - (hh - r);
      box = std::hypot(std::max(qx, 0.f), std::max(qy, 0.f)) + std::min(std::max(qx, qy), 0.f) - r;
    }
    d = std::max(d, box);
    if (nearest) *nearest = idx;
    return d;
  }
};

void Paint(Surface& s, const Alien& a) {
  Field f{a};
  const float lx = -0.5f, ly = -0.62f, lz = 0.6f;
  const float ln = std::sqrt(lx * lx + ly * ly + lz * lz);
  const float Lx = lx / ln, Ly = ly / ln, Lz = lz / ln;
  float hx = Lx, hy = Ly, hz = Lz + 1;
  float hn = std::sqrt(hx * hx + hy * hy + hz * hz);
  hx /= hn, hy /= hn, hz /= hn;
  const Col rim = Scale(a.hull, 0.22f);
  const Col metal = Hex(0x6c6f78);
  s.Shade([&](float x, float y) -> Col {
    int nearest = -1;
    float d = f.D(x, y, &nearest);
    if (d > 1) return {0, 0, 0, 0};
    float cover = Clamp01(0.5f - d);
    float t = -d;
    float gx = f.D(x + 0.75f, y) - f.D(x - 0.75f, y);
    float gy = f.D(x, y + 0.75f) - f.D(x, y - 0.75f);
    float gl = std::max(1e-4f, std::hypot(gx, gy));
    gx /= gl, gy /= gl;
    float slope = 2.4f * (1 - Smooth(0, a.bevel, t)) + 0.08f;
    float nx = gx * slope, ny = gy * slope, nz = 1;
    float nl = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= nl, ny /= nl, nz /= nl;
    float diffuse = std::max(0.f, nx * Lx + ny * Ly + nz * Lz);
    float spec = std::pow(std::max(0.f, nx * hx + ny * hy + nz * hz), 28.f);
    bool gun = nearest >= 0 && nearest < int(a.shapes.size()) ? Thin(a.shapes[size_t(nearest)])
                                                              : nearest >= 0;
    // plates of the shell with dark seams, tinted across their facing (the living-metal sheen)
    float f1, f2;
    uint32_t id;
    Cellular2(x, y, a.plate, 0, a.seed, f1, f2, &id);
    float sheen = Clamp01(0.5f + 0.6f * (nx * 0.8f - ny * 0.6f));
    Col base = Mix(a.hull, a.hull2, sheen * 0.8f + float(id & 3) * 0.05f);
    if (gun) base = Mix(metal, a.hull, 0.25f);
    Col c = Scale(base, 0.3f + 0.95f * diffuse);
    c = Mix(c, Hex(0xfff2ff), Clamp01(spec * 0.8f));
    float seam = Smooth(0.9f, 0.2f, f2 - f1);
    if (t > 3.5f && !gun) c = Scale(c, 1 - 0.18f * seam);
    // veins
    float vein = std::fabs(Fbm(x, y, 14, 3, a.seed + 9) - 0.5f);
    if (t > 4 && !gun && vein < 0.02f) c = Mix(c, Scale(a.glow, 0.7f), 0.35f);
    // emissive glows
    for (const auto& g : a.glows) {
      float dg = std::hypot(x - g.x, y - g.y);
      if (dg < g.r * 1.8f) {
        float core = Smooth(g.r, 0, dg);
        float halo = Smooth(g.r * 1.8f, g.r, dg) * (1 - core);
        c = Mix(c, Scale(a.glow, 0.45f), halo * 0.6f);
        c = Mix(c, Mix(a.glow, Hex(0xffffff), Smooth(0.55f, 1, core)), core);
      }
    }
    if (t < 1.4f) c = Mix(c, rim, 0.85f);
    return WithAlpha(c, cover);
  });
  // turrets where the craft fires
  for (const auto& m : a.muzzles) {
    cairo_t* cr = s.cr;
    cairo_arc(cr, m.x, m.y - 2, 3.2, 0, 2 * M_PI);
    SetCol(cr, Hex(0x2a2630));
    cairo_fill(cr);
    cairo_arc(cr, m.x, m.y - 2, 1.6, 0, 2 * M_PI);
    SetCol(cr, Mix(a.glow, Hex(0xffffff), 0.4f));
    cairo_fill(cr);
  }
  // inset grooves and running lights on the larger parts: structure that reads at speed
  cairo_t* cr = s.cr;
  Rng rng(a.seed);
  for (const auto& sh : a.shapes) {
    if (Thin(sh)) continue;
    if (sh.circle && sh.c >= 14 && sh.c < 100) {
      cairo_arc(cr, sh.a, sh.b, sh.c - 5, 0, 2 * M_PI);
      SetCol(cr, WithAlpha(Scale(a.hull, 0.3f), 0.45f));
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
    } else if (!sh.circle && std::min(sh.c, sh.d) >= 16) {
      RoundRect(cr, sh.a + 4.5, sh.b + 4.5, sh.c - 9, sh.d - 9, 3);
      SetCol(cr, WithAlpha(Scale(a.hull, 0.3f), 0.45f));
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      if (std::max(sh.c, sh.d) >= 60) {
        bool alongX = sh.c >= sh.d;
        int n = std::max(sh.c, sh.d) / 14;
        for (int i = 1; i < n; ++i) {
          double u = double(i) / n;
          double x = alongX ? sh.a + u * sh.c : sh.a + sh.c / 2.0;
          double y = alongX ? sh.b + sh.d / 2.0 : sh.b + u * sh.d;
          bool nearGlow = false;
          for (const auto& g : a.glows) nearGlow |= std::hypot(x - g.x, y - g.y) < g.r * 2;
          if (nearGlow) continue;
          cairo_arc(cr, x, y, 1.4, 0, 2 * M_PI);
          SetCol(cr, (rng.Next() % 3) ? Mix(a.glow, Hex(0xffffff), 0.3f) : Hex(0xffe0c0));
          cairo_fill(cr);
        }
      }
    }
  }
  if (a.extra) a.extra(s.cr);
}

Alien EnemyDef(int kind) {
  Alien a;
  a.w = catalog::kEnemySizes[size_t(kind)].Width;
  a.h = catalog::kEnemySizes[size_t(kind)].Height;
  a.shapes = EnemyShapes()[size_t(kind)];
  a.muzzles = EnemyMuzzles()[size_t(kind)];
  a.seed = 500 + uint32_t(kind);
  switch (kind) {
    case 0:
      a.hull = Hex(0x6d2f8a), a.hull2 = Hex(0xc0519a), a.glow = Hex(0x8cff4a);
      a.glows = {{75, 129, 11}, {75, 34, 5}, {35, 26, 3.5f}, {112, 26, 3.5f}};
      break;
    case 1:
      a.hull = Hex(0x8e1f33), a.hull2 = Hex(0xdb4f50), a.glow = Hex(0x58e0ff);
      a.glows = {{43, 22, 7}};
      a.roundClip = true;
      a.blend = 4, a.plate = 7;
      break;
    case 2:
      a.hull = Hex(0x4a2a7a), a.hull2 = Hex(0x9a58d0), a.glow = Hex(0xff9a3a);
      a.glows = {{70, 56, 11}, {70, 123, 5}};
      a.struts = {R(68, 84, 4, 32), R(41, 76, 5, 27), R(87, 76, 5, 27), R(35, 66, 10, 5),
                  R(96, 66, 10, 5)};
      break;
    case 3:
      a.hull = Hex(0x9a2f7f), a.hull2 = Hex(0xe35fa6), a.glow = Hex(0x7dfcff);
      a.glows = {{49, 22, 5.5f}};
      a.blend = 4, a.plate = 7;
      break;
    case 4:
      a.hull = Hex(0x7a2a24), a.hull2 = Hex(0xc8603f), a.glow = Hex(0xff8a3a);
      a.glows = {{46, 98, 8}, {27, 7, 3}, {67, 8, 3}, {47, 40, 4}};
      a.struts = {R(43, 138, 5, 20)};
      break;
    case 5:
      a.hull = Hex(0x3d2470), a.hull2 = Hex(0x8450d2), a.glow = Hex(0x5ef2ff);
      a.glows = {{33, 77, 10}, {88, 77, 10}, {61, 97, 5}, {60, 22, 4}};
      a.struts = {R(56, 30, 9, 24)};
      break;
    case 6:
      a.hull = Hex(0x8a1f2e), a.hull2 = Hex(0xd44866), a.glow = Hex(0xa6ff4d);
      a.glows = {{28, 48, 6}, {92, 48, 6}, {60, 89, 8}, {60, 20, 3}};
      a.struts = {R(30, 26, 6, 10), R(84, 26, 6, 10), R(57, 66, 6, 10), R(42, 44, 12, 6),
                  R(66, 44, 12, 6)};
      break;
    case 7:
      a.hull = Hex(0x5f2b8c), a.hull2 = Hex(0xc8579f), a.glow = Hex(0xff6a3d);
      a.glows = {{69, 38, 6}, {37, 53, 7}, {102, 53, 7}, {69, 74, 4}};
      // legs: body -> knee -> foot -> claws that fire
      a.struts = {R(66, 50, 6, 20), R(30, 67, 5, 14),  R(105, 67, 5, 14),
                  R(33, 84, 4, 8),  R(102, 84, 4, 8),  R(37, 96, 4, 8),
                  R(98, 96, 4, 8),  R(44, 110, 5, 27), R(92, 110, 5, 27)};
      break;
    default:
      a.hull = Hex(0x5a1d3f), a.hull2 = Hex(0xad4176), a.glow = Hex(0x63ffb8);
      a.glows = {{32, 28, 5}, {93, 28, 5}, {62, 80, 4}, {62, 120, 4}};
      a.struts = {R(26, 138, 50, 6), R(26, 140, 5, 12), R(71, 140, 5, 12)};
      break;
  }
  return a;
}

// A lidless eye: the fragment gun of the second mother ship looks at you.
void Eye(cairo_t* cr, double x, double y) {
  cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 4, x, y, 30);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.98, 0.92, 0.85);
  cairo_pattern_add_color_stop_rgb(g, 0.8, 0.88, 0.72, 0.7);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.45, 0.12, 0.18);
  cairo_arc(cr, x, y, 30, 0, 2 * M_PI);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  g = cairo_pattern_create_radial(x, y, 2, x, y, 19);
  cairo_pattern_add_color_stop_rgb(g, 0, 1, 0.95, 0.5);
  cairo_pattern_add_color_stop_rgb(g, 0.5, 1, 0.5, 0.1);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.55, 0.08, 0.05);
  cairo_arc(cr, x, y, 19, 0, 2 * M_PI);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 0.32, 1);
  cairo_arc(cr, 0, 0, 15, 0, 2 * M_PI);
  cairo_restore(cr);
  SetCol(cr, Hex(0x140608));
  cairo_fill(cr);
  cairo_arc(cr, x - 7, y - 8, 3.5, 0, 2 * M_PI);
  SetCol(cr, Hex(0xffffff, 0.85f));
  cairo_fill(cr);
}

Alien BossDef(int kind) {
  Alien a;
  a.w = catalog::kBosses[size_t(kind)].Width;
  a.h = catalog::kBosses[size_t(kind)].Height;
  a.shapes = BossShapes()[size_t(kind)];
  a.seed = 900 + uint32_t(kind);
  a.plate = 13, a.bevel = 14, a.blend = 7;
  switch (kind) {
    case 0:
      a.hull = Hex(0x5e2a86), a.hull2 = Hex(0xb457a8), a.glow = Hex(0x8cff4a);
      a.glows = {{146, 48, 14}, {50, 40, 4}, {245, 40, 4}, {119, 180, 4}, {172, 180, 4}};
      a.struts = {R(87, 98, 6, 14), R(197, 98, 6, 14)};
      a.muzzles = {{90, 112}, {200, 112}};
      break;
    case 1:
      a.hull = Hex(0x7c1530), a.hull2 = Hex(0xd0485a), a.glow = Hex(0xff7a3a);
      a.glows = {};
      a.extra = [](cairo_t* cr) { Eye(cr, 77, 77); };
      break;
    case 2:
      a.hull = Hex(0x2f2a78), a.hull2 = Hex(0x7d5ad6), a.glow = Hex(0x4dffd2);
      a.glows = {{155, 34, 13}, {116, 100, 3}, {134, 134, 3},
                 {173, 144, 3}, {193, 100, 3}, {153, 190, 5}};
      a.struts = {R(121, 100, 6, 60), R(182, 100, 6, 60)};
      a.muzzles = {{125, 162}, {185, 162}};
      break;
    case 3:
      a.hull = Hex(0x4a1f5e), a.hull2 = Hex(0xa0459a), a.glow = Hex(0xff9c3a);
      a.glows = {{150, 66, 16}, {30, 53, 4}, {270, 53, 4},
                 {150, 165, 6}, {96, 53, 3}, {204, 53, 3}};
      a.muzzles = {{106, 142}, {165, 142}};
      a.struts = {R(103, 118, 6, 24), R(162, 118, 6, 24), R(140, 118, 20, 14)};
      break;
    case 4:
      a.hull = Hex(0x3b2166), a.hull2 = Hex(0x9c4fc4), a.glow = Hex(0x5ef2ff);
      a.glows = {{159, 93, 18}, {66, 39, 11}, {253, 39, 11}, {159, 200, 11}};
      a.muzzles = {{60, 67}, {260, 67}};
      break;
    default:
      a.hull = Hex(0x5a1830), a.hull2 = Hex(0xb2405e), a.glow = Hex(0xff5a3a);
      a.glows = {{157, 124, 26}};
      a.muzzles = {{80, 182}, {240, 102}};
      a.plate = 16;
      a.extra = [](cairo_t* cr) {
        // rings and spokes of the great disc, and its lights
        cairo_set_line_width(cr, 2);
        for (double r : {44.0, 70.0, 92.0}) {
          cairo_arc(cr, 157, 124, r, 0, 2 * M_PI);
          SetCol(cr, Hex(0x1e0710, 0.55f));
          cairo_stroke(cr);
        }
        for (int k = 0; k < 24; ++k) {
          double ang = k * M_PI / 12;
          double r = 81;
          cairo_arc(cr, 157 + r * std::cos(ang), 124 + r * std::sin(ang), 2.2, 0, 2 * M_PI);
          SetCol(cr, (k % 3) ? Hex(0xffb070) : Hex(0x7affd8));
          cairo_fill(cr);
        }
        for (int k = 0; k < 8; ++k) {
          double ang = k * M_PI / 4 + 0.2;
          cairo_move_to(cr, 157 + 30 * std::cos(ang), 124 + 30 * std::sin(ang));
          cairo_line_to(cr, 157 + 100 * std::cos(ang), 124 + 100 * std::sin(ang));
        }
        SetCol(cr, Hex(0x1e0710, 0.45f));
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
      };
      break;
  }
  return a;
}

}  // namespace

void RenderEnemy(Surface& s, int kind) {
  Paint(s, EnemyDef(kind));
}
void RenderBoss(Surface& s, int kind) {
  Paint(s, BossDef(kind));
}

void MakeAliens(Out& out) {
  for (int k = 0; k < 9; ++k) {
    const auto& sz = catalog::kEnemySizes[size_t(k)];
    Surface s(sz.Width, sz.Height);
    RenderEnemy(s, k);
    out.Bmp(catalog::kStartupPictures[size_t(10 + k)].Path, Keyed(s, catalog::kYellow));
  }
  for (int k = 0; k < 6; ++k) {
    const auto& b = catalog::kBosses[size_t(k)];
    Surface s(b.Width, b.Height);
    RenderBoss(s, k);
    out.Bmp(b.Path, Keyed(s, catalog::kBossKey));
  }
}

}  // namespace gen
