#include "chart.h"

#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 1100;
constexpr int kHeight = 480;
constexpr double kPanelW = 470, kPanelH = 330, kTop = 80;
constexpr double kLeft1 = 90, kLeft2 = 610;

struct TColor {
  double R, G, B;
};
const TColor kColors[] = {{0.20, 0.60, 0.25}, {0.90, 0.60, 0.10}, {0.80, 0.15, 0.15}};
const char* const kNames[] = {"easy", "medium", "hard"};

void Text(cairo_t* c, double x, double y, const std::string& s, double size = 13) {
  cairo_set_font_size(c, size);
  cairo_move_to(c, x, y);
  cairo_show_text(c, s.c_str());
}

void Axes(cairo_t* c, double left, const char* title) {
  cairo_set_source_rgb(c, 0.15, 0.15, 0.15);
  cairo_set_line_width(c, 1.2);
  cairo_move_to(c, left, kTop);
  cairo_line_to(c, left, kTop + kPanelH);
  cairo_line_to(c, left + kPanelW, kTop + kPanelH);
  cairo_stroke(c);
  Text(c, left, kTop - 20, title, 16);
  for (int m = 0; m < 6; ++m) {
    Text(c, left + (m + 0.4) * kPanelW / 6, kTop + kPanelH + 20, std::to_string(m + 1));
  }
  Text(c, left + kPanelW / 2 - 25, kTop + kPanelH + 42, "mission");
}

void GridLine(cairo_t* c, double left, double y, const std::string& label) {
  cairo_set_source_rgb(c, 0.85, 0.85, 0.85);
  cairo_set_line_width(c, 0.8);
  cairo_move_to(c, left, y);
  cairo_line_to(c, left + kPanelW, y);
  cairo_stroke(c);
  cairo_set_source_rgb(c, 0.3, 0.3, 0.3);
  Text(c, left - 70, y + 4, label, 11);
}

void Credits(cairo_t* c, const std::vector<TDifficultyFigures>& all) {
  int64_t top = 1;
  for (const auto& d : all) {
    for (const auto& m : d.Missions)
      top = std::max({top, m.MedianCreditsBefore, m.MedianCreditsAfter});
  }
  const double scale = kPanelH / static_cast<double>(top);
  for (int g = 0; g <= 4; ++g) {
    const int64_t v = top * g / 4;
    GridLine(c, kLeft1, kTop + kPanelH - v * scale, std::to_string(v));
  }
  Axes(c, kLeft1, "Median credits after shopping (dot) and after the mission (line)");
  for (size_t i = 0; i < all.size() && i < 3; ++i) {
    const TColor col = kColors[i];
    cairo_set_source_rgb(c, col.R, col.G, col.B);
    cairo_set_line_width(c, 2.5);
    bool started = false;
    for (size_t m = 0; m < 6; ++m) {
      const auto& f = all[i].Missions[m];
      if (f.Runs == 0) continue;
      const double x = kLeft1 + (m + 0.5) * kPanelW / 6;
      const double y = kTop + kPanelH - f.MedianCreditsAfter * scale;
      if (started) {
        cairo_line_to(c, x, y);
      } else {
        cairo_move_to(c, x, y);
      }
      started = true;
    }
    cairo_stroke(c);
    for (size_t m = 0; m < 6; ++m) {
      const auto& f = all[i].Missions[m];
      if (f.Runs == 0) continue;
      const double x = kLeft1 + (m + 0.5) * kPanelW / 6;
      cairo_arc(c, x, kTop + kPanelH - f.MedianCreditsBefore * scale, 4, 0, 6.2832);
      cairo_fill(c);
    }
  }
}

void WinRates(cairo_t* c, const std::vector<TDifficultyFigures>& all) {
  for (int g = 0; g <= 4; ++g) {
    GridLine(c, kLeft2, kTop + kPanelH - kPanelH * g / 4, std::to_string(g * 25) + " %");
  }
  Axes(c, kLeft2, "First-try win rate");
  const double slot = kPanelW / 6;
  const double bar = slot / 4;
  for (size_t i = 0; i < all.size() && i < 3; ++i) {
    const TColor col = kColors[i];
    cairo_set_source_rgb(c, col.R, col.G, col.B);
    for (size_t m = 0; m < 6; ++m) {
      const double h = all[i].Missions[m].FirstTryRate() * kPanelH;
      cairo_rectangle(c, kLeft2 + m * slot + bar * (0.5 + i), kTop + kPanelH - h, bar * 0.9, h);
      cairo_fill(c);
    }
  }
}

void Legend(cairo_t* c, size_t count) {
  for (size_t i = 0; i < count && i < 3; ++i) {
    const double x = kLeft1 + 140 * i;
    cairo_set_source_rgb(c, kColors[i].R, kColors[i].G, kColors[i].B);
    cairo_rectangle(c, x, kHeight - 24, 18, 12);
    cairo_fill(c);
    cairo_set_source_rgb(c, 0.15, 0.15, 0.15);
    Text(c, x + 24, kHeight - 13, kNames[i]);
  }
}

}  // namespace

bool DrawBalanceChart(const std::vector<TDifficultyFigures>& all, const std::string& file) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* c = cairo_create(surface);
  cairo_set_source_rgb(c, 1, 1, 1);
  cairo_paint(c);
  cairo_select_font_face(c, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  Credits(c, all);
  WinRates(c, all);
  Legend(c, all.size());
  cairo_destroy(c);
  const bool ok = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}
