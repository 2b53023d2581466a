// The whole race screen through the game object: nine opponents, the HUD and the race texts,
// on the null renderer and on the offscreen OpenGL renderer; and the headless autopilot's pace.
#include "autopilot.h"
#include "engine/audio_device.h"
#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/message_box.h"
#include "engine/null_render_device.h"
#include "pages/page_rows.h"
#include "platform/sdl/sdl_text_rasterizer.h"
#include "platform/sdl/sdl_video.h"
#include "race/run_start.h"
#include "shell/game.h"
#include "support/road_driver.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace vm {
namespace {

// A game running races on a manual clock, one frame per Step.
class TRaceRig
{
public:
    TRaceRig(IRenderDevice& Render, int Opponents)
        : Game(TGamePlatform{Render, Clock, Audio, Messages, VM_ASSET_DIR, &Text}, GamePages()),
          FOpponents(Opponents)
    {
        // As velomarch-headless --null-renderer runs: text on the null device is not rasterised.
        Game.Screen.RasteriseUnseenText = false;
        Game.FormCreate(11);
        Game.FormShow();
        Game.LeaveState(ssLogo);
        Game.State.ScreenState = ssChooseCar;
        StartRun(Game);
        Rebuild();
    }

    // A fresh race with the rig's opponents, run past the start lights.
    void Rebuild()
    {
        if (Game.World.FPlayer != nullptr)
            Game.LeaveState(ssRace);
        Game.Difficulty.FOpponentCount = FOpponents;
        Game.State.Lives = 3;
        Game.EnterState(ssRace);
        for (int I = 0; I < 260; ++I)
            Step();
    }

    void Step()
    {
        Clock.Advance(1000);
        Game.RaceTimer.Poll();
        Game.FrameTimer.Tick();
    }

    // Keeps a race running: a new one when this one has ended or gone off the course.
    void KeepRacing()
    {
        const int S = Game.State.ScreenState;
        if ((S != ssRace && S != ssWrecked) || Game.World.FRaceFinished)
            Rebuild();
    }

    TManualClock Clock{1000 * FrameRate}; // 1000 ticks a frame
    TSilentAudioDevice Audio;
    TStderrMessageBox Messages;
    TSdlTextRasterizer Text;
    TGame Game;

private:
    int FOpponents;
};

void RaceFrame(TRaceRig& Rig)
{
    test::SteerAlongRoad(Rig.Game.SpriteEngine, *Rig.Game.World.FPlayer, Rig.Game.State);
    Rig.Step();
}

void RaceFrames(benchmark::State& State, TRaceRig& Rig)
{
    for (auto _ : State)
    {
        RaceFrame(Rig);
        State.PauseTiming();
        Rig.KeepRacing();
        State.ResumeTiming();
    }
    State.counters["sprites"] = Rig.Game.SpriteEngine.Count();
}

void BM_RaceScreenNineOpponentsNullRenderer(benchmark::State& State)
{
    TNullRenderDevice Device;
    TRaceRig Rig(Device, 9);
    RaceFrames(State, Rig);
}
BENCHMARK(BM_RaceScreenNineOpponentsNullRenderer)->Unit(benchmark::kMicrosecond);

// Ten seconds of game time to settle, then twenty measured.
constexpr int OpenGLWarmUpFrames = 10 * FrameRate;
constexpr int OpenGLMeasuredFrames = 20 * FrameRate;

double ProcessCpuSeconds()
{
    timespec Now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &Now);
    return static_cast<double>(Now.tv_sec) + static_cast<double>(Now.tv_nsec) * 1e-9;
}

// The race on the offscreen renderer in a window of Width x Height (the picture scaled to it as in
// a full-screen window). Besides the wall time, "cpu_ms" is the whole process's processor time a
// frame, the driver's drawing threads included: the cost a player's machine pays, which the wall
// time hides when the driver draws on several cores or the machine is shared.
void OpenGLRace(benchmark::State& State, int Width, int Height)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    TSdlVideo Video;
    std::string Error;
    if (!Video.Open(true, Error, Width, Height))
    {
        State.SkipWithError(Error.c_str());
        return;
    }
    TRaceRig Rig(Video.Device(), 9);
    for (int I = 0; I < OpenGLWarmUpFrames; ++I)
    {
        RaceFrame(Rig);
        Rig.KeepRacing();
    }
    const double CpuStart = ProcessCpuSeconds();
    RaceFrames(State, Rig);
    const double CpuSeconds = ProcessCpuSeconds() - CpuStart;
    State.counters["cpu_ms"] = 1000.0 * CpuSeconds / static_cast<double>(State.iterations());
}

void BM_RaceScreenNineOpponentsOpenGL(benchmark::State& State)
{
    OpenGLRace(State, PictureWidth, PictureHeight);
}

// The window on a 1024 x 768 screen, full screen.
void BM_RaceScreenNineOpponentsOpenGL1024x768(benchmark::State& State) { OpenGLRace(State, 1024, 768); }

// The driver draws on its own threads, so a frame costs wall time, not this thread's time. One
// run of fixed length after a warm-up (the driver's shader variants and queues settle) reports
// the settled cost; short runs on the CPU clock reported only the cost of queueing the work.
BENCHMARK(BM_RaceScreenNineOpponentsOpenGL)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Iterations(OpenGLMeasuredFrames);
BENCHMARK(BM_RaceScreenNineOpponentsOpenGL1024x768)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Iterations(OpenGLMeasuredFrames);

// Whole runs as velomarch-headless --autopilot plays them on the null renderer: simulated frames
// a second, and that as a multiple of real time (FrameRate frames a second).
void BM_HeadlessAutopilotPace(benchmark::State& State)
{
    TNullRenderDevice Device;
    TRaceRig Rig(Device, 3);
    TAutopilot Pilot;
    auto SendKey = [&Rig](int Key, bool Down) {
        if (Down)
            Rig.Game.FormKeyDown(Key);
        else
            Rig.Game.FormKeyUp(Key);
    };
    long Frames = 0;
    for (auto _ : State)
    {
        Pilot.Drive(Rig.Game.World, SendKey);
        Rig.Step();
        ++Frames;
        State.PauseTiming();
        Rig.KeepRacing();
        State.ResumeTiming();
    }
    State.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(Frames), benchmark::Counter::kIsRate);
    State.counters["times_real_time"] =
        benchmark::Counter(static_cast<double>(Frames) / FrameRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessAutopilotPace)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace vm

BENCHMARK_MAIN();
