// Runs the game in a window: events, race clock and frames, sleeping between frames.
#include "platform/sdl/sdl_app.h"

#include "engine/frame_loop.h"
#include "engine/frame_timing_stats.h"
#include "engine/image_list_prefetch.h"
#include "pages/page_rows.h"
#include "platform/sdl/curl_http_client.h"
#include "platform/sdl/data_path.h"
#include "platform/sdl/sdl_audio_device.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_text_rasterizer.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/user_folders.h"
#include "platform/sdl/xdg_shell_opener.h"
#include "shell/game.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace vm {

namespace {

constexpr const char* NoDeviceText = "Could not find any compatible Direct3D\ndevices.";

// Set by SIGTERM and SIGINT; the main loop saves both files and ends the program.
volatile std::sig_atomic_t StopRequested = 0;

void RequestStop(int) { StopRequested = 1; }

// The game's own handlers: the window's close button is refused outside the exit screen, but a
// stop from the system must still end the program with the player's files saved.
void InstallStopHandlers()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction Action
    {};
    Action.sa_handler = RequestStop;
    sigemptyset(&Action.sa_mask);
    sigaction(SIGTERM, &Action, nullptr);
    sigaction(SIGINT, &Action, nullptr);
}
constexpr const char* ExitText = "This application will now exit.";

// The value of the environment variable Name, or "" when it is unset.
std::string Environment(const char* Name)
{
    const char* Value = std::getenv(Name);
    return Value != nullptr ? Value : "";
}

// The one line the player sees when no display opens, with why; always returns 1.
int NoDisplay(const std::string& SdlError)
{
    const std::string X11 = Environment("DISPLAY"), Wayland = Environment("WAYLAND_DISPLAY");
    std::string Why = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    if (!X11.empty() || !Wayland.empty())
        Why = (X11.empty() ? "WAYLAND_DISPLAY=" + Wayland : "DISPLAY=" + X11) + " cannot be reached" +
              (SdlError.empty() ? "" : ": " + SdlError);
    std::fprintf(stderr,
                 "velomarch: no display to open the window on (%s); start the game from a desktop session\n",
                 Why.c_str());
    return 1;
}

// SDL's stand-ins that draw nowhere: taken only when asked for by name.
bool DrawsNowhere(const char* Driver)
{
    return Driver == nullptr || SDL_strcmp(Driver, "offscreen") == 0 || SDL_strcmp(Driver, "dummy") == 0 ||
           SDL_strcmp(Driver, "evdev") == 0;
}

} // namespace

int RunGame(const TGameOptions& Options)
{
    // Wall time to the first presented frame, reported when VM_STARTUP_TIMING is set.
    const auto Started = std::chrono::steady_clock::now();
    const bool ReportStartup = std::getenv("VM_STARTUP_TIMING") != nullptr;
    InstallStopHandlers();
    std::string Error;
    const std::string DataDir = FindDataDir(Options.DataDir, Error);
    if (DataDir.empty())
    {
        std::fprintf(stderr, "velomarch: %s\n", Error.c_str());
        return 2;
    }
    // Without a display SDL would fall back on a driver that draws nowhere and the game would run
    // unseen until killed; unless such a driver was asked for, say so and stop at once.
    const bool AskedForDriver = !Environment("SDL_VIDEODRIVER").empty();
    if (!AskedForDriver)
    {
        // Only the display systems the session names are tried: no stand-in, and no probe of a
        // system that is not there (which would print its own errors).
        const bool HasX11 = !Environment("DISPLAY").empty();
        const bool HasWayland = !Environment("WAYLAND_DISPLAY").empty();
        if (!HasX11 && !HasWayland)
            return NoDisplay("");
        if (HasX11 != HasWayland)
            SDL_SetHint(SDL_HINT_VIDEODRIVER, HasX11 ? "x11" : "wayland");
    }
    // The menu pictures are read and decoded while the window and its renderer open.
    TImageListPrefetch MenuPictures(DataDir + "/" + MenuPicturesFile);
    TSdlMessageBox Messages;
    TSdlVideo Video;
    const bool Opened = Video.Open(false, Error);
    if (!AskedForDriver && DrawsNowhere(SDL_GetCurrentVideoDriver()))
        return NoDisplay(Opened ? std::string() : Error);
    if (!Opened)
    {
        std::fprintf(stderr, "video: %s\n", Error.c_str());
        Messages.Show(NoDeviceText, "Error");
        Messages.Show(ExitText, "Error");
        return 1;
    }
    Messages.SetWindow(Video.Window());
    TSdlClock Clock;
    // Without a sound card the device stays closed and the game runs silent.
    TSdlAudioDevice Audio;
    TSdlTextRasterizer Text;
    TCurlHttpClient Http;
    TXdgShellOpener Shell;
    TGamePlatform Platform{Video.Device(), Clock, Audio,  Messages,    DataDir,
                           &Text,          &Http, &Shell, VM_SCORE_URL};
    Platform.FullScreenThisStart = Options.FullScreen;
    Platform.MenuPictures = &MenuPictures;
    if (!ChooseUserFiles(Options.WorkDir, Platform, Error))
    {
        std::fprintf(stderr, "velomarch: %s\n", Error.c_str());
        return 2;
    }
    // Pads work from the first page; a problem with them is told once the game can show it.
    TSdlPads Pads;
    std::string PadProblem;
    Pads.Open(Platform.Files.PadMappingsFile, PadProblem);
    Platform.PadRumble = &Pads;
    TGame Game(Platform, GamePages());
    if (ReportStartup)
    {
        // Each frame timer tick draws and presents one frame; the first one is told.
        Game.FrameTimer.OnTimer = [Started, Frame = Game.FrameTimer.OnTimer, Told = false]() mutable {
            Frame();
            if (!Told)
                std::fprintf(
                    stderr, "velomarch: first frame presented after %.1f ms\n",
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Started)
                        .count());
            Told = true;
        };
    }
    // With VM_FRAME_TIMING set, race frames are timed against when the frame timer had them due
    // (one period after the previous frame started) and told on exit.
    std::unique_ptr<TFrameTimingStats> FrameTiming;
    if (std::getenv("VM_FRAME_TIMING") != nullptr)
    {
        const std::int64_t Frequency = Clock.Frequency();
        FrameTiming = std::make_unique<TFrameTimingStats>(
            Frequency, std::max<std::int64_t>(1, Frequency / std::max(1, Game.FrameTimer.TargetFPS())),
            Frequency / 1000);
        Game.FrameTimer.OnTimer = [&Game, &Clock, Stats = FrameTiming.get(),
                                   Frame = Game.FrameTimer.OnTimer] {
            Stats->FrameStarted(Clock.Now(), (Game.State.ScreenState & 0x7F) == ssRace);
            Frame();
        };
    }
    Game.FormCreate(static_cast<std::uint64_t>(SDL_GetPerformanceCounter()));
    Game.FormShow();
    if (!PadProblem.empty())
    {
        std::fprintf(stderr, "velomarch: %s\n", PadProblem.c_str());
        Game.Notices.Post("Game controllers", PadProblem + ".");
    }
    Pads.OpenConnected(Game);
    SDL_StartTextInput();

    TThreadSleeper Sleeper;
    TFrameLoop Loop(Clock, Game.FrameTimer, Game.RaceTimer, Sleeper);
    bool Quit = false;
    while (!Quit)
    {
        SDL_Event Event;
        while (SDL_PollEvent(&Event))
            if (!Pads.HandleEvent(Event, Game) && HandleEvent(Event, Game, Video.Device()))
                Quit = true;
        if (Game.Terminated())
            Quit = true;
        if (StopRequested != 0 && !Quit)
        {
            Game.SaveFiles();
            Quit = true;
        }
        if (!Quit)
            Loop.Pass();
    }
    Game.FormDestroy();
    if (FrameTiming)
        std::fprintf(stderr, "velomarch: frame timing: %s\n", FrameTiming->Summary("race frames").c_str());
    return 0;
}

} // namespace vm
