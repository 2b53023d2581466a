// The game's name as a wordmark: slanted letters in the accent colours over a road swoosh.
#pragma once

#include <cairo.h>

namespace vm::assetgen {

// Draws "VELOMARCH" centred on CenterX with its baseline at BaselineY, letters Size pixels tall
// (em size). With Road set, a curving road with a dashed centre line sweeps under the letters.
void DrawWordmark(cairo_t* Cr, double CenterX, double BaselineY, double Size, bool Road = true);

} // namespace vm::assetgen
