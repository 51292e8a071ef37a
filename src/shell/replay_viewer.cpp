#include "shell/replay_viewer.h"

#include <algorithm>
#include <cmath>

#include "core/tick.h"
#include "presentation/form_components.h"
#include "shell/flight_setup.h"

namespace {

constexpr double kMicrosPerTick = 10000;
// A stall (the window dragged) is made up for by at most this much of the clock.
constexpr double kCatchUpMicros = 50000;

void DrawMenuItem(TFormComponents& media, int item, int32_t x, int32_t y) {
  auto& items = media.DXMenuImageList.Items;
  if (item < items.Count()) items[item].Draw(media.DXDraw1.Surface(), x, y, 0);
}

}  // namespace

TReplayViewer::TReplayViewer(TFormComponents& media, TReplay replay, uint64_t now)
    : media_(media), replay_(std::move(replay)) {
  Restart();
  Anchor(now);
  UpdateSound();
}

TReplayViewer::~TReplayViewer() {
  media_.DXSound1.Muted = false;
  if (engine_ && media_.DXEnginesWaveList.Items.Count() > 0)
    media_.DXEnginesWaveList.Items[0].Stop();
}

void TReplayViewer::Restart() {
  run_.reset();
  run_ = std::make_unique<TReplayRun>(media_, replay_);
  // Every mission is flown from the hangar, whose blank picture leaves the canvas's brush
  // solid black: the status bar's credits are written on it.
  media_.DXDraw1.Surface().Canvas().Brush.SetColor(clBlack);
}

void TReplayViewer::Anchor(uint64_t now) {
  anchorTime_ = now;
  anchorTick_ = Position();
}

void TReplayViewer::Changed(uint64_t now) {
  Anchor(now);
  UpdateSound();
}

void TReplayViewer::SetPaused(bool paused, uint64_t now) {
  if (paused == paused_) return;
  paused_ = paused;
  Changed(now);
}

void TReplayViewer::Faster(uint64_t now) {
  if (speed_ + 1 >= kSpeeds.size()) return;
  ++speed_;
  Changed(now);
}

void TReplayViewer::Slower(uint64_t now) {
  if (speed_ == 0) return;
  --speed_;
  Changed(now);
}

void TReplayViewer::SeekTo(int64_t tick, uint64_t now) {
  tick = std::clamp<int64_t>(tick, 0, Length());
  if (tick < Position()) Restart();
  FlySilently(tick - Position());
  // The terrain scrolls as frames are drawn; none were, so it goes where the ticks alone
  // would have taken it, and nothing is drawn sliding from where it stood before.
  World& w = Flight();
  w.Level.ScrollRow = (w.Level.ScrollRow + w.ScrollTicks / kTicksPerStep) % TLevel::kRows;
  w.ScrollTicks %= kTicksPerStep;
  CutMotion(w);
  Changed(now);
}

void TReplayViewer::StepTick(uint64_t now) {
  SetPaused(true, now);
  SeekTo(Position() + 1, now);
}

void TReplayViewer::FlySilently(int64_t ticks) {
  const bool muted = media_.DXSound1.Muted;
  media_.DXSound1.Muted = true;
  Fly(ticks);
  media_.DXSound1.Muted = muted;
}

void TReplayViewer::Fly(int64_t ticks) {
  for (int64_t i = 0; i < ticks && !AtEnd(); ++i) run_->Step();
}

int64_t TReplayViewer::RunDue(uint64_t now, int64_t until) {
  if (paused_ || AtEnd() || now < anchorTime_) return 0;
  const double elapsed = static_cast<double>(now - anchorTime_);
  const auto catchUp = static_cast<int64_t>(std::ceil(kCatchUpMicros * Speed() / kMicrosPerTick));
  int64_t due = anchorTick_ + static_cast<int64_t>(elapsed * Speed() / kMicrosPerTick) - Position();
  if (due > catchUp) {
    // Too far behind: the backlog is dropped, and the clock starts again from here.
    due = catchUp;
    anchorTime_ = now;
    anchorTick_ = Position() + due;
  }
  due = std::min(due, until - Position());
  if (due <= 0) return 0;
  const int64_t before = Position();
  Fly(due);
  if (AtEnd()) {
    Changed(now);
  } else {
    UpdateSound();  // the engine falls silent with the mother ship
  }
  return Position() - before;
}

double TReplayViewer::Phase(uint64_t now) const {
  if (paused_ || AtEnd() || now < anchorTime_) return 1;
  const double ticks = static_cast<double>(now - anchorTime_) * Speed() / kMicrosPerTick;
  return std::clamp(ticks - static_cast<double>(Position() - anchorTick_), 0.0, 1.0);
}

TFrameDrawn TReplayViewer::Draw(const TFramePhase& phase) {
  World& w = Flight();
  const std::optional<TFlightOutcome> outcome = AtEnd() ? Outcome() : std::nullopt;
  if (!outcome) return DrawFrame(w, phase);
  // The end as the game showed it: the last picture, and what the game said over it. A lost
  // flight's world draws nothing more once it is over, so it is drawn as it stood.
  const bool over = w.State.GameOver;
  w.State.GameOver = false;
  const TFrameDrawn drawn = DrawFrame(w, {});
  w.State.GameOver = over;
  if (*outcome == TFlightOutcome::Lost) {
    DrawMenuItem(media_, 2, 0, 8);
    DrawMenuItem(media_, 1, 0, 0);
  }
  AnnounceOverFrame(media_.DXDraw1, *outcome == TFlightOutcome::Lost ? kDefeatText : kVictoryText);
  return drawn;
}

void TReplayViewer::SetSilent(bool silent) {
  silent_ = silent;
  UpdateSound();
}

void TReplayViewer::UpdateSound() {
  const bool loud = !silent_ && !paused_ && !AtEnd() && Speed() <= kLoudestSpeed;
  media_.DXSound1.Muted = !loud;
  // The engine falls silent once the mother ship is down or the aircraft is, as in flight.
  const World& w = Flight();
  const bool engine = loud && w.VictoryCountdown < 0 && !w.State.GameOver;
  if (engine == engine_ || media_.DXEnginesWaveList.Items.Count() == 0) return;
  engine_ = engine;
  if (engine) {
    media_.DXEnginesWaveList.Items[0].Play(false);
  } else {
    media_.DXEnginesWaveList.Items[0].Stop();
  }
}
