// The barriers that line the road: a straight piece and a longer one for the diagonals.
#pragma once

#include "art/art_image.h"

namespace vm::assetgen {

inline constexpr int WallWidth = 24;
inline constexpr int StraightWallLength = 150;
inline constexpr int DiagonalWallLength = 183;

// Appends wall1 (24 x 150) and wall2 (24 x 183), both upright.
void AddRoadsideWalls(TArtList& Race);

} // namespace vm::assetgen
