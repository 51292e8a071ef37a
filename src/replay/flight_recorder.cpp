#include "replay/flight_recorder.h"

#include "core/world.h"
#include "replay/flight_digest.h"
#include "replay/flight_start.h"

TFlightRecorder::TFlightRecorder(const World& w, const std::string& gameVersion) {
  replay_.GameVersion = gameVersion;
  replay_.Start = CaptureStart(w);
}

void TFlightRecorder::Input(World& /*w*/, TDXInputStates& states) {
  if (finished_ || tick_ >= kMaxReplayTicks) return;
  ++tick_;
  const uint64_t bits = states.to_ullong();
  const uint64_t held = replay_.Inputs.empty() ? 0 : replay_.Inputs.back().States;
  if (bits != held) replay_.Inputs.push_back({tick_, bits});
}

void TFlightRecorder::TickDone(World& w) {
  if (finished_) return;
  if (tick_ % kCheckpointTicks == 0) replay_.Checkpoints.push_back(DigestWorld(w, tick_));
  if (pending_ || tick_ >= kMaxReplayTicks) Finish(w, outcome_);
}

void TFlightRecorder::NoteOutcome(TFlightOutcome outcome) {
  if (pending_) return;  // the first word stands: a lost flight cannot turn into a won one
  pending_ = true;
  outcome_ = outcome;
}

void TFlightRecorder::Quit(const World& w) {
  if (!finished_) Finish(w, TFlightOutcome::Quit);
}

void TFlightRecorder::Finish(const World& w, TFlightOutcome outcome) {
  finished_ = true;
  replay_.End = {outcome, tick_, w.State.Credits};
}
