// Collision masks: every texel's solidity survives packing, across word and row boundaries.
#include "engine/collision_mask.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

TEST(CollisionMask, EveryTexelKeepsItsSolidityAcrossWordsAndRows)
{
    // 130 wide: three words a row, the last one partly used; a pattern that differs row to row.
    constexpr int Width = 130;
    constexpr int Height = 5;
    std::vector<std::uint32_t> Texels(Width * Height, 0u);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            if ((X * 7 + Y * 3) % 5 == 0 || X == 63 || X == 64 || X == Width - 1)
                Texels[Y * Width + X] = Y == 0 ? 0x00000001u : 0xFF000000u; // any non-zero bit counts
    const TCollisionMask Mask(Width, Height, Texels.data());
    ASSERT_EQ(Mask.Width(), Width);
    ASSERT_EQ(Mask.Height(), Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            ASSERT_EQ(Mask.Solid(X, Y), Texels[Y * Width + X] != 0u) << X << "," << Y;
}

TEST(CollisionMask, GivenOnlyTheContentTheRestIsEmpty)
{
    // 70 x 4 content with rows 75 apart (the last 5 of each row are not texels) in a 130 x 6 mask.
    constexpr int Pitch = 75;
    std::vector<std::uint32_t> Content(Pitch * 4, 0xFFFFFFFFu);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 70; ++X)
            Content[Y * Pitch + X] = (X + Y) % 3 == 0 ? 0u : 0xFF123456u;
    const TCollisionMask Mask(130, 6, Content.data(), 70, 4, Pitch);
    ASSERT_EQ(Mask.Width(), 130);
    ASSERT_EQ(Mask.Height(), 6);
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 130; ++X)
            ASSERT_EQ(Mask.Solid(X, Y), X < 70 && Y < 4 && Content[Y * Pitch + X] != 0u) << X << "," << Y;
    // Content larger than the mask is cut to it.
    const TCollisionMask Cut(8, 2, Content.data(), 70, 4, Pitch);
    EXPECT_TRUE(Cut.Solid(1, 0));
    EXPECT_FALSE(Cut.Solid(0, 0));
}

TEST(CollisionMask, NothingToMaskGivesAnEmptyMask)
{
    const std::uint32_t One = 0xFFFFFFFFu;
    EXPECT_TRUE(TCollisionMask(0, 4, &One).Empty());
    EXPECT_TRUE(TCollisionMask(4, 4, nullptr).Empty());
    TCollisionMask Mask(1, 1, &One);
    EXPECT_TRUE(Mask.Solid(0, 0));
    Mask.Clear();
    EXPECT_TRUE(Mask.Empty());
    EXPECT_EQ(Mask.Width(), 0);
}

} // namespace
} // namespace vm
