// The generated cars: facing, paint variants, shadows, the two lists' keying and the car page pictures.
#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

struct TTile : vm::TPixels
{
    TTile(vm::TPixels Pixels) : vm::TPixels(std::move(Pixels)) {}

    std::uint32_t At(int X, int Y) const { return Argb[static_cast<std::size_t>(Y) * Width + X]; }
};

int AlphaOf(std::uint32_t P) { return static_cast<int>(P >> 24); }
int RedOf(std::uint32_t P) { return static_cast<int>((P >> 16) & 255); }
int GreenOf(std::uint32_t P) { return static_cast<int>((P >> 8) & 255); }
int BlueOf(std::uint32_t P) { return static_cast<int>(P & 255); }

// Every pattern of Key, cut out of its decoded picture.
std::vector<TTile> LoadTiles(const vm::TImageListCollection& List, const std::string& Key)
{
    const std::vector<vm::TPixels> Tiles = test::CutTiles(List, Key);
    return std::vector<TTile>(Tiles.begin(), Tiles.end());
}

class CarArt : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(Race.LoadFromFile(test::AssetPath("Data/data2.vil")).Ok);
        ASSERT_TRUE(Menu.LoadFromFile(test::AssetPath("Data/data1.vil")).Ok);
    }
    static vm::TImageListCollection Race;
    static vm::TImageListCollection Menu;
};
vm::TImageListCollection CarArt::Race;
vm::TImageListCollection CarArt::Menu;

// The race list's key of catalogue car Index.
const std::array<const char*, 5> RaceKeyOfCar = {"car1", "car4", "car5", "car2", "car3"};

double Hue(double R, double G, double B)
{
    const double Max = std::max({R, G, B}), Min = std::min({R, G, B});
    if (Max - Min < 1e-6)
        return 0;
    double H = 0;
    if (Max == R)
        H = std::fmod((G - B) / (Max - Min), 6.0);
    else if (Max == G)
        H = (B - R) / (Max - Min) + 2;
    else
        H = (R - G) / (Max - Min) + 4;
    H *= 60;
    return H < 0 ? H + 360 : H;
}

TEST_F(CarArt, EveryCarIsAboutFortyBySeventyAndFillsItsCollisionBox)
{
    for (int Key = 1; Key <= 5; ++Key)
    {
        const std::vector<TTile> Tiles = LoadTiles(Race, "car" + std::to_string(Key));
        ASSERT_EQ(Tiles.size(), 3u) << Key;
        const TTile& T = Tiles[0];
        EXPECT_GE(T.Width, 36);
        EXPECT_LE(T.Width, 46);
        EXPECT_GE(T.Height, 60);
        EXPECT_LE(T.Height, 78);
        // The game's collision corners lie 3 pixels inside the tile: the body should cover that box.
        int Covered = 0, Total = 0;
        for (int Y = 3; Y < T.Height - 3; ++Y)
            for (int X = 3; X < T.Width - 3; ++X, ++Total)
                Covered += AlphaOf(T.At(X, Y)) > 128;
        EXPECT_GT(Covered, Total * 0.9) << "car" << Key;
        // Transparent around the car's rounded corners.
        EXPECT_EQ(AlphaOf(T.At(0, 0)), 0);
        EXPECT_EQ(AlphaOf(T.At(T.Width - 1, T.Height - 1)), 0);
    }
}

TEST_F(CarArt, CarsFaceDownWithHeadlampsBelowAndTailLampsAbove)
{
    // Lamps do not change with the paint: among the opaque pixels all three paints share, the warm
    // white ones are headlamp light and the red ones tail lamps.
    for (int Key = 1; Key <= 5; ++Key)
    {
        const std::vector<TTile> Tiles = LoadTiles(Race, "car" + std::to_string(Key));
        ASSERT_EQ(Tiles.size(), 3u);
        const int Height = Tiles[0].Height;
        double HeadY = 0, TailY = 0;
        int Heads = 0, Tails = 0;
        for (std::size_t I = 0; I < Tiles[0].Argb.size(); ++I)
        {
            const std::uint32_t P = Tiles[0].Argb[I];
            if (AlphaOf(P) < 255 || P != Tiles[1].Argb[I] || P != Tiles[2].Argb[I])
                continue;
            const int Y = static_cast<int>(I) / Tiles[0].Width;
            const int R = RedOf(P), G = GreenOf(P), B = BlueOf(P);
            if (R > 235 && G > 215 && B > 120 && R - B > 15)
                HeadY += Y, ++Heads;
            else if (R > G + 80 && R > B + 70)
                TailY += Y, ++Tails;
        }
        ASSERT_GT(Heads, 3) << "car" << Key;
        ASSERT_GT(Tails, 3) << "car" << Key;
        EXPECT_GT(HeadY / Heads, Height * 0.8) << "car" << Key;
        EXPECT_LT(TailY / Tails, Height * 0.2) << "car" << Key;
    }
}

TEST_F(CarArt, PaintVariantsShareTheOutlineAndDifferInHue)
{
    for (int Key = 1; Key <= 5; ++Key)
    {
        const std::vector<TTile> Tiles = LoadTiles(Race, "car" + std::to_string(Key));
        ASSERT_EQ(Tiles.size(), 3u);
        std::array<double, 3> Hues{};
        for (std::size_t Paint = 0; Paint < 3; ++Paint)
        {
            double R = 0, G = 0, B = 0;
            for (std::size_t I = 0; I < Tiles[Paint].Argb.size(); ++I)
            {
                const std::uint32_t P = Tiles[Paint].Argb[I];
                EXPECT_LE(std::abs(AlphaOf(P) - AlphaOf(Tiles[0].Argb[I])), 2)
                    << "car" << Key << " paint " << Paint << " pixel " << I;
                if (AlphaOf(P) == 255)
                    R += RedOf(P), G += GreenOf(P), B += BlueOf(P);
            }
            Hues[Paint] = Hue(R, G, B);
        }
        for (std::size_t A = 0; A < 3; ++A)
            for (std::size_t B = A + 1; B < 3; ++B)
            {
                const double D = std::fabs(Hues[A] - Hues[B]);
                EXPECT_GT(std::min(D, 360 - D), 20.0) << "car" << Key << " paints " << A << " and " << B;
            }
    }
}

TEST_F(CarArt, EachShadowIsTheSoftDarkOutlineOfItsCar)
{
    for (int Key = 1; Key <= 5; ++Key)
    {
        const std::vector<TTile> Cars = LoadTiles(Race, "car" + std::to_string(Key));
        const std::vector<TTile> Shadows = LoadTiles(Race, "carten" + std::to_string(Key));
        ASSERT_EQ(Cars.size(), 3u);
        ASSERT_EQ(Shadows.size(), 1u);
        const TTile& Car = Cars[0];
        const TTile& Shadow = Shadows[0];
        // Same tile, so the game turns both about the same point.
        ASSERT_EQ(Shadow.Width, Car.Width);
        ASSERT_EQ(Shadow.Height, Car.Height);
        int MaxAlpha = 0;
        for (std::uint32_t P : Shadow.Argb)
        {
            MaxAlpha = std::max(MaxAlpha, AlphaOf(P));
            if (AlphaOf(P) > 0)
            {
                EXPECT_LT(RedOf(P) + GreenOf(P) + BlueOf(P), 90);
            }
        }
        EXPECT_GT(MaxAlpha, 100);
        EXPECT_LT(MaxAlpha, 230) << "a shadow lets the ground show through";
        int Both = 0, Either = 0;
        for (std::size_t I = 0; I < Car.Argb.size(); ++I)
        {
            const bool InCar = AlphaOf(Car.Argb[I]) > 128;
            const bool InShadow = AlphaOf(Shadow.Argb[I]) > MaxAlpha / 2;
            Both += InCar && InShadow;
            Either += InCar || InShadow;
        }
        EXPECT_GT(static_cast<double>(Both) / Either, 0.85) << "carten" << Key;
    }
}

TEST_F(CarArt, MenuListKeysTheSameCarsInCatalogueOrder)
{
    for (int Car = 0; Car < 5; ++Car)
    {
        const std::vector<TTile> InMenu = LoadTiles(Menu, "car" + std::to_string(Car + 1));
        const std::vector<TTile> InRace = LoadTiles(Race, RaceKeyOfCar[static_cast<std::size_t>(Car)]);
        ASSERT_EQ(InMenu.size(), 3u);
        ASSERT_EQ(InRace.size(), 3u);
        for (std::size_t Paint = 0; Paint < 3; ++Paint)
            EXPECT_EQ(InMenu[Paint].Argb, InRace[Paint].Argb) << "car index " << Car;
    }
    // The five models really are different cars.
    for (int A = 1; A <= 5; ++A)
        for (int B = A + 1; B <= 5; ++B)
        {
            const TTile TA = LoadTiles(Menu, "car" + std::to_string(A))[0];
            const TTile TB = LoadTiles(Menu, "car" + std::to_string(B))[0];
            EXPECT_FALSE(TA.Width == TB.Width && TA.Height == TB.Height && TA.Argb == TB.Argb);
        }
}

TEST_F(CarArt, CarPagePicturesFitTheFrameOverATransparentBorder)
{
    std::vector<TTile> Pictures;
    for (int Car = 1; Car <= 5; ++Car)
    {
        const std::vector<TTile> Tiles = LoadTiles(Menu, "c_car" + std::to_string(Car));
        ASSERT_EQ(Tiles.size(), 1u) << Car;
        const TTile& T = Tiles[0];
        // Between the buttons at x 210 and 520, above the bars at y 343, from (370, 230).
        EXPECT_LE(370 + T.Width, 520);
        EXPECT_LE(230 + T.Height, 343);
        EXPECT_GE(T.Width, 110) << "larger than the race sprite";
        int Border = 0, Solid = 0;
        for (int X = 0; X < T.Width; ++X)
            Border = std::max({Border, AlphaOf(T.At(X, 0)), AlphaOf(T.At(X, T.Height - 1))});
        for (int Y = 0; Y < T.Height; ++Y)
            Border = std::max({Border, AlphaOf(T.At(0, Y)), AlphaOf(T.At(T.Width - 1, Y))});
        for (std::uint32_t P : T.Argb)
            Solid += AlphaOf(P) == 255;
        EXPECT_LE(Border, 8) << "c_car" << Car;
        EXPECT_GT(Solid, T.Width * T.Height / 4) << "c_car" << Car;
        Pictures.push_back(T);
    }
    for (std::size_t A = 0; A < Pictures.size(); ++A)
        for (std::size_t B = A + 1; B < Pictures.size(); ++B)
            EXPECT_NE(Pictures[A].Argb, Pictures[B].Argb);
}

} // namespace
