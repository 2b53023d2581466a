// The desktop icon as the build wrote it: every theme size at its place in the icon folder, a tile
// with clear corners around the orange car, and the small sizes drawn on whole pixels.
#include "art/app_icon.h"
#include "assetgen/asset_test_support.h"
#include "icon_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

int Channel(std::uint32_t P, int Shift) { return static_cast<int>((P >> Shift) & 255); }

// The car's orange paint and its lit and shaded sides: red high, green in between, blue low.
bool IsOrange(std::uint32_t P)
{
    const int R = Channel(P, 16), G = Channel(P, 8), B = Channel(P, 0);
    return Channel(P, 24) == 255 && R > 150 && G > 60 && G < R - 40 && B < G - 30;
}

vm::TPixels ReadIcon(int Size)
{
    const std::string Path = test::AssetPath("icons/" + vm::assetgen::AppIconFile(Size).string());
    std::ifstream In(Path, std::ios::binary);
    const std::vector<std::uint8_t> Bytes{std::istreambuf_iterator<char>(In),
                                          std::istreambuf_iterator<char>()};
    vm::TPixels Pixels;
    EXPECT_TRUE(vm::DecodePng(Bytes.data(), Bytes.size(), Pixels)) << Path;
    return Pixels;
}

std::uint32_t At(const vm::TPixels& P, int X, int Y)
{
    return P.Argb[static_cast<std::size_t>(Y) * P.Width + X];
}

TEST(AppIcon, EveryThemeSizeIsWrittenAsASquareTileWithClearCornersAndAnOpaqueMiddle)
{
    for (const int Size : vm::assetgen::AppIconSizes)
    {
        const vm::TPixels Icon = ReadIcon(Size);
        ASSERT_EQ(Icon.Width, Size);
        ASSERT_EQ(Icon.Height, Size);
        const int Last = Size - 1;
        for (const auto& [X, Y] : {std::pair{0, 0}, {Last, 0}, {0, Last}, {Last, Last}})
            EXPECT_LE(Channel(At(Icon, X, Y), 24), 16) << Size << " px, corner " << X << "," << Y;
        // Along the middle of every edge (inside the margin the larger sizes keep) and everywhere
        // inside, the tile covers the picture.
        const int In = Size / 32 + 1;
        for (const auto& [X, Y] :
             {std::pair{Size / 2, In}, {In, Size / 2}, {Size / 2, Last - In}, {Last - In, Size / 2}})
            EXPECT_GT(Channel(At(Icon, X, Y), 24), 0) << Size << " px, edge " << X << "," << Y;
        for (int Y = Size / 8; Y < Size - Size / 8; ++Y)
            for (int X = Size / 8; X < Size - Size / 8; ++X)
                ASSERT_EQ(Channel(At(Icon, X, Y), 24), 255) << Size << " px at " << X << "," << Y;
    }
}

TEST(AppIcon, TheOrangeCarSitsInTheMiddleAtEverySize)
{
    for (const int Size : vm::assetgen::AppIconSizes)
    {
        const vm::TPixels Icon = ReadIcon(Size);
        // The car's paint covers a fair part of the picture, centred on it; the rest is road and grass.
        long Count = 0, SumX = 0, SumY = 0;
        for (int Y = 0; Y < Size; ++Y)
            for (int X = 0; X < Size; ++X)
                if (IsOrange(At(Icon, X, Y)))
                {
                    ++Count;
                    SumX += X;
                    SumY += Y;
                }
        const long Area = static_cast<long>(Size) * Size;
        ASSERT_GT(Count * 100, Area * 6) << Size << " px: " << Count << " orange pixels";
        EXPECT_LT(Count * 100, Area * 40) << Size << " px: " << Count << " orange pixels";
        const double Centre = (Size - 1) / 2.0;
        EXPECT_NEAR(static_cast<double>(SumX) / Count, Centre, Size * 0.12) << Size << " px";
        EXPECT_NEAR(static_cast<double>(SumY) / Count, Centre, Size * 0.12) << Size << " px";
    }
}

TEST(AppIcon, TheSmallSizesDrawTheCarOnWholePixels)
{
    // A car scaled down from the large art blends its paint into the road at every edge, giving a
    // spread of in-between oranges; the small sizes keep a handful of flat ones.
    for (const int Size : {16, 24})
    {
        const vm::TPixels Icon = ReadIcon(Size);
        std::set<std::uint32_t> Oranges;
        for (const std::uint32_t P : Icon.Argb)
            if (IsOrange(P))
                Oranges.insert(P);
        EXPECT_GE(Oranges.size(), 2u) << Size << " px";
        EXPECT_LE(Oranges.size(), 4u) << Size << " px";
    }
    std::set<std::uint32_t> Large;
    for (const std::uint32_t P : ReadIcon(48).Argb)
        if (IsOrange(P))
            Large.insert(P);
    EXPECT_GT(Large.size(), 20u) << "the 48 px icon should show the shaded car art";
}

TEST(AppIcon, ASizeOutsideTheDrawableRangeIsRefused)
{
    EXPECT_THROW(vm::assetgen::DrawAppIcon(8), std::invalid_argument);
    EXPECT_THROW(vm::assetgen::DrawAppIcon(4096), std::invalid_argument);
}

} // namespace
