// The two timed steps of a mission: the logic tick (100 per second) and the frame (as often
// as the display allows). The frame has no clock of its own: it draws what the ticks left,
// by its phase either as it stands or carried on by the time since the last tick.
#pragma once

#include <cstdint>

#include "core/level.h"
#include "core/motion.h"

class World;

constexpr int32_t kTicksPerStep = 16;
constexpr int32_t kBonusDropOdds = 5000;  // each kind drops once per 5000 ticks on average
constexpr int8_t kVictoryTicks = 120;

// What a frame drew: whether it drew at all, and where it drew the terrain.
struct TFrameDrawn {
  bool Drawn = false;
  TTerrainPlace Terrain;
};

// How a frame of that phase places moving things now.
TDrawTime DrawTimeOf(const World& w, const TFramePhase& phase);

void Tick(World& w);
TFrameDrawn DrawFrame(World& w, const TFramePhase& phase = {});

// The end of a mission. Lost: GameOver, timers off, the shot-down screen. Won: starts the
// victory countdown if it is idle; shows the victory screen once it has run out. Every call
// first stops the engine sound.
void MissionEnd(World& w, bool won);
