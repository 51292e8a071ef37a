#include "aircraft.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/asset_catalog.h"
#include "gen.h"

namespace gen {

namespace {

struct P3 {
  double x, y, z;
};

enum Style { kMetal, kGlass, kDark, kNozzle, kFin, kStore, kMark };

struct Part {
  std::vector<P3> pts;  // right-hand half (x >= 0) or a whole part on the centre line
  Style style;
  int layer;
  double dihedral = 0;  // tilt of the surface toward +x (radians) before mirroring
  bool mirror = true;
  bool ellipse = false;  // pts[0] = centre, pts[1] = (rx, ry, 0)
};

struct Design {
  double cx;
  Col metal, accent;
  std::vector<Part> parts;
  std::vector<double> noseCone;  // y range of a darker radome: from, to
};

std::vector<P3> Flat(std::initializer_list<std::pair<double, double>> xy) {
  std::vector<P3> v;
  for (auto [x, y] : xy) v.push_back({x, y, 0});
  return v;
}

// A whole fuselage from its right-hand outline, nose first.
std::vector<P3> Body(std::initializer_list<std::pair<double, double>> right) {
  std::vector<P3> v;
  for (auto [x, y] : right) v.push_back({x, y, 2});
  std::vector<P3> left;
  for (auto it = right.end(); it != right.begin();) {
    --it;
    if (it->first > 0) left.push_back({-it->first, it->second, 2});
  }
  v.insert(v.end(), left.begin(), left.end());
  return v;
}

Design MakeDesign(int kind) {
  Design d;
  switch (kind) {
    case 0:  // Jaguar: long nose, shoulder wings with tanks, one fin
      d.cx = 80;
      d.metal = Hex(0x79826f);
      d.accent = Hex(0x4f5a48);
      d.parts = {
          {Flat({{7, 40}, {12, 44}, {12, 64}, {7, 66}}), kMetal, 1},
          {Flat({{7, 56}, {41, 85}, {42, 93}, {7, 90}}), kMetal, 1, 0.1},
          {Flat({{7, 97}, {18, 105}, {18, 112}, {7, 111}}), kMetal, 1, 0.05},
          {{{25, 80, 1}, {3.2, 11, 0}}, kStore, 1, 0, true, true},
          {Body({{0, 4},
                 {2, 9},
                 {4, 17},
                 {5.5, 28},
                 {7, 40},
                 {8, 62},
                 {8.5, 100},
                 {7, 108},
                 {5, 113},
                 {0, 113}}),
           kMetal, 2, 0, false},
          {Flat({{10, 44}, {12, 44}, {12, 48}, {10, 48}}), kDark, 3},
          {{{0, 30, 3}, {3.4, 8.5, 0}}, kGlass, 3, 0, false, true},
          {{{3, 113, 2}, {2.6, 2.2, 0}}, kNozzle, 3, 0, true, true},
          {{{0, 82, 2}, {0, 96, 15}, {0, 109, 15}, {0, 111, 2}}, kFin, 4, 0, false},
          {{{27, 86, 0.5}, {2.6, 2.6, 0}}, kMark, 2, 0.1, true, true},
      };
      d.noseCone = {4, 12};
      break;
    case 1:  // F5F: needle nose, small straight wings with tip rails, twin nozzles
      d.cx = 80;
      d.metal = Hex(0x9ea6ae);
      d.accent = Hex(0x6b737c);
      d.parts = {
          {Flat({{10, 64}, {37, 77}, {38, 86}, {10, 89}}), kMetal, 1, 0.08},
          {Flat({{37.5, 70}, {40.5, 70}, {40.5, 90}, {37.5, 90}}), kStore, 1},
          {Flat({{9, 98}, {22, 104}, {22, 110}, {9, 108}}), kMetal, 1, 0.05},
          {Flat({{5, 46}, {10, 56}, {12, 66}, {8, 66}}), kMetal, 1},
          {Body({{0, 13},
                 {1.8, 20},
                 {3.2, 32},
                 {4.6, 46},
                 {8, 54},
                 {11, 64},
                 {11.5, 76},
                 {11.5, 96},
                 {10, 104},
                 {7, 110},
                 {0, 110}}),
           kMetal, 2, 0, false},
          {{{0, 44, 3}, {3.3, 8.5, 0}}, kGlass, 3, 0, false, true},
          {{{3.6, 110, 2}, {2.8, 2.2, 0}}, kNozzle, 3, 0, true, true},
          {{{0, 84, 2}, {0, 97, 16}, {0, 106, 16}, {0, 108, 2}}, kFin, 4, 0, false},
          {{{24, 80, 0.5}, {2.5, 2.5, 0}}, kMark, 2, 0.08, true, true},
      };
      d.noseCone = {13, 22};
      break;
    case 2:  // F15: wide twin-engine body, big swept wings, twin fins
      d.cx = 77.5;
      d.metal = Hex(0x7d8a9b);
      d.accent = Hex(0x5a6677);
      d.parts = {
          {Flat({{14, 60}, {44, 88}, {44, 98}, {14, 99}}), kMetal, 1, 0.04},
          {Flat({{12, 100}, {29, 107}, {29, 116}, {12, 114}}), kMetal, 1, 0.03},
          {Body({{0, 13},
                 {2.4, 20},
                 {4.4, 30},
                 {6.2, 40},
                 {7.8, 48},
                 {15, 52},
                 {16, 62},
                 {15.5, 104},
                 {12, 112},
                 {4, 111},
                 {0, 106}}),
           kMetal, 2, 0, false},
          {Flat({{9, 50}, {16, 52}, {16, 58}, {9, 56}}), kDark, 3},
          {{{0, 38, 3}, {3.6, 8, 0}}, kGlass, 3, 0, false, true},
          {{{7.5, 111, 2}, {3.6, 2.4, 0}}, kNozzle, 3, 0, true, true},
          {{{10, 86, 2}, {11, 98, 15}, {11, 106, 15}, {10, 108, 2}}, kFin, 4, 0.25},
          {{{30, 90, 0.5}, {2.8, 2.8, 0}}, kMark, 2, 0.04, true, true},
      };
      d.noseCone = {13, 21};
      break;
    default:  // F16: blended body with strakes, cropped delta, one big nozzle
      d.cx = 80;
      d.metal = Hex(0xaab2ba);
      d.accent = Hex(0x6f7883);
      d.parts = {
          {Flat({{8, 60}, {37, 79}, {37, 87}, {8, 91}}), kMetal, 1, 0.0},
          {Flat({{37.5, 70}, {40.5, 70}, {40.5, 91}, {37.5, 91}}), kStore, 1},
          {Flat({{8, 96}, {22, 103}, {22, 109}, {8, 106}}), kMetal, 1, 0.0},
          {Flat({{5, 38}, {11, 58}, {11, 66}, {7, 62}}), kMetal, 1},
          {Body({{0, 13},
                 {2.4, 22},
                 {4.4, 34},
                 {6, 46},
                 {7, 56},
                 {9, 66},
                 {9.5, 90},
                 {8, 100},
                 {5, 108},
                 {0, 110}}),
           kMetal, 2, 0, false},
          {{{0, 35, 3}, {3.6, 9.5, 0}}, kGlass, 3, 0, false, true},
          {{{0, 109, 2}, {4, 2.6, 0}}, kNozzle, 3, 0, false, true},
          {{{0, 80, 2}, {0, 93, 18}, {0, 102, 18}, {0, 105, 2}}, kFin, 4, 0, false},
          {{{24, 82, 0.5}, {2.6, 2.6, 0}}, kMark, 2, 0, true, true},
      };
      d.noseCone = {13, 24};
      break;
  }
  return d;
}

struct Light {
  double lx = -0.45, lz = 0.89;  // from the upper left
  double Shade(double nx, double nz) const {
    double dot = nx * lx + nz * lz;
    return 0.55 + 0.5 * std::max(0.0, dot);
  }
};

}  // namespace

void DrawAircraft(cairo_t* cr, int kind, double roll) {
  Design d = MakeDesign(kind);
  const double c = std::cos(roll), s = std::sin(roll);
  Light light;
  struct Item {
    const Part* part;
    double sign;  // +1 right-hand copy, -1 mirrored
    double depth;
  };
  std::vector<Item> items;
  for (const auto& p : d.parts) {
    auto depthOf = [&](double sign) {
      double z = 0;
      for (const auto& q : p.pts) z += sign * q.x * s + q.z * c;
      return z / double(p.pts.size());
    };
    items.push_back({&p, 1, depthOf(1)});
    if (p.mirror) items.push_back({&p, -1, depthOf(-1)});
  }
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    if (a.part->layer != b.part->layer) return a.part->layer < b.part->layer;
    return a.depth < b.depth;
  });
  auto X = [&](double x, double z) { return d.cx + x * c - z * s; };
  const Col outline = Hex(0x14181d);
  for (const auto& it : items) {
    const Part& p = *it.part;
    double sign = it.sign;
    // surface normal in the x-z plane, tilted by dihedral, then rolled
    double nx0 = sign * std::sin(p.dihedral), nz0 = std::cos(p.dihedral);
    double nx = nx0 * c - nz0 * s, nz = nx0 * s + nz0 * c;
    double shade = light.Shade(nx, nz);
    cairo_new_path(cr);
    if (p.ellipse) {
      const P3& ctr = p.pts[0];
      double rx = p.pts[1].x * (p.style == kNozzle || p.style == kGlass ? std::max(0.55, c) : c);
      cairo_save(cr);
      cairo_translate(cr, X(sign * ctr.x, ctr.z), ctr.y);
      cairo_scale(cr, std::max(0.5, rx), p.pts[1].y);
      cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(cr);
    } else {
      for (size_t i = 0; i < p.pts.size(); ++i) {
        const P3& q = p.pts[i];
        double x = X(sign * q.x, q.z);
        if (i == 0)
          cairo_move_to(cr, x, q.y);
        else
          cairo_line_to(cr, x, q.y);
      }
      cairo_close_path(cr);
    }
    switch (p.style) {
      case kMetal: {
        if (p.layer == 2) {
          // the fuselage is round: light across it follows the roll
          double r = 12;
          cairo_pattern_t* g = cairo_pattern_create_linear(d.cx - r, 0, d.cx + r, 0);
          for (int k = 0; k <= 8; ++k) {
            double xs = -1 + k / 4.0;  // screen position across, -1..1
            double th = std::asin(std::clamp(xs, -1.0, 1.0));
            double bn = light.Shade(std::sin(th), std::cos(th));
            Col col = Scale(d.metal, float(bn));
            cairo_pattern_add_color_stop_rgb(g, k / 8.0, col.r, col.g, col.b);
          }
          cairo_set_source(cr, g);
          cairo_fill_preserve(cr);
          cairo_pattern_destroy(g);
        } else {
          SetCol(cr, Scale(d.metal, float(shade)));
          cairo_fill_preserve(cr);
        }
        break;
      }
      case kStore:
        SetCol(cr, Scale(Hex(0xb9bec4), float(shade)));
        cairo_fill_preserve(cr);
        break;
      case kDark:
        SetCol(cr, Hex(0x23272d));
        cairo_fill_preserve(cr);
        break;
      case kNozzle: {
        SetCol(cr, Hex(0x3a3530));
        cairo_fill_preserve(cr);
        break;
      }
      case kFin:
        SetCol(cr, Scale(d.accent, float(0.8 + 0.4 * std::fabs(s))));
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 2.2);
        cairo_stroke_preserve(cr);
        break;
      case kGlass: {
        double gx = X(0, 3);
        cairo_pattern_t* g =
            cairo_pattern_create_radial(gx - 1.5, p.pts[0].y - 3, 0.5, gx, p.pts[0].y, 9);
        cairo_pattern_add_color_stop_rgb(g, 0, 0.75, 0.9, 1.0);
        cairo_pattern_add_color_stop_rgb(g, 0.35, 0.2, 0.38, 0.55);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.08, 0.12, 0.2);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        break;
      }
      case kMark: {
        cairo_save(cr);
        cairo_clip_preserve(cr);
        SetCol(cr, Hex(0x22457a));
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_new_path(cr);
        double mx = X(sign * p.pts[0].x, p.pts[0].z), my = p.pts[0].y;
        cairo_save(cr);
        cairo_translate(cr, mx, my);
        cairo_scale(cr, std::max(0.5, c), 1);
        cairo_arc(cr, 0, 0, 1.6, 0, 2 * M_PI);
        cairo_restore(cr);
        SetCol(cr, Hex(0xf0f0ea));
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, mx, my);
        cairo_scale(cr, std::max(0.5, c), 1);
        cairo_arc(cr, 0, 0, 0.8, 0, 2 * M_PI);
        cairo_restore(cr);
        SetCol(cr, Hex(0xe0602a));
        cairo_fill(cr);
        continue;
      }
    }
    SetCol(cr, WithAlpha(outline, 0.85f));
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    // panel lines and radome on the fuselage
    if (p.layer == 2 && p.style == kMetal) {
      SetCol(cr, WithAlpha(Scale(d.metal, 0.55f), 0.7f));
      cairo_set_line_width(cr, 0.6);
      for (double y : {58.0, 74.0, 90.0}) {
        cairo_move_to(cr, X(-6, 2), y);
        cairo_line_to(cr, X(6, 2), y);
      }
      cairo_stroke(cr);
      cairo_save(cr);
      cairo_rectangle(cr, 0, d.noseCone[0] - 1, 160, d.noseCone[1] - d.noseCone[0] + 1);
      cairo_clip(cr);
      cairo_new_path(cr);
      for (size_t i = 0; i < p.pts.size(); ++i) {
        double x = X(p.pts[i].x, p.pts[i].z);
        if (i == 0)
          cairo_move_to(cr, x, p.pts[i].y);
        else
          cairo_line_to(cr, x, p.pts[i].y);
      }
      cairo_close_path(cr);
      SetCol(cr, Hex(0x3d434b));
      cairo_fill(cr);
      cairo_restore(cr);
    }
  }
  // exhaust glow behind the nozzles
  for (const auto& p : d.parts)
    if (p.style == kNozzle) {
      for (double sign : {1.0, -1.0}) {
        if (!p.mirror && sign < 0) continue;
        double x = X(sign * p.pts[0].x, 2), y = p.pts[0].y + p.pts[1].y + 1.5;
        cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, 3.2);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.95, 0.8, 1);
        cairo_pattern_add_color_stop_rgba(g, 0.5, 1, 0.6, 0.2, 0.9);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.4, 0.1, 0);
        cairo_set_source(cr, g);
        cairo_arc(cr, x, y, 3.2, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
      }
    }
}

void MakeAircraft(Out& out) {
  const int w = catalog::kAircraftFrameWidth, h = catalog::kAircraftFrameHeight;
  for (int k = 0; k < 4; ++k) {
    Surface s(w * catalog::kAircraftFrames, h);
    for (int f = 0; f < catalog::kAircraftFrames; ++f) {
      // frame 0 level, 1..5 banking left, 6..10 banking right, ever steeper
      double roll = f == 0 ? 0 : (f <= 5 ? f : -(f - 5)) * 0.2;
      cairo_save(s.cr);
      cairo_translate(s.cr, f * w, 0);
      cairo_rectangle(s.cr, 0, 0, w, h);
      cairo_clip(s.cr);
      DrawAircraft(s.cr, k, roll);
      cairo_restore(s.cr);
    }
    out.Bmp(catalog::kAircraft[size_t(k)].Sprite, Keyed(s, catalog::kAircraft[size_t(k)].Key));
  }
}

}  // namespace gen
