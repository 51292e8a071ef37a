// starvelkhorn-sim --verify-replay FILE...: flies each recorded mission again on the headless
// backend, as fast as it goes (no frames; with --refresh HZ, frames at that rate as a display
// shows them), with the recorded input states, and compares every checkpoint and the end with
// the record.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "options.h"
#include "replay/flight_check.h"

struct TVerifyResult {
  int64_t Ticks = 0;  // ticks flown again
  std::optional<TReplayMismatch> Mismatch;
};

class TFormComponents;

// What a replay is flown with besides its ticks: frames at a refresh rate (0: none), drawn
// smoothly or as each tick stands. Frames need an initialised surface.
struct TVerifyFrames {
  int32_t RefreshHz = 0;
  bool Smooth = true;
};

// Replays one decoded flight on a fresh world over these components (the content loaded).
TVerifyResult VerifyReplay(TFormComponents& media, const TReplay& replay,
                           const TVerifyFrames& frames = {});

// One line a file: "FILE: ok, N ticks, OUTCOME" or "FILE: differs at tick T: WHAT", or the
// reading error on `err`. Status 0 all match, 1 one differs, 2 one cannot be read (or the
// content cannot).
int VerifyReplays(const TSimOptions& options, std::ostream& out, std::ostream& err);
