// The ten pickups, drawn for the race list and as icons for the help pages.
#pragma once

#include <cairo.h>

namespace vm::assetgen {

// Pickup kinds in the game's order: 0..2 coins of 10, 20 and 30, 3 oil, 4 bomb, 5 repair,
// 6 extra life, 7 extra time, 8 spikes, 9 speed-up.
constexpr int PickupKindCount = 10;

// Draws the pickup of Kind centred on (CenterX, CenterY), Size pixels across.
void DrawPickupIcon(cairo_t* Cr, int Kind, double CenterX, double CenterY, double Size);

} // namespace vm::assetgen
