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
