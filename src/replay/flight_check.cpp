#include "replay/flight_check.h"

#include "core/world.h"
#include "replay/flight_digest.h"

void TFlightCheck::Input(World& /*w*/, TDXInputStates& states) {
  if (done_) {
    states.reset();
    return;
  }
  ++tick_;
  while (nextRun_ < replay_.Inputs.size() && replay_.Inputs[nextRun_].Tick <= tick_) {
    held_ = replay_.Inputs[nextRun_++].States;
  }
  states = TDXInputStates(held_);
}

void TFlightCheck::TickDone(World& w) {
  if (done_) return;
  const auto& checkpoints = replay_.Checkpoints;
  while (nextCheckpoint_ < checkpoints.size() && checkpoints[nextCheckpoint_].Tick < tick_) {
    ++nextCheckpoint_;  // a checkpoint at a tick this run never had (cannot be: ticks count up)
  }
  if (nextCheckpoint_ < checkpoints.size() && checkpoints[nextCheckpoint_].Tick == tick_) {
    const std::string what =
        CheckpointDifference(checkpoints[nextCheckpoint_], DigestWorld(w, tick_));
    ++nextCheckpoint_;
    if (!what.empty()) Differ(what);
  }
  const TReplayEnd& end = replay_.End;
  if (outcome_ || tick_ >= end.Tick) {
    const TFlightOutcome now = outcome_.value_or(TFlightOutcome::Quit);
    if (now != end.Outcome || tick_ != end.Tick) {
      const std::string recorded =
          end.Outcome == TFlightOutcome::Quit
              ? "left at tick " + std::to_string(end.Tick)
              : std::string(OutcomeName(end.Outcome)) + " at tick " + std::to_string(end.Tick);
      Differ(std::string("the outcome: ") + (outcome_ ? OutcomeName(now) : "still flying") +
             ", recorded " + recorded);
    } else if (w.State.Credits != end.Credits) {
      Differ("credits at the end " + std::to_string(w.State.Credits) + ", recorded " +
             std::to_string(end.Credits));
    }
    done_ = true;
  }
}

void TFlightCheck::NoteOutcome(TFlightOutcome outcome) {
  if (!outcome_) outcome_ = outcome;
}

void TFlightCheck::Differ(const std::string& what) {
  if (!mismatch_) mismatch_ = TReplayMismatch{tick_, what};
}
