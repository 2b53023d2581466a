// Opponents on whole courses: the speed of a race frame with nine opponents and pickups, and a
// drive of many generated courses from the grid that reports how many opponents reach the end.
#include "engine/image_list.h"
#include "engine/message_box.h"
#include "engine/null_render_device.h"
#include "engine/random.h"
#include "engine/screen.h"
#include "engine/sprite_engine.h"
#include "shell/game_state.h"
#include "support/road_driver.h"
#include "vehicles/enemy_car.h"
#include "vehicles/player.h"
#include "world/catalogue.h"
#include "world/starting_road.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vm;

// One race as the race setup lays it out: the grid slots, the start line under the player's slot,
// the course, the starting road and checkpoints in the middle of every piece.
struct TRace
{
    TRace(TImageList& GameImages, TImageList& MenuImages, std::uint64_t Seed, int Opponents)
        : Rng(Seed), World(Engine, GameImages, MenuImages, Rng, State, Catalogues)
    {
        State.ScreenState = ssRace;
        GenerateCourse(World.Course, Rng, "track.dat", 90, 5, 10);
        CloseCourse(World.Course);
        InitPieceOffsets(World.Course);
        auto SlotX = [](int I) { return I % 2 == 1 ? -70.0 : 70.0; };
        auto SlotY = [](int I) { return I % 2 == 1 ? 100.0 * I : 100.0 * I + 40; };
        const int PlayerSlot = Opponents + 1;
        World.FRoadX = 400.0 - SlotX(PlayerSlot);
        World.FRoadY = 460.0 - (SlotY(PlayerSlot) + 50);
        Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
        World.FPlayer = Player;
        for (int K = 0; K < Opponents; ++K)
        {
            auto* Car = new TEnemyCar(World, World.FRoadX + SlotX(K + 1), World.FRoadY + SlotY(K + 1) + 50,
                                      Rng.Random(5), "enemy", K, -90, 0, K + 1);
            World.FEnemies[static_cast<std::size_t>(K)] = Car;
            Cars.push_back(Car);
        }
        BuildGridRoad(World);
        test::PlaceTestCheckpoints(World);
        BuildFirstCoursePieces(World);
        Player->Driving = true;
        for (TEnemyCar* Car : Cars)
            Car->Racing = true;
    }

    void Frame()
    {
        test::SteerAlongRoad(Engine, *Player, State);
        Engine.Move(1);
        Engine.FreeDead();
        World.ShiftCheckpoints();
    }

    TStderrMessageBox Messages;
    TSpriteEngine Engine{&Messages};
    TRandom Rng;
    TGameState State;
    TCatalogues Catalogues;
    TRaceWorld World;
    TPlayer* Player = nullptr;
    std::vector<TEnemyCar*> Cars;
};

struct TLists
{
    TNullRenderDevice Device;
    TStderrMessageBox Messages;
    TScreen Screen{Device, Messages};
    TImageList Game{&Screen}, Menu{&Screen};
    bool Ok = false;
    TLists()
    {
        Screen.Initialize();
        Ok = Game.LoadFromFile(std::string(VM_ASSET_DIR) + "/Data/data2.vil", &Messages) &&
             Menu.LoadFromFile(std::string(VM_ASSET_DIR) + "/Data/data1.vil", &Messages);
        Game.LoadTextures();
    }
};

TLists& Lists()
{
    static TLists Instance;
    return Instance;
}

// One frame of a race with nine opponents and the course's pickups: moved and drawn.
void BM_RaceFrameNineOpponents(benchmark::State& BenchState)
{
    if (!Lists().Ok)
        return BenchState.SkipWithError("no pictures");
    TRace Race(Lists().Game, Lists().Menu, 11, 9);
    for (int I = 0; I < 600; ++I)
        Race.Frame();
    for (auto _ : BenchState)
    {
        Race.Frame();
        Lists().Screen.BeginScene();
        Race.Engine.Draw();
        Lists().Screen.EndScene();
    }
    BenchState.counters["sprites"] = Race.Engine.Count();
}
BENCHMARK(BM_RaceFrameNineOpponents)->Iterations(3000);

// Fifty courses for the given number of opponents, each driven from the grid for at most two
// minutes: the share of opponents that pass the last checkpoint, their mean time, and those that
// reach no new checkpoint for more than ten seconds.
void BM_CourseSimulation(benchmark::State& BenchState)
{
    if (!Lists().Ok)
        return BenchState.SkipWithError("no pictures");
    const int Opponents = static_cast<int>(BenchState.range(0));
    int Cars = 0, Finished = 0, Stuck = 0;
    double FinishSeconds = 0, SlowestSeconds = 0;
    for (auto _ : BenchState)
    {
        for (std::uint64_t Seed = 1; Seed <= 50; ++Seed)
        {
            TRace Race(Lists().Game, Lists().Menu, Seed, Opponents);
            const int Last = Race.World.FCheckpointCount;
            std::vector<int> Furthest(Race.Cars.size(), 0), Since(Race.Cars.size(), 0),
                Done(Race.Cars.size(), 0);
            std::vector<bool> WasStuck(Race.Cars.size(), false);
            int Remaining = static_cast<int>(Race.Cars.size());
            for (int Frame = 1; Frame <= 120 * 90 && Remaining > 0; ++Frame)
            {
                Race.Frame();
                for (std::size_t K = 0; K < Race.Cars.size(); ++K)
                {
                    if (Done[K] > 0)
                        continue;
                    const int Target = Race.Cars[K]->FTarget;
                    if (Target == 1 && Furthest[K] == Last)
                    {
                        Done[K] = Frame;
                        --Remaining;
                    }
                    else if (Target > Furthest[K])
                    {
                        Furthest[K] = Target;
                        Since[K] = 0;
                    }
                    else if (++Since[K] > 10 * 90)
                        WasStuck[K] = true;
                }
            }
            for (std::size_t K = 0; K < Race.Cars.size(); ++K)
            {
                ++Cars;
                Stuck += WasStuck[K];
                if (Done[K] > 0)
                {
                    ++Finished;
                    FinishSeconds += Done[K] / 90.0;
                    SlowestSeconds = std::max(SlowestSeconds, Done[K] / 90.0);
                }
            }
        }
    }
    BenchState.counters["finished_share"] = Cars > 0 ? static_cast<double>(Finished) / Cars : 0;
    BenchState.counters["mean_seconds"] = Finished > 0 ? FinishSeconds / Finished : 0;
    BenchState.counters["slowest_seconds"] = SlowestSeconds;
    BenchState.counters["stuck_over_10s"] = Stuck;
    BenchState.counters["opponents"] = Cars;
}
BENCHMARK(BM_CourseSimulation)->Arg(3)->Arg(9)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
