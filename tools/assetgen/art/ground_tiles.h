// The ground beside the road: grass, sand and the two tiles between them.
#pragma once

#include "art/art_image.h"

namespace vm::assetgen {

// Tile size; the game draws a tile 1.1 times as tall, so 273 rows fill a 300 px row of the world.
inline constexpr int GroundTileWidth = 800;
inline constexpr int GroundTileHeight = 273;

// Appends back1 (grass), back2 (sand), back3 (sand below, grass above) and back4 (grass below,
// sand above).
void AddGroundTiles(TArtList& Race);

} // namespace vm::assetgen
