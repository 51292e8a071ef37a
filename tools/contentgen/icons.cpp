#include "icons.h"

#include <stdexcept>
#include <string>

#include "aircraft.h"
#include "base/asset_catalog.h"
#include "raster.h"

namespace gen {

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

// Drawn on a 256-unit square and scaled, so every size has the same composition.
void DrawIcon(cairo_t* cr, int size) {
  cairo_save(cr);
  cairo_scale(cr, size / 256.0, size / 256.0);
  // A rounded tile of dusk sky: deep blue above, a warm horizon below.
  RoundRect(cr, 8, 8, 240, 240, 44);
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 8, 0, 248);
  cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.07, 0.13, 0.32);
  cairo_pattern_add_color_stop_rgb(sky, 0.62, 0.22, 0.42, 0.70);
  cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.93, 0.62, 0.36);
  cairo_set_source(cr, sky);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(sky);
  cairo_set_line_width(cr, 6);
  cairo_set_source_rgba(cr, 0.03, 0.06, 0.15, 0.85);
  cairo_stroke(cr);
  // The Jaguar climbing, banked a little, its cell scaled to fill the tile.
  const double w = catalog::kAircraftFrameWidth, h = catalog::kAircraftFrameHeight;
  const double k = 1.9;
  cairo_translate(cr, 128 - w * k / 2, 132 - h * k / 2);
  cairo_scale(cr, k, k);
  DrawAircraft(cr, 0, 0.25);
  cairo_restore(cr);
}

}  // namespace

void MakeIcons(const std::filesystem::path& dir) {
  for (int size : kSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const auto folder = dir / name / "apps";
    std::filesystem::create_directories(folder);
    Surface s(size, size);
    DrawIcon(s.cr, size);
    s.Flush();
    const auto path = folder / "starvelkhorn.png";
    if (cairo_surface_write_to_png(s.s, path.c_str()) != CAIRO_STATUS_SUCCESS)
      throw std::runtime_error("cannot write " + path.string());
  }
}

}  // namespace gen
