// Races on the null renderer: the speed of a world frame and of a frame with nine opponents and
// pickups, and a drive of many generated courses from the grid that reports how many opponents
// reach the end.
#include "engine/game_constants.h"
#include "support/generated_image_lists.h"
#include "support/test_race.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace vm;

test::TGeneratedImageLists& Lists()
{
    static test::TGeneratedImageLists Instance(VM_ASSET_DIR);
    return Instance;
}

// One frame of the world with the player alone on a long course (so the road is still being built
// when the iterations end), at speed: moved and drawn.
void BM_WorldFrame(benchmark::State& BenchState)
{
    if (!Lists().Ok)
        return BenchState.SkipWithError("no pictures");
    test::TTestRace Race(Lists().Game, Lists().Menu, {.Seed = 7, .CourseLength = 250});
    for (int I = 0; I < 300; ++I)
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
BENCHMARK(BM_WorldFrame)->Iterations(5000);

// One frame of a race with nine opponents and the course's pickups: moved and drawn.
void BM_RaceFrameNineOpponents(benchmark::State& BenchState)
{
    if (!Lists().Ok)
        return BenchState.SkipWithError("no pictures");
    test::TTestRace Race(Lists().Game, Lists().Menu,
                         {.Seed = 11, .Opponents = 9, .PlayerSlot = 10, .RandomModels = true});
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
            test::TTestRace Race(
                Lists().Game, Lists().Menu,
                {.Seed = Seed, .Opponents = Opponents, .PlayerSlot = Opponents + 1, .RandomModels = true});
            const int Last = Race.World.FCheckpointCount;
            std::vector<int> Furthest(Race.Cars.size(), 0), Since(Race.Cars.size(), 0),
                Done(Race.Cars.size(), 0);
            std::vector<bool> WasStuck(Race.Cars.size(), false);
            int Remaining = static_cast<int>(Race.Cars.size());
            for (int Frame = 1; Frame <= 120 * FrameRate && Remaining > 0; ++Frame)
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
                    else if (++Since[K] > 10 * FrameRate)
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
                    FinishSeconds += Done[K] / static_cast<double>(FrameRate);
                    SlowestSeconds = std::max(SlowestSeconds, Done[K] / static_cast<double>(FrameRate));
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
