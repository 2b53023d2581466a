// The ten pickups, drawn for the race list and as icons for the help pages.
#pragma once

#include "world/bonus_kinds.h"

#include <cairo.h>

namespace vm::assetgen {

// Draws the pickup of Kind (a TBonusKind; another kind draws nothing) centred on (CenterX, CenterY), Size
// pixels across.
void DrawPickupIcon(cairo_t* Cr, int Kind, double CenterX, double CenterY, double Size);

} // namespace vm::assetgen
