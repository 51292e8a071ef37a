#include "autopilot/planner.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kHoldTicks[] = {3, 10, TPlanner::kHorizon};

// Nearer moments are surer; far ones count less, as a person trusts a guess less.
double Certainty(int t) {
  return t <= 16 ? 1.0 : 1.0 - 0.5 * (t - 16) / (TPlanner::kHorizon - 16);
}

// A small margin around the outline that grows with how far ahead the pilot guesses.
float Margin(int t) {
  return 3.0f + 0.25f * static_cast<float>(t);
}

bool Meets(const TSeenAircraft& a, const TFlightState& s, float margin, float l, float t, float r,
           float b) {
  const auto x = static_cast<float>(s.X);
  const auto y = static_cast<float>(s.Y);
  for (const TOutlineBox& o : a.Outline) {
    if (x + o.L - margin <= r && l <= x + o.R + margin && y + o.T - margin <= b &&
        t <= y + o.B + margin) {
      return true;
    }
  }
  return false;
}

// Keeping off the screen's edges leaves room to dodge.
double EdgeCost(const TSeenAircraft& a, const TFlightState& s) {
  const double cx = s.X + a.Width / 2.0;
  const double cy = s.Y + a.Height / 2.0;
  double cost = 0;
  if (cx < 60) cost += (60 - cx) * 0.1;
  if (cx > 964) cost += (cx - 964) * 0.1;
  if (cy < 200) cost += (200 - cy) * 0.05;
  return cost;
}

}  // namespace

void TPlanner::GatherThreats(const TSight& seen, int32_t age) {
  // The box every imagined path stays within.
  double l = 1e9, t = 1e9, r = -1e9, b = -1e9;
  for (const TPath& p : paths_) {
    for (const TFlightState& s : p.States) {
      l = std::min(l, s.X);
      t = std::min(t, s.Y);
      r = std::max(r, s.X + aircraft_->Width);
      b = std::max(b, s.Y + aircraft_->Height);
    }
  }
  near_.clear();
  const float end = static_cast<float>(age + kHorizon);
  for (const TSeenObject& o : seen.Objects) {
    const float x0 = o.X + o.Dx * static_cast<float>(age);
    const float y0 = o.Y + o.Dy * static_cast<float>(age);
    const float x1 = o.X + o.Dx * end;
    const float y1 = o.Y + o.Dy * end;
    const float margin = Margin(kHorizon);
    if (std::max(x0, x1) + o.W + margin < l || std::min(x0, x1) - margin > r) continue;
    if (std::max(y0, y1) + o.H + margin < t || std::min(y0, y1) - margin > b) continue;
    near_.push_back(&o);
  }
}

double TPlanner::Cost(const TPath& path, int32_t age, const TGoal& goal) const {
  const TSeenAircraft& a = *aircraft_;
  double cost = 0;
  for (const TSeenObject* o : near_) {
    for (int t = 1; t <= kHorizon; ++t) {
      // Where the object was a tick before and is now: a fast beam is tested over the
      // whole stretch it covers, so it cannot jump over the aircraft between two looks.
      const auto now = static_cast<float>(age + t);
      const float x = o->X + o->Dx * now;
      const float y = o->Y + o->Dy * now;
      const float px = x - o->Dx;
      const float py = y - o->Dy;
      const float l = std::min(x, px), r = std::max(x, px) + o->W;
      const float top = std::min(y, py), b = std::max(y, py) + o->H;
      if (!Meets(a, path.States[static_cast<size_t>(t - 1)], Margin(t), l, top, r, b)) continue;
      const double sure = Certainty(t);
      switch (o->Kind) {
        case TSeenKind::Shot:
          cost += o->Strength * sure;
          break;
        case TSeenKind::Craft:
        case TSeenKind::Boss:
          // Ramming costs what the weaker side has, and a crash is never worth it.
          cost += (std::min(o->Strength, std::max(a.Health, 1)) + 100) * sure;
          break;
        case TSeenKind::Health:
          cost -= (a.MaxHealth - a.Health) * 0.5 * sure;
          break;
        case TSeenKind::Credit:
          cost -= 150 * sure;
          break;
      }
      break;  // each object strikes (or is collected) once
    }
  }
  // Position: halfway along and at the end, so a path that gets there sooner wins.
  for (int t : {kHorizon / 2, kHorizon}) {
    const TFlightState& s = path.States[static_cast<size_t>(t - 1)];
    cost += 0.5 * (goal.WeightX * std::fabs(s.X - goal.X) + goal.WeightY * std::fabs(s.Y - goal.Y));
    cost += 0.5 * EdgeCost(a, s);
  }
  return cost;
}

TStick TPlanner::Choose(const TSight& seen, int32_t age, const TFlightState& now,
                        const TFlightModel& model, const TGoal& goal) {
  aircraft_ = &seen.Aircraft;
  size_t count = 0;
  for (int8_t sy = -1; sy <= 1; ++sy) {
    for (int8_t sx = -1; sx <= 1; ++sx) {
      const TStick stick{sx, sy};
      for (int hold : kHoldTicks) {
        if (stick == TStick{} && hold != kHorizon) continue;  // letting go is one path
        if (paths_.size() <= count) paths_.emplace_back();
        TPath& p = paths_[count++];
        p.Stick = stick;
        p.States.resize(kHorizon);
        TFlightState s = now;
        for (int t = 1; t <= kHorizon; ++t) {
          model.Fly(s, t <= hold ? stick : TStick{});
          p.States[static_cast<size_t>(t - 1)] = s;
        }
      }
    }
  }
  paths_.resize(count);
  GatherThreats(seen, age);
  double best = std::numeric_limits<double>::max();
  TStick choice;
  for (const TPath& p : paths_) {
    double c = Cost(p, age, goal);
    if (p.Stick == previous_) c -= 0.3;  // no dithering between near-equal choices
    if (c < best) {
      best = c;
      choice = p.Stick;
    }
  }
  previous_ = choice;
  lastCost_ = best;
  return choice;
}
