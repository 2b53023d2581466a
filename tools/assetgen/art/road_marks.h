// Paint on the road: the grid marks, the chequered start and finish line, the finish sensor.
#pragma once

#include "art/art_image.h"

namespace vm::assetgen {

inline constexpr int StartLineWidth = 300; // the straight road's full width
inline constexpr int StartLineHeight = 30;
// The finish sensor reaches from wall to wall (the walls stand 250 px either side of the centre),
// so a car cannot pass beside it on the verge.
inline constexpr int FinishStripWidth = 500;
inline constexpr int FinishStripHeight = 40;

// Appends inplace, startline and fline.
void AddRoadMarks(TArtList& Race);

} // namespace vm::assetgen
