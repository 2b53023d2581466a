// velomarch-headless: the real game on the offscreen renderer and a virtual clock.
#include "headless_runner.h"

#include "autopilot_session.h"
#include "engine/audio_device.h"
#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/image_list_prefetch.h"
#include "engine/null_render_device.h"
#include "engine/picture.h"
#include "first_race_pilot.h"
#include "input_script.h"
#include "pages/page_rows.h"
#include "persist/replay_reader.h"
#include "platform/sdl/curl_http_client.h"
#include "platform/sdl/data_path.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_text_rasterizer.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/user_folders.h"
#include "race/replay_player.h"
#include "race/run_start.h"
#include "shell/game.h"
#include "state_json.h"
#include "virtual_pads.h"

#include <CLI/CLI.hpp>
#include <SDL2/SDL.h>

#include <algorithm>
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

// A whole number of 0 or more, written in decimal.
bool ParseCount(const std::string& Text, long& Value)
{
    if (Text.empty())
        return false;
    char* End = nullptr;
    errno = 0;
    const long Result = std::strtol(Text.c_str(), &End, 10);
    if (errno != 0 || *End != '\0' || Result < 0)
        return false;
    Value = Result;
    return true;
}

// The value of a count its option's check has accepted.
long CountOf(const std::string& Text)
{
    long Value = 0;
    ParseCount(Text, Value);
    return Value;
}

void ApplyEvent(TGame& Game, TVirtualPads* Pads, const TScriptEvent& Event)
{
    switch (Event.Kind)
    {
    case TScriptEventKind::Pad:
        if (Pads != nullptr)
            Pads->Apply(Event);
        break;
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

// Plays Replay on the game to its last frame, then reports where it ended on stdout and writes the
// state file (with the run's part) when asked. Returns the exit status: 1 when the playback ends
// otherwise than its recording says, or a shot or the state cannot be written.
int PlayRecording(TGame& Game, const TReplay& Replay, TManualClock& Clock, TSdlVideo& Video,
                  const std::vector<std::pair<long, std::string>>& Shots, const std::string& StateFile)
{
    TReplayPlayer Player(Game, Replay);
    Player.AdvanceClock = [&Clock] { Clock.Advance(TicksPerFrame); };
    std::string Error;
    if (!Player.Start(Error))
    {
        std::fprintf(stderr, "velomarch-headless: %s\n", Error.c_str());
        return 2;
    }
    int Status = 0;
    std::vector<std::pair<long, int>> Screens{{0, Game.State.ScreenState}};
    while (!Player.Done())
    {
        const long Next = Player.Frame() + 1;
        const bool Shot =
            std::any_of(Shots.begin(), Shots.end(), [Next](const auto& S) { return S.first == Next; });
        if (Shot)
            Video.Device().RequestCapture();
        Player.StepFrame();
        if (Game.State.ScreenState != Screens.back().second)
            Screens.emplace_back(Player.Frame(), Game.State.ScreenState);
        for (const auto& S : Shots)
            if (Shot && S.first == Next && !WriteShot(Video.Device(), S.second))
            {
                std::fprintf(stderr, "velomarch-headless: cannot write %s\n", S.second.c_str());
                Status = 1;
            }
    }
    const TGameState& S = Game.State;
    std::printf("replay: frame %d of %d, screen %d, score %d, lives %d, race %d (%s run)\n", Player.Frame(),
                Player.FrameCount(), S.ScreenState, S.Score, S.Lives, S.RaceNumber,
                Replay.Finished ? "finished" : "unfinished");
    if (Replay.Finished && (S.Score != Replay.End.Score || S.Lives != Replay.End.Lives ||
                            S.RaceNumber != Replay.End.RaceNumber || S.PlayerName != Replay.End.PlayerName))
    {
        std::printf("replay: differs from its recording, which ended with score %d, lives %d, race %d\n",
                    Replay.End.Score, Replay.End.Lives, Replay.End.RaceNumber);
        Status = 1;
    }
    if (!StateFile.empty())
    {
        std::ofstream Out(StateFile);
        Out << GameStateJson(Game, Player.Frame(), Screens, nullptr, -1, RunStateJson(Game, Player.Frame()));
        if (!Out)
        {
            std::fprintf(stderr, "velomarch-headless: cannot write %s\n", StateFile.c_str());
            Status = 1;
        }
    }
    return Status;
}

} // namespace

std::unique_ptr<TCommandLine> HeadlessCommandLine(THeadlessOptions& Options)
{
    auto CommandLine = std::make_unique<TCommandLine>(
        "velomarch-headless",
        "velomarch-headless [--seed N] [--frames N] [--input FILE] [--shot FRAME:FILE.png]...\n"
        "                   [--state FILE.json] [--workdir DIR] [--data DIR] [--race CAR]\n"
        "                   [--autopilot [--autopilot-watch FRAMES]] [--first-race-pilot keys|pad]\n"
        "                   [--null-renderer] [--score-url URL] [--live-send] [--record FILE]\n"
        "velomarch-headless --replay FILE [--state FILE.json] [--shot FRAME:FILE.png]...\n"
        "                   [--workdir DIR] [--data DIR] [--null-renderer]",
        "The game with no window, on the offscreen OpenGL renderer and a virtual clock of exactly\n"
        "1/90 s a frame, for tests and reviews.");
    CLI::App& App = CommandLine->App();
    const auto Count = [](const std::string& Text) {
        long Number = 0;
        return ParseCount(Text, Number) ? std::string() : "takes a whole number of 0 or more, not " + Text;
    };
    App.add_option_function<std::string>(
           "--seed", [&Options](const std::string& Text) { Options.Seed = CountOf(Text); },
           "the game's random seed (default 1)")
        ->type_name("N")
        ->check(Count);
    App.add_option_function<std::string>(
           "--frames", [&Options](const std::string& Text) { Options.Frames = CountOf(Text); },
           "frames to run (default 0)")
        ->type_name("N")
        ->check(Count);
    App.add_option("--input", Options.InputFile, "the input script to play")->type_name("FILE");
    App.add_option_function<std::vector<std::string>>(
           "--shot",
           [&Options](const std::vector<std::string>& Shots) {
               for (const std::string& Shot : Shots)
                   Options.Shots.emplace_back(CountOf(Shot.substr(0, Shot.find(':'))),
                                              Shot.substr(Shot.find(':') + 1));
           },
           "save the picture of frame FRAME as a PNG file; again for more")
        ->type_name("FRAME:FILE.png")
        ->take_all()
        ->allow_extra_args(false)
        ->check([](const std::string& Shot) {
            const auto Colon = Shot.find(':');
            long Frame = 0;
            return Colon != std::string::npos && ParseCount(Shot.substr(0, Colon), Frame) &&
                           Colon + 1 < Shot.size()
                       ? std::string()
                       : "takes FRAME:FILE.png, not " + Shot;
        });
    App.add_option("--state", Options.StateFile, "write the game's state at the end as JSON")
        ->type_name("FILE.json");
    App.add_option("--workdir", Options.WorkDir,
                   "keep every file of the player in DIR, the working folder\n"
                   "(default: the per-user folders, as the game does)")
        ->type_name("DIR");
    App.add_option("--data", Options.DataDir,
                   "the folder holding Data/ and Sounds/ (default: $VELOMARCH_DATA,\n"
                   "else the one next to the program, else the installed one)")
        ->type_name("DIR");
    App.add_option_function<std::string>(
           "--race",
           [&Options](const std::string& Text) { Options.RaceCar = static_cast<int>(CountOf(Text)); },
           "start a run with car CAR (0..4) straight after start-up")
        ->type_name("CAR")
        ->check([](const std::string& Text) {
            long Car = 0;
            return ParseCount(Text, Car) && Car <= 4 ? std::string() : "takes a car number 0..4, not " + Text;
        });
    App.add_flag("--autopilot", Options.Autopilot,
                 "drive the player's car, and click on through the pages between races");
    App.add_option("--autopilot-watch", Options.AutopilotWatch,
                   "with --autopilot: on each race-over and your-score page, click Replay first,\n"
                   "watch the run at x4 for FRAMES frames (or to its end), then go back with Esc")
        ->type_name("FRAMES")
        ->check(CLI::NonNegativeNumber);
    App.add_option("--first-race-pilot", Options.FirstRacePilot,
                   "drive the first race as the autopilot would, with the keys or through the\n"
                   "script's game controller (pad 1, which the script connects), leaving every\n"
                   "page to the script")
        ->type_name("keys|pad")
        ->check(CLI::IsMember({"keys", "pad"}));
    App.add_flag("--null-renderer", Options.NullRenderer, "draw nothing, for fast runs without pictures");
    App.add_option("--score-url", Options.ScoreUrl, "the high-score endpoint (default " VM_SCORE_URL ")")
        ->type_name("URL");
    App.add_flag("--live-send", Options.LiveSend,
                 "let the frames go on while a score is sent, as the game does (the frame\n"
                 "where the outcome lands then varies); by default each frame waits for a\n"
                 "send in flight to end, so runs repeat exactly");
    App.add_option("--record", Options.RecordFile,
                   "record the session's run (started on the car page or with --race) to FILE,\n"
                   "written as FILE.part while it runs; a later run replaces it")
        ->type_name("FILE");
    App.add_option("--replay", Options.ReplayFile,
                   "play the recorded run in FILE to its last frame instead of a session, and\n"
                   "report where it ends; nothing is saved and no score is sent")
        ->type_name("FILE");
    App.add_option("--replays", Options.ReplayFolder,
                   "keep the session's runs in DIR as the game keeps them in the player's folder,\n"
                   "and list DIR on the replays page (by default no run is kept)")
        ->type_name("DIR");
    App.footer("The input script has one event a line: FRAME down VK, FRAME up VK, FRAME press VK,\n"
               "FRAME move X Y, FRAME click X Y, FRAME text TEXT, and for game controllers (SDL's\n"
               "virtual joysticks) FRAME pad [N] connect|disconnect, FRAME pad [N] down|up|press\n"
               "BUTTON, FRAME pad [N] axis AXIS VALUE; # starts a comment.");
    App.callback([&Options] {
        if (Options.AutopilotWatch >= 0 && !Options.Autopilot)
            throw CLI::ValidationError("--autopilot-watch needs --autopilot");
        if (Options.NullRenderer && !Options.Shots.empty())
            throw CLI::ValidationError("--shot needs a renderer: leave out --null-renderer");
        if (!Options.ReplayFile.empty() &&
            (!Options.InputFile.empty() || Options.Autopilot || Options.RaceCar >= 0 ||
             !Options.FirstRacePilot.empty() || Options.Frames != 0 || !Options.RecordFile.empty()))
            throw CLI::ValidationError("--replay plays the recording alone: leave out --input, --autopilot, "
                                       "--race, --first-race-pilot, --frames and --record");
    });
    return CommandLine;
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
    std::string Error;
    const std::string DataDir = FindDataDir(Absolute(Options.DataDir), Error);
    if (DataDir.empty())
    {
        std::fprintf(stderr, "velomarch-headless: %s\n", Error.c_str());
        return 2;
    }
    std::string StateFile = Absolute(Options.StateFile);
    const std::string RecordFile = Absolute(Options.RecordFile);
    TReplay Replay;
    if (!Options.ReplayFile.empty() &&
        (!ReadReplayFile(Options.ReplayFile, Replay, Error) || !TReplayPlayer::CanPlay(Replay, Error)))
    {
        std::fprintf(stderr, "velomarch-headless: %s\n", Error.c_str());
        return 2;
    }
    auto Shots = Options.Shots;
    for (auto& Shot : Shots)
        Shot.second = Absolute(Shot.second);

    // The menu pictures are read and decoded while the renderer opens.
    // The null renderer decodes a picture only for its collision mask, so none is decoded ahead.
    TImageListPrefetch MenuPictures(DataDir + "/" + MenuPicturesFile, Options.NullRenderer ? 0 : 8);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    TSdlVideo Video;
    // The null renderer needs no window: no GL driver is loaded, which keeps fast runs small.
    if (!Options.NullRenderer && !Video.Open(true, Error))
    {
        std::fprintf(stderr, "velomarch-headless: no renderer: %s\n", Error.c_str());
        return 1;
    }
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
    Platform.MenuPictures = &MenuPictures;
    // Game controllers only for scripts that use them: SDL's virtual joysticks, read through the
    // game's own controller code.
    std::unique_ptr<TVirtualPads> Pads;
    if (Options.FirstRacePilot == "pad" ||
        std::any_of(Events.begin(), Events.end(),
                    [](const TScriptEvent& Event) { return Event.Kind == TScriptEventKind::Pad; }))
    {
        Pads = std::make_unique<TVirtualPads>();
        if (!Pads->Open(Error))
        {
            std::fprintf(stderr, "velomarch-headless: %s\n", Error.c_str());
            return 1;
        }
        Platform.PadRumble = &Pads->Pads();
    }
    // Every file in --workdir when given, else in the per-user folders as the game keeps them.
    if (!ChooseUserFiles(Options.WorkDir, Platform, Error))
    {
        std::fprintf(stderr, "velomarch-headless: %s\n", Error.c_str());
        return 2;
    }
    // Runs are kept only where asked, never in the player's own folder.
    Platform.Files.ReplayFolder = Options.ReplayFolder;
    int Status = 0;
    {
        TGame Game(Platform, GamePages());
        // Nobody reads text off the null device: it is measured for its place, not rasterised.
        Game.Screen.RasteriseUnseenText = !Options.NullRenderer;
        Game.FormCreate(Options.Seed);
        Game.FormShow();
        if (!Options.ReplayFile.empty())
        {
            Status = PlayRecording(Game, Replay, Clock, Video, Shots, StateFile);
            Game.FormDestroy();
            return Status;
        }
        // The run's part of the state, as it stood when its recording ended.
        std::string RunJson;
        if (!RecordFile.empty())
        {
            Game.Recorder.NextPath = [RecordFile] { return RecordFile; };
            Game.Recorder.OnFinished = [&Game, &RunJson](const std::string& Path, const TReplayEnd* End) {
                RunJson = RunStateJson(Game, Game.Recorder.Frames());
                std::printf("record: %s, %d frames, %lld bytes (%s run)\n", Path.c_str(),
                            Game.Recorder.Frames(), Game.Recorder.Bytes(),
                            End != nullptr ? "finished" : "unfinished");
            };
        }
        // When the car page's start action ran, for the time to the first race frame.
        std::chrono::steady_clock::time_point RunStarted;
        if (Options.RaceCar >= 0)
        {
            RunStarted = std::chrono::steady_clock::now();
            // Straight into a run, as the car page's start action would: the logo is left unseen.
            Game.LeaveState(ssLogo);
            Game.State.ScreenState = ssChooseCar;
            Game.Catalogues.FCarIndex = Options.RaceCar;
            StartRun(Game);
        }
        TAutopilotSession Autopilot;
        Autopilot.WatchFrames = Options.AutopilotWatch;
        std::unique_ptr<TFirstRacePilot> Pilot;
        if (!Options.FirstRacePilot.empty())
            Pilot = std::make_unique<TFirstRacePilot>(Options.FirstRacePilot == "pad" ? Pads.get() : nullptr);
        std::vector<std::pair<long, int>> Screens{{0, Game.State.ScreenState}};
        std::size_t NextEvent = 0;
        long Frame = 0;
        while (Frame < Options.Frames && !Game.Terminated())
        {
            ++Frame;
            while (NextEvent < Events.size() && Events[NextEvent].Frame <= Frame)
                ApplyEvent(Game, Pads.get(), Events[NextEvent++]);
            if (Pilot != nullptr)
                Pilot->Frame(Game);
            if (Pads != nullptr)
                Pads->Deliver(Game);
            bool Shot = false;
            for (const auto& S : Shots)
                Shot = Shot || S.first == Frame;
            if (Shot)
                Video.Device().RequestCapture();
            Clock.Advance(TicksPerFrame);
            Game.RaceTimer.Poll();
            if (Options.Autopilot)
                Autopilot.Frame(Game, Frame);
            // A score sent on this frame's input lands on this frame, however long the network
            // takes in real time.
            if (!Options.LiveSend)
                Game.Scores->WaitForSend();
            Game.FrameTimer.Tick();
            if (Frame == 1 && ReportStartup)
            {
                const auto Now = std::chrono::steady_clock::now();
                std::fprintf(stderr, "velomarch-headless: first frame presented after %.1f ms\n",
                             std::chrono::duration<double, std::milli>(Now - Started).count());
                // The race pictures' loading and the first race's set-up, as the player waits for them.
                if (Options.RaceCar >= 0)
                    std::fprintf(
                        stderr,
                        "velomarch-headless: first race frame presented %.1f ms after the car page's start\n",
                        std::chrono::duration<double, std::milli>(Now - RunStarted).count());
            }
            if (Game.State.ScreenState != Screens.back().second)
                Screens.emplace_back(Frame, Game.State.ScreenState);
            for (const auto& S : Shots)
                if (S.first == Frame && !WriteShot(Video.Device(), S.second))
                {
                    std::fprintf(stderr, "velomarch-headless: cannot write %s\n", S.second.c_str());
                    Status = 1;
                }
        }
        // A recording being watched is left first, as the player would, so that the state written
        // is the game's own and not the playback's.
        if (Game.Watching())
        {
            Game.FormKeyDown(vkEscape);
            Game.FormKeyUp(vkEscape);
        }
        // A run still going is recorded up to here, unfinished.
        Game.Recorder.Stop(Game);
        if (!StateFile.empty())
        {
            std::ofstream Out(StateFile);
            Out << GameStateJson(Game, Frame, Screens, Options.Autopilot ? &Autopilot.Record() : nullptr,
                                 Pads != nullptr ? Pads->Rumbles() : -1, RunJson);
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
