// Reads pictures of the generated race list for the HUD and overlay tests, with pixel helpers.
#pragma once

#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"
#include "engine/picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace test {

// One picture of the race list, decoded, with its tile size.
struct THudPicture
{
    vm::TPixels Pixels;
    int TileWidth = 0;
    int TileHeight = 0;

    int Width() const { return Pixels.Width; }
    int Height() const { return Pixels.Height; }
    // The pixel at (X, Y), or 0 (transparent) outside the picture.
    std::uint32_t At(int X, int Y) const
    {
        if (X < 0 || Y < 0 || X >= Pixels.Width || Y >= Pixels.Height)
            return 0;
        return Pixels.Argb[static_cast<std::size_t>(Y) * Pixels.Width + X];
    }
    int Alpha(int X, int Y) const { return static_cast<int>(At(X, Y) >> 24); }
};

inline int Red(std::uint32_t P) { return static_cast<int>((P >> 16) & 255); }
inline int Green(std::uint32_t P) { return static_cast<int>((P >> 8) & 255); }
inline int Blue(std::uint32_t P) { return static_cast<int>(P & 255); }
// Perceived brightness 0..255.
inline double Luma(std::uint32_t P) { return 0.299 * Red(P) + 0.587 * Green(P) + 0.114 * Blue(P); }

// Loads the race list once; fails the test (and returns false) when the key is missing.
inline bool LoadRacePicture(const std::string& Key, THudPicture& Out)
{
    static vm::TImageListCollection List;
    static const bool Loaded = List.LoadFromFile(AssetPath("Data/data2.vil")).Ok;
    if (!Loaded)
    {
        ADD_FAILURE() << "cannot read Data/data2.vil";
        return false;
    }
    const vm::TImageListItem* Item = List.Find(Key);
    if (!Item)
    {
        ADD_FAILURE() << "the race list lacks \"" << Key << "\"";
        return false;
    }
    if (!Item->Picture().Decode(Out.Pixels))
    {
        ADD_FAILURE() << "cannot decode \"" << Key << "\"";
        return false;
    }
    Out.TileWidth = Item->TileWidth();
    Out.TileHeight = Item->TileHeight();
    return true;
}

} // namespace test
