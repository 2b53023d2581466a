// Run recordings: writing and reading a ten-race run's worth of calls, and the file's size.
#include "persist/replay_reader.h"
#include "persist/replay_writer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

using namespace vm;

// About ten races: 100,000 frames at the race clock's 10 ms steps against 90 frames a second,
// with a driving key changing every 4 frames on average (as the autopilot drives).
constexpr int RunFrames = 100000;

std::string BenchPath()
{
    return (std::filesystem::temp_directory_path() /
            ("velomarch-replay-bench-" + std::to_string(::getpid()) + ".vmr"))
        .string();
}

void WriteRun(const std::string& Path)
{
    TReplayWriter Writer;
    std::string Error;
    Writer.Open(Path, TReplayHeader{}, Error);
    std::uint32_t Mix = 1;
    for (int Frame = 0; Frame < RunFrames; ++Frame)
    {
        for (int I = 0; I < (Frame % 9 == 8 ? 2 : 1); ++I)
            Writer.Add({TReplayEventKind::RaceInterval, 0, 0, 0, 0});
        Mix = Mix * 1664525u + 1013904223u;
        if ((Mix >> 28) < 4)
            Writer.Add({(Mix >> 27) & 1 ? TReplayEventKind::KeyDown : TReplayEventKind::KeyUp, 0,
                        37 + static_cast<int>((Mix >> 20) & 3), 0, 0});
        Writer.Add({TReplayEventKind::Frame, 0, 0, 0, 0});
    }
    Writer.Finish(nullptr, Error);
}

void BM_WriteTenRaceRun(benchmark::State& State)
{
    const std::string Path = BenchPath();
    for (auto _ : State)
        WriteRun(Path);
    State.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(Path));
    std::filesystem::remove(Path);
}
BENCHMARK(BM_WriteTenRaceRun)->Unit(benchmark::kMillisecond);

void BM_ReadTenRaceRun(benchmark::State& State)
{
    const std::string Path = BenchPath();
    WriteRun(Path);
    std::ifstream In(Path, std::ios::binary);
    const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    std::filesystem::remove(Path);
    for (auto _ : State)
    {
        TReplay Replay;
        std::string Error;
        benchmark::DoNotOptimize(ReadReplay(Bytes, Replay, Error));
    }
    State.counters["file_bytes"] = static_cast<double>(Bytes.size());
}
BENCHMARK(BM_ReadTenRaceRun)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
