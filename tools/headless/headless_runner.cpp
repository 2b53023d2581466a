// velomarch-headless: the real game on the offscreen renderer and a virtual clock.
#include "headless_runner.h"

#include "autopilot_session.h"
#include "engine/audio_device.h"
#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/null_render_device.h"
#include "engine/picture.h"
#include "input_script.h"
#include "platform/sdl/curl_http_client.h"
#include "platform/sdl/data_path.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_text_rasterizer.h"
#include "platform/sdl/sdl_video.h"
#include "race/run_start.h"
#include "shell/game.h"
#include "state_json.h"

#include <SDL2/SDL.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vm {

namespace {

// Each frame is exactly one FrameRate-th of a second of game time: 1000 ticks of the clock.
constexpr std::int64_t ClockFrequency = 1000 * FrameRate;
constexpr std::int64_t TicksPerFrame = ClockFrequency / FrameRate;

bool ParseLong(const char* Text, long& Value)
{
    if (Text == nullptr || *Text == '\0')
        return false;
    char* End = nullptr;
    errno = 0;
    const long Result = std::strtol(Text, &End, 10);
    if (errno != 0 || *End != '\0')
        return false;
    Value = Result;
    return true;
}

void ApplyEvent(TGame& Game, const TScriptEvent& Event)
{
    switch (Event.Kind)
    {
    case TScriptEventKind::KeyDown: Game.FormKeyDown(Event.Key); break;
    case TScriptEventKind::KeyUp: Game.FormKeyUp(Event.Key); break;
    case TScriptEventKind::Move: Game.MouseMove(Event.X, Event.Y); break;
    case TScriptEventKind::ButtonDown: Game.MouseButton(true, Event.X, Event.Y); break;
    case TScriptEventKind::ButtonUp: Game.MouseButton(false, Event.X, Event.Y); break;
    case TScriptEventKind::Text: Game.TextInput(Event.Text); break;
    }
}

bool WriteShot(TSdlRenderDevice& Device, const std::string& Path)
{
    TPixels Pixels;
    Pixels.Width = Device.CapturedWidth();
    Pixels.Height = Device.CapturedHeight();
    Pixels.Argb = Device.Captured();
    if (Pixels.Argb.empty() && !Device.ReadPixels(Pixels.Argb, Pixels.Width, Pixels.Height))
        return false;
    // The picture is opaque: the back buffer's alpha is not part of what the player sees.
    for (std::uint32_t& P : Pixels.Argb)
        P |= 0xFF000000u;
    std::vector<std::uint8_t> Png;
    if (!EncodePng(Pixels, Png))
        return false;
    std::ofstream Out(Path, std::ios::binary);
    Out.write(reinterpret_cast<const char*>(Png.data()), static_cast<std::streamsize>(Png.size()));
    return static_cast<bool>(Out);
}

} // namespace

bool ParseHeadlessArgs(int Argc, char** Argv, THeadlessOptions& Options, std::string& Error)
{
    for (int I = 1; I < Argc; ++I)
    {
        const std::string Arg = Argv[I];
        const char* Value = I + 1 < Argc ? Argv[I + 1] : nullptr;
        auto NeedValue = [&]() {
            if (Value == nullptr)
            {
                Error = Arg + " needs a value";
                return false;
            }
            ++I;
            return true;
        };
        // A value that is a whole number of 0 or more.
        auto NeedCount = [&](long& Number) {
            if (!NeedValue())
                return false;
            if (!ParseLong(Value, Number) || Number < 0)
            {
                Error = Arg + " takes a whole number";
                return false;
            }
            return true;
        };
        long Number = 0;
        if (Arg == "--seed")
        {
            if (!NeedCount(Number))
                return false;
            Options.Seed = static_cast<std::uint64_t>(Number);
        }
        else if (Arg == "--frames")
        {
            if (!NeedCount(Number))
                return false;
            Options.Frames = Number;
        }
        else if (Arg == "--input")
        {
            if (!NeedValue())
                return false;
            Options.InputFile = Value;
        }
        else if (Arg == "--shot")
        {
            if (!NeedValue())
                return false;
            const std::string Shot = Value;
            const auto Colon = Shot.find(':');
            if (Colon == std::string::npos || !ParseLong(Shot.substr(0, Colon).c_str(), Number) ||
                Number < 0 || Colon + 1 >= Shot.size())
            {
                Error = "--shot takes FRAME:FILE.png";
                return false;
            }
            Options.Shots.emplace_back(Number, Shot.substr(Colon + 1));
        }
        else if (Arg == "--state")
        {
            if (!NeedValue())
                return false;
            Options.StateFile = Value;
        }
        else if (Arg == "--workdir")
        {
            if (!NeedValue())
                return false;
            Options.WorkDir = Value;
        }
        else if (Arg == "--data")
        {
            if (!NeedValue())
                return false;
            Options.DataDir = Value;
        }
        else if (Arg == "--autopilot")
            Options.Autopilot = true;
        else if (Arg == "--score-url")
        {
            if (!NeedValue())
                return false;
            Options.ScoreUrl = Value;
        }
        else if (Arg == "--null-renderer")
            Options.NullRenderer = true;
        else if (Arg == "--race")
        {
            if (!NeedCount(Number))
                return false;
            if (Number > 4)
            {
                Error = "--race takes a car number 0..4";
                return false;
            }
            Options.RaceCar = static_cast<int>(Number);
        }
        else
        {
            Error = "unknown argument " + Arg;
            return false;
        }
    }
    if (Options.NullRenderer && !Options.Shots.empty())
    {
        Error = "--shot needs a renderer: leave out --null-renderer";
        return false;
    }
    return true;
}

int RunHeadless(const THeadlessOptions& Options)
{
    // Wall time to the first presented frame, reported when VM_STARTUP_TIMING is set.
    const auto Started = std::chrono::steady_clock::now();
    const bool ReportStartup = std::getenv("VM_STARTUP_TIMING") != nullptr;
    std::vector<TScriptEvent> Events;
    if (!Options.InputFile.empty())
    {
        std::ifstream In(Options.InputFile, std::ios::binary);
        if (!In)
        {
            std::fprintf(stderr, "velomarch-headless: cannot read %s\n", Options.InputFile.c_str());
            return 2;
        }
        std::stringstream Buffer;
        Buffer << In.rdbuf();
        std::string Error;
        if (!ParseInputScript(Buffer.str(), Events, Error))
        {
            std::fprintf(stderr, "velomarch-headless: %s: %s\n", Options.InputFile.c_str(), Error.c_str());
            return 2;
        }
    }
    // Resolve paths given on the command line before changing the working folder.
    std::error_code Ec;
    const auto Absolute = [&](const std::string& Path) {
        return Path.empty() ? Path : std::filesystem::absolute(Path, Ec).string();
    };
    std::string DataDir = Absolute(Options.DataDir);
    std::string StateFile = Absolute(Options.StateFile);
    auto Shots = Options.Shots;
    for (auto& Shot : Shots)
        Shot.second = Absolute(Shot.second);
    if (!Options.WorkDir.empty())
    {
        std::filesystem::current_path(Options.WorkDir, Ec);
        if (Ec)
        {
            std::fprintf(stderr, "velomarch-headless: cannot use %s as the working folder\n",
                         Options.WorkDir.c_str());
            return 2;
        }
    }

    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    TSdlVideo Video;
    std::string Error;
    if (!Video.Open(true, Error))
    {
        std::fprintf(stderr, "velomarch-headless: no renderer: %s\n", Error.c_str());
        return 1;
    }
    if (DataDir.empty())
        DataDir = FindDataDir();
    TSdlMessageBox Messages(Video.Window());
    TManualClock Clock(ClockFrequency);
    // Silent: nobody listens to a headless run, and a mixer thread would cost time and make runs
    // depend on the machine's audio setup. Sound playback has its own tests on the real mixer.
    TSilentAudioDevice Audio;
    TSdlTextRasterizer Text;
    TNullRenderDevice NullDevice;
    IRenderDevice& Render = Options.NullRenderer ? static_cast<IRenderDevice&>(NullDevice) : Video.Device();
    // Scores go to the real endpoint (a test points it at its own server); no browser is opened.
    TCurlHttpClient Http;
    TGamePlatform Platform{Render, Clock, Audio,   Messages,         DataDir,
                           &Text,  &Http, nullptr, Options.ScoreUrl, false};
    int Status = 0;
    {
        TGame Game(Platform);
        Game.FormCreate(Options.Seed);
        Game.FormShow();
        if (Options.RaceCar >= 0)
        {
            // Straight into a run, as the car page's start action would: the logo is left unseen.
            Game.LeaveState(ssLogo);
            Game.State.ScreenState = ssChooseCar;
            Game.Catalogues.FCarIndex = Options.RaceCar;
            StartRun(Game);
        }
        TAutopilotSession Autopilot;
        std::vector<std::pair<long, int>> Screens{{0, Game.State.ScreenState}};
        std::size_t NextEvent = 0;
        long Frame = 0;
        while (Frame < Options.Frames && !Game.Terminated())
        {
            ++Frame;
            while (NextEvent < Events.size() && Events[NextEvent].Frame <= Frame)
                ApplyEvent(Game, Events[NextEvent++]);
            bool Shot = false;
            for (const auto& S : Shots)
                Shot = Shot || S.first == Frame;
            if (Shot)
                Video.Device().RequestCapture();
            Clock.Advance(TicksPerFrame);
            Game.RaceTimer.Poll();
            if (Options.Autopilot)
                Autopilot.Frame(Game, Frame);
            Game.FrameTimer.Tick();
            if (Frame == 1 && ReportStartup)
                std::fprintf(
                    stderr, "velomarch-headless: first frame presented after %.1f ms\n",
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Started)
                        .count());
            if (Game.State.ScreenState != Screens.back().second)
                Screens.emplace_back(Frame, Game.State.ScreenState);
            for (const auto& S : Shots)
                if (S.first == Frame && !WriteShot(Video.Device(), S.second))
                {
                    std::fprintf(stderr, "velomarch-headless: cannot write %s\n", S.second.c_str());
                    Status = 1;
                }
        }
        if (!StateFile.empty())
        {
            std::ofstream Out(StateFile);
            Out << GameStateJson(Game, Frame, Screens, Options.Autopilot ? &Autopilot.Record() : nullptr);
            if (!Out)
            {
                std::fprintf(stderr, "velomarch-headless: cannot write %s\n", StateFile.c_str());
                Status = 1;
            }
        }
        Game.FormDestroy();
    }
    return Status;
}

} // namespace vm
