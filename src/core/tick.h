// The two timed steps of a mission: the logic tick (100 per second) and the frame (as often
// as the display allows). The frame has no clock of its own: it draws what the ticks left.
#pragma once

#include <cstdint>

class World;

constexpr int32_t kTicksPerStep = 16;
constexpr int32_t kBonusDropOdds = 5000;  // each kind drops once per 5000 ticks on average
constexpr int8_t kVictoryTicks = 120;

void Tick(World& w);
void DrawFrame(World& w);

// The end of a mission. Lost: GameOver, timers off, the shot-down screen. Won: starts the
// victory countdown if it is idle; shows the victory screen once it has run out. Every call
// first stops the engine sound.
void MissionEnd(World& w, bool won);
