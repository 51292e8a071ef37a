#include "pacing.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int64_t kMapPixels = int64_t{TLevel::kRows} * 32;

}  // namespace

void TPacing::Frame(const TTerrainPlace& terrain) {
  ++frame_;
  if (haveTerrain_) {
    const int64_t before = terrainBefore_.Row * 32 + terrainBefore_.Offset;
    const int64_t now = terrain.Row * 32 + terrain.Offset;
    ++terrain_[((now - before) % kMapPixels + kMapPixels) % kMapPixels];
  }
  haveTerrain_ = true;
  terrainBefore_ = terrain;
}

bool TPacing::Steady(const TSeen& before, const TSeen& now, int64_t& step, int64_t& speed) {
  if (before.Frame != now.Frame - 1 || before.Mx != now.Mx || before.My != now.My) return false;
  if (now.Mx == 0 && now.My == 0) return false;
  // Along the way it goes: the larger of its two components.
  const bool across = std::abs(now.Mx) >= std::abs(now.My);
  speed = std::abs(across ? now.Mx : now.My);
  step = std::abs(across ? int64_t{now.At.X} - before.At.X : int64_t{now.At.Y} - before.At.Y);
  return true;
}

void TPacing::Aircraft(TDrawPoint at, TDrawPoint move) {
  const TSeen now{at, move.X, move.Y, frame_};
  int64_t step = 0, speed = 0;
  if (Steady(aircraftBefore_, now, step, speed)) ++aircraft_[speed][step];
  aircraftBefore_ = now;
}

void TPacing::Craft(int64_t number, TDrawPoint at, TDrawPoint move) {
  const TSeen now{at, move.X, move.Y, frame_};
  TSeen& before = craftBefore_[number];
  int64_t step = 0, speed = 0;
  if (Steady(before, now, step, speed)) ++craft_[speed][step];
  before = now;
}

std::string TPacing::Steps(const THistogram& h, int64_t speed) const {
  std::string text;
  for (const auto& [step, count] : h) {
    if (!text.empty()) text += ", ";
    text += std::to_string(step) + " x" + std::to_string(count);
  }
  const int64_t low = speed * 100 / hz_;
  const int64_t high = (speed * 100 + hz_ - 1) / hz_;
  return text + " (even: " + std::to_string(low) +
         (high != low ? ".." + std::to_string(high) : std::string()) + ")";
}

std::string TPacing::Row(const std::string& label) const {
  int64_t intervals = 0;
  for (const auto& [step, count] : terrain_) intervals += count;
  char share[32];
  std::snprintf(
      share, sizeof share, "%.1f %%",
      intervals ? 100.0 * static_cast<double>(Repeated()) / static_cast<double>(intervals) : 0.0);
  // The aircraft at its full speed; the enemy speed met most often.
  std::string aircraft = "-", craft = "-";
  if (!aircraft_.empty()) {
    const auto& [speed, h] = *aircraft_.rbegin();
    aircraft = std::to_string(speed) + " px/tick: " + Steps(h, speed);
  }
  int64_t most = 0;
  for (const auto& [speed, h] : craft_) {
    int64_t n = 0;
    for (const auto& [step, count] : h) n += count;
    if (n > most) {
      most = n;
      craft = std::to_string(speed) + " px/tick: " + Steps(h, speed);
    }
  }
  return "| " + label + " | " + Steps(terrain_, 2) + " | " + std::to_string(Repeated()) + " of " +
         std::to_string(intervals) + " (" + share + ") | " + aircraft + " | " + craft + " |";
}
