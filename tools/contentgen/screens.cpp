// The pictures of the screens between missions, the shop's small pictures and the status bar.
//
// Where each is drawn: the title fills the screen with the menu buttons over x 888..1018,
// y 360..510; the hangar sits at (250, 150) and the briefing at (193, 150) above the text box at
// (193, 560); the shop background at (250, 175) under the shop's buttons and boxes; the closing
// picture at (150, 200). The status bar frame is drawn last over the game, its bright green
// windows showing the health bar (drawn at x = health percent, y 8), the weapon icon at
// (559, 64), the ready lamp at (627, 64), and the credits written at (913, 8) on its dark panel.
#include <cmath>
#include <stdexcept>

#include "aircraft.h"
#include "aliens.h"
#include "base/asset_catalog.h"
#include "gen.h"
#include "terrain.h"

namespace gen {

namespace {

// A top-down view of generated land, `rows` tiles high, from map row `from`.
Image LandView(int sheet, uint32_t seed, const terrain::Landscape& l, int from, int cols,
               int rows) {
  terrain::MapSpec spec;
  spec.seed = seed;
  spec.stretches = {l};
  std::vector<uint8_t> map = terrain::BuildMap(spec);
  Image tiles = terrain::RenderSheet(sheet);
  Image view(cols * 32, rows * 32);
  for (int c = 0; c < cols; ++c)
    for (int j = 0; j < rows; ++j) {
      int t = map[size_t(c % 32) * terrain::kMapRows + size_t(from + rows - 1 - j)];
      int sx = (t % terrain::kSheetColumns) * 32, sy = (t / terrain::kSheetColumns) * 32;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) view.Set(c * 32 + x, j * 32 + y, tiles.At(sx + x, sy + y));
    }
  return view;
}

void PaintImage(cairo_t* cr, const Image& img, double x, double y, double alpha = 1) {
  Surface s(img.w, img.h);
  for (int j = 0; j < img.h; ++j)
    for (int i = 0; i < img.w; ++i) {
      Rgb c = img.At(i, j);
      s.Put(i, j, {c.r / 255.f, c.g / 255.f, c.b / 255.f, 1});
    }
  s.Dirty();
  cairo_set_source_surface(cr, s.s, x, y);
  cairo_paint_with_alpha(cr, alpha);
}

void PaintSurface(cairo_t* cr, Surface& s, double x, double y, double scale, double alpha = 1) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, s.s, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
}

void Jet(cairo_t* cr, int kind, double x, double y, double scale, double roll = 0) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  DrawAircraft(cr, kind, roll);
  cairo_restore(cr);
}

void Boom(cairo_t* cr, double x, double y, double r) {
  cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, r);
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 0.9, 1);
  cairo_pattern_add_color_stop_rgba(g, 0.25, 1, 0.85, 0.4, 0.95);
  cairo_pattern_add_color_stop_rgba(g, 0.55, 1, 0.4, 0.1, 0.7);
  cairo_pattern_add_color_stop_rgba(g, 1, 0.3, 0.05, 0.02, 0);
  cairo_set_source(cr, g);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void BeamLine(cairo_t* cr, double x, double y0, double y1, Col c, double w) {
  for (int k = 3; k >= 0; --k) {
    cairo_move_to(cr, x, y0);
    cairo_line_to(cr, x, y1);
    cairo_set_line_width(cr, w * (1 + k * 1.2));
    SetCol(cr, k == 0 ? Hex(0xffffff) : WithAlpha(c, float(0.22 / k + 0.1)));
    cairo_stroke(cr);
  }
}

// Large metal lettering with a dark outline and a soft glow.
void Title(cairo_t* cr, double x, double y, double size, const std::string& text, double align) {
  for (int k = 6; k >= 1; --k) {
    Text(cr, x, y, size, true, text, align);
    cairo_set_line_width(cr, k * 3.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetCol(cr, Hex(0xff7a30, float(0.05 + 0.02 * (6 - k))));
    cairo_stroke(cr);
  }
  Text(cr, x, y, size, true, text, align);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y - size * 0.8, 0, y + size * 0.1);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.98, 0.98, 1.0);
  cairo_pattern_add_color_stop_rgb(g, 0.45, 0.72, 0.76, 0.84);
  cairo_pattern_add_color_stop_rgb(g, 0.5, 0.38, 0.42, 0.5);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.82, 0.84, 0.9);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetCol(cr, Hex(0x10141c));
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
}

void Vignette(cairo_t* cr, double w, double h, double strength) {
  cairo_pattern_t* g = cairo_pattern_create_radial(w / 2, h / 2, std::min(w, h) * 0.35, w / 2,
                                                   h / 2, std::hypot(w, h) * 0.6);
  cairo_pattern_add_color_stop_rgba(g, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(g, 1, 0, 0, 0, strength);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
}

Image TitlePicture() {
  Surface s(1024, 768);
  cairo_t* cr = s.cr;
  terrain::Landscape land{0, 0.35f, 0.35f, 0.12f, 0.2f, -1, 1.5f, 1.5f};
  PaintImage(cr, LandView(0, 77, land, 300, 32, 24), 0, 0);
  // haze: the view from high above
  cairo_pattern_t* haze = cairo_pattern_create_linear(0, 0, 0, 768);
  cairo_pattern_add_color_stop_rgba(haze, 0, 0.05, 0.07, 0.14, 0.8);
  cairo_pattern_add_color_stop_rgba(haze, 0.5, 0.08, 0.1, 0.16, 0.45);
  cairo_pattern_add_color_stop_rgba(haze, 1, 0.05, 0.06, 0.1, 0.6);
  cairo_set_source(cr, haze);
  cairo_paint(cr);
  cairo_pattern_destroy(haze);
  // clouds
  s.Shade([](float x, float y) -> Col {
    float n = Fbm(x, y, 160, 5, 4242);
    float a = Smooth(0.52f, 0.75f, n) * 0.55f;
    return {0.85f, 0.88f, 0.95f, a};
  });
  // the mother ship and her escort
  Surface boss(320, 240);
  RenderBoss(boss, 5);
  PaintSurface(cr, boss, 470, -150, 1.9);
  for (auto [k, x, y] :
       {std::tuple{4, 120.0, 150.0}, {6, 300.0, 280.0}, {0, 700.0, 390.0}, {2, 40.0, 330.0}}) {
    Surface e(catalog::kEnemySizes[size_t(k)].Width, catalog::kEnemySizes[size_t(k)].Height);
    RenderEnemy(e, k);
    PaintSurface(cr, e, x, y, 0.9);
  }
  // the strike: four jets climbing, lasers up, an alien burning
  BeamLine(cr, 380, 560, 420, Hex(0x4ac0ff), 2);
  BeamLine(cr, 420, 560, 420, Hex(0x4ac0ff), 2);
  BeamLine(cr, 604, 590, 470, Hex(0x60ff70), 2.5);
  Boom(cr, 352, 330, 70);
  Boom(cr, 330, 300, 40);
  Boom(cr, 752, 450, 45);
  Jet(cr, 3, 320, 540, 1.5, 0.2);
  Jet(cr, 2, 540, 580, 1.3, -0.2);
  Jet(cr, 1, 170, 620, 1.1, 0.4);
  Jet(cr, 0, 690, 640, 1.0, -0.4);
  Vignette(cr, 1024, 768, 0.7);
  // a quiet column for the menu's five entries
  cairo_pattern_t* col = cairo_pattern_create_linear(840, 0, 900, 0);
  cairo_pattern_add_color_stop_rgba(col, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(col, 1, 0.02, 0.03, 0.06, 0.75);
  cairo_set_source(cr, col);
  cairo_rectangle(cr, 840, 330, 184, 250);
  cairo_fill(cr);
  cairo_pattern_destroy(col);
  Title(cr, 512, 150, 108, "STARVELKHORN", 0.5);
  SetCol(cr, Hex(0xd8e4ff));
  Text(cr, 512, 198, 26, false, "Poslední obrana Země", 0.5);
  cairo_fill(cr);
  SetCol(cr, Hex(0x8c96aa));
  Text(cr, 12, 756, 13, false, "© 2027 Odboj Starvelkhorn", 0);
  cairo_fill(cr);
  return Opaque(s);
}

// Top-down on the hangar floor: the jet in its bay, markings, carts and pools of light.
Image HangarPicture() {
  const int w = 600, h = 450;
  Surface s(w, h);
  cairo_t* cr = s.cr;
  s.Shade([](float x, float y) -> Col {
    float n = Fbm(x, y, 48, 4, 311);
    Col floor = Mix(Hex(0x34373c), Hex(0x4a4e55), n);
    float seam = (std::fmod(x, 80.f) < 1.2f || std::fmod(y, 80.f) < 1.2f) ? 0.8f : 1.f;
    return Scale(floor, seam);
  });
  // light pools from the roof lamps
  for (auto [x, y] : {std::pair{150.0, 120.0}, {450.0, 120.0}, {300.0, 330.0}}) {
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 10, x, y, 200);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.95, 0.8, 0.35);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.95, 0.8, 0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
  }
  // bay markings
  cairo_set_line_width(cr, 4);
  SetCol(cr, Hex(0xd8b830, 0.85f));
  RoundRect(cr, 110, 40, 380, 360, 20);
  cairo_stroke(cr);
  for (int i = 0; i < 15; ++i) {
    cairo_rectangle(cr, 0 + i * 40, h - 26, 20, 26);
  }
  SetCol(cr, Hex(0xd8b830));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, h - 30, w, 4);
  SetCol(cr, Hex(0x1a1a1a));
  cairo_fill(cr);
  SetCol(cr, Hex(0xd8d8d8, 0.55f));
  Text(cr, 300, 385, 34, true, "HANGÁR 7", 0.5);
  cairo_fill(cr);
  // the jet's shadow, then the jet
  cairo_save(cr);
  cairo_translate(cr, 14, 18);
  cairo_push_group(cr);
  Jet(cr, 3, 100, 40, 2.5);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, 0.0);
  cairo_restore(cr);
  Jet(cr, 3, 100, 40, 2.5);
  // carts and crates
  for (auto [x, y, cw, ch] : {std::tuple{30.0, 60.0, 50.0, 80.0},
                              {520.0, 70.0, 44.0, 44.0},
                              {520.0, 130.0, 44.0, 44.0},
                              {36.0, 300.0, 60.0, 36.0}}) {
    cairo_rectangle(cr, x + 5, y + 5, cw, ch);
    SetCol(cr, Hex(0x000000, 0.4f));
    cairo_fill(cr);
    RoundRect(cr, x, y, cw, ch, 3);
    SetCol(cr, Hex(0x6b5a3a));
    cairo_fill_preserve(cr);
    SetCol(cr, Hex(0x2a2218));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + cw, y + ch);
    cairo_move_to(cr, x + cw, y);
    cairo_line_to(cr, x, y + ch);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  // missiles on a trolley
  for (int i = 0; i < 3; ++i) {
    RoundRect(cr, 505 + i * 14, 240, 8, 110, 4);
    SetCol(cr, Hex(0xd0d2d6));
    cairo_fill_preserve(cr);
    SetCol(cr, Hex(0x30343a));
    cairo_stroke(cr);
  }
  Vignette(cr, w, h, 0.8);
  return Opaque(s);
}

// The operations map: land in the green of a plotting screen, the enemy marked, the route drawn.
Image BriefingPicture() {
  const int w = 640, h = 400;
  Surface s(w, h);
  cairo_t* cr = s.cr;
  terrain::Landscape land{0, 0.4f, 0.3f, 0.15f, 0.1f, 1, 1, 1.5f};
  Image view = LandView(0, 99, land, 900, 20, 13);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Rgb c = view.At(x, y);
      float lum = (0.3f * c.r + 0.59f * c.g + 0.11f * c.b) / 255.f;
      float scan = (y % 3 == 0) ? 0.85f : 1.f;
      s.Put(x, y,
            {0.05f + lum * 0.25f * scan, 0.1f + lum * 0.75f * scan, 0.08f + lum * 0.35f * scan, 1});
    }
  s.Dirty();
  cairo_set_line_width(cr, 1);
  SetCol(cr, Hex(0x6cff9a, 0.25f));
  for (int x = 0; x <= w; x += 40) cairo_move_to(cr, x + 0.5, 0), cairo_line_to(cr, x + 0.5, h);
  for (int y = 0; y <= h; y += 40) cairo_move_to(cr, 0, y + 0.5), cairo_line_to(cr, w, y + 0.5);
  cairo_stroke(cr);
  // route
  cairo_set_line_width(cr, 3);
  cairo_set_dash(cr, std::array<double, 2>{10, 6}.data(), 2, 0);
  SetCol(cr, Hex(0xf0f0a0));
  cairo_move_to(cr, 90, 370);
  cairo_curve_to(cr, 200, 280, 180, 180, 330, 150);
  cairo_curve_to(cr, 430, 130, 470, 90, 500, 70);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  // enemy markers and the mother ship's position
  Rng rng(5);
  for (int i = 0; i < 14; ++i) {
    double x = rng.F(180, 600), y = rng.F(30, 300);
    cairo_move_to(cr, x - 5, y - 5), cairo_line_to(cr, x + 5, y + 5);
    cairo_move_to(cr, x + 5, y - 5), cairo_line_to(cr, x - 5, y + 5);
  }
  SetCol(cr, Hex(0xff4a3a));
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  for (int k = 0; k < 3; ++k) {
    cairo_arc(cr, 500, 70, 18 + k * 12, 0, 2 * M_PI);
    SetCol(cr, Hex(0xff4a3a, float(0.9 - k * 0.25)));
    cairo_stroke(cr);
  }
  SetCol(cr, Hex(0xff6a5a));
  Text(cr, 474, 40, 14, true, "MATEŘSKÁ LOĎ", 1);
  cairo_fill(cr);
  // frame and captions
  cairo_rectangle(cr, 2, 2, w - 4, h - 4);
  SetCol(cr, Hex(0x6cff9a, 0.8f));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_rectangle(cr, 12, 12, 250, 30);
  SetCol(cr, Hex(0x031208, 0.8f));
  cairo_fill(cr);
  SetCol(cr, Hex(0x8cffb0));
  Text(cr, 20, 34, 18, true, "OPERAČNÍ MAPA", 0);
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 560, 370);
  cairo_rotate(cr, -0.2);
  SetCol(cr, Hex(0xff3a30, 0.8f));
  RoundRect(cr, -80, -20, 160, 34, 4);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  Text(cr, 0, 5, 18, true, "PŘÍSNĚ TAJNÉ", 0.5);
  cairo_fill(cr);
  cairo_restore(cr);
  return Opaque(s);
}

// The armoury: dark steel with racks, quiet enough for the shop's boxes and buttons over it.
Image ShopPicture() {
  const int w = 600, h = 500;
  Surface s(w, h);
  cairo_t* cr = s.cr;
  s.Shade([](float x, float y) -> Col {
    float n = Fbm(x, y, 64, 4, 515);
    Col c = Mix(Hex(0x1a1d22), Hex(0x2a2e35), n);
    // diamond tread plate
    float u = std::fmod(x + y, 16.f), v = std::fmod(x - y + 1000, 16.f);
    if ((u > 6 && u < 8) || (v > 6 && v < 8)) c = Scale(c, 1.18f);
    return c;
  });
  // racks of missiles and shells, faint
  for (int i = 0; i < 10; ++i) {
    double x = 30 + i * 56;
    RoundRect(cr, x, 380, 12, 90, 6);
    SetCol(cr, Hex(0x5a5e66, 0.6f));
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 20, 372, 560, 6);
  cairo_rectangle(cr, 20, 470, 560, 6);
  SetCol(cr, Hex(0x6a5020, 0.8f));
  cairo_fill(cr);
  // the sign hangs on its own plate, clear of the racks behind it
  RoundRect(cr, 380, 418, 206, 46, 5);
  SetCol(cr, Hex(0x121418));
  cairo_fill_preserve(cr);
  SetCol(cr, Hex(0x6a5020));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  SetCol(cr, Hex(0xc8a040, 0.85f));
  Text(cr, 483, 452, 30, true, "ZBROJNICE", 0.5);
  cairo_fill(cr);
  cairo_rectangle(cr, 1, 1, w - 2, h - 2);
  SetCol(cr, Hex(0x4a505a));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  return Opaque(s);
}

// Victory: dawn over a freed land, the mother ship going down in flames.
Image EndPicture() {
  const int w = 720, h = 352;
  Surface s(w, h);
  cairo_t* cr = s.cr;
  terrain::Landscape land{0, 0.3f, 0.3f, 0.1f, 0.35f, 0, 1, 1};
  PaintImage(cr, LandView(0, 123, land, 2000, 23, 11), 0, 0);
  cairo_pattern_t* dawn = cairo_pattern_create_linear(0, 0, w, h);
  cairo_pattern_add_color_stop_rgba(dawn, 0, 1, 0.6, 0.25, 0.45);
  cairo_pattern_add_color_stop_rgba(dawn, 1, 0.2, 0.1, 0.3, 0.35);
  cairo_set_source(cr, dawn);
  cairo_paint(cr);
  cairo_pattern_destroy(dawn);
  Surface boss(320, 240);
  RenderBoss(boss, 5);
  PaintSurface(cr, boss, 430, 20, 0.9);
  for (auto [x, y, r] : {std::tuple{560.0, 110.0, 60.0},
                         {520.0, 150.0, 40.0},
                         {610.0, 80.0, 35.0},
                         {590.0, 170.0, 30.0}})
    Boom(cr, x, y, r);
  s.Shade([](float x, float y) -> Col {
    float n = Fbm(x, y, 40, 4, 77);
    float plume =
        Smooth(220, 40, std::fabs(x - 560 + (y - 120) * 0.8f)) * Smooth(0, 120, 120 - y + 100);
    return {0.12f, 0.1f, 0.1f, Clamp01(plume * Smooth(0.4f, 0.7f, n)) * 0.7f};
  });
  Jet(cr, 3, 90, 180, 1.1, 0.3);
  Jet(cr, 2, 190, 200, 0.9, 0.3);
  Vignette(cr, w, h, 0.6);
  Title(cr, 30, 80, 58, "VÍTĚZSTVÍ", 0);
  return Opaque(s);
}

Image AllPlanes() {
  Surface s(140 * 4, 140);
  cairo_t* cr = s.cr;
  static const char* names[4] = {"Jaguar", "F5F", "F15", "F16"};
  for (int k = 0; k < 4; ++k) {
    double x0 = k * 140;
    cairo_rectangle(cr, x0, 0, 140, 140);
    SetCol(cr, Hex(0x0c1a2e));
    cairo_fill(cr);
    SetCol(cr, Hex(0x2a5a8a, 0.5f));
    cairo_set_line_width(cr, 1);
    for (int g = 10; g < 140; g += 20) {
      cairo_move_to(cr, x0 + g + 0.5, 0), cairo_line_to(cr, x0 + g + 0.5, 140);
      cairo_move_to(cr, x0, g + 0.5), cairo_line_to(cr, x0 + 140, g + 0.5);
    }
    cairo_stroke(cr);
    Jet(cr, k, x0 + 2, 8, 0.85);
    SetCol(cr, Hex(0x9fd0ff));
    Text(cr, x0 + 70, 132, 14, true, names[k], 0.5);
    cairo_fill(cr);
    cairo_rectangle(cr, x0 + 1, 1, 138, 138);
    SetCol(cr, Hex(0x4a7ab0));
    cairo_stroke(cr);
  }
  return Opaque(s);
}

// Ten 62 x 20 icons: the six slot weapons, three unused cells and the empty slot (9).
Image WeaponList() {
  Surface s(62 * 10, 20);
  cairo_t* cr = s.cr;
  for (int i = 0; i < 10; ++i) {
    double x0 = i * 62;
    cairo_rectangle(cr, x0, 0, 62, 20);
    SetCol(cr, Hex(0x101418));
    cairo_fill(cr);
    cairo_rectangle(cr, x0 + 0.5, 0.5, 61, 19);
    SetCol(cr, Hex(0x3c4a58));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    auto missile = [&](double x, double y, double len, double wdt, Col c) {
      RoundRect(cr, x, y - wdt / 2, len, wdt, wdt / 2);
      SetCol(cr, c);
      cairo_fill(cr);
      cairo_move_to(cr, x + 1, y - wdt / 2 - 2), cairo_line_to(cr, x + 5, y - wdt / 2);
      cairo_line_to(cr, x + 5, y + wdt / 2), cairo_line_to(cr, x + 1, y + wdt / 2 + 2);
      SetCol(cr, Hex(0x7a8088));
      cairo_fill(cr);
    };
    auto beam = [&](Col c, double wdt) {
      for (double y : {7.0, 13.0}) {
        cairo_move_to(cr, x0 + 8, y), cairo_line_to(cr, x0 + 54, y);
        cairo_set_line_width(cr, wdt + 2);
        SetCol(cr, WithAlpha(c, 0.5f));
        cairo_stroke(cr);
        cairo_move_to(cr, x0 + 8, y), cairo_line_to(cr, x0 + 54, y);
        cairo_set_line_width(cr, wdt * 0.5);
        SetCol(cr, Hex(0xffffff));
        cairo_stroke(cr);
      }
    };
    switch (i) {
      case 0:
        missile(x0 + 8, 6.5, 44, 4, Hex(0xe8e8e4));
        missile(x0 + 8, 13.5, 44, 4, Hex(0xe8e8e4));
        break;
      case 1:
        for (int k = 0; k < 4; ++k)
          missile(x0 + 6 + (k % 2) * 26, 6.5 + (k / 2) * 7, 22, 2.6, Hex(0xd8d8d0));
        break;
      case 2:
        beam(Hex(0x3aa0ff), 2);
        break;
      case 3:
        beam(Hex(0x30d050), 3);
        break;
      case 4:
        beam(Hex(0xff4020), 4);
        break;
      case 5:
        for (double x : {20.0, 42.0}) {
          cairo_pattern_t* g = cairo_pattern_create_radial(x0 + x, 10, 0, x0 + x, 10, 8);
          cairo_pattern_add_color_stop_rgb(g, 0, 1, 1, 1);
          cairo_pattern_add_color_stop_rgb(g, 0.5, 0.5, 0.8, 1);
          cairo_pattern_add_color_stop_rgb(g, 1, 0.45, 0.15, 0.7);
          cairo_arc(cr, x0 + x, 10, 7.5, 0, 2 * M_PI);
          cairo_set_source(cr, g);
          cairo_fill(cr);
          cairo_pattern_destroy(g);
        }
        break;
      case 9:
        SetCol(cr, Hex(0x6a7480));
        Text(cr, x0 + 31, 14.5, 11, true, "PRÁZDNÝ", 0.5);
        cairo_fill(cr);
        break;
      default:
        break;
    }
  }
  return Opaque(s);
}

// Pattern 0: ready (green), pattern 1: not ready (red).
Image ReadyLamps() {
  Surface s(40, 20);
  cairo_t* cr = s.cr;
  for (int i = 0; i < 2; ++i) {
    double cx = i * 20 + 10;
    cairo_rectangle(cr, i * 20, 0, 20, 20);
    SetCol(cr, Hex(0x101418));
    cairo_fill(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - 2, 8, 0.5, cx, 10, 8);
    if (i == 0) {
      cairo_pattern_add_color_stop_rgb(g, 0, 0.85, 1, 0.85);
      cairo_pattern_add_color_stop_rgb(g, 0.45, 0.2, 0.95, 0.3);
      cairo_pattern_add_color_stop_rgb(g, 1, 0.05, 0.35, 0.1);
    } else {
      cairo_pattern_add_color_stop_rgb(g, 0, 0.8, 0.45, 0.4);
      cairo_pattern_add_color_stop_rgb(g, 0.45, 0.6, 0.1, 0.08);
      cairo_pattern_add_color_stop_rgb(g, 1, 0.25, 0.03, 0.03);
    }
    cairo_arc(cr, cx, 10, 7.5, 0, 2 * M_PI);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_arc(cr, cx, 10, 7.5, 0, 2 * M_PI);
    SetCol(cr, Hex(0x4a5560));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  return Opaque(s);
}

// The health bar and the frame's window for it: the bar picture is drawn at x = health percent,
// the window shows screen columns kBarWindow .. kBarWindow + 99, so exactly `percent` of them
// are filled. The picture's leftmost columns, which never show, stay key black.
constexpr int kBarWindow = 116;
constexpr int kBarKeyColumns = 16;           // two whole JPEG blocks
constexpr int kBarWidth = kBarWindow + 100;  // filled [16, 116), empty [116, 216)
constexpr int kBarHeight = 16;
constexpr int kBarTop = 8;  // where the game draws it
constexpr int kWindowTop = kBarTop + 3, kWindowBottom = kBarTop + 13;

Image HealthBar() {
  Image img(kBarWidth, kBarHeight);
  for (int y = 0; y < kBarHeight; ++y)
    for (int x = 0; x < kBarWidth; ++x) {
      Col c;
      float v = float(y) / float(kBarHeight - 1);
      if (x < kBarKeyColumns) {
        img.Set(x, y, {0, 0, 0});
        continue;
      }
      if (x < kBarWindow) {
        c = Mix(Hex(0xa8ff7a), Hex(0x1f9a3a), v);  // lit energy, light on top
        if ((kBarWindow - 1 - x) % 10 == 9) c = Scale(c, 0.7f);
      } else {
        c = Mix(Hex(0x4a1a1a), Hex(0x2a0c0e), v);  // the empty trough
        if ((x - kBarWindow) % 10 == 9) c = Scale(c, 1.3f);
      }
      img.Set(x, y, ToRgb(c));
    }
  return img;
}

Image StatusFrame() {
  const int w = 1024, h = 92;
  Surface s(w, h);
  cairo_t* cr = s.cr;
  auto plate = [&](double x, double y, double pw, double ph, double r) {
    RoundRect(cr, x, y, pw, ph, r);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + ph);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.36, 0.39, 0.44);
    cairo_pattern_add_color_stop_rgb(g, 0.5, 0.2, 0.22, 0.26);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.13, 0.14, 0.17);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetCol(cr, Hex(0x0b0d10));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    RoundRect(cr, x + 2, y + 2, pw - 4, ph - 4, r);
    SetCol(cr, Hex(0x7d8490, 0.6f));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  };
  auto rivet = [&](double x, double y) {
    cairo_arc(cr, x, y, 1.6, 0, 2 * M_PI);
    SetCol(cr, Hex(0x9aa2ae));
    cairo_fill(cr);
  };
  // thin rail along the top, joining the panels
  cairo_rectangle(cr, 0, 0, w, 5);
  SetCol(cr, Hex(0x2a2e35));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 4, w, 1.5);
  SetCol(cr, Hex(0x0b0d10));
  cairo_fill(cr);
  // health panel: it must cover every column the bar picture can reach (0 .. 315)
  plate(0, -6, 330, 36, 6);
  SetCol(cr, Hex(0xc8d4e0));
  Text(cr, 10, 22, 12, true, "PANCÍŘ", 0);
  cairo_fill(cr);
  cairo_rectangle(cr, 84, 12, 22, 8);  // a small cross
  cairo_rectangle(cr, 91, 5, 8, 22);
  SetCol(cr, Hex(0xd83a3a));
  cairo_fill(cr);
  for (double x : {320.0}) rivet(x, 15);
  // weapon panel hanging in the middle
  cairo_rectangle(cr, 580, 0, 6, 60);
  cairo_rectangle(cr, 622, 0, 6, 60);
  SetCol(cr, Hex(0x2a2e35));
  cairo_fill(cr);
  plate(549, 56, 108, 36, 5);
  rivet(553, 74);
  rivet(653, 74);
  // credits panel
  plate(876, -6, 148, 36, 6);
  cairo_arc(cr, 897, 15, 8, 0, 2 * M_PI);
  SetCol(cr, Hex(0xd8a030));
  cairo_fill(cr);
  SetCol(cr, Hex(0x5a3a08));
  Text(cr, 897, 20, 11, true, "K", 0.5);
  cairo_fill(cr);
  // dark window for the green credit figures
  cairo_rectangle(cr, 910, 6, 110, 20);
  SetCol(cr, Hex(0x05080a));
  cairo_fill(cr);
  // bezel around the health window
  cairo_rectangle(cr, kBarWindow - 2, kWindowTop - 2, 104, kWindowBottom - kWindowTop + 4);
  SetCol(cr, Hex(0x0b0d10));
  cairo_fill(cr);
  Image img = Keyed(s, catalog::kBrightGreen);
  // the windows, exactly key coloured: pixels outside them never are (Keyed made sure)
  Rgb key = KeyRgb(catalog::kBrightGreen);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool health = x >= kBarWindow && x < kBarWindow + 100 && y >= kWindowTop && y < kWindowBottom;
      bool weapon = x >= 559 && x < 559 + 62 && y >= 64 && y < 84;
      bool lamp = x >= 627 && x < 627 + 20 && y >= 64 && y < 84;
      if (health || weapon || lamp) img.Set(x, y, key);
    }
  return img;
}

}  // namespace

void MakeScreens(Out& out) {
  out.Jpeg("res/other/Starvelkhorn_intro.jpg", TitlePicture(), 90);
  out.Jpeg("res/other/hangar.jpg", HangarPicture(), 90);
  out.Jpeg("res/other/fly.jpg", BriefingPicture(), 90);
  out.Jpeg("res/other/buysell.jpg", ShopPicture(), 90);
  out.Jpeg("res/other/theend.jpg", EndPicture(), 90);
  out.Jpeg("res/other/allplanes.jpg", AllPlanes(), 92);
  out.Jpeg("res/other/weaponlist.jpg", WeaponList(), 95);
  out.Jpeg("res/other/statusbarC.jpg", ReadyLamps(), 95);
  out.Bmp("res/other/statusbar.bmp", StatusFrame());
  // The bar is keyed on black after compression: its key blocks must decode exactly black and
  // nothing else may.
  Image bar = HealthBar();
  Image seen = out.Jpeg("res/other/statusbarB.jpg", bar, 95);
  for (int y = 0; y < seen.h; ++y)
    for (int x = 0; x < seen.w; ++x) {
      bool black = seen.At(x, y) == Rgb{0, 0, 0};
      if (black != (x < kBarKeyColumns))
        throw std::runtime_error("statusbarB.jpg: key area damaged by compression");
    }
}

}  // namespace gen
