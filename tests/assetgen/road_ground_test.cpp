// The ground tiles: they repeat side by side and top to bottom, and the terrains follow on.
#include "assetgen/road_test_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace road_test;

// Mean colour step between row RowA of A and row RowB of B, B moved Shift px to the right.
double RowStep(const vm::TPixels& A, int RowA, const vm::TPixels& B, int RowB, int Shift = 0)
{
    double Sum = 0;
    for (int X = 0; X < A.Width; ++X)
        Sum += ColorDistance(At(A, X, RowA), At(B, ((X - Shift) % B.Width + B.Width) % B.Width, RowB));
    return Sum / A.Width;
}

double ColumnStep(const vm::TPixels& P, int ColA, int ColB)
{
    double Sum = 0;
    for (int Y = 0; Y < P.Height; ++Y)
        Sum += ColorDistance(At(P, ColA, Y), At(P, ColB, Y));
    return Sum / P.Height;
}

// Mean green minus mean red over one row: clearly positive on grass, negative on sand.
double Greenness(const vm::TPixels& P, int Row)
{
    double Sum = 0;
    for (int X = 0; X < P.Width; ++X)
        Sum += Channel(At(P, X, Row), 8) - Channel(At(P, X, Row), 16);
    return Sum / P.Width;
}

const char* const Tiles[4] = {"back1", "back2", "back3", "back4"};

TEST(RoadGround, TilesAreOpaqueAndFillTheirRowOfTheWorld)
{
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    for (const char* Key : Tiles)
    {
        const vm::TPixels& P = TRacePictures::Get().Picture(Key);
        ASSERT_EQ(P.Width, 800) << Key;
        // Drawn 1.1 times as tall, a tile covers its 300 px row without a gap.
        EXPECT_GE(P.Height * 1.1, 300.0) << Key;
        EXPECT_LE(P.Height * 1.1, 302.0) << Key;
        for (std::uint32_t Pixel : P.Argb)
            ASSERT_EQ(Alpha(Pixel), 255) << Key;
    }
}

TEST(RoadGround, EachTileRepeatsSideBySideAndTopToBottom)
{
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    for (const char* Key : Tiles)
    {
        const vm::TPixels& P = TRacePictures::Get().Picture(Key);
        const double Across = ColumnStep(P, P.Width - 1, 0), Beside = ColumnStep(P, 0, 1);
        EXPECT_LE(Across, Beside * 1.3 + 2) << Key << " left and right edges";
    }
    // Grass follows grass and sand follows sand; a transition tile never follows itself.
    for (const char* Key : {"back1", "back2"})
    {
        const vm::TPixels& P = TRacePictures::Get().Picture(Key);
        const double Down = RowStep(P, P.Height - 1, P, 0), Below = RowStep(P, 0, P, 1);
        EXPECT_LE(Down, Below * 1.3 + 2) << Key << " top and bottom edges";
    }
}

// Mean colour step between the block averages (Block px wide) of row RowA of A and row RowB of
// B, B moved Shift px to the right: what the eye sees of a seam, beyond the grain.
double BlockStep(const vm::TPixels& A, int RowA, const vm::TPixels& B, int RowB, int Shift, int Block = 24)
{
    double Sum = 0;
    int Blocks = 0;
    for (int Left = 0; Left + Block <= A.Width; Left += Block)
    {
        double MeanA[3] = {0, 0, 0}, MeanB[3] = {0, 0, 0};
        for (int X = Left; X < Left + Block; ++X)
            for (int C = 0; C < 3; ++C)
            {
                MeanA[C] += Channel(At(A, X, RowA), 16 - 8 * C);
                MeanB[C] += Channel(At(B, ((X - Shift) % B.Width + B.Width) % B.Width, RowB), 16 - 8 * C);
            }
        for (int C = 0; C < 3; ++C)
            Sum += std::fabs(MeanA[C] - MeanB[C]) / Block;
        ++Blocks;
    }
    return Sum / Blocks;
}

TEST(RoadGround, RowsMeetWhereverTheRoadHasMovedThem)
{
    // Each row of tiles sits sideways against the row below by the road's turn, so a tile's top
    // edge must meet the next terrain's bottom edge at any of those shifts: grass, into the
    // sand, sand, out of the sand, grass. The grain cannot line up at every shift, but no
    // patch, stripe or shade may break at the seam.
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    TRacePictures& Pics = TRacePictures::Get();
    const std::pair<const char*, const char*> Order[] = {{"back1", "back1"}, {"back1", "back4"},
                                                         {"back4", "back2"}, {"back2", "back2"},
                                                         {"back2", "back3"}, {"back3", "back1"}};
    for (const auto& [BelowKey, AboveKey] : Order)
    {
        const vm::TPixels& Below = Pics.Picture(BelowKey);
        const vm::TPixels& Above = Pics.Picture(AboveKey);
        // Two rows a few pixels apart inside a tile differ by their grain alone.
        const double Grain = std::max(BlockStep(Below, 0, Below, 8, 0),
                                      BlockStep(Above, Above.Height - 1, Above, Above.Height - 9, 0));
        for (int Shift : {0, 70, 71, 210, -210, 351})
            EXPECT_LE(BlockStep(Below, 0, Above, Above.Height - 1, Shift), Grain * 1.3 + 1)
                << AboveKey << " over " << BelowKey << " moved " << Shift;
    }
    // The check can fail: sand straight over grass shows.
    EXPECT_GT(BlockStep(Pics.Picture("back1"), 0, Pics.Picture("back2"), Pics.Picture("back2").Height - 1, 0),
              30);
}

TEST(RoadGround, TransitionsTurnGrassIntoSandAndBack)
{
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    TRacePictures& Pics = TRacePictures::Get();
    const vm::TPixels& Grass = Pics.Picture("back1");
    const vm::TPixels& Sand = Pics.Picture("back2");
    EXPECT_GT(Greenness(Grass, 100), 30);
    EXPECT_LT(Greenness(Sand, 100), -30);
    const vm::TPixels& Into = Pics.Picture("back4");  // grass below, sand above
    const vm::TPixels& OutOf = Pics.Picture("back3"); // sand below, grass above
    EXPECT_GT(Greenness(Into, Into.Height - 1), 30);
    EXPECT_LT(Greenness(Into, 0), -30);
    EXPECT_LT(Greenness(OutOf, OutOf.Height - 1), -30);
    EXPECT_GT(Greenness(OutOf, 0), 30);
}

} // namespace
