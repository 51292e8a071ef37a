// Records a mission as it is flown: sits on the world's tick (World::Tap), keeps the input
// states as runs, a checkpoint every 500 ticks, and the end once the flight is over.
#pragma once

#include <string>

#include "core/flight_tap.h"
#include "replay/replay_file.h"

class TFlightRecorder final : public TFlightTap {
 public:
  // Captures the start from a world whose mission is about to fly its first tick.
  TFlightRecorder(const World& w, const std::string& gameVersion);

  void Input(World& w, TDXInputStates& states) override;
  void TickDone(World& w) override;

  // The mission was won or lost during the tick now running; the end is taken once its rules
  // have all run.
  void NoteOutcome(TFlightOutcome outcome);
  // The player left the mission between ticks (the pause screen's way out).
  void Quit(const World& w);

  bool Finished() const { return finished_; }
  const TReplay& Replay() const { return replay_; }
  int64_t Ticks() const { return tick_; }

 private:
  void Finish(const World& w, TFlightOutcome outcome);

  TReplay replay_;
  int64_t tick_ = 0;
  bool pending_ = false;
  TFlightOutcome outcome_ = TFlightOutcome::Quit;
  bool finished_ = false;
};
