// The alien craft: nine enemies and six mother ships. Each hull is grown from the craft's hit
// shapes (a smooth union of them, shaded as a living metal shell), so what looks solid is what
// can be hit.
#pragma once

#include "raster.h"

namespace gen {

// Renders enemy kind 0..8 / boss kind 0..5 at its sprite size on a transparent surface.
void RenderEnemy(Surface& s, int kind);
void RenderBoss(Surface& s, int kind);

}  // namespace gen
