// A long drive: the race setup's first road, the player's car holding Up and steering along the road
// for 3000 frames through the real sprite engine.
#include "world_fixture.h"

#include "vehicles/player.h"
#include "world/road_part.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace vm::test {
namespace {

using WorldDriveTest = WorldTest;

// The road centre at screen height Y, from the piece that spans it (nullptr when none does).
const TRoadPart* PieceAt(const std::vector<TRoadPart*>& Parts, double Y, double& Centre)
{
    for (const TRoadPart* Part : Parts)
        if (Y >= Part->Y() && Y <= Part->Y() + Part->Height())
        {
            const double Up = (Part->Y() + Part->Height() - Y) / Part->Height(); // 0 at the lower edge
            Centre = Part->X() + Part->EntryOffset + (Part->ExitOffset - Part->EntryOffset) * Up;
            return Part;
        }
    return nullptr;
}

TEST_F(WorldDriveTest, RoadGrowsAheadAndEndsBehindWhileWallsKeepTheCarOnIt)
{
    // The race setup's road: the start line where the player's slot (slot 4) puts it.
    GenerateCourse(World.Course, Rng, "track.dat", 90, 5, 10);
    CloseCourse(World.Course);
    InitPieceOffsets(World.Course);
    double RoadX = 400.0 - 70, RoadY = 460.0 - 490;
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
    World.FPlayer = Player;
    World.FNextPiece = 0;
    for (int L = -3; L <= 10; ++L)
        new TRoadPart(World, static_cast<float>(RoadX), static_cast<float>(RoadY + 300 * L), 0, false);
    RoadY -= 1200;
    // Checkpoints in the middle of every piece, as the car measures its progress by them.
    double Cx = RoadX, Cy = RoadY - 150;
    const int CourseLast = World.Course.CourseLast;
    for (int I = 1; I <= CourseLast + 8; ++I)
    {
        const int Shift = I <= CourseLast ? World.Course.PieceShift(World.Course.CodeAt(I - 1)) : 0;
        World.FCheckpoints[static_cast<std::size_t>(I)] = {Cx + Shift / 2.0, Cy, I};
        Cy -= 300;
        Cx += Shift;
    }
    World.FCheckpointCount = CourseLast + 8;
    for (int I = 2; I <= World.FCheckpointCount; ++I)
    {
        const TCheckpoint& A = World.FCheckpoints[static_cast<std::size_t>(I - 1)];
        const TCheckpoint& B = World.FCheckpoints[static_cast<std::size_t>(I)];
        World.FCheckpointDistance[static_cast<std::size_t>(I)] =
            World.FCheckpointDistance[static_cast<std::size_t>(I - 1)] +
            std::hypot(B.X - A.X, B.Y - A.Y) / 10;
    }
    for (int I = 0; I < 5; ++I)
    {
        const int Code = World.Course.CodeAt(I);
        new TRoadPart(World, static_cast<float>(RoadX), static_cast<float>(RoadY), Code, false);
        RoadY -= 300;
        RoadX += World.Course.PieceShift(Code);
        ++World.FNextPiece;
    }
    World.FLastRoadPart = new TRoadPart(World, static_cast<float>(RoadX), static_cast<float>(RoadY),
                                        World.Course.CodeAt(5), false);
    World.FNextPiece = 6;

    Player->Driving = true;
    State.KeyHeld[vkUp] = 1;
    int MostSprites = 0, MostPieces = 0, Built = 0;
    double WorstOffset = 0;
    for (int Frame = 0; Frame < 3000; ++Frame)
    {
        const double CarX = Player->X() + Player->Width() / 2.0, CarY = Player->Y() + Player->Height() / 2.0;
        const auto Parts = All<TRoadPart>();
        // Aim at the road centre 150 pixels ahead; for a while drive straight into the right wall.
        double Target = CarX;
        PieceAt(Parts, CarY - 150, Target);
        const double Wanted = std::atan2(-150.0, Target - CarX) * 180 / std::numbers::pi;
        const bool IntoWall = Frame >= 1500 && Frame < 1700;
        State.KeyHeld[vkRight] = IntoWall || Wanted > Player->FHeading + 2;
        State.KeyHeld[vkLeft] = !IntoWall && Wanted < Player->FHeading - 2;

        Engine.Move(1);
        Engine.FreeDead();

        double Centre = 0;
        if (PieceAt(All<TRoadPart>(), CarY, Centre) != nullptr)
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
