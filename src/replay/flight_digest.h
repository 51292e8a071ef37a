// The checkpoint of a world after a tick: hashes of where everything is and how healthy each
// flyer is, the credits, the generator's state and the lists' lengths.
#pragma once

#include <cstdint>
#include <string>

#include "replay/replay_file.h"

class World;

TCheckpoint DigestWorld(const World& w, int64_t tick);

// The first field in which `actual` differs from `recorded`, in words ("positions",
// "credits 38000, recorded 40000"); empty when they agree.
std::string CheckpointDifference(const TCheckpoint& recorded, const TCheckpoint& actual);
