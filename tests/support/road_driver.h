// Test helpers for drives over the generated road: checkpoints in the middle of every piece and a
// simple driver that holds the throttle and steers for the road centre ahead.
#pragma once

#include "engine/sprite_engine.h"
#include "state/game_state.h"
#include "world/player.h"
#include "world/race_world.h"
#include "world/road_part.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace test {

// One checkpoint in the middle of every course piece from (FRoadX, FRoadY) on, with their course
// distances: enough for the car to measure its progress until the race's own placement is used.
inline void PlaceTestCheckpoints(vm::TRaceWorld& World)
{
    double X = World.FRoadX, Y = World.FRoadY - 150;
    const int Count = std::min(World.Course.CourseLast + 1, vm::TRaceWorld::MaxCheckpoints);
    for (int I = 1; I <= Count; ++I)
    {
        const int Shift = World.Course.PieceShift(World.Course.CodeAt(I - 1));
        World.FCheckpoints[static_cast<std::size_t>(I)] = {X + Shift / 2.0, Y, I};
        Y -= vm::PieceLength;
        X += Shift;
        if (I > 1)
        {
            const vm::TCheckpoint& A = World.FCheckpoints[static_cast<std::size_t>(I - 1)];
            const vm::TCheckpoint& B = World.FCheckpoints[static_cast<std::size_t>(I)];
            World.FCheckpointDistance[static_cast<std::size_t>(I)] =
                World.FCheckpointDistance[static_cast<std::size_t>(I - 1)] +
                std::hypot(B.X - A.X, B.Y - A.Y) / 10;
        }
    }
    World.FCheckpointCount = Count;
}

// The road centre at screen height Y on the live piece that spans it; false when none does.
inline bool RoadCentreAt(const vm::TSpriteEngine& Engine, double Y, double& Centre)
{
    for (int I = 0; I < Engine.Count(); ++I)
    {
        const auto* Part = dynamic_cast<const vm::TRoadPart*>(Engine.Sprites(I));
        if (Part == nullptr || Part->IsDead() || Y < Part->Y() || Y > Part->Y() + Part->Height())
            continue;
        const double Up = (Part->Y() + Part->Height() - Y) / Part->Height(); // 0 at the lower edge
        Centre = Part->X() + Part->EntryOffset + (Part->ExitOffset - Part->EntryOffset) * Up;
        return true;
    }
    return false;
}

// Holds Up and presses Left or Right towards the road centre 150 pixels ahead of the car.
inline void SteerAlongRoad(const vm::TSpriteEngine& Engine, const vm::TPlayer& Player, vm::TGameState& State)
{
    const double CarX = Player.X() + Player.Width() / 2.0, CarY = Player.Y() + Player.Height() / 2.0;
    double Target = CarX;
    RoadCentreAt(Engine, CarY - 150, Target);
    const double Wanted = std::atan2(-150.0, Target - CarX) * 180 / std::numbers::pi;
    // The heading is not kept within one turn (a spin adds to it), so compare the nearest way round.
    const double Turn = std::remainder(Wanted - Player.FHeading, 360.0);
    State.KeyHeld[vm::vkUp] = 1;
    State.KeyHeld[vm::vkRight] = Turn > 2;
    State.KeyHeld[vm::vkLeft] = Turn < -2;
}

} // namespace test
