// Drawing pieces shared by the race HUD and the in-race pages: backlit plates, glows, the flag.
#pragma once

#include "art/style.h"

#include <cairo.h>

namespace vm::assetgen::hud {

// A soft round glow of Color around (X, Y), fading from Inner to nothing at Outer.
void DrawGlow(cairo_t* Cr, double X, double Y, double Inner, double Outer, const TColor& Color);

// Chequered cloth Columns x Rows squares of Cell pixels with its top-left at (X, Y), waving by Wave
// pixels along the fly; drawn as a path of small squares, light from the top-left.
void DrawChequeredCloth(cairo_t* Cr, double X, double Y, int Columns, int Rows, double Cell, double Wave);

} // namespace vm::assetgen::hud
