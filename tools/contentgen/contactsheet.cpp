// contactsheet --data DIR --out DIR
// Reads the generated tree back the way the game does (decoder by extension, colour keys,
// pattern grids) and lays every group out on one PNG for looking at: aircraft frames, enemies and
// bosses with their hit shapes outlined, effects, bonuses, terrain sheets, a strip of each map,
// the screens with the controls that lie over them, the status bar, and the sounds' waveforms.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "base/asset_catalog.h"
#include "files.h"
#include "hull_shapes.h"
#include "raster.h"

namespace fs = std::filesystem;
using namespace gen;

namespace {

fs::path gData;

// A picture as a cairo surface; key-coloured pixels become transparent when keyed.
struct Pic {
  Image img;
  cairo_surface_t* s = nullptr;
  Pic(const std::string& rel, bool keyed, uint32_t key) : img(LoadPicture(gData / rel)) {
    s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.w, img.h);
    Rgb k = KeyRgb(key);
    auto* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < img.h; ++y)
      for (int x = 0; x < img.w; ++x) {
        Rgb c = img.At(x, y);
        uint32_t v =
            keyed && c == k ? 0u : (0xFFu << 24 | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
        reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(stride))[x] = v;
      }
    cairo_surface_mark_dirty(s);
  }
  ~Pic() { cairo_surface_destroy(s); }
  Pic(const Pic&) = delete;
  // Draws pattern p of a pw x ph grid at (x, y), scaled.
  void Draw(cairo_t* cr, double x, double y, int pw = 0, int ph = 0, int p = 0, double scale = 1) {
    if (pw == 0) pw = img.w;
    if (ph == 0) ph = img.h;
    int cols = img.w / pw;
    int sx = (p % cols) * pw, sy = (p / cols) * ph;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_rectangle(cr, 0, 0, pw, ph);
    cairo_clip(cr);
    cairo_set_source_surface(cr, s, -sx, -sy);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
  }
};

struct Sheet {
  cairo_surface_t* s;
  cairo_t* cr;
  Sheet(int w, int h, double grey = 0.22) {
    s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cr = cairo_create(s);
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_paint(cr);
  }
  void Save(const fs::path& path) {
    cairo_surface_write_to_png(s, path.string().c_str());
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    std::printf("contactsheet: %s\n", path.string().c_str());
  }
  void Label(double x, double y, const std::string& t, double size = 12) {
    cairo_set_source_rgb(cr, 1, 1, 0.85);
    Text(cr, x, y, size, false, t);
    cairo_fill(cr);
  }
  void Checker(double x, double y, double w, double h) {
    for (int j = 0; j * 8 < h; ++j)
      for (int i = 0; i * 8 < w; ++i) {
        double v = ((i + j) & 1) ? 0.42 : 0.34;
        cairo_set_source_rgb(cr, v, v, v);
        cairo_rectangle(cr, x + i * 8, y + j * 8, std::min(8.0, w - i * 8),
                        std::min(8.0, h - j * 8));
        cairo_fill(cr);
      }
  }
  void Shapes(double x, double y, const std::vector<HitShape>& shapes, double scale = 1) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_set_line_width(cr, 1 / scale);
    cairo_set_source_rgba(cr, 0.1, 1, 1, 0.9);
    for (const auto& s : shapes) {
      if (s.circle)
        cairo_arc(cr, s.a, s.b, s.c, 0, 2 * M_PI);
      else
        cairo_rectangle(cr, s.a + 0.5, s.b + 0.5, s.c - 1, s.d - 1);
      cairo_stroke(cr);
    }
    cairo_restore(cr);
  }
};

// A background texture made of terrain tiles, to judge sprites against the ground.
void TerrainBackground(Sheet& sh, int sheet, double x, double y, double w, double h,
                       const std::vector<int>& tiles) {
  Pic t(catalog::kTerrain[size_t(sheet)], false, 0);
  cairo_save(sh.cr);
  cairo_rectangle(sh.cr, x, y, w, h);
  cairo_clip(sh.cr);
  int k = 0;
  for (double ty = y; ty < y + h; ty += 32)
    for (double tx = x; tx < x + w; tx += 32)
      t.Draw(sh.cr, tx, ty, 32, 32, tiles[size_t(k++) % tiles.size()]);
  cairo_restore(sh.cr);
}

void AircraftSheet(const fs::path& out) {
  Sheet sh(11 * 170 + 20, 4 * 150 + 40);
  for (int k = 0; k < 4; ++k) {
    Pic p(catalog::kAircraft[size_t(k)].Sprite, true, catalog::kAircraft[size_t(k)].Key);
    double y = 30 + k * 150;
    sh.Label(10, y - 6,
             std::string(catalog::kAircraft[size_t(k)].Sprite) + "  " + std::to_string(p.img.w) +
                 "x" + std::to_string(p.img.h));
    for (int f = 0; f < 11; ++f) {
      double x = 10 + f * 170;
      if (k & 1)
        TerrainBackground(sh, k == 1 ? 1 : 2, x, y, 160, 120, {0, 1, 2, 3, 4, 5});
      else
        sh.Checker(x, y, 160, 120);
      p.Draw(sh.cr, x, y, 160, 120, f);
      if (f == 0) sh.Shapes(x, y, AircraftShapes()[size_t(k)]);
    }
  }
  sh.Save(out / "aircraft.png");
}

void EnemySheet(const fs::path& out) {
  // three columns of three: each craft on a checker with its shapes, then on two terrains
  Sheet s2(1560, 3 * 190 + 40);
  for (int i = 0; i < 9; ++i) {
    const auto& it = catalog::kStartupPictures[size_t(10 + i)];
    Pic p(it.Path, true, it.Key);
    double x = 10 + (i % 3) * 520, y = 30 + (i / 3) * 190;
    s2.Label(x, y - 6,
             std::string(it.Path) + " " + std::to_string(p.img.w) + "x" + std::to_string(p.img.h));
    s2.Checker(x, y, 160, 160);
    p.Draw(s2.cr, x, y);
    s2.Shapes(x, y, EnemyShapes()[size_t(i)]);
    TerrainBackground(s2, 0, x + 170, y, 160, 160, {0, 1, 2, 3, 17});
    p.Draw(s2.cr, x + 170, y);
    TerrainBackground(s2, i % 2 ? 1 : 2, x + 340, y, 160, 160, {0, 1, 2, 3, 4, 5, 6});
    p.Draw(s2.cr, x + 340, y);
  }
  s2.Save(out / "enemies.png");
}

void BossSheet(const fs::path& out) {
  Sheet sh(3 * 340 * 2 + 20, 2 * 2 * 260 + 40);
  for (int i = 0; i < 6; ++i) {
    const auto& b = catalog::kBosses[size_t(i)];
    Pic p(b.Path, true, catalog::kBossKey);
    double x = 10 + (i % 3) * 680, y = 30 + (i / 3) * 520;
    sh.Label(x, y - 6,
             std::string(b.Path) + " " + std::to_string(p.img.w) + "x" + std::to_string(p.img.h));
    sh.Checker(x, y, 330, 250);
    p.Draw(sh.cr, x, y);
    sh.Shapes(x, y, BossShapes()[size_t(i)]);
    TerrainBackground(sh, i % 3, x + 335, y, 330, 250, {0, 1, 2, 3, 4, 5});
    p.Draw(sh.cr, x + 335, y);
    TerrainBackground(sh, (i + 1) % 3, x, y + 255, 660, 250, {0, 1, 2, 3, 4, 5, 40, 41});
    p.Draw(sh.cr, x + 170, y + 255);
  }
  sh.Save(out / "bosses.png");
}

void EffectsSheet(const fs::path& out) {
  Sheet sh(17 * 70 + 20, 1060, 0.12);
  double y = 30;
  for (int i : {19, 23, 20, 21, 22, 26, 27, 28, 29, 30, 31, 32}) {
    const auto& it = catalog::kStartupPictures[size_t(i)];
    Pic p(it.Path, true, it.Key);
    int pw = it.PatternWidth, ph = it.PatternHeight;
    int n = (p.img.w / pw) * (p.img.h / ph);
    double scale = pw <= 20 ? 2 : 1;
    sh.Label(10, y - 6,
             std::string(it.Path) + " patterns " + std::to_string(n) + " of " + std::to_string(pw) +
                 "x" + std::to_string(ph));
    for (int f = 0; f < n; ++f) {
      double x = 10 + f * (pw * scale + 6);
      if (i >= 26) TerrainBackground(sh, 0, x, y, pw * scale, ph * scale, {0});
      p.Draw(sh.cr, x, y, pw, ph, f, scale);
    }
    y += ph * scale + 26;
  }
  sh.Save(out / "effects.png");
}

void BonusSheet(const fs::path& out) {
  Sheet sh(4 * 110 + 20, 2 * 130 + 40);
  for (int k = 0; k < 2; ++k) {
    const auto& it = catalog::kStartupPictures[size_t(24 + k)];
    Pic p(it.Path, true, it.Key);
    double y = 30 + k * 130;
    sh.Label(10, y - 6, it.Path);
    for (int f = 0; f < 4; ++f) {
      TerrainBackground(sh, k, 10 + f * 110, y, 100, 100, {0, 1, 2, 3});
      p.Draw(sh.cr, 10 + f * 110, y, 50, 50, f, 2);
    }
  }
  sh.Save(out / "bonuses.png");
}

void TerrainSheet(const fs::path& out) {
  Sheet sh(1044, 3 * 540 + 20);
  for (int s = 0; s < 3; ++s) {
    Pic p(catalog::kTerrain[size_t(s)], false, 0);
    double y = 30 + s * 540;
    sh.Label(10, y - 6,
             std::string(catalog::kTerrain[size_t(s)]) + " " + std::to_string(p.img.w) + "x" +
                 std::to_string(p.img.h));
    p.Draw(sh.cr, 10, y, 0, 0, 0, 2);
  }
  sh.Save(out / "terrain.png");
}

// Rows 0 .. rows-1 of a map, bottom first as they scroll in, at 1/scale of the screen, in
// columns from left to right.
void MapSheet(const fs::path& out, int m) {
  Bytes map = ReadFile(gData / catalog::LevelMapPath(m));
  Pic tiles(catalog::TerrainFor(m), false, 0);
  const int rowsPerColumn = 400, columns = 6;
  const double scale = 0.125;
  Sheet sh(int(columns * (1024 * scale + 16) + 10), int(rowsPerColumn * 32 * scale + 40));
  sh.Label(10, 20,
           catalog::LevelMapPath(m) + ": rows 0.." + std::to_string(rowsPerColumn * columns - 1) +
               ", each column bottom to top");
  for (int col = 0; col < columns; ++col) {
    double ox = 10 + col * (1024 * scale + 16), oy = 30;
    for (int r = 0; r < rowsPerColumn; ++r) {
      int row = col * rowsPerColumn + r;
      for (int c = 0; c < 32; ++c) {
        int t = map[size_t(c) * 8192 + size_t(row)];
        double y = oy + (rowsPerColumn - 1 - r) * 32 * scale;
        tiles.Draw(sh.cr, ox + c * 32 * scale, y, 32, 32, t, scale);
      }
    }
  }
  sh.Save(out / ("map_level0" + std::to_string(m) + ".png"));
}

// A screen as the game draws it: picture at its place, with the controls outlined over it.
struct Control {
  int x, y, w, h;
  const char* label;
};
void ScreenSheet(const fs::path& out, const char* name, int item, int px, int py,
                 const std::vector<Control>& controls) {
  Sheet sh(1024, 768, 0);
  const auto& it = catalog::kStartupPictures[size_t(item)];
  Pic p(it.Path, false, 0);
  p.Draw(sh.cr, px, py);
  for (const auto& c : controls) {
    cairo_set_source_rgba(sh.cr, 0.05, 0.05, 0.05, 0.85);
    cairo_rectangle(sh.cr, c.x, c.y, c.w, c.h);
    cairo_fill_preserve(sh.cr);
    cairo_set_source_rgb(sh.cr, 0.6, 0.6, 0.6);
    cairo_set_line_width(sh.cr, 1);
    cairo_stroke(sh.cr);
    cairo_set_source_rgb(sh.cr, 0, 0.5, 0);
    Text(sh.cr, c.x + 4, c.y + 14, 11, false, c.label);
    cairo_fill(sh.cr);
  }
  sh.Label(4, 764,
           std::string(it.Path) + " " + std::to_string(p.img.w) + "x" + std::to_string(p.img.h) +
               " at (" + std::to_string(px) + "," + std::to_string(py) + ")",
           11);
  sh.Save(out / (std::string("screen_") + name + ".png"));
}

void Screens(const fs::path& out) {
  std::vector<Control> menu = {{888, 360, 130, 30, "Nová hra"},
                               {888, 400, 130, 30, "Nahrát hru"},
                               {888, 440, 130, 30, "Rekordy"},
                               {888, 480, 130, 30, "Záznamy letů"},
                               {888, 520, 130, 30, "Konec"}};
  ScreenSheet(out, "title", 0, 0, 0, menu);
  std::vector<Control> hangar = {{888, 360, 130, 30, "Letět další misi"},
                                 {888, 400, 130, 30, "Nakupovat"},
                                 {888, 440, 130, 30, "Uložit hru"},
                                 {888, 480, 130, 30, "Návrat"},
                                 {840, 728, 177, 32, "Kredit : 60000"}};
  ScreenSheet(out, "hangar", 7, 250, 150, hangar);
  std::vector<Control> brief = {{888, 360, 130, 30, "Letět misi"},
                                {888, 400, 130, 30, "Zpět"},
                                {193, 560, 640, 105, "Mise číslo 1: ..."}};
  ScreenSheet(out, "briefing", 8, 193, 150, brief);
  std::vector<Control> shop = {
      {888, 360, 130, 30, "Zpet"},   {456, 250, 190, 20, "Slot 0"}, {456, 280, 190, 20, "Slot 1"},
      {456, 310, 190, 20, "Slot 2"}, {456, 448, 190, 20, "Kanón"},  {456, 72, 189, 170, "Memo5"},
      {32, 208, 209, 281, "Memo6"},  {840, 728, 177, 32, "Kredit"}, {175, 20, 189, 120, "Memo1"},
      {175, 140, 190, 20, "Koupit"}, {825, 160, 140, 20, "Prodat"}};
  ScreenSheet(out, "shop", 5, 250, 175, shop);
  std::vector<Control> end = {{888, 360, 130, 30, "Pokračuj"}, {193, 560, 640, 105, "Výborně..."}};
  ScreenSheet(out, "theend", 9, 150, 200, end);

  // the plane shop with the aircraft pictures, and the small status-bar parts
  Sheet sh(1024, 768, 0);
  Pic shopPic(catalog::kStartupPictures[5].Path, false, 0);
  shopPic.Draw(sh.cr, 250, 175);
  Pic planes(catalog::kStartupPictures[6].Path, false, 0);
  for (int i = 0; i < 4; ++i) planes.Draw(sh.cr, 30, 20 + 200 * i, 140, 140, i);
  planes.Draw(sh.cr, 825, 20, 140, 140, 2);
  Pic weapons(catalog::kStartupPictures[4].Path, false, 0);
  for (int i = 0; i < 10; ++i)
    weapons.Draw(sh.cr, 380, 250 + 30 * (i % 5) + (i / 5) * 0, 62, 20, i),
        weapons.Draw(sh.cr, 460 + (i / 5) * 70, 500 + 30 * (i % 5), 62, 20, i);
  Pic lamp(catalog::kStartupPictures[3].Path, false, 0);
  lamp.Draw(sh.cr, 620, 500, 20, 20, 0, 2);
  lamp.Draw(sh.cr, 670, 500, 20, 20, 1, 2);
  sh.Save(out / "screen_planeshop.png");
}

// An in-game frame: terrain from a map, the aircraft, some enemies, effects and the status bar
// at a given health.
void GameFrame(const fs::path& out, int m, int row, int health, int aircraft) {
  Sheet sh(1024, 768, 0);
  Bytes map = ReadFile(gData / catalog::LevelMapPath(m));
  Pic tiles(catalog::TerrainFor(m), false, 0);
  for (int c = 0; c < 32; ++c)
    for (int j = 1; j <= 25; ++j) {
      int t = map[size_t(c) * 8192 + size_t((row + j) % 8192)];
      tiles.Draw(sh.cr, 32 * c, 768 - 32 * j, 32, 32, t);
    }
  for (int k = 0; k < 3; ++k) {
    int kind = (m * 2 + k * 3) % 9;
    const auto& it = catalog::kStartupPictures[size_t(10 + kind)];
    Pic e(it.Path, true, it.Key);
    e.Draw(sh.cr, 120 + k * 300, 140 + (k % 2) * 120);
  }
  Pic plane(catalog::kAircraft[size_t(aircraft)].Sprite, true,
            catalog::kAircraft[size_t(aircraft)].Key);
  plane.Draw(sh.cr, 430, 560, 160, 120, m % 11);
  Pic expl(catalog::kStartupPictures[19].Path, true, 0);
  expl.Draw(sh.cr, 700, 420, 64, 64, 6);
  expl.Draw(sh.cr, 730, 440, 64, 64, 10);
  Pic missile(catalog::kStartupPictures[26].Path, true, catalog::kBrightGreen);
  missile.Draw(sh.cr, 480, 470, 10, 50, 0);
  missile.Draw(sh.cr, 525, 480, 10, 50, 0);
  Pic beam(catalog::kStartupPictures[28].Path, true, 0);
  beam.Draw(sh.cr, 300, 420, 5, 30, 0);
  Pic ball(catalog::kStartupPictures[31].Path, true, catalog::kBrightGreen);
  ball.Draw(sh.cr, 260, 330, 20, 20, 0);
  Pic bonus(catalog::kStartupPictures[25].Path, true, catalog::kYellow);
  bonus.Draw(sh.cr, 850, 300, 50, 50, 1);
  Pic bar(catalog::kStartupPictures[2].Path, true, 0);
  bar.Draw(sh.cr, health, 8);
  Pic weapons(catalog::kStartupPictures[4].Path, false, 0);
  weapons.Draw(sh.cr, 559, 64, 62, 20, m % 6);
  Pic lamp(catalog::kStartupPictures[3].Path, false, 0);
  lamp.Draw(sh.cr, 627, 64, 20, 20, m % 2);
  Pic frame(catalog::kStartupPictures[1].Path, true, catalog::kBrightGreen);
  frame.Draw(sh.cr, 0, 0);
  cairo_select_font_face(sh.cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(sh.cr, 16);
  cairo_set_source_rgb(sh.cr, 0, 0.5, 0);
  cairo_move_to(sh.cr, 913, 8 + 15);
  cairo_show_text(sh.cr, "123450");
  sh.Save(out / ("ingame_level0" + std::to_string(m) + ".png"));
}

std::vector<int16_t> ReadWav(const fs::path& p, int& rate) {
  Bytes d = ReadFile(p);
  if (d.size() < 44) throw std::runtime_error("short wave");
  rate = int(d[24] | d[25] << 8 | d[26] << 16 | d[27] << 24);
  size_t at = 12;
  while (at + 8 <= d.size()) {
    uint32_t len = uint32_t(d[at + 4] | d[at + 5] << 8 | d[at + 6] << 16 | d[at + 7] << 24);
    if (std::string(d.begin() + long(at), d.begin() + long(at) + 4) == "data") {
      std::vector<int16_t> s(len / 2);
      for (size_t i = 0; i < s.size(); ++i)
        s[i] = int16_t(d[at + 8 + 2 * i] | d[at + 9 + 2 * i] << 8);
      return s;
    }
    at += 8 + len;
  }
  throw std::runtime_error("no data chunk");
}

void SoundSheet(const fs::path& out) {
  std::vector<std::string> files;
  for (const auto& s : catalog::kStartupSounds) files.push_back(s.Path);
  for (const auto& a : catalog::kAircraft) files.push_back(a.Engine);
  Sheet sh(1200, int(files.size()) * 110 + 20, 0.1);
  for (size_t i = 0; i < files.size(); ++i) {
    int rate = 0;
    auto s = ReadWav(gData / files[i], rate);
    double y = 20 + double(i) * 110, mid = y + 50;
    double peak = 0, sum = 0;
    for (int16_t v : s)
      peak = std::max(peak, std::fabs(v / 32768.0)), sum += (v / 32768.0) * (v / 32768.0);
    double rms = std::sqrt(sum / double(std::max<size_t>(1, s.size())));
    char label[200];
    std::snprintf(label, sizeof label, "%s  %d Hz  %.2f s  peak %.1f dBFS  rms %.1f dBFS",
                  files[i].c_str(), rate, double(s.size()) / rate, 20 * std::log10(peak + 1e-9),
                  20 * std::log10(rms + 1e-9));
    sh.Label(10, y + 4, label, 11);
    cairo_set_source_rgb(sh.cr, 0.3, 0.9, 0.4);
    size_t per = std::max<size_t>(1, s.size() / 1180);
    for (size_t x = 0; x * per < s.size(); ++x) {
      double lo = 0, hi = 0;
      for (size_t k = x * per; k < std::min(s.size(), (x + 1) * per); ++k)
        lo = std::min(lo, s[k] / 32768.0), hi = std::max(hi, s[k] / 32768.0);
      cairo_rectangle(sh.cr, 10 + double(x), mid - hi * 45, 1, std::max(1.0, (hi - lo) * 45));
    }
    cairo_fill(sh.cr);
  }
  sh.Save(out / "sounds.png");
}

}  // namespace

int main(int argc, char** argv) {
  fs::path out;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--data") gData = argv[i + 1];
    if (a == "--out") out = argv[i + 1];
    if (a == "--only") only = argv[i + 1];
  }
  if (gData.empty() || out.empty()) {
    std::fprintf(stderr, "usage: contactsheet --data DIR --out DIR [--only GROUP]\n");
    return 2;
  }
  fs::create_directories(out);
  std::map<std::string, std::function<void()>> groups = {
      {"aircraft", [&] { AircraftSheet(out); }},
      {"enemies", [&] { EnemySheet(out); }},
      {"bosses", [&] { BossSheet(out); }},
      {"effects", [&] { EffectsSheet(out); }},
      {"bonuses", [&] { BonusSheet(out); }},
      {"terrain", [&] { TerrainSheet(out); }},
      {"maps",
       [&] {
         for (int m = 0; m < 6; ++m) MapSheet(out, m);
       }},
      {"screens", [&] { Screens(out); }},
      {"ingame",
       [&] {
         for (int m = 0; m < 6; ++m)
           GameFrame(out, m, 300 + 250 * m, 20 + m * 15, m < 2 ? m : m - 2);
       }},
      {"sounds", [&] { SoundSheet(out); }},
  };
  int failures = 0;
  for (auto& [name, fn] : groups) {
    if (!only.empty() && only != name) continue;
    try {
      fn();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "contactsheet: %s: %s\n", name.c_str(), e.what());
      ++failures;
    }
  }
  return failures ? 1 : 0;
}
