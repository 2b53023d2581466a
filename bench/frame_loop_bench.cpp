// Frame pacing on the real clock: how close to due frames start, and how much processor the waiting costs.
#include "engine/frame_loop.h"
#include "engine/frame_timer.h"
#include "engine/game_constants.h"
#include "engine/race_timer.h"
#include "engine/steady_clock.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vm {
namespace {

std::int64_t ProcessCpuNanoseconds()
{
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    const auto ToNs = [](const timeval& T) {
        return static_cast<std::int64_t>(T.tv_sec) * 1'000'000'000 +
               static_cast<std::int64_t>(T.tv_usec) * 1000;
    };
    return ToNs(Usage.ru_utime) + ToNs(Usage.ru_stime);
}

// A light frame: a few microseconds of arithmetic standing in for moving and drawing a menu page.
std::uint64_t LightFrameWork(std::uint64_t Seed)
{
    for (int I = 0; I < 4000; ++I)
        Seed = Seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return Seed;
}

// Runs the real loop at the game's frame rates for 5 s with the race clock running too. Argument: the sleep
// margin in us. Counters: mean frame interval, share of frames starting within 1 ms of due (previous start
// + one frame), lateness percentiles, and the process's processor time as a share of one core.
void BM_FrameLoopPacing(benchmark::State& State)
{
    constexpr std::int64_t RunNs = 5'000'000'000;
    constexpr double PeriodNs = 1e9 / FrameRate;

    TSteadyClock Clock;
    TThreadSleeper Sleeper;
    TFrameTimer Frames{Clock};
    TRaceTimer Race{Clock};
    TFrameLoop Loop{Clock, Frames, Race, Sleeper};
    Loop.SetSleepMarginMicroseconds(State.range(0));
    Frames.SetTargetFPS(FrameRate);
    Frames.SetMinFPS(MinFrameRate);
    Frames.SetMaxFPS(MaxFrameRate);

    std::vector<std::int64_t> Starts;
    Starts.reserve(1000);
    std::uint64_t Sink = 1;
    Frames.OnTimer = [&] {
        Starts.push_back(Clock.Now());
        Sink = LightFrameWork(Sink);
    };
    int RaceTicks = 0;
    Race.OnTimer = [&] { ++RaceTicks; };

    std::int64_t WallNs = 0;
    std::int64_t CpuNs = 0;
    for (auto _ : State)
    {
        Starts.clear();
        RaceTicks = 0;
        const std::int64_t Cpu0 = ProcessCpuNanoseconds();
        const std::int64_t Wall0 = Clock.Now();
        Frames.SetEnabled(true);
        Race.SetEnabled(true);
        while (Clock.Now() - Wall0 < RunNs)
            Loop.Pass();
        Frames.SetEnabled(false);
        Race.SetEnabled(false);
        WallNs = Clock.Now() - Wall0;
        CpuNs = ProcessCpuNanoseconds() - Cpu0;
    }
    benchmark::DoNotOptimize(Sink);

    std::vector<double> LateUs;
    for (std::size_t I = 1; I < Starts.size(); ++I)
        LateUs.push_back((static_cast<double>(Starts[I] - Starts[I - 1]) - PeriodNs) / 1000.0);
    if (LateUs.empty())
    {
        State.SkipWithError("no frames");
        return;
    }
    const auto Within = std::count_if(LateUs.begin(), LateUs.end(), [](double L) { return L <= 1000.0; });
    const double MeanIntervalMs =
        static_cast<double>(Starts.back() - Starts.front()) / static_cast<double>(LateUs.size()) / 1e6;
    std::vector<double> Sorted = LateUs;
    std::sort(Sorted.begin(), Sorted.end());
    const auto Percentile = [&](double P) {
        return Sorted[std::min(Sorted.size() - 1,
                               static_cast<std::size_t>(P * static_cast<double>(Sorted.size())))];
    };

    State.counters["frames"] = static_cast<double>(Starts.size());
    State.counters["race_ticks"] = RaceTicks;
    State.counters["mean_interval_ms"] = MeanIntervalMs;
    State.counters["within_1ms_pct"] =
        100.0 * static_cast<double>(Within) / static_cast<double>(LateUs.size());
    State.counters["late_p50_us"] = Percentile(0.50);
    State.counters["late_p99_us"] = Percentile(0.99);
    State.counters["late_max_us"] = Sorted.back();
    State.counters["cpu_pct_core"] = 100.0 * static_cast<double>(CpuNs) / static_cast<double>(WallNs);
}
BENCHMARK(BM_FrameLoopPacing)
    ->Arg(TFrameLoop::DefaultSleepMarginMicroseconds)
    ->Arg(0)
    ->Arg(500)
    ->Arg(1000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// Cost of one loop pass on its own (manual clock, a sleeper that does nothing): the overhead the loop adds.
class TNoSleep : public ISleeper
{
public:
    void SleepMicroseconds(std::int64_t) override {}
    void Yield() override {}
};

void BM_FrameLoopPass(benchmark::State& State)
{
    TManualClock Clock{1'000'000'000};
    TNoSleep Sleeper;
    TFrameTimer Frames{Clock};
    TRaceTimer Race{Clock};
    TFrameLoop Loop{Clock, Frames, Race, Sleeper};
    Frames.SetTargetFPS(FrameRate);
    int Fired = 0;
    Frames.OnTimer = [&] { ++Fired; };
    Race.OnTimer = [] {};
    Frames.SetEnabled(true);
    Race.SetEnabled(true);
    for (auto _ : State)
    {
        Clock.Advance(100'000); // 0.1 ms between passes
        Loop.Pass();
    }
    benchmark::DoNotOptimize(Fired);
}
BENCHMARK(BM_FrameLoopPass);

} // namespace
} // namespace vm

BENCHMARK_MAIN();
