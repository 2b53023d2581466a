// Playing uploaded recordings: the checks before, the playback on a game of its own, the queue.
#include "replay_verifier.h"

#include "common/build_info.h"
#include "common/player_name.h"
#include "engine/audio_device.h"
#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/message_box.h"
#include "engine/null_render_device.h"
#include "pages/page_rows.h"
#include "persist/replay_reader.h"
#include "race/replay_player.h"
#include "shell/game.h"
#include "shell/run_recorder.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace vm::scored {

namespace {

// The manual clock moves one frame's worth of ticks a frame, as on the recording's own runs.
constexpr std::int64_t ClockFrequency = 1000 * FrameRate;
constexpr std::int64_t TicksPerFrame = ClockFrequency / FrameRate;
// Frames played between two looks at the CPU time spent.
constexpr std::int32_t BudgetCheckFrames = 64;

double ThreadCpuSeconds()
{
    timespec Time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &Time);
    return static_cast<double>(Time.tv_sec) + static_cast<double>(Time.tv_nsec) * 1e-9;
}

// Keeps what the game would show in a box: a game that could not load its data says so here.
class TQuietMessageBox : public IMessageBox
{
public:
    void Show(const std::string& Text, const std::string&) override
    {
        if (FFirst.empty())
            FFirst = Text;
    }
    const std::string& First() const { return FFirst; }

private:
    std::string FFirst;
};

TVerdict Verdict(EVerdict Outcome, std::string Reason) { return TVerdict{Outcome, std::move(Reason), 0, 0}; }

// The name as the server stores it, so a recording's name compares with the row's.
std::string StoredName(const std::string& Name)
{
    return CleanName(Name, 0, MaxNameCharacters).value_or(Name);
}

} // namespace

std::optional<TVerdict> CheckRecording(const std::string& Bytes, const TVerifierOptions& Options,
                                       TReplay* Out)
{
    TReplay Replay;
    std::string Error;
    if (!ReadReplay(Bytes, Replay, Error))
        return Verdict(EVerdict::Unplayable, Error);
    if (Replay.Header.GameVersion != BuildVersion)
        return Verdict(EVerdict::OtherVersion, "recorded with Velomarch " + Replay.Header.GameVersion +
                                                   "; this server plays Velomarch " + BuildVersion);
    if (!Replay.Finished)
        return Verdict(EVerdict::Unplayable, "the recording is not of a whole run");
    if (Replay.Frames > Options.FMaxFrames)
        return Verdict(EVerdict::Unplayable, "the recording is longer than the server plays");
    if (!TReplayPlayer::CanPlay(Replay, Error))
        return Verdict(EVerdict::Unplayable, Error);
    if (Out != nullptr)
        *Out = std::move(Replay);
    return std::nullopt;
}

TVerdict PlayRecording(const std::string& Bytes, const TExpectedRun& Expected,
                       const TVerifierOptions& Options, const std::string& Folder)
{
    if (Options.FDataDir.empty())
        return Verdict(EVerdict::Unavailable, "this server does not play recordings");
    TReplay Replay;
    if (auto Refused = CheckRecording(Bytes, Options, &Replay))
        return *Refused;

    const double CpuStart = ThreadCpuSeconds();
    TNullRenderDevice Render;
    TManualClock Clock(ClockFrequency);
    TSilentAudioDevice Audio;
    TQuietMessageBox Messages;
    TGamePlatform Platform{Render,  Clock,   Audio,   Messages, Options.FDataDir,
                           nullptr, nullptr, nullptr, {},       false};
    // The player's files are looked for in a folder of the verifier's own, which holds none: the
    // game starts from its defaults, and the recording's start replaces what the run reads.
    const std::filesystem::path Files(Folder);
    Platform.Files.SettingsFile = (Files / "Config.cfg").string();
    Platform.Files.ProgressFile = (Files / "Configdat.cfg").string();
    Platform.Files.ShortcutFolder = Folder;
    Platform.Files.ControlsFile = (Files / "Controls.cfg").string();
    Platform.Files.PadMappingsFile = (Files / "gamecontrollerdb.txt").string();

    TGame Game(Platform, GamePages());
    Game.Screen.RasteriseUnseenText = false;
    Game.FormCreate(1);
    Game.FormShow();
    if (!Messages.First().empty())
    {
        std::fprintf(stderr, "velomarch-scored: cannot play recordings: %s\n", Messages.First().c_str());
        return Verdict(EVerdict::Unavailable, "this server cannot play recordings now");
    }
    TVerdict Result;
    {
        TReplayPlayer Player(Game, Replay);
        Player.AdvanceClock = [&Clock] { Clock.Advance(TicksPerFrame); };
        std::string Error;
        if (!Player.Start(Error))
            return Verdict(EVerdict::Unplayable, Error);
        while (Player.StepFrame())
        {
            if (Player.Frame() % BudgetCheckFrames == 0 &&
                ThreadCpuSeconds() - CpuStart > Options.FCpuSeconds)
            {
                Result = Verdict(EVerdict::OverBudget, "the recording takes too long to play");
                Result.FFrames = Player.Frame();
                Result.FCpuSeconds = ThreadCpuSeconds() - CpuStart;
                return Result;
            }
        }
        Result.FFrames = Player.Frame();
    }
    Result.FCpuSeconds = ThreadCpuSeconds() - CpuStart;
    const TGameState& State = Game.State;
    if (IsRunPage(State.ScreenState))
    {
        Result.FOutcome = EVerdict::Mismatch;
        Result.FReason = "the recording's run does not end";
    }
    else if (State.Score != Expected.FScore)
    {
        Result.FOutcome = EVerdict::Mismatch;
        Result.FReason = "the recording's run ends with score " + std::to_string(State.Score) + ", not " +
                         std::to_string(Expected.FScore);
    }
    else if (StoredName(State.PlayerName) != Expected.FName)
    {
        Result.FOutcome = EVerdict::Mismatch;
        Result.FReason = "the recording's run is another player's";
    }
    else
        Result.FOutcome = EVerdict::Verified;
    return Result;
}

TReplayVerifier::TReplayVerifier(TVerifierOptions Options) : FOptions(std::move(Options))
{
    FOptions.FThreads = std::max(1, FOptions.FThreads);
    FOptions.FQueue = std::max(0, FOptions.FQueue);
    std::string Template = (std::filesystem::temp_directory_path() / "velomarch-scored-XXXXXX").string();
    if (mkdtemp(Template.data()) != nullptr)
        FFolder = Template;
    else
    {
        std::fprintf(stderr, "velomarch-scored: no folder for playing recordings; none is played\n");
        FOptions.FDataDir.clear();
    }
    for (int I = 0; I < FOptions.FThreads; ++I)
        FThreads.emplace_back([this] { Work(); });
}

TReplayVerifier::~TReplayVerifier()
{
    Stop();
    if (!FFolder.empty())
    {
        std::error_code Ignored;
        std::filesystem::remove_all(FFolder, Ignored);
    }
}

bool TReplayVerifier::Enqueue(std::string Bytes, TExpectedRun Expected, TDone Done)
{
    {
        const std::lock_guard Lock(FMutex);
        if (FStopping || static_cast<int>(FJobs.size()) >= FOptions.FQueue + FOptions.FThreads - FPlaying)
            return false;
        FJobs.push_back(TJob{std::move(Bytes), std::move(Expected), std::move(Done)});
    }
    FWake.notify_one();
    return true;
}

int TReplayVerifier::RetryAfter() const
{
    const std::lock_guard Lock(FMutex);
    // The queue's turn comes round in about the time its recordings take on the threads.
    const double Seconds = FSecondsPerJob * static_cast<double>(FJobs.size() + 1) / FOptions.FThreads;
    return static_cast<int>(std::clamp(std::ceil(Seconds), 1.0, 3600.0));
}

int TReplayVerifier::Pending() const
{
    const std::lock_guard Lock(FMutex);
    return static_cast<int>(FJobs.size()) + FPlaying;
}

void TReplayVerifier::Stop()
{
    std::deque<TJob> Left;
    {
        const std::lock_guard Lock(FMutex);
        if (FStopping && FThreads.empty())
            return;
        FStopping = true;
        Left.swap(FJobs);
    }
    FWake.notify_all();
    for (TJob& Job : Left)
        Job.Done(Verdict(EVerdict::Unavailable, "the server is stopping"));
    for (std::thread& Thread : FThreads)
        Thread.join();
    FThreads.clear();
}

void TReplayVerifier::Work()
{
    // Playing yields to the threads that answer requests: they keep their latency while it runs.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), FOptions.FNice);
    for (;;)
    {
        TJob Job;
        {
            std::unique_lock Lock(FMutex);
            FWake.wait(Lock, [this] { return FStopping || !FJobs.empty(); });
            if (FStopping)
                return;
            Job = std::move(FJobs.front());
            FJobs.pop_front();
            ++FPlaying;
        }
        const auto Started = std::chrono::steady_clock::now();
        TVerdict Result;
        try
        {
            Result = PlayRecording(Job.Bytes, Job.Expected, FOptions, FFolder);
        }
        catch (const std::exception& Failure)
        {
            std::fprintf(stderr, "velomarch-scored: playing a recording failed: %s\n", Failure.what());
            Result = Verdict(EVerdict::Unavailable, "the server could not play the recording");
        }
        // Storing the verdict and sending the answer are part of the job.
        Job.Done(Result);
        const double Seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - Started).count();
        const std::lock_guard Lock(FMutex);
        --FPlaying;
        FSecondsPerJob = 0.75 * FSecondsPerJob + 0.25 * Seconds;
    }
}

} // namespace vm::scored
