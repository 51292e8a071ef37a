// The explosions of a destroyed craft: pairs of a big and a medium explosion scattered over
// a field, each starting after a random delay so the burst rolls on for a while.
#pragma once

#include <cstdint>

class World;

// Pushes `pairs` big + medium explosion pairs at (left + random(spanX), top + random(spanY)),
// each explosion with its own position and a start frame of -random(delays).
void DeathBurst(World& w, int32_t pairs, int32_t left, int32_t top, int32_t spanX, int32_t spanY,
                int32_t delays);
