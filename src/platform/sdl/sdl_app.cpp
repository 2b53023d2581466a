// Runs the game in a window: events, race clock and frames, sleeping between frames.
#include "platform/sdl/sdl_app.h"

#include "engine/frame_loop.h"
#include "pages/page_rows.h"
#include "platform/sdl/curl_http_client.h"
#include "platform/sdl/data_path.h"
#include "platform/sdl/sdl_audio_device.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_text_rasterizer.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/xdg_shell_opener.h"
#include "shell/game.h"

#include <SDL2/SDL.h>

#include <csignal>
#include <cstdio>
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

} // namespace

int RunGame()
{
    InstallStopHandlers();
    TSdlMessageBox Messages;
    TSdlVideo Video;
    std::string Error;
    if (!Video.Open(false, Error))
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
    TGamePlatform Platform{Video.Device(), Clock, Audio,  Messages,    FindDataDir(),
                           &Text,          &Http, &Shell, VM_SCORE_URL};
    TGame Game(Platform, GamePages());
    Game.FormCreate(static_cast<std::uint64_t>(SDL_GetPerformanceCounter()));
    Game.FormShow();
    SDL_StartTextInput();

    TThreadSleeper Sleeper;
    TFrameLoop Loop(Clock, Game.FrameTimer, Game.RaceTimer, Sleeper);
    bool Quit = false;
    while (!Quit)
    {
        SDL_Event Event;
        while (SDL_PollEvent(&Event))
            if (HandleEvent(Event, Game, Video.Device()))
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
    return 0;
}

} // namespace vm
