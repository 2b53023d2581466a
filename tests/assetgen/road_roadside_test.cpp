// Decorations, walls and road markings: sizes the race relies on and looks that read right.
#include "assetgen/road_test_pictures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace road_test;

struct TPatternStats
{
    int Opaque = 0;      // pixels of at least half alpha
    int BorderInked = 0; // pixels on the pattern's outer ring that are not clear
};

vm::TPixels PatternOf(const vm::TPixels& Sheet, const vm::TImageListItem& Item, int Index)
{
    vm::TPixels Out;
    Out.Width = Item.TileWidth();
    Out.Height = Item.TileHeight();
    const int Left = (Index % Item.Columns()) * Out.Width, Top = (Index / Item.Columns()) * Out.Height;
    for (int Y = 0; Y < Out.Height; ++Y)
        for (int X = 0; X < Out.Width; ++X)
            Out.Argb.push_back(At(Sheet, Left + X, Top + Y));
    return Out;
}

TPatternStats Stats(const vm::TPixels& P)
{
    TPatternStats S;
    for (int Y = 0; Y < P.Height; ++Y)
        for (int X = 0; X < P.Width; ++X)
        {
            const int A = Alpha(At(P, X, Y));
            if (A >= 128)
                ++S.Opaque;
            if ((X == 0 || Y == 0 || X == P.Width - 1 || Y == P.Height - 1) && A > 0)
                ++S.BorderInked;
        }
    return S;
}

// Mean colour-and-alpha difference of two equal pictures.
double Difference(const vm::TPixels& A, const vm::TPixels& B)
{
    double Sum = 0;
    for (std::size_t I = 0; I < A.Argb.size(); ++I)
        Sum += ColorDistance(A.Argb[I], B.Argb[I]) + std::abs(Alpha(A.Argb[I]) - Alpha(B.Argb[I]));
    return Sum / A.Argb.size();
}

TEST(RoadRoadside, EightDistinctDecorationsPerTerrainThatTurnFreely)
{
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    for (const char* Key : {"trees", "desert"})
    {
        const vm::TImageListItem* Item = TRacePictures::Get().Item(Key);
        ASSERT_NE(Item, nullptr) << Key;
        ASSERT_GE(Item->Columns() * Item->Rows(), 8) << Key;
        const vm::TPixels& Sheet = TRacePictures::Get().Picture(Key);
        std::vector<vm::TPixels> Looks;
        for (int I = 0; I < 8; ++I)
        {
            Looks.push_back(PatternOf(Sheet, *Item, I));
            const TPatternStats S = Stats(Looks.back());
            // Something of a size to see beside the road, clear of the pattern's edge, so no
            // cut-off corner shows when the game turns it.
            EXPECT_GT(S.Opaque, static_cast<int>(Looks.back().Argb.size() / 16)) << Key << " " << I;
            EXPECT_EQ(S.BorderInked, 0) << Key << " " << I;
        }
        for (int I = 0; I < 8; ++I)
            for (int J = I + 1; J < 8; ++J)
                EXPECT_GT(Difference(Looks[I], Looks[J]), 20) << Key << " " << I << " and " << J;
    }
}

TEST(RoadRoadside, WallsFillTheBoxTheyCollideWith)
{
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    const struct
    {
        const char* Key;
        int Length;
    } Walls[] = {{"wall1", 150}, {"wall2", 183}};
    for (const auto& Wall : Walls)
    {
        const vm::TPixels& P = TRacePictures::Get().Picture(Wall.Key);
        // Upright: the length runs down the picture; the 35 degree diagonal needs 150 / cos 35.
        EXPECT_EQ(P.Height, Wall.Length) << Wall.Key;
        EXPECT_GE(P.Width, 16) << Wall.Key;
        EXPECT_LE(P.Width, 40) << Wall.Key;
        // The picture is the wall's collision box: the wall fills it.
        EXPECT_GT(Stats(P).Opaque, static_cast<int>(P.Argb.size() * 85 / 100)) << Wall.Key;
    }
}

TEST(RoadRoadside, StartLineSpansTheRoadAndTheFinishSensorIsUnseen)
{
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    TRacePictures& Pics = TRacePictures::Get();
    const vm::TPixels& Start = Pics.Picture("startline");
    EXPECT_EQ(Start.Width, 300); // the straight road's full width
    int Light = 0, Dark = 0;
    for (std::uint32_t Pixel : Start.Argb)
    {
        if (Alpha(Pixel) < 128)
            continue;
        const int Level = Channel(Pixel, 16) + Channel(Pixel, 8) + Channel(Pixel, 0);
        Light += Level > 600;
        Dark += Level < 150;
    }
    // A chequer: about as much black as white, and nothing else.
    EXPECT_GT(Light, static_cast<int>(Start.Argb.size() * 35 / 100));
    EXPECT_GT(Dark, static_cast<int>(Start.Argb.size() * 35 / 100));

    const vm::TPixels& Mark = Pics.Picture("inplace");
    EXPECT_LE(Mark.Width, 90); // inside one grid slot, which stand 140 px apart across
    EXPECT_GT(Stats(Mark).Opaque, 100);

    // The finish sensor reaches past the road to the walls (250 px either side of the centre),
    // so no car passes it on the verge, and it is clear wherever it might be drawn.
    const vm::TPixels& Sensor = Pics.Picture("fline");
    EXPECT_GE(Sensor.Width, 500);
    EXPECT_GE(Sensor.Height, 20);
    for (std::uint32_t Pixel : Sensor.Argb)
        ASSERT_EQ(Alpha(Pixel), 0);
}

} // namespace
