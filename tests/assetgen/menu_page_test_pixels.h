// Reading the generated menu pictures back for the menu art tests: pixels, tiles, region measures.
#pragma once

#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"
#include "engine/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

namespace test {

// The menu list of this build, loaded once for all menu art tests.
inline const vm::TImageListCollection& MenuList()
{
    static std::unique_ptr<vm::TImageListCollection> List;
    if (!List)
    {
        List = std::make_unique<vm::TImageListCollection>();
        const vm::TLoadResult Result = List->LoadFromFile(AssetPath("Data/data1.vil"));
        EXPECT_TRUE(Result.Ok) << Result.Error;
    }
    return *List;
}

// A decoded picture with its tile size; empty (Width 0) when the key is missing.
struct TMenuPicture
{
    vm::TPixels Pixels;
    int TileWidth = 0;
    int TileHeight = 0;
    int Patterns = 0;

    bool Empty() const { return Pixels.Width == 0; }
    std::uint32_t At(int X, int Y, int Pattern = 0) const
    {
        const int Columns = Pixels.Width / TileWidth;
        const int Px = (Pattern % Columns) * TileWidth + X;
        const int Py = (Pattern / Columns) * TileHeight + Y;
        return Pixels.Argb[static_cast<std::size_t>(Py) * Pixels.Width + Px];
    }
    int Alpha(int X, int Y, int Pattern = 0) const { return static_cast<int>(At(X, Y, Pattern) >> 24); }
    // Perceived brightness 0..255 of the colour (alpha ignored).
    double Luma(int X, int Y, int Pattern = 0) const
    {
        const std::uint32_t P = At(X, Y, Pattern);
        return 0.299 * ((P >> 16) & 255) + 0.587 * ((P >> 8) & 255) + 0.114 * (P & 255);
    }
};

inline TMenuPicture MenuPicture(const std::string& Key)
{
    TMenuPicture Out;
    const vm::TImageListItem* Item = MenuList().Find(Key);
    if (!Item || !Item->Picture().Decode(Out.Pixels))
    {
        ADD_FAILURE() << "menu list lacks a readable \"" << Key << "\"";
        Out.Pixels = {};
        return Out;
    }
    Out.TileWidth = Item->TileWidth();
    Out.TileHeight = Item->TileHeight();
    Out.Patterns = Item->Columns() * Item->Rows();
    return Out;
}

struct TRect
{
    int X0, Y0, X1, Y1; // X1, Y1 exclusive
};

// Mean and standard deviation of brightness over a rectangle of a pattern.
struct TLumaStats
{
    double Mean = 0;
    double Deviation = 0;
    double Min = 255;
    double Max = 0;
};

inline TLumaStats LumaStats(const TMenuPicture& Picture, const TRect& R, int Pattern = 0)
{
    TLumaStats Stats;
    double Sum = 0, Squares = 0;
    int Count = 0;
    for (int Y = R.Y0; Y < R.Y1; ++Y)
        for (int X = R.X0; X < R.X1; ++X)
        {
            const double L = Picture.Luma(X, Y, Pattern);
            Sum += L;
            Squares += L * L;
            Stats.Min = std::min(Stats.Min, L);
            Stats.Max = std::max(Stats.Max, L);
            ++Count;
        }
    if (Count > 0)
    {
        Stats.Mean = Sum / Count;
        Stats.Deviation = std::sqrt(std::max(0.0, Squares / Count - Stats.Mean * Stats.Mean));
    }
    return Stats;
}

// Mean brightness step between neighbouring pixels: how busy (edgy) a region is.
inline double Busyness(const TMenuPicture& Picture, const TRect& R, int Pattern = 0)
{
    double Sum = 0;
    int Count = 0;
    for (int Y = R.Y0; Y + 1 < R.Y1; ++Y)
        for (int X = R.X0; X + 1 < R.X1; ++X)
        {
            const double L = Picture.Luma(X, Y, Pattern);
            Sum +=
                std::abs(Picture.Luma(X + 1, Y, Pattern) - L) + std::abs(Picture.Luma(X, Y + 1, Pattern) - L);
            ++Count;
        }
    return Count > 0 ? Sum / Count : 0;
}

} // namespace test
