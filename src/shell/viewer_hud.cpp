#include "shell/viewer_hud.h"

#include <algorithm>

#include "platform/text.h"
#include "presentation/surface.h"
#include "shell/flight_texts.h"
#include "shell/replay_viewer.h"

namespace {

// Colours 0x00BBGGRR.
constexpr TColor kMarkColor = 0x3C3CFF;  // red
constexpr TColor kTextColor = 0xE8E8E8;
constexpr TColor kLegendColor = 0xB4B4B4;
constexpr TColor kTrackColor = 0x505050;
constexpr TColor kFilledColor = 0x30C030;  // the game's green, brighter
constexpr TColor kKnobColor = 0xFFFFFF;
constexpr int32_t kStatusPoints = 10;
constexpr int32_t kTitleFlightPoints = 12;
constexpr int32_t kTextLeft = 16, kTextRight = 1008;

// The rows behind the bar darkened to a quarter, so the flight still shows through.
void Darken(TDirectDrawSurface& s, int32_t top, int32_t bottom) {
  for (int32_t y = std::max(top, 0); y < std::min(bottom, s.Height()); ++y) {
    uint32_t* row = s.Row(y);
    for (int32_t x = 0; x < s.Width(); ++x) row[x] = (row[x] >> 2) & 0x3F3F3F;
  }
}

int32_t Width(const std::string& text, int32_t points) {
  int32_t width = 0, height = 0;
  platform::TextRasterizer::Shared().Measure(text, points, width, height);
  return width;
}

std::string SpeedText(double speed) {
  if (speed == 0.25) return "0,25×";
  if (speed == 0.5) return "0,5×";
  return std::to_string(static_cast<int>(speed)) + "×";
}

}  // namespace

const std::vector<std::string>& TViewerHud::LegendLines() {
  static const std::vector<std::string> lines = {
      "Mezerník pauza   ←/→ 10 s   Shift+←/→ krok   Home/End začátek/konec   ↑/↓ rychlost   "
      "Esc zpět",
      "Pad: A pauza   ←/→ 10 s (v pauze krok)   ↑/↓ rychlost   Start začátek   B zpět",
  };
  return lines;
}

std::vector<std::string> TViewerHud::StatusTexts() const {
  if (!Viewer) return {};
  const TReplayViewer& v = *Viewer;
  std::string state;
  if (v.AtEnd()) {
    state = v.Drift() ? "Zastaveno" : "Konec záznamu";
  } else if (v.Paused()) {
    state = "PAUZA";
  }
  return {"ZÁZNAM", Title, state, SpeedText(v.Speed()),
          FlightTimeText(v.Position()) + " / " + FlightTimeText(v.Length())};
}

std::string TViewerHud::DriftText() const {
  if (!Viewer || !Viewer->Drift()) return "";
  return "Záznam se v čase " + FlightTimeText(Viewer->Drift()->Tick) +
         " rozchází s pravidly hry. Přehrávání se proto zastavilo zde.";
}

std::string TViewerHud::TitleFlightText() const {
  return Title + "  —  pro návrat stiskněte libovolnou klávesu";
}

int64_t TViewerHud::TickAt(int32_t x, int32_t y, int64_t length) {
  // The bar's rows and a little round them, so the thin track is easy to hit.
  if (y < kTrackTop - 8 || y >= kTrackTop + kTrackHeight + 4) return -1;
  if (x < kTrackLeft || x >= kTrackLeft + kTrackWidth) return -1;
  return (static_cast<int64_t>(x - kTrackLeft) * length + kTrackWidth / 2) / kTrackWidth;
}

void TViewerHud::Paint(TDirectDrawSurface& picture) {
  if (!Viewer) return;
  if (TitleFlight) {
    PaintTitleFlight(picture);
  } else {
    PaintBar(picture);
  }
}

void TViewerHud::PaintBar(TDirectDrawSurface& s) const {
  const TReplayViewer& v = *Viewer;
  Darken(s, kBarTop, s.Height());
  const std::vector<std::string> status = StatusTexts();
  const int32_t textTop = kBarTop + 4;
  DrawText(s, kTextLeft, textTop, "●", kStatusPoints, kMarkColor);
  DrawText(s, kTextLeft + 16, textTop, status[0], kStatusPoints, kMarkColor);
  DrawText(s, kTextLeft + 100, textTop, status[1], kStatusPoints, kTextColor);
  // From the right: the time, the speed, the state.
  int32_t right = kTextRight;
  for (size_t i = status.size() - 1; i >= 2; --i) {
    if (status[i].empty()) continue;
    right -= Width(status[i], kStatusPoints);
    DrawText(s, right, textTop, status[i], kStatusPoints, i == 2 ? kMarkColor : kTextColor);
    right -= 24;
  }

  s.FillRect(kTrackLeft, kTrackTop, kTrackWidth, kTrackHeight, kTrackColor);
  const int64_t length = std::max<int64_t>(v.Length(), 1);
  const auto filled = static_cast<int32_t>(std::min(v.Position(), length) * kTrackWidth / length);
  s.FillRect(kTrackLeft, kTrackTop, filled, kTrackHeight, kFilledColor);
  s.FillRect(kTrackLeft + filled - 2, kTrackTop - 3, 4, kTrackHeight + 6, kKnobColor);
  if (const auto drift = v.Drift()) {
    const auto at = static_cast<int32_t>(std::min(drift->Tick, length) * kTrackWidth / length);
    s.FillRect(kTrackLeft + at - 1, kTrackTop - 3, 2, kTrackHeight + 6, kMarkColor);
  }

  const std::vector<std::string>& legend = LegendLines();
  const int32_t legendTop = kTrackTop + kTrackHeight + 4;
  DrawText(s, kTextLeft, legendTop, legend[0], kLegendPoints, kLegendColor);
  DrawText(s, kTextRight - Width(legend[1], kLegendPoints), legendTop + 0, legend[1], kLegendPoints,
           kLegendColor);

  const std::string drift = DriftText();
  if (!drift.empty()) {
    const int32_t w = Width(drift, kStatusPoints) + 32;
    const int32_t left = (s.Width() - w) / 2;
    s.FillRect(left, 340, w, 40, 0x101010);
    DrawText(s, left + 16, 350, drift, kStatusPoints, kTextColor);
  }
}

void TViewerHud::PaintTitleFlight(TDirectDrawSurface& s) const {
  const int32_t top = s.Height() - 36;
  Darken(s, top, s.Height());
  const std::string text = TitleFlightText();
  DrawText(s, (s.Width() - Width(text, kTitleFlightPoints)) / 2, top + 8, text, kTitleFlightPoints,
           kTextColor);
}
