#include "autopilot/flight_model.h"

#include <cmath>

#include "autopilot/sight.h"
#include "base/rounding.h"

namespace {

constexpr double kScreenWidth = 1024;
constexpr double kScreenHeight = 768;
constexpr double kDrag = 1.1;

// Speed beyond the cap snaps back to it, in the direction it rounds to.
double Capped(double v, double cap) {
  if (std::fabs(v) > cap) return Sign(Round(v)) * cap;
  return v;
}

double Clamp(double v, double low, double high) {
  return v < low ? low : (v > high ? high : v);
}

}  // namespace

TFlightModel::TFlightModel(const TSeenAircraft& a)
    : accel_(a.Accel), maxSpeed_(a.MaxSpeed), halfWidth_(a.Width / 2), halfHeight_(a.Height / 2) {}

TFlightState TFlightModel::StateOf(const TSeenAircraft& a) {
  return {static_cast<double>(a.X), static_cast<double>(a.Y), a.Dx, a.Dy};
}

void TFlightModel::Fly(TFlightState& s, TStick stick) const {
  if (stick.X != 0 || stick.Y != 0) {
    s.Dx = Capped(s.Dx + stick.X * accel_, maxSpeed_);
    s.Dy = Capped(s.Dy + stick.Y * accel_, maxSpeed_);
  }
  s.X = Clamp(s.X + Round(s.Dx), -halfWidth_, kScreenWidth - halfWidth_);
  s.Y = Clamp(s.Y + Round(s.Dy), -halfHeight_, kScreenHeight - halfHeight_);
  s.Dx /= kDrag;
  if (std::fabs(Round(s.Dx)) > maxSpeed_) s.Dx = Sign(Round(s.Dx)) * maxSpeed_;
  s.Dy /= kDrag;
  if (std::fabs(Round(s.Dy)) > maxSpeed_) s.Dy = Sign(Round(s.Dy)) * maxSpeed_;
}
