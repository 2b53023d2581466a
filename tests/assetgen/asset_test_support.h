// Where the asset tests find the files this build generated, and how they cut pictures into tiles.
#pragma once

#include "engine/image_list.h"

#include <cstddef>
#include <string>
#include <vector>

namespace test {

inline std::string AssetPath(const std::string& Relative)
{
    return std::string(VM_ASSET_DIR) + "/" + Relative;
}

// Every pattern of Key, cut out of its decoded picture in row-major order; empty when the key is
// missing or its picture does not decode.
inline std::vector<vm::TPixels> CutTiles(const vm::TImageListCollection& List, const std::string& Key)
{
    std::vector<vm::TPixels> Tiles;
    const vm::TImageListItem* Item = List.Find(Key);
    vm::TPixels Pixels;
    if (!Item || !Item->Picture().Decode(Pixels))
        return Tiles;
    for (int Row = 0; Row < Item->Rows(); ++Row)
        for (int Col = 0; Col < Item->Columns(); ++Col)
        {
            vm::TPixels Tile;
            Tile.Width = Item->TileWidth();
            Tile.Height = Item->TileHeight();
            for (int Y = 0; Y < Tile.Height; ++Y)
                for (int X = 0; X < Tile.Width; ++X)
                    Tile.Argb.push_back(
                        Pixels.Argb[static_cast<std::size_t>(Row * Tile.Height + Y) * Pixels.Width +
                                    Col * Tile.Width + X]);
            Tiles.push_back(std::move(Tile));
        }
    return Tiles;
}

} // namespace test
