// Frames of a race drawn by the real offscreen renderer with the game's race pictures: a drive
// over the generated road, opponents with pickups, shadows and a bomb blast, and the HUD over a race.
// With VM_SHOT_DIR set, the pictures are saved there (world_frame.png, race_frame.png, hud_frame.png,
// hud_damaged.png) to be looked at.
#include "assetgen/asset_test_support.h"
#include "engine/game_constants.h"
#include "engine/picture.h"
#include "engine/screen.h"
#include "platform/sdl/sdl_video.h"
#include "race/health_bar.h"
#include "race/hud_panel.h"
#include "race/radar_arrow.h"
#include "race/speed_arrow.h"
#include "race/start_arrows.h"
#include "support/test_race.h"
#include "support/test_support.h"
#include "world/bonus.h"
#include "world/explosion.h"
#include "world/tyre_smoke.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

namespace vm {
namespace {

class WorldFrameShot : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string Error;
        ASSERT_TRUE(Video.Open(true, Error)) << Error;
        Screen = std::make_unique<TScreen>(Video.Device(), Messages);
        ASSERT_TRUE(Screen->Initialize());
        Screen->SetLinearFilter(true);
        GameImages = std::make_unique<TImageList>(Screen.get());
        MenuImages = std::make_unique<TImageList>(Screen.get());
        ASSERT_TRUE(GameImages->LoadFromFile(::test::AssetPath("Data/data2.vil"), &Messages));
        ASSERT_TRUE(GameImages->LoadTextures());
    }

    // Draws the race's sprites and reads the picture back; with VM_SHOT_DIR set, saves it as Name.
    std::vector<std::uint32_t> Shoot(::test::TTestRace& Race, const std::string& Name)
    {
        Screen->Clear(0, 0, 0, 255);
        EXPECT_TRUE(Screen->BeginScene());
        Race.Engine.Draw();
        std::vector<std::uint32_t> Picture;
        int W = 0, H = 0;
        EXPECT_TRUE(Video.Device().ReadPixels(Picture, W, H));
        Screen->EndScene();
        EXPECT_EQ(W * H, PictureWidth * PictureHeight);
        Picture.resize(PictureWidth * PictureHeight);
        if (const char* Dir = std::getenv("VM_SHOT_DIR"); Dir != nullptr && *Dir != 0)
        {
            TPixels Pixels{PictureWidth, PictureHeight, Picture};
            for (std::uint32_t& P : Pixels.Argb)
                P |= 0xFF000000u;
            std::vector<std::uint8_t> Bytes;
            EXPECT_TRUE(EncodePng(Pixels, Bytes));
            std::ofstream(std::string(Dir) + "/" + Name, std::ios::binary)
                .write(reinterpret_cast<const char*>(Bytes.data()),
                       static_cast<std::streamsize>(Bytes.size()));
        }
        return Picture;
    }

    test::TMessageRecorder Messages;
    TSdlVideo Video;
    std::unique_ptr<TScreen> Screen;
    std::unique_ptr<TImageList> GameImages, MenuImages;
};

TEST_F(WorldFrameShot, ADriveDrawsGroundRoadWallsDecorationsAndTheCar)
{
    ::test::TTestRace Race(*GameImages, *MenuImages, {.Seed = 2024, .PlayerCar = 2, .PlayerPattern = 1});
    for (int Frame = 0; Frame < 700; ++Frame)
        Race.Frame();
    const std::vector<std::uint32_t> Picture = Shoot(Race, "world_frame.png");

    // The whole screen is covered by ground or road: no black left between tiles.
    int Black = 0;
    for (std::uint32_t P : Picture)
        Black += (P & 0x00FFFFFFu) == 0;
    EXPECT_LT(Black, 800 * 6) << "black pixels";
    // The car is drawn where it stays, over the road: its pixels differ from the asphalt around it.
    const TPlayer& Player = *Race.Player;
    const int CarX = static_cast<int>(Player.X() + Player.Width() / 2);
    const int CarY = static_cast<int>(Player.Y() + Player.Height() / 2);
    auto Pixel = [&](int X, int Y) { return Picture[static_cast<std::size_t>(Y) * 800 + X]; };
    int Differ = 0;
    for (int Dy = -20; Dy <= 20; Dy += 4)
        Differ += Pixel(CarX, CarY + Dy) != Pixel(CarX + 60, CarY + Dy);
    EXPECT_GT(Differ, 5);
    // The car drove on: the road was built ahead of where the race setup left it.
    EXPECT_GT(Race.World.FNextPiece, 6);
}

// A race frame with opponents on the grid road, pickups beside the player and a bomb going off
// under an opponent: everything the race draws between the road and the HUD.
TEST_F(WorldFrameShot, OpponentsPickupsShadowsAndABombExplosion)
{
    // Five opponents ahead: the player takes grid slot 6.
    ::test::TTestRace Race(*GameImages, *MenuImages,
                           {.Seed = 77, .Opponents = 5, .PlayerSlot = 6, .PlayerPattern = 2});
    TRaceWorld& World = Race.World;
    const TBonusKind Shown[] = {bkCoin20, bkOil, bkRepair, bkTime};
    for (int I = 0; I < 4; ++I)
        new TBonus(World, 300.0f + 60 * I, 300, Shown[I]);
    for (int Frame = 0; Frame < 30; ++Frame)
        Race.Frame(false);
    // A bomb under the nearest opponent, a few frames into its blast.
    TEnemyCar* Target = Race.Cars.back();
    new TExplose(World, Target->X() + Target->Width() / 2.0, Target->Y() + Target->Height() / 2.0, ekBomb, 4);
    for (int Frame = 0; Frame < 6; ++Frame)
        Race.Frame(false);
    const std::vector<std::uint32_t> Picture = Shoot(Race, "race_frame.png");

    // The explosion's fire shows over the opponent: bright orange-yellow pixels around its centre.
    const int Ex = static_cast<int>(Target->X() + Target->Width() / 2),
              Ey = static_cast<int>(Target->Y() + Target->Height() / 2);
    int Fire = 0;
    for (int Y = std::max(0, Ey - 40); Y < std::min(600, Ey + 40); ++Y)
        for (int X = std::max(0, Ex - 40); X < std::min(800, Ex + 40); ++X)
        {
            const std::uint32_t P = Picture[static_cast<std::size_t>(Y) * 800 + X];
            Fire += ((P >> 16) & 255) > 200 && ((P >> 8) & 255) > 100 && (P & 255) < 120;
        }
    EXPECT_GT(Fire, 50);
    EXPECT_EQ(World.FEnemyCount, 5);
}

// The HUD as the race setup lays it out, over a race under way with a sliding player's smoke; then
// the same frame with the car damaged: only the damage bar changes, and only from its top down.
TEST_F(WorldFrameShot, TheHudOverARaceAndTheDamageBarGrowingDownward)
{
    ::test::TTestRace Race(*GameImages, *MenuImages, {.Seed = 31, .Opponents = 3, .PlayerSlot = 4});
    TRaceWorld& World = Race.World;
    TPlayer& Player = *Race.Player;
    new TPanel(World, 541, 0, 0);
    new TPanel(World, 0, 180, 1);
    auto* Bar = new TBar(World, 750, 240);
    new TSpeedArrow(World, 716, 472, Player.FTopSpeed, Player.FReverseLimit);
    new TRadarArrow(World, 704, 526);
    new TBegArrows(World, 397, 423);
    for (int Frame = 0; Frame < 240; ++Frame)
        Race.Frame();
    // A hand-brake turn at speed leaves smoke behind the car.
    Race.State.KeyHeld[vkLeft] = 1;
    Race.State.KeyHeld[vkRight] = 0;
    Race.State.KeyHeld[vkSpace] = 1;
    for (int Frame = 0; Frame < 24; ++Frame)
        Race.Frame(false);
    int Puffs = 0;
    for (int I = 0; I < Race.Engine.Count(); ++I)
        Puffs += dynamic_cast<TDim*>(Race.Engine.Sprites(I)) != nullptr;
    EXPECT_GT(Puffs, 0);
    Race.State.KeyHeld[vkLeft] = 0;
    Race.State.KeyHeld[vkSpace] = 0;
    Player.Health = 100;
    Bar->Move(1);
    const std::vector<std::uint32_t> Whole = Shoot(Race, "hud_frame.png");
    Player.Health = 30;
    Bar->Move(1);
    const std::vector<std::uint32_t> Damaged = Shoot(Race, "hud_damaged.png");
    Bar->RestoreImageHeight();

    // Rows of the bar drawn at 30 health: round(0.7 x (H - 1) + 1).
    const int Rows = static_cast<int>(std::lround(0.7 * (Bar->FullHeight() - 1) + 1));
    int Changed = 0, Astray = 0;
    for (int Y = 0; Y < 600; ++Y)
        for (int X = 0; X < 800; ++X)
        {
            const std::size_t I = static_cast<std::size_t>(Y) * 800 + X;
            if (Whole[I] == Damaged[I])
                continue;
            ++Changed;
            Astray += !(X >= 749 && X <= 750 + Bar->Width() && Y >= 239 && Y <= 240 + Rows + 1);
        }
    EXPECT_EQ(Astray, 0) << "pixels changed outside the bar's drawn rows";
    EXPECT_GT(Changed, Rows * Bar->Width() / 3) << "the drained part shows down the bar";
}

} // namespace
} // namespace vm
