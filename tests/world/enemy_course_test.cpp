// A whole drive: three opponents from the grid along a generated course, with the walls and the
// player's car driven along the road, through the real sprite engine.
#include "world/race_fixture.h" // before the road driver, which needs the engine

#include "engine/game_constants.h"
#include "support/road_driver.h"
#include "world/course.h"
#include "world/enemy_car.h"
#include "world/starting_road.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vm::test {
namespace {

using EnemyCourseTest = RaceFixture;

TEST_F(EnemyCourseTest, OpponentsDriveTheCourseFromTheGrid)
{
    GenerateCourse(World->Course, Rng, "track.dat", 30, 5, 10);
    CloseCourse(World->Course);
    InitPieceOffsets(World->Course);
    // Three opponents: the player takes grid slot 4 and the start line lands at (330, -30).
    World->FRoadX = 330;
    World->FRoadY = -30;
    auto* Player = new TPlayer(*World, 396, 460, 0, "player", -90, 0);
    World->FPlayer = Player;
    const double SlotX[3] = {-70, 70, -70}, SlotY[3] = {100, 240, 300};
    std::array<TEnemyCar*, 3> Cars{};
    for (int K = 0; K < 3; ++K)
    {
        Cars[K] = new TEnemyCar(*World, World->FRoadX + SlotX[K], World->FRoadY + SlotY[K] + 50, K % 5,
                                "enemy", K, -90, 0, K + 1);
        World->FEnemies[K] = Cars[K];
    }
    ASSERT_EQ(World->FEnemyCount, 3);
    BuildGridRoad(*World);
    ::test::PlaceTestCheckpoints(*World);
    BuildFirstCoursePieces(*World);
    const int Last = World->FCheckpointCount;

    Player->Driving = true;
    for (TEnemyCar* Car : Cars)
        Car->Racing = true;

    // 120 seconds of frames, or until every opponent has reached the last checkpoint (its target then
    // wraps to the first).
    constexpr int Frames = 120 * FrameRate;
    std::array<int, 3> Finished{-1, -1, -1};
    std::array<int, 3> Furthest{};
    int Done = 0;
    for (int Frame = 1; Frame <= Frames && Done < 3; ++Frame)
    {
        ::test::SteerAlongRoad(*Engine, *Player, State);
        Engine->Move(1);
        Engine->FreeDead();
        World->ShiftCheckpoints();
        for (int K = 0; K < 3; ++K)
        {
            if (Finished[K] >= 0)
                continue;
            if (Cars[K]->FTarget == 1 && Furthest[K] == Last)
            {
                Finished[K] = Frame;
                ++Done;
            }
            else
                Furthest[K] = std::max(Furthest[K], Cars[K]->FTarget);
        }
    }

    std::printf("checkpoints %d; opponents reaching the end: %d\n", Last, Done);
    for (int K = 0; K < 3; ++K)
        std::printf("  opponent %d (car %d): furthest target %d, end after %.1f s\n", K, Cars[K]->FCarIndex,
                    Furthest[K], Finished[K] >= 0 ? Finished[K] / static_cast<double>(FrameRate) : -1.0);
    // Every opponent got well along the course.
    for (int K = 0; K < 3; ++K)
        EXPECT_GT(Furthest[K], Last / 2) << K;
}

} // namespace
} // namespace vm::test
