// A race laid out as the race setup does it, for drives, pictures and benchmarks: the course, the
// player on its grid slot, opponents on the slots ahead, the starting road and checkpoints.
#pragma once

#include "engine/image_list.h"
#include "engine/message_box.h"
#include "engine/random.h"
#include "engine/sprite_engine.h"
#include "state/game_state.h"
#include "support/road_driver.h"
#include "world/catalogue.h"
#include "world/enemy_car.h"
#include "world/player.h"
#include "world/starting_road.h"

#include <cstdint>
#include <vector>

namespace test {

struct TTestRaceOptions
{
    std::uint64_t Seed = 1;
    int Opponents = 0;
    int PlayerSlot = 4; // the grid slot the player stands on; the start line follows from it
    int CourseLength = 90;
    int PlayerCar = 0, PlayerPattern = 0;
    bool RandomModels = false; // opponents' car models drawn from the generator, else 0, 1, 2...
};

// Holds the race's engine and world; the image lists must outlive it. Cars drive from the start.
class TTestRace
{
public:
    TTestRace(vm::TImageList& GameImages, vm::TImageList& MenuImages, const TTestRaceOptions& Options)
        : Rng(Options.Seed), World(Engine, GameImages, MenuImages, Rng, State, Catalogues)
    {
        State.ScreenState = vm::ssRace;
        vm::GenerateCourse(World.Course, Rng, "track.dat", Options.CourseLength, 5, 10);
        vm::CloseCourse(World.Course);
        vm::InitPieceOffsets(World.Course);
        // Grid slot i: x -70 for odd i and +70 for even i; y 100 i, plus 40 for even i.
        auto SlotX = [](int I) { return I % 2 == 1 ? -70.0 : 70.0; };
        auto SlotY = [](int I) { return I % 2 == 1 ? 100.0 * I : 100.0 * I + 40; };
        World.FRoadX = 400.0 - SlotX(Options.PlayerSlot);
        World.FRoadY = 460.0 - (SlotY(Options.PlayerSlot) + 50);
        Player = new vm::TPlayer(World, 396, 460, Options.PlayerCar, "player", -90, 0, Options.PlayerPattern);
        World.FPlayer = Player;
        for (int K = 0; K < Options.Opponents; ++K)
        {
            const int Model = Options.RandomModels ? Rng.Random(5) : K % 5;
            auto* Car = new vm::TEnemyCar(World, World.FRoadX + SlotX(K + 1),
                                          World.FRoadY + SlotY(K + 1) + 50, Model, "enemy", K, -90, 0, K + 1);
            World.FEnemies[static_cast<std::size_t>(K)] = Car;
            Cars.push_back(Car);
        }
        vm::BuildGridRoad(World);
        PlaceTestCheckpoints(World);
        vm::BuildFirstCoursePieces(World);
        Player->Driving = true;
        for (vm::TEnemyCar* Car : Cars)
            Car->Racing = true;
    }

    // One frame: the test driver's keys (when Steer), the sprites, then the checkpoints.
    void Frame(bool Steer = true)
    {
        if (Steer)
            SteerAlongRoad(Engine, *Player, State);
        Engine.Move(1);
        Engine.FreeDead();
        World.ShiftCheckpoints();
    }

    vm::TStderrMessageBox Messages;
    vm::TSpriteEngine Engine{&Messages};
    vm::TRandom Rng;
    vm::TGameState State;
    vm::TCatalogues Catalogues;
    vm::TRaceWorld World;
    vm::TPlayer* Player = nullptr;
    std::vector<vm::TEnemyCar*> Cars;
};

} // namespace test
