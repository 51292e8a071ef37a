#include "shell/replay_run.h"

#include "base/error.h"
#include "core/tick.h"
#include "shell/replayed_flight.h"

TReplayRun::TReplayRun(TFormComponents& media, const TReplay& replay)
    : check_(replay), world_(std::make_unique<World>(media)) {
  world_->Events = this;
  if (!StartReplayedFlight(*world_, replay.Start)) throw EGameError("no aircraft of that kind");
  world_->Tap = &check_;
}

TReplayRun::~TReplayRun() {
  world_->Tap = nullptr;
  world_.reset();  // while this still hears its events
}

void TReplayRun::Step() {
  if (Done()) return;
  const int64_t before = Ticks();
  Tick(*world_);
  stalled_ = !check_.Done() && Ticks() == before;
}

std::optional<TReplayMismatch> TReplayRun::Drift() const {
  if (check_.Mismatch()) return check_.Mismatch();
  if (stalled_) return TReplayMismatch{Ticks(), "the flight stopped before its end"};
  return std::nullopt;
}

void TReplayRun::ShowDefeat() {
  check_.NoteOutcome(TFlightOutcome::Lost);
  if (!outcome_) outcome_ = TFlightOutcome::Lost;
}

void TReplayRun::ShowVictory() {
  check_.NoteOutcome(TFlightOutcome::Won);
  if (!outcome_) outcome_ = TFlightOutcome::Won;
}

void TReplayRun::ReportError(const std::string& message) {
  if (OnError) OnError(message);
}
