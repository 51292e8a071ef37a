// A mission's start as a replay keeps it: read from a world whose mission is about to run its
// first tick. (Putting a start back into a world needs the shell's flight set-up:
// shell/replayed_flight.h.)
#pragma once

#include "replay/replay_file.h"

class World;

// The world must hold its aircraft in FlyerList (the mission started).
TReplayStart CaptureStart(const World& w);
