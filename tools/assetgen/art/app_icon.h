// The game's desktop icon: the orange Razzler on a stretch of kerbed road, in a rounded tile.
#pragma once

#include "engine/picture.h"

#include <array>

namespace vm::assetgen {

// The sizes the desktop's icon theme asks for (hicolor NxN), smallest first.
inline constexpr std::array<int, 7> AppIconSizes = {16, 24, 32, 48, 64, 128, 256};

// The icon at Size x Size pixels (16..1024), straight alpha; outside the rounded tile is transparent.
// Small sizes are laid out on the pixel grid (road upright, car on whole pixels) to stay crisp;
// from 32 px up the road runs diagonally and the car gains detail. Another size throws
// std::invalid_argument.
TPixels DrawAppIcon(int Size);

} // namespace vm::assetgen
