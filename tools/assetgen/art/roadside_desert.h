// Roadside decorations on sand: cacti, agave, a palm, dry brush and rocks, seen from above.
#pragma once

#include "art/art_image.h"

namespace vm::assetgen {

// Appends "desert": eight 128 x 128 patterns, four to a row.
void AddRoadsideDesert(TArtList& Race);

} // namespace vm::assetgen
