// A frame of a drive over the generated road, drawn by the real offscreen renderer with the game's
// race pictures: ground, road, walls, decorations, the car and its shadow all reach the screen.
// With VM_SHOT_DIR set, the pictures are saved there (world_frame.png, race_frame.png) to be looked at.
#include "assetgen/asset_test_support.h"
#include "engine/picture.h"
#include "engine/random.h"
#include "engine/screen.h"
#include "engine/sprite_engine.h"
#include "platform/sdl/sdl_video.h"
#include "shell/game_state.h"
#include "support/road_driver.h"
#include "support/test_support.h"
#include "vehicles/enemy_car.h"
#include "vehicles/explosion.h"
#include "vehicles/player.h"
#include "world/bonus.h"
#include "world/catalogue.h"
#include "world/starting_road.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

namespace vm {
namespace {

// With VM_SHOT_DIR set, saves the picture there under Name to be looked at.
void SaveIfAsked(const std::vector<std::uint32_t>& Picture, const std::string& Name)
{
    const char* Dir = std::getenv("VM_SHOT_DIR");
    if (Dir == nullptr || *Dir == 0)
        return;
    TPixels Pixels{800, 600, Picture};
    for (std::uint32_t& P : Pixels.Argb)
        P |= 0xFF000000u;
    std::vector<std::uint8_t> Bytes;
    ASSERT_TRUE(EncodePng(Pixels, Bytes));
    std::ofstream(std::string(Dir) + "/" + Name, std::ios::binary)
        .write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

TEST(WorldFrameShot, ADriveDrawsGroundRoadWallsDecorationsAndTheCar)
{
    test::TMessageRecorder Messages;
    TSdlVideo Video;
    std::string Error;
    ASSERT_TRUE(Video.Open(true, Error)) << Error;
    auto Screen = std::make_unique<TScreen>(Video.Device(), Messages);
    ASSERT_TRUE(Screen->Initialize());
    Screen->SetLinearFilter(true);
    TImageList GameImages(Screen.get()), MenuImages(Screen.get());
    ASSERT_TRUE(GameImages.LoadFromFile(::test::AssetPath("Data/data2.vil"), &Messages));
    ASSERT_TRUE(GameImages.LoadTextures());

    TSpriteEngine Engine(&Messages);
    TRandom Rng(2024);
    TGameState State;
    State.ScreenState = ssRace;
    TCatalogues Catalogues;
    TRaceWorld World(Engine, GameImages, MenuImages, Rng, State, Catalogues);
    GenerateCourse(World.Course, Rng, "track.dat", 90, 5, 10);
    CloseCourse(World.Course);
    InitPieceOffsets(World.Course);
    World.FRoadX = 330;
    World.FRoadY = -30;
    auto* Player = new TPlayer(World, 396, 460, 2, "player", -90, 0, 1);
    World.FPlayer = Player;
    BuildGridRoad(World);
    ::test::PlaceTestCheckpoints(World);
    BuildFirstCoursePieces(World);
    Player->Driving = true;
    for (int Frame = 0; Frame < 700; ++Frame)
    {
        ::test::SteerAlongRoad(Engine, *Player, State);
        Engine.Move(1);
        Engine.FreeDead();
        World.ShiftCheckpoints();
    }

    Screen->Clear(0, 0, 0, 255);
    ASSERT_TRUE(Screen->BeginScene());
    Engine.Draw();
    std::vector<std::uint32_t> Picture;
    int W = 0, H = 0;
    ASSERT_TRUE(Video.Device().ReadPixels(Picture, W, H));
    Screen->EndScene();
    ASSERT_EQ(W * H, 800 * 600);

    SaveIfAsked(Picture, "world_frame.png");

    // The whole screen is covered by ground or road: no black left between tiles.
    int Black = 0;
    for (std::uint32_t P : Picture)
        Black += (P & 0x00FFFFFFu) == 0;
    EXPECT_LT(Black, 800 * 6) << "black pixels";
    // The car is drawn where it stays, over the road: its pixels differ from the asphalt around it.
    const int CarX = static_cast<int>(Player->X() + Player->Width() / 2);
    const int CarY = static_cast<int>(Player->Y() + Player->Height() / 2);
    auto Pixel = [&](int X, int Y) { return Picture[static_cast<std::size_t>(Y) * 800 + X]; };
    int Differ = 0;
    for (int Dy = -20; Dy <= 20; Dy += 4)
        Differ += Pixel(CarX, CarY + Dy) != Pixel(CarX + 60, CarY + Dy);
    EXPECT_GT(Differ, 5);
    // The car drove on: the road was built ahead of where the race setup left it.
    EXPECT_GT(World.FNextPiece, 6);
}

// A race frame with opponents on the grid road, pickups beside the player and a bomb going off
// under an opponent: everything the race draws between the road and the HUD.
TEST(WorldFrameShot, OpponentsPickupsShadowsAndABombExplosion)
{
    test::TMessageRecorder Messages;
    TSdlVideo Video;
    std::string Error;
    ASSERT_TRUE(Video.Open(true, Error)) << Error;
    auto Screen = std::make_unique<TScreen>(Video.Device(), Messages);
    ASSERT_TRUE(Screen->Initialize());
    Screen->SetLinearFilter(true);
    TImageList GameImages(Screen.get()), MenuImages(Screen.get());
    ASSERT_TRUE(GameImages.LoadFromFile(::test::AssetPath("Data/data2.vil"), &Messages));
    ASSERT_TRUE(GameImages.LoadTextures());

    TSpriteEngine Engine(&Messages);
    TRandom Rng(77);
    TGameState State;
    State.ScreenState = ssRace;
    TCatalogues Catalogues;
    TRaceWorld World(Engine, GameImages, MenuImages, Rng, State, Catalogues);
    GenerateCourse(World.Course, Rng, "track.dat", 90, 5, 10);
    CloseCourse(World.Course);
    InitPieceOffsets(World.Course);
    // Five opponents: the player takes grid slot 6 (x +70, y 640), so the start line is at (330, -230).
    World.FRoadX = 330;
    World.FRoadY = -230;
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0, 2);
    World.FPlayer = Player;
    const double SlotX[5] = {-70, 70, -70, 70, -70}, SlotY[5] = {100, 240, 300, 440, 500};
    std::vector<TEnemyCar*> Cars;
    for (int K = 0; K < 5; ++K)
    {
        Cars.push_back(new TEnemyCar(World, World.FRoadX + SlotX[K], World.FRoadY + SlotY[K] + 50, K, "enemy",
                                     K, -90, 0, K + 1));
        World.FEnemies[static_cast<std::size_t>(K)] = Cars.back();
    }
    BuildGridRoad(World);
    ::test::PlaceTestCheckpoints(World);
    BuildFirstCoursePieces(World);
    for (int Kind = 0; Kind < 4; ++Kind)
        new TBonus(World, 300.0f + 60 * Kind, 300, Kind * 2 + 1);
    Player->Driving = true;
    for (TEnemyCar* Car : Cars)
        Car->Racing = true;
    for (int Frame = 0; Frame < 30; ++Frame)
    {
        Engine.Move(1);
        Engine.FreeDead();
        World.ShiftCheckpoints();
    }
    // A bomb under the nearest opponent, a few frames into its blast.
    TEnemyCar* Target = Cars.back();
    new TExplose(World, Target->X() + Target->Width() / 2.0, Target->Y() + Target->Height() / 2.0, 1, 4);
    for (int Frame = 0; Frame < 6; ++Frame)
    {
        Engine.Move(1);
        Engine.FreeDead();
        World.ShiftCheckpoints();
    }

    Screen->Clear(0, 0, 0, 255);
    ASSERT_TRUE(Screen->BeginScene());
    Engine.Draw();
    std::vector<std::uint32_t> Picture;
    int W = 0, H = 0;
    ASSERT_TRUE(Video.Device().ReadPixels(Picture, W, H));
    Screen->EndScene();
    ASSERT_EQ(W * H, 800 * 600);
    SaveIfAsked(Picture, "race_frame.png");

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

} // namespace
} // namespace vm
