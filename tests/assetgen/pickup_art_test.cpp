// The generated pickups: readable squares with clear corners, all different, and the help pages'
// icons drawing the very same picture at any size.
#include "art/canvas.h"
#include "art/pickup_art.h"
#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::array<const char*, vm::BonusKindCount> Keys = {"bonus1", "bonus2", "bonus3", "luga",  "bomb",
                                                          "repair", "life",   "time",   "shipi", "speedup"};

int Channel(std::uint32_t P, int Shift) { return static_cast<int>((P >> Shift) & 255); }

class PickupArt : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        vm::TImageListCollection List;
        ASSERT_TRUE(List.LoadFromFile(test::AssetPath("Data/data2.vil")).Ok);
        for (std::size_t Kind = 0; Kind < Keys.size(); ++Kind)
        {
            const vm::TImageListItem* Item = List.Find(Keys[Kind]);
            ASSERT_NE(Item, nullptr) << Keys[Kind];
            ASSERT_TRUE(Item->Picture().Decode(Pictures[Kind])) << Keys[Kind];
        }
    }
    static std::array<vm::TPixels, vm::BonusKindCount> Pictures;
};
std::array<vm::TPixels, vm::BonusKindCount> PickupArt::Pictures;

double MeanDifference(const vm::TPixels& A, const vm::TPixels& B)
{
    double Sum = 0;
    for (std::size_t I = 0; I < A.Argb.size(); ++I)
        for (int Shift = 0; Shift < 32; Shift += 8)
            Sum += std::abs(Channel(A.Argb[I], Shift) - Channel(B.Argb[I], Shift));
    return Sum / (A.Argb.size() * 4.0);
}

TEST_F(PickupArt, EachIsSolidInTheMiddleAndClearAtTheCorners)
{
    for (std::size_t Kind = 0; Kind < Keys.size(); ++Kind)
    {
        const vm::TPixels& P = Pictures[Kind];
        EXPECT_GE(P.Width, 32) << Keys[Kind];
        EXPECT_LE(P.Width, 48) << Keys[Kind];
        EXPECT_EQ(P.Width, P.Height) << Keys[Kind];
        auto Alpha = [&P](int X, int Y) {
            return Channel(P.Argb[static_cast<std::size_t>(Y) * P.Width + X], 24);
        };
        const int C = P.Width / 2;
        for (int Y = C - 2; Y <= C + 1; ++Y)
            for (int X = C - 2; X <= C + 1; ++X)
                EXPECT_GE(Alpha(X, Y), 230) << Keys[Kind] << " at " << X << "," << Y;
        const int Last = P.Width - 1;
        for (int D = 0; D < 3; ++D)
        {
            EXPECT_EQ(Alpha(D, D), 0) << Keys[Kind];
            EXPECT_EQ(Alpha(Last - D, D), 0) << Keys[Kind];
            EXPECT_EQ(Alpha(D, Last - D), 0) << Keys[Kind];
            EXPECT_EQ(Alpha(Last - D, Last - D), 0) << Keys[Kind];
        }
    }
}

TEST_F(PickupArt, AllTenDifferAndCoinsGrowRicher)
{
    for (std::size_t A = 0; A < Keys.size(); ++A)
        for (std::size_t B = A + 1; B < Keys.size(); ++B)
            EXPECT_GT(MeanDifference(Pictures[A], Pictures[B]), 8.0) << Keys[A] << " vs " << Keys[B];
    // The 10, 20 and 30 coins cover more and more of the square.
    std::array<int, 3> Solid{};
    for (std::size_t Coin = 0; Coin < 3; ++Coin)
        for (std::uint32_t P : Pictures[Coin].Argb)
            Solid[Coin] += Channel(P, 24) > 240;
    EXPECT_LT(Solid[0], Solid[1]);
    EXPECT_LT(Solid[1], Solid[2]);
}

// The help pages' icon at Size, drawn on its own canvas.
vm::TPixels Icon(int Kind, int Size)
{
    vm::assetgen::TCanvas Canvas(Size, Size);
    vm::assetgen::DrawPickupIcon(Canvas.Cr(), Kind, Size / 2.0, Size / 2.0, Size);
    return Canvas.Pixels();
}

TEST_F(PickupArt, HelpIconsDrawTheRacePictureAtAnySize)
{
    for (int Kind = 0; Kind < vm::BonusKindCount; ++Kind)
    {
        const vm::TPixels& Race = Pictures[static_cast<std::size_t>(Kind)];
        EXPECT_LT(MeanDifference(Icon(Kind, Race.Width), Race), 0.5) << Keys[static_cast<std::size_t>(Kind)];
        // Twice the size, averaged back down 2 x 2, gives the same picture within antialiasing.
        const vm::TPixels Big = Icon(Kind, Race.Width * 2);
        vm::TPixels Down = Race;
        for (int Y = 0; Y < Race.Height; ++Y)
            for (int X = 0; X < Race.Width; ++X)
            {
                std::uint32_t Out = 0;
                for (int Shift = 0; Shift < 32; Shift += 8)
                {
                    int Sum = 0, AlphaSum = 0;
                    for (int K = 0; K < 4; ++K)
                    {
                        const std::uint32_t P =
                            Big.Argb[static_cast<std::size_t>(2 * Y + K / 2) * Big.Width + 2 * X + K % 2];
                        const int A = Channel(P, 24);
                        AlphaSum += A;
                        Sum += Shift == 24 ? A : Channel(P, Shift) * A;
                    }
                    const int V = Shift == 24 ? Sum / 4 : (AlphaSum ? Sum / AlphaSum : 0);
                    Out |= static_cast<std::uint32_t>(V) << Shift;
                }
                Down.Argb[static_cast<std::size_t>(Y) * Race.Width + X] = Out;
            }
        EXPECT_LT(MeanDifference(Down, Race), 6.0) << Keys[static_cast<std::size_t>(Kind)];
    }
}

TEST(PickupIcon, UnknownKindsAndEmptySizesDrawNothing)
{
    for (int Kind : {-1, vm::BonusKindCount, 1000})
        for (std::uint32_t P : Icon(Kind, 40).Argb)
            ASSERT_EQ(P, 0u) << Kind;
    vm::assetgen::TCanvas Canvas(40, 40);
    vm::assetgen::DrawPickupIcon(Canvas.Cr(), 0, 20, 20, 0);
    vm::assetgen::DrawPickupIcon(Canvas.Cr(), 0, 20, 20, -30);
    for (std::uint32_t P : Canvas.Pixels().Argb)
        ASSERT_EQ(P, 0u);
}

} // namespace
