// The frames while a score is sent: the game on the wall clock, its score going to a loopback
// server that never answers, for the whole 5 s of the client's time-out; beside it the same page
// with no send in flight, on the null renderer and on the offscreen OpenGL renderer.
#include "engine/null_render_device.h"
#include "platform/sdl/sdl_text_rasterizer.h"
#include "platform/sdl/sdl_video.h"
#include "support/send_rig.h"
#include "support/silent_server.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

namespace vm {
namespace {

constexpr double SendSeconds = 5.0;

// Arguments: the renderer (0 null, 1 offscreen OpenGL) and whether "yes" sends the score (1) or
// the question stays up unanswered (0). Counters: frames a second on the send page (the game aims
// at FrameRate), the longest gap between two frames, and the seconds measured.
void BM_SendPageFrames(benchmark::State& State)
{
    const bool OpenGl = State.range(0) != 0, Send = State.range(1) != 0;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    TSdlVideo Video;
    TNullRenderDevice Null;
    std::string Error;
    if (OpenGl && !Video.Open(true, Error))
    {
        State.SkipWithError(Error.c_str());
        return;
    }
    test::TSilentServer Silent;
    TSdlTextRasterizer Text;
    double FramesPerSecond = 0, LongestGapMs = 0, Seconds = 0;
    for (auto _ : State)
    {
        State.PauseTiming();
        auto Rig =
            std::make_unique<test::TSendRig>(OpenGl ? static_cast<IRenderDevice&>(Video.Device()) : Null,
                                             &Text, Silent.Url(), static_cast<long>(SendSeconds * 1000));
        if (!Rig->ReachSendPage("Ann", 950) || (Send && !Rig->Click("b_yes1")))
        {
            State.SkipWithError("the send page did not come up");
            return;
        }
        Rig->GoReal();
        State.ResumeTiming();
        Seconds = Send ? Rig->RunWhileSending(2 * SendSeconds) : Rig->RunFor(SendSeconds);
        State.PauseTiming();
        const auto& Starts = Rig->FrameStarts;
        FramesPerSecond = static_cast<double>(Starts.size()) / Seconds;
        LongestGapMs = 0;
        for (std::size_t I = 1; I < Starts.size(); ++I)
            LongestGapMs = std::max(
                LongestGapMs, std::chrono::duration<double, std::milli>(Starts[I] - Starts[I - 1]).count());
        Rig->Game->FormDestroy();
        Rig.reset();
        State.ResumeTiming();
    }
    State.counters["frames_per_second"] = FramesPerSecond;
    State.counters["longest_gap_ms"] = LongestGapMs;
    State.counters["seconds"] = Seconds;
}
BENCHMARK(BM_SendPageFrames)
    ->ArgNames({"opengl", "sending"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
} // namespace vm

BENCHMARK_MAIN();
