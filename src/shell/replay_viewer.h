// Watching a recorded flight: the flight flown again on a world of its own at a chosen speed,
// paused, stepped a tick at a time or moved to any moment. Moving back flies the flight again
// from its start without drawing or sound, so every moment shown is exactly the one the
// flight had. Where the flight drifts from its record the viewer stops, and says where.
//
// Time comes in as the backend clock's microseconds, so the viewer runs the same under a
// real clock, the headless driver's virtual one and a test's hand-set one.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

#include "core/tick.h"
#include "replay/replay_file.h"
#include "shell/replay_run.h"

class TFormComponents;

class TReplayViewer {
 public:
  static constexpr std::array<double, 6> kSpeeds{0.25, 0.5, 1, 2, 4, 8};
  static constexpr size_t kNormalSpeed = 2;
  static constexpr int64_t kSeekTicks = 1000;  // 10 s
  // Sound follows the flight up to this speed; faster it would only make a din.
  static constexpr double kLoudestSpeed = 2;

  // Sets the flight up at its start, paused or not. Throws EGameError as TReplayRun does.
  TReplayViewer(TFormComponents& media, TReplay replay, uint64_t now);
  // Leaves the sound as it found it: nothing muted, the engine quiet.
  ~TReplayViewer();
  TReplayViewer(const TReplayViewer&) = delete;
  TReplayViewer& operator=(const TReplayViewer&) = delete;

  const TReplay& Replay() const { return replay_; }
  World& Flight() { return run_->Flight(); }
  // Ticks flown, and the recorded flight's length.
  int64_t Position() const { return run_->Ticks(); }
  int64_t Length() const { return replay_.End.Tick; }
  // The recorded end is reached, or the place where the flight drifted from its record.
  bool AtEnd() const { return run_->Done(); }
  std::optional<TReplayMismatch> Drift() const { return run_->Drift(); }
  // How the flight ended, once it has.
  std::optional<TFlightOutcome> Outcome() const { return run_->Outcome(); }
  // The mission's mother ship has come by the moment shown.
  bool BossCame() const { return run_->BossCame(); }

  bool Paused() const { return paused_; }
  void SetPaused(bool paused, uint64_t now);
  double Speed() const { return kSpeeds[speed_]; }
  size_t SpeedIndex() const { return speed_; }
  void Faster(uint64_t now);
  void Slower(uint64_t now);

  // Moves to the moment after that many ticks (0: the start), never past the end or a drift.
  void SeekTo(int64_t tick, uint64_t now);
  void SeekBy(int64_t ticks, uint64_t now) { SeekTo(Position() + ticks, now); }
  // Pauses, then flies exactly one tick on.
  void StepTick(uint64_t now);

  // Flies the ticks that the time since the last change makes due at the speed (a stall is
  // made up for only a little), none beyond the position `until`; returns how many.
  int64_t RunDue(uint64_t now, int64_t until = std::numeric_limits<int64_t>::max());
  // Where between the last tick and the next a frame drawn now lies, 0..1.
  double Phase(uint64_t now) const;

  // The flight as it stands, drawn and presented; at its end with the words the game said.
  TFrameDrawn Draw(const TFramePhase& phase);

  // Never a sound (the title's flight plays silently behind the menu).
  void SetSilent(bool silent);

 private:
  void Restart();
  void FlySilently(int64_t ticks);
  void Fly(int64_t ticks);
  void Anchor(uint64_t now);
  void Changed(uint64_t now);
  void UpdateSound();

  TFormComponents& media_;
  TReplay replay_;
  std::unique_ptr<TReplayRun> run_;
  bool paused_ = false;
  size_t speed_ = kNormalSpeed;
  uint64_t anchorTime_ = 0;  // the clock when the speed, pause or place last changed
  int64_t anchorTick_ = 0;   // the position then
  bool silent_ = false;
  bool engine_ = false;  // the engine's loop is playing
};
