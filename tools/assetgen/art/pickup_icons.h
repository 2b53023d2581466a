// The ten pickup drawings, each centred on the origin in a 40-unit square.
#pragma once

#include "art/style.h"
#include "world/bonus_kinds.h"

#include <cairo.h>

namespace vm::assetgen {

// The colour of the soft halo that sets pickup Kind apart from any ground: gold for coins, red
// for hazards, green for help, cyan for speed.
TColor PickupGlowColor(int Kind);

// Draws the object of pickup Kind (0..9), centred on (0, 0), about 34 units across; the halo
// and ground shadow are drawn by the caller.
void DrawPickupObject(cairo_t* Cr, int Kind);

} // namespace vm::assetgen
