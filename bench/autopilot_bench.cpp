// The headless runner's driver on generated races: how often it covers the first race's course
// within that race's minute, and what one decision costs.
#include "autopilot.h"
#include "engine/game_constants.h"
#include "support/generated_image_lists.h"
#include "support/test_race.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace {

using namespace vm;

test::TGeneratedImageLists& Lists()
{
    static test::TGeneratedImageLists Instance(VM_ASSET_DIR);
    return Instance;
}

// The driver's keys reach the race as the game's key events do.
TAutopilot::TSendKey KeysOf(test::TTestRace& Race)
{
    return [&Race](int Key, bool Down) {
        const auto Index = static_cast<std::size_t>(Key);
        Race.State.KeyHeld[Index] = Down ? 1 : 0;
        if (!Down)
            Race.State.KeyReleased[Index] = 1;
    };
}

void DriveFrame(TAutopilot& Pilot, test::TTestRace& Race)
{
    Pilot.Drive(Race.World, KeysOf(Race));
    Race.Frame(false);
}

// Fifty first races (a course of 90 pieces, one minute: 5400 frames) with the given number of
// opponents, the player in each car model in turn. Counted: races whose last course checkpoint
// is reached in time without a wreck ("finished"), in time at all ("covered"), the wrecks (a
// wreck costs the real race 200 frames and a life), the bombs driven into, and the times. The
// seeds that did not finish are listed in the label.
void BM_AutopilotCourse(benchmark::State& BenchState)
{
    if (!Lists().Ok)
        return BenchState.SkipWithError("no pictures");
    const int Opponents = static_cast<int>(BenchState.range(0));
    constexpr int Seeds = 50, Frames = 60 * FrameRate;
    int Finished = 0, Covered = 0, Wrecks = 0, Bombs = 0;
    double Seconds = 0, Slowest = 0;
    std::string Missed;
    for (auto _ : BenchState)
    {
        Finished = Covered = Wrecks = Bombs = 0;
        Seconds = Slowest = 0;
        Missed.clear();
        for (int Seed = 1; Seed <= Seeds; ++Seed)
        {
            test::TTestRace Race(Lists().Game, Lists().Menu,
                                 {.Seed = static_cast<std::uint64_t>(Seed),
                                  .Opponents = Opponents,
                                  .PlayerSlot = Opponents + 1,
                                  .PlayerCar = Seed % 5,
                                  .RandomModels = true});
            TAutopilot Pilot;
            const int Last = Race.World.Course.CourseLast;
            bool Spinning = false;
            int Frame = 0, RaceBombs = 0;
            while (Frame < Frames && Race.Player->NextCheckpoint <= Last)
            {
                DriveFrame(Pilot, Race);
                ++Frame;
                RaceBombs += Race.Player->FSpinning && !Spinning;
                Spinning = Race.Player->FSpinning;
            }
            Bombs += RaceBombs;
            const bool InTime = Race.Player->NextCheckpoint > Last;
            Covered += InTime;
            Wrecks += Race.World.FWrecked;
            if (InTime && !Race.World.FWrecked)
            {
                ++Finished;
                Seconds += Frame / static_cast<double>(FrameRate);
                Slowest = std::max(Slowest, Frame / static_cast<double>(FrameRate));
            }
            else
                Missed += " " + std::to_string(Seed) +
                          (InTime ? "w" : "@" + std::to_string(Race.Player->NextCheckpoint)) + "/b" +
                          std::to_string(RaceBombs);
        }
    }
    BenchState.counters["finished_share"] = static_cast<double>(Finished) / Seeds;
    BenchState.counters["covered_share"] = static_cast<double>(Covered) / Seeds;
    BenchState.counters["wrecks"] = Wrecks;
    BenchState.counters["bombs_hit"] = Bombs;
    BenchState.counters["mean_seconds"] = Finished > 0 ? Seconds / Finished : 0;
    BenchState.counters["slowest_seconds"] = Slowest;
    BenchState.SetLabel(Missed.empty()
                            ? "all finished"
                            : "missed (seed, w wrecked or @checkpoint reached, /b bombs hit):" + Missed);
}
BENCHMARK(BM_AutopilotCourse)->Arg(3)->Arg(9)->Iterations(1)->Unit(benchmark::kSecond);

// One decision of the driver in a race with nine opponents and the course's pickups, timed alone
// (the race frames between the decisions are not counted).
void BM_AutopilotDrive(benchmark::State& BenchState)
{
    if (!Lists().Ok)
        return BenchState.SkipWithError("no pictures");
    test::TTestRace Race(Lists().Game, Lists().Menu,
                         {.Seed = 11, .Opponents = 9, .PlayerSlot = 10, .RandomModels = true});
    TAutopilot Pilot;
    for (int I = 0; I < 600; ++I)
        DriveFrame(Pilot, Race);
    const TAutopilot::TSendKey Send = KeysOf(Race);
    for (auto _ : BenchState)
    {
        const auto Start = std::chrono::steady_clock::now();
        Pilot.Drive(Race.World, Send);
        const auto End = std::chrono::steady_clock::now();
        BenchState.SetIterationTime(std::chrono::duration<double>(End - Start).count());
        Race.Frame(false);
    }
    BenchState.counters["sprites"] = Race.Engine.Count();
}
BENCHMARK(BM_AutopilotDrive)->Iterations(3000)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
