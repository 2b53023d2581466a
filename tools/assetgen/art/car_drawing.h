// Draws a car model from above: body, cabin, lamps, wheels and trim, lit from the top-left.
#pragma once

#include "art/car_models.h"

#include <cairo.h>

namespace vm::assetgen {

// Draws Model in paint scheme Paint (0..2) filling (0, 0)..(Width, Height) of the current user
// space, nose towards +Y. Detail adds panel seams and small parts meant for large pictures.
void DrawCarTop(cairo_t* Cr, const TCarModel& Model, int Paint, bool Detail = false);

} // namespace vm::assetgen
