// The player's four jets, drawn from simple 3-D outlines so that banking foreshortens the wings,
// tilts the fins and changes the light on each side.
#pragma once

#include <cairo.h>

namespace gen {

// Draws aircraft `kind` (0 Jaguar, 1 F5F, 2 F15, 3 F16) into a 160 x 120 cell whose top-left
// corner is the current origin; roll in radians, positive = banking left.
void DrawAircraft(cairo_t* cr, int kind, double roll);

}  // namespace gen
