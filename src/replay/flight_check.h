// Replays a recorded flight on a world: puts the recorded input states in place of the polled
// ones tick by tick, compares every checkpoint and the end with the record, and keeps the
// first difference. The world must have been set up from the replay's start
// (shell/replayed_flight.h).
#pragma once

#include <optional>
#include <string>

#include "core/flight_tap.h"
#include "replay/replay_file.h"

struct TReplayMismatch {
  int64_t Tick = 0;
  std::string What;  // "positions", "credits 38000, recorded 40000", "the outcome ..."
};

class TFlightCheck final : public TFlightTap {
 public:
  // A flight that ended before its first tick has nothing to compare.
  explicit TFlightCheck(const TReplay& replay) : replay_(replay), done_(replay.End.Tick == 0) {}

  void Input(World& w, TDXInputStates& states) override;
  void TickDone(World& w) override;
  // The mission was won or lost during the tick now running.
  void NoteOutcome(TFlightOutcome outcome);

  // The recorded flight has run to its end (or ended early, differently).
  bool Done() const { return done_; }
  int64_t Ticks() const { return tick_; }
  const std::optional<TReplayMismatch>& Mismatch() const { return mismatch_; }

 private:
  void Differ(const std::string& what);

  const TReplay& replay_;
  int64_t tick_ = 0;
  size_t nextRun_ = 0;
  size_t nextCheckpoint_ = 0;
  uint64_t held_ = 0;
  std::optional<TFlightOutcome> outcome_;
  bool done_;
  std::optional<TReplayMismatch> mismatch_;
};
