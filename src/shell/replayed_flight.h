// Setting a world up as a recorded mission started: the flight set-up of the recorded
// campaign, then everything that carried over into it (the aircraft's place, motion, health,
// selected weapon and charges, the generator's state, bonuses still drifting down).
#pragma once

#include "replay/replay_file.h"

class World;

// EGameError for content that cannot be read; false for an aircraft kind with no aircraft.
bool StartReplayedFlight(World& w, const TReplayStart& start);
