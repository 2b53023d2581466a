// The race HUD's pictures, one maker each; AddHudImages puts them into the race list.
#pragma once

#include "art/art_image.h"
#include "art/style.h"

#include <cairo.h>

namespace vm::assetgen::hud {

TArtImage MakeDashboard();                 // "razzler": the right dashboard strip
TArtImage MakeProgressPanel();             // "radar": the left course-progress strip
TArtImage MakeHealthBar();                 // "healthbar": the drained part of the health tube
TArtImage MakeSpeedNeedle();               // "speedarrow"
TArtImage MakeReverseLamp();               // "backlight"
TArtImage MakeProgressMarker(bool Player); // "radarcar1" (player) or "radarcar2" (rival)
TArtImage MakeStartLightHousing();         // "svetophor"
TArtImage MakeStartLamp(int Lamp);         // 0 "redlight", 1 "yellowlight", 2 "greenlight"

// The health tube's two looks, in screen coordinates: full (the dashboard shows it under the bar)
// and drained (the bar picture, which covers it from the top as damage grows). Every row of
// either look is the same apart from a slow vertical tint, so the cover may end at any row.
void PaintHealthFill(cairo_t* Cr, double X, double Y, double Width, double Height);
void PaintDrainedTube(cairo_t* Cr, double X, double Y, double Width, double Height);

} // namespace vm::assetgen::hud
