// Roadside decorations on grass: trees, bushes, rocks and a stump, seen from above.
#pragma once

#include "art/art_image.h"

namespace vm::assetgen {

// Appends "trees": eight 128 x 128 patterns, four to a row.
void AddRoadsideTrees(TArtList& Race);

} // namespace vm::assetgen
