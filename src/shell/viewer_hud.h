// What lies over a recorded flight being watched, drawn over the presented picture as the
// form's controls are: a mark that it is a recording, a bar at the bottom with the position,
// the length and the speed, the keys and pad buttons, and where the recording stopped. The
// title's flight gets only a line saying what it is and how to get back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "presentation/window.h"

class TReplayViewer;

class TViewerHud final : public TWindowLayer {
 public:
  // The bar's place: the bottom of the play area.
  static constexpr int32_t kBarTop = 712;
  static constexpr int32_t kTrackLeft = 16, kTrackTop = 738, kTrackWidth = 992, kTrackHeight = 8;
  static constexpr int32_t kLegendPoints = 8;

  // The flight shown (none: the layer draws nothing) and what it is.
  const TReplayViewer* Viewer = nullptr;
  // "Mise 1, lehká obtížnost · Jaguar"; over the title's flight "Ukázkový let: mise 1, ..."
  std::string Title;
  bool TitleFlight = false;

  bool Visible() const override { return Viewer != nullptr; }
  void Paint(TDirectDrawSurface& picture) override;

  // The tick a click at x on the bar goes to, for a flight of `length` ticks; -1 off the bar.
  static int64_t TickAt(int32_t x, int32_t y, int64_t length);
  // The lines of keys and pad buttons the bar lists.
  static const std::vector<std::string>& LegendLines();
  // What the bar says of the flight now: the mark, the title, the state and speed, the time.
  std::vector<std::string> StatusTexts() const;
  // The line over the title's flight.
  std::string TitleFlightText() const;
  // Where the flight stopped drifting from its record, if it has.
  std::string DriftText() const;

 private:
  void PaintBar(TDirectDrawSurface& picture) const;
  void PaintTitleFlight(TDirectDrawSurface& picture) const;
};
