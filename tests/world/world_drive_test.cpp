// A long drive: the race setup's first road, the player's car holding Up and steering along the road
// for 3000 frames through the real sprite engine.
#include "world_fixture.h"

#include "support/road_driver.h"
#include "world/bonus.h"
#include "world/player.h"
#include "world/road_part.h"
#include "world/starting_road.h"

#include <cmath>
#include <cstdio>

namespace vm::test {
namespace {

using WorldDriveTest = WorldTest;

TEST_F(WorldDriveTest, RoadGrowsAheadAndEndsBehindWhileWallsKeepTheCarOnIt)
{
    // The race setup's road: the start line where the player's slot (slot 4) puts it.
    GenerateCourse(World.Course, Rng, "track.dat", 90, 5, 10);
    CloseCourse(World.Course);
    InitPieceOffsets(World.Course);
    World.FRoadX = 400.0 - 70;
    World.FRoadY = 460.0 - 490;
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
    World.FPlayer = Player;
    BuildGridRoad(World);
    ::test::PlaceTestCheckpoints(World);
    BuildFirstCoursePieces(World);
    const int CourseLast = World.Course.CourseLast;

    Player->Driving = true;
    int MostSprites = 0, MostPieces = 0, Built = 0;
    double WorstOffset = 0;
    for (int Frame = 0; Frame < 3000; ++Frame)
    {
        const double CarX = Player->X() + Player->Width() / 2.0, CarY = Player->Y() + Player->Height() / 2.0;
        ::test::SteerAlongRoad(Engine, *Player, State);
        // For a while drive straight into the right wall.
        if (Frame >= 1500 && Frame < 1700)
        {
            State.KeyHeld[vkRight] = 1;
            State.KeyHeld[vkLeft] = 0;
        }

        // This drive is about the road and the walls: pickups are cleared before they act.
        for (TBonus* Bonus : All<TBonus>())
            Bonus->Dead();
        Engine.Move(1);
        Engine.FreeDead();
        World.ShiftCheckpoints();

        double Centre = 0;
        if (::test::RoadCentreAt(Engine, CarY, Centre))
            WorstOffset = std::max(WorstOffset, std::abs(CarX - Centre));
        MostSprites = std::max(MostSprites, Engine.Count());
        MostPieces = std::max(MostPieces, static_cast<int>(All<TRoadPart>().size()));
        for (const TRoadPart* Part : All<TRoadPart>())
            ASSERT_TRUE(Part->Y() <= 3000 || Part == World.FLastRoadPart) << "frame " << Frame;
        Built = World.FNextPiece;
    }
    // The car got far along the course, the road was built ahead of it all the way...
    EXPECT_GT(Built, 60);
    EXPECT_LE(Built, CourseLast + 1);
    EXPECT_GE(World.FLastRoadPart->Y(), -600);
    // ...while the pieces behind ended: only a window of the road ever existed.
    EXPECT_LE(MostPieces, 20);               // the race setup's twenty pieces
    EXPECT_LE(All<TRoadPart>().size(), 13u); // Y -300 .. 3000, one piece for each 300 pixels
    std::printf("built %d, most sprites %d, worst offset %.1f, speed %.2f, health %d\n", Built, MostSprites,
                WorstOffset, Player->FSpeed, Player->Health);
    EXPECT_LT(MostSprites, 400);
    // The walls stand 250 pixels or so beside the road centre; the car never got past them.
    EXPECT_LT(WorstOffset, 290);
    EXPECT_GT(Player->FSpeed, 1);
}

} // namespace
} // namespace vm::test
