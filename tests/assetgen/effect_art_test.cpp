// The generated effects: explosions that flash, burn and smoke away inside their frames, the
// start arrows ringing the player's car, and the tyre-smoke puff thinning out.
#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

struct TTile : vm::TPixels
{
    TTile(vm::TPixels Pixels) : vm::TPixels(std::move(Pixels)) {}

    int Alpha(int X, int Y) const
    {
        return static_cast<int>(Argb[static_cast<std::size_t>(Y) * Width + X] >> 24);
    }
};

std::vector<TTile> LoadTiles(const vm::TImageListCollection& List, const std::string& Key)
{
    const std::vector<vm::TPixels> Tiles = test::CutTiles(List, Key);
    return std::vector<TTile>(Tiles.begin(), Tiles.end());
}

// Alpha-weighted measures of a tile: total alpha, brightness and spread about the centre.
struct TMeasure
{
    double TotalAlpha = 0;
    double Brightness = 0; // mean of (R + G + B) / 3 weighted by alpha
    double Spread = 0;     // root mean square distance from the centre of the solid (alpha >= 128) part
};

TMeasure Measure(const TTile& T)
{
    TMeasure M;
    double Light = 0, Square = 0;
    int Solid = 0;
    for (int Y = 0; Y < T.Height; ++Y)
        for (int X = 0; X < T.Width; ++X)
        {
            const std::uint32_t P = T.Argb[static_cast<std::size_t>(Y) * T.Width + X];
            const double A = (P >> 24) / 255.0;
            M.TotalAlpha += A;
            Light += A * (((P >> 16) & 255) + ((P >> 8) & 255) + (P & 255)) / 3.0;
            const double Dx = X + 0.5 - T.Width / 2.0, Dy = Y + 0.5 - T.Height / 2.0;
            if (A >= 0.5)
                Square += Dx * Dx + Dy * Dy, ++Solid;
        }
    if (M.TotalAlpha > 0)
    {
        M.Brightness = Light / M.TotalAlpha;
        M.Spread = Solid ? std::sqrt(Square / Solid) : 0;
    }
    return M;
}

class EffectArt : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(Race.LoadFromFile(test::AssetPath("Data/data2.vil")).Ok); }
    static vm::TImageListCollection Race;
};
vm::TImageListCollection EffectArt::Race;

TEST_F(EffectArt, ExplosionsFlashBurnAndSmokeAwayInsideTheirFrames)
{
    for (const char* Key : {"exploid", "exploid2", "exploid3"})
    {
        const std::vector<TTile> Frames = LoadTiles(Race, Key);
        ASSERT_EQ(Frames.size(), 8u) << Key;
        const TTile& First = Frames[0];
        EXPECT_EQ(First.Width, First.Height) << Key;
        EXPECT_GE(First.Width, 96) << Key;
        EXPECT_LE(First.Width, 128) << Key;
        std::vector<TMeasure> M;
        for (const TTile& Frame : Frames)
        {
            // Transparent along every edge: the game turns the frame to any angle.
            int Edge = 0;
            for (int I = 0; I < Frame.Width; ++I)
                Edge = std::max({Edge, Frame.Alpha(I, 0), Frame.Alpha(I, Frame.Height - 1), Frame.Alpha(0, I),
                                 Frame.Alpha(Frame.Width - 1, I)});
            EXPECT_LE(Edge, 4) << Key;
            M.push_back(Measure(Frame));
        }
        for (std::size_t A = 0; A + 1 < Frames.size(); ++A)
            EXPECT_NE(Frames[A].Argb, Frames[A + 1].Argb) << Key << " frame " << A;
        // Flash to fire to smoke: darker as it goes, bigger as it goes, thinner at the end.
        EXPECT_GT(M[0].Brightness, M[3].Brightness) << Key;
        EXPECT_GT(M[3].Brightness, M[7].Brightness) << Key;
        EXPECT_GT(M[5].Spread, M[0].Spread * 1.2) << Key;
        double Peak = 0;
        for (const TMeasure& Each : M)
            Peak = std::max(Peak, Each.TotalAlpha);
        EXPECT_LT(M[7].TotalAlpha, Peak * 0.5) << Key;
        EXPECT_LT(M[6].TotalAlpha, M[4].TotalAlpha) << Key;
    }
    // The wreck's fire at its fullest covers a car about 70 pixels long.
    const std::vector<TTile> Wreck = LoadTiles(Race, "exploid");
    ASSERT_EQ(Wreck.size(), 8u);
    int Left = Wreck[3].Width, Right = 0;
    for (int Y = 0; Y < Wreck[3].Height; ++Y)
        for (int X = 0; X < Wreck[3].Width; ++X)
            if (Wreck[3].Alpha(X, Y) > 128)
                Left = std::min(Left, X), Right = std::max(Right, X);
    EXPECT_GE(Right - Left, 70);
}

TEST_F(EffectArt, StartArrowsRingThePlayersCarAboutTheirCentre)
{
    const std::vector<TTile> Tiles = LoadTiles(Race, "begarrows");
    ASSERT_EQ(Tiles.size(), 1u);
    const TTile& T = Tiles[0];
    EXPECT_EQ(T.Width, T.Height);
    // The car (70 x 44 at most) stands in the middle: nothing drawn over it.
    double Cx = 0, Cy = 0, Total = 0;
    for (int Y = 0; Y < T.Height; ++Y)
        for (int X = 0; X < T.Width; ++X)
        {
            const double Dx = X + 0.5 - T.Width / 2.0, Dy = Y + 0.5 - T.Height / 2.0;
            if (std::hypot(Dx, Dy) < 44)
            {
                EXPECT_EQ(T.Alpha(X, Y), 0) << X << "," << Y;
            }
            Cx += T.Alpha(X, Y) * Dx;
            Cy += T.Alpha(X, Y) * Dy;
            Total += T.Alpha(X, Y);
        }
    ASSERT_GT(Total, 0);
    // Balanced about the turning point, so the rotation does not wobble.
    EXPECT_LT(std::hypot(Cx / Total, Cy / Total), 3.0);
}

TEST_F(EffectArt, TyreSmokeThinsOutOverItsFiveSteps)
{
    for (const char* File : {"Data/data1.vil", "Data/data2.vil"})
    {
        vm::TImageListCollection List;
        ASSERT_TRUE(List.LoadFromFile(test::AssetPath(File)).Ok);
        const std::vector<TTile> Steps = LoadTiles(List, "dim");
        ASSERT_EQ(Steps.size(), 5u) << File;
        for (std::size_t K = 0; K + 1 < Steps.size(); ++K)
            EXPECT_LT(Measure(Steps[K + 1]).TotalAlpha, Measure(Steps[K]).TotalAlpha * 0.95)
                << File << " " << K;
        EXPECT_GT(Measure(Steps[0]).TotalAlpha, 50.0) << File;
        const std::vector<TTile> Arrows = LoadTiles(List, "arrows");
        ASSERT_EQ(Arrows.size(), 3u) << File;
        EXPECT_NE(Arrows[0].Argb, Arrows[1].Argb);
        EXPECT_NE(Arrows[1].Argb, Arrows[2].Argb);
    }
}

} // namespace
