// A picture of an image list as the asset tool makes it: equal tiles (patterns), row-major.
#pragma once

#include "engine/picture.h"

#include <string>
#include <vector>

namespace vm::assetgen {

struct TArtImage
{
    std::string Key;
    TPixels Pixels;     // straight (not premultiplied) ARGB
    int TileWidth = 0;  // 0: the whole picture width
    int TileHeight = 0; // 0: the whole picture height
};

// The pictures of one image list, in the order they are written (index 0 first).
using TArtList = std::vector<TArtImage>;

} // namespace vm::assetgen
