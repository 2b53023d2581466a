// A fuzz harness for run recordings: records a short run in a real game, then feeds the reader
// and the player mutated copies (bits flipped, cuts, and payloads changed with their checksums
// made good again, so that the decoder and the game see well-formed nonsense).
//   replay_fuzz [--cases N] [--seed S] [--read-only] [--sweep]
// --read-only only reads the mutants (fast enough for millions of cases); --sweep first tries
// the recording cut at every length and with every single bit flipped. Exits non-zero on a
// broken promise.
#include "common/command_line.h"
#include "engine/audio_device.h"
#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/message_box.h"
#include "engine/null_render_device.h"
#include "engine/pad_input.h"
#include "pages/page_rows.h"
#include "persist/replay_codes.h"
#include "persist/replay_reader.h"
#include "race/replay_player.h"
#include "race/run_start.h"
#include "shell/game.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace vm;

// Frames a mutated recording is played at most: enough to reach its events, bounded in time.
constexpr int MostFramesPlayed = 400;

struct TChunk
{
    std::uint8_t Kind = 0;
    std::string Payload;
};

// The chunks of a well-formed recording (the fuzzer's own), and the same written back with good
// lengths and checksums.
std::vector<TChunk> Split(const std::string& Bytes)
{
    std::vector<TChunk> Chunks;
    std::size_t At = sizeof ReplayMagic + 2;
    while (At + ChunkHeadSize <= Bytes.size())
    {
        const auto* Head = reinterpret_cast<const std::uint8_t*>(Bytes.data() + At);
        const std::uint32_t Length =
            Head[1] | (Head[2] << 8) | (Head[3] << 16) | (static_cast<std::uint32_t>(Head[4]) << 24);
        Chunks.push_back({Head[0], Bytes.substr(At + ChunkHeadSize, Length)});
        At += ChunkHeadSize + Length + ChunkTailSize;
    }
    return Chunks;
}

std::string Join(const std::vector<TChunk>& Chunks)
{
    std::string Out(ReplayMagic, sizeof ReplayMagic);
    PutFixed(Out, ReplayFormatVersion, 2);
    for (const TChunk& Chunk : Chunks)
    {
        const std::size_t Start = Out.size();
        Out.push_back(static_cast<char>(Chunk.Kind));
        PutFixed(Out, Chunk.Payload.size(), 4);
        PutFixed(Out, ReplayCrc(Out.data() + Start, 5) & 0xFFFF, 2);
        Out += Chunk.Payload;
        PutFixed(Out, ReplayCrc(Chunk.Payload.data(), Chunk.Payload.size()), 4);
    }
    return Out;
}

// Forged tells whether the mutant's checksums were made good (else it is plain damage).
std::string Mutate(const std::string& Bytes, std::mt19937& Random, bool& Forged)
{
    std::string Out = Bytes;
    Forged = false;
    const auto Pick = [&Random](std::size_t Size) { return Size == 0 ? 0 : Random() % Size; };
    switch (Random() % 6)
    {
    case 0: // bits flipped anywhere
        for (int I = 0, N = 1 + static_cast<int>(Random() % 4); I < N; ++I)
            Out[Pick(Out.size())] ^= static_cast<char>(1 << (Random() % 8));
        return Out;
    case 1: // cut short
        return Out.substr(0, Pick(Out.size() + 1));
    default: break;
    }
    // A payload changed, with its checksums made good.
    Forged = true;
    std::vector<TChunk> Chunks = Split(Bytes);
    TChunk& Chunk = Chunks[Pick(Chunks.size())];
    std::string& P = Chunk.Payload;
    for (int I = 0, N = 1 + static_cast<int>(Random() % 6); I < N; ++I)
        switch (Random() % 5)
        {
        case 0:
            if (!P.empty())
                P[Pick(P.size())] = static_cast<char>(Random());
            break;
        case 1: P.insert(Pick(P.size() + 1), 1, static_cast<char>(Random())); break;
        case 2:
            if (!P.empty())
                P.erase(Pick(P.size()), 1 + Pick(4));
            break;
        case 3: // a large count or number where a small one was
            if (!P.empty())
                P.replace(Pick(P.size()), 1, std::string("\xff\xff\xff\xff\x0f", 5));
            break;
        default: // an operation of any kind
            P.insert(Pick(P.size() + 1), 1, static_cast<char>(0x30 + Random() % 16));
            break;
        }
    if (Random() % 8 == 0)
        Chunks.insert(Chunks.begin() + static_cast<long>(Pick(Chunks.size())), Chunks[Pick(Chunks.size())]);
    return Join(Chunks);
}

bool SameEvent(const TReplayEvent& A, const TReplayEvent& B)
{
    return A.Kind == B.Kind && A.Frame == B.Frame && A.A == B.A && A.B == B.B && A.C == B.C;
}

// Whether Read holds Original's start (the fields a damaged start would most likely change).
bool SameStart(const TReplayHeader& Read, const TReplayHeader& Original)
{
    return Read.GameVersion == Original.GameVersion && Read.GameRevision == Original.GameRevision &&
           Read.RngState == Original.RngState && Read.CarIndex == Original.CarIndex &&
           Read.TrackIndex == Original.TrackIndex && Read.PlayerName == Original.PlayerName &&
           Read.Bindings.size() == Original.Bindings.size() && Read.Tracks.size() == Original.Tracks.size() &&
           Read.Pads.size() == Original.Pads.size() && Read.KeysHeld == Original.KeysHeld;
}

// A damaged copy of Original (cut, or bits flipped, with no checksum made good) is refused with a
// reason, or reads as Original's own start and calls up to one of its frames, unfinished: damage
// never reads as a run that was not played. Why says what broke the promise.
bool ReadsSafely(const std::string& Damaged, const TReplay& Original, std::string& Why)
{
    TReplay Replay;
    std::string Error;
    if (!ReadReplay(Damaged, Replay, Error))
    {
        Why = "refused with no reason";
        return !Error.empty();
    }
    if (Replay.Finished)
    {
        Why = "read as a finished run";
        return false;
    }
    Why = "read as another run";
    if (!SameStart(Replay.Header, Original.Header) || Replay.Events.size() > Original.Events.size() ||
        Replay.Texts.size() > Original.Texts.size() || Replay.Frames > Original.Frames)
        return false;
    for (std::size_t I = 0; I < Replay.Events.size(); ++I)
        if (!SameEvent(Replay.Events[I], Original.Events[I]))
            return false;
    for (std::size_t I = 0; I < Replay.Texts.size(); ++I)
        if (Replay.Texts[I] != Original.Texts[I])
            return false;
    Why = "cut off within a frame";
    return Replay.Events.empty() || Replay.Events.back().Kind == TReplayEventKind::Frame;
}

// Every cut of Bytes and every single bit flipped in it: the count of broken promises.
long SweepDamage(const std::string& Bytes, const TReplay& Original, long& Cases)
{
    long Broken = 0;
    std::string Why;
    const auto Check = [&](const std::string& Damaged, const char* What, std::size_t At) {
        ++Cases;
        if (!ReadsSafely(Damaged, Original, Why))
        {
            std::fprintf(stderr, "replay_fuzz: %s at byte %zu: %s\n", What, At, Why.c_str());
            ++Broken;
        }
    };
    for (std::size_t Length = 0; Length < Bytes.size(); ++Length)
        Check(Bytes.substr(0, Length), "cut", Length);
    std::string Flipped = Bytes;
    for (std::size_t At = 0; At < Bytes.size(); ++At)
        for (int Bit = 0; Bit < 8; ++Bit)
        {
            Flipped[At] = static_cast<char>(Bytes[At] ^ (1 << Bit));
            Check(Flipped, "bit flipped", At);
            Flipped[At] = Bytes[At];
        }
    return Broken;
}

// A short run with calls of every kind, recorded to Path.
void RecordSeedRun(TGame& Game, TManualClock& Clock, const std::string& Path)
{
    Game.Recorder.NextPath = [Path] { return Path; };
    Game.LeaveState(ssLogo);
    Game.State.ScreenState = ssChooseCar;
    StartRun(Game);
    const auto Frames = [&](int Count) {
        for (int I = 0; I < Count; ++I)
        {
            Clock.Advance(1000);
            Game.RaceTimer.Poll();
            Game.FrameTimer.Tick();
        }
    };
    Frames(260);
    Game.FormKeyDown(vkUp);
    Frames(40);
    Game.FormKeyDown(vkLeft);
    Game.FormKeyUp(vkLeft);
    Game.PadAdded(1);
    Game.PadAxis(1, paLeftX, -30000);
    Game.PadButton(1, pbA, true);
    Frames(10);
    Game.TextInput("héllo");
    Game.MouseMove(100, 200);
    Game.MouseButton(true, 110, 210);
    Game.MouseButton(false, 110, 210);
    Game.FocusChanged(false);
    Game.FocusChanged(true);
    Game.FormKeyDown(80);
    Game.FormKeyUp(80);
    Frames(20);
    Game.PadRemoved(1);
    Frames(30);
    // The pad's loss paused the race: P goes on. Then the run is left through the exit question,
    // so that the recording ends finished, with its end record.
    Game.FormKeyDown(80);
    Game.FormKeyUp(80);
    Frames(5);
    Game.FormKeyDown(vkEscape);
    Game.FormKeyUp(vkEscape);
    Frames(20);
    Game.FormKeyDown(vkReturn);
    Game.FormKeyUp(vkReturn);
    Frames(2);
    Game.Recorder.Stop(Game);
}

} // namespace

int main(int Argc, char** Argv)
{
    long Iterations = 300;
    unsigned Seed = 1;
    bool ReadOnly = false, Sweep = false;
    TCommandLine Line("replay_fuzz", "replay_fuzz [--cases N] [--seed S] [--read-only] [--sweep]",
                      "Feeds damaged and forged copies of a recorded run to the reader and the player.");
    Line.App()
        .add_option("--cases", Iterations, "mutated copies to try (default 300)")
        ->check(CLI::NonNegativeNumber);
    Line.App().add_option("--seed", Seed, "the game's seed and the mutations' (default 1)");
    Line.App().add_flag("--read-only", ReadOnly, "only read the copies: no playing");
    Line.App().add_flag("--sweep", Sweep, "first every cut and every single bit flipped");
    if (const std::optional<int> Exit = Line.Run(Argc, Argv))
        return *Exit;
    TNullRenderDevice Device;
    TManualClock Clock(1000 * FrameRate);
    TSilentAudioDevice Audio;
    TStderrMessageBox Messages;
    const std::filesystem::path Folder =
        std::filesystem::temp_directory_path() / ("velomarch-replay-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(Folder);
    TGamePlatform Platform{Device, Clock, Audio, Messages, VM_ASSET_DIR};
    Platform.Files.SettingsFile = (Folder / "Config.cfg").string();
    Platform.Files.ProgressFile = (Folder / "Configdat.cfg").string();
    Platform.Files.ControlsFile = (Folder / "Controls.cfg").string();
    Platform.Files.ShortcutFolder = Folder.string();
    int Status = 0;
    {
        TGame Game(Platform, GamePages());
        Game.FormCreate(Seed);
        Game.FormShow();
        const std::string Path = (Folder / "seed.vmr").string();
        RecordSeedRun(Game, Clock, Path);
        std::ifstream In(Path, std::ios::binary);
        const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
        TReplay Original;
        std::string OriginalError;
        if (!ReadReplay(Bytes, Original, OriginalError) || !Original.Finished)
        {
            std::fprintf(stderr, "replay_fuzz: the seed recording does not read as a finished run: %s\n",
                         OriginalError.c_str());
            return 1;
        }
        long Swept = 0;
        if (Sweep && SweepDamage(Bytes, Original, Swept) > 0)
            Status = 1;
        std::mt19937 Random(Seed);
        long Refused = 0, Accepted = 0, Frames = 0;
        std::string Why;
        for (long I = 0; I < Iterations; ++I)
        {
            bool Forged = false;
            const std::string Mutant = Mutate(Bytes, Random, Forged);
            // (A bit flipped twice, or a cut at the very end, leaves the recording as it was.)
            if (!Forged && Mutant != Bytes && !ReadsSafely(Mutant, Original, Why))
            {
                std::fprintf(stderr, "replay_fuzz: case %ld, damaged: %s\n", I, Why.c_str());
                Status = 1;
            }
            TReplay Replay;
            std::string Error;
            if (!ReadReplay(Mutant, Replay, Error) || !TReplayPlayer::CanPlay(Replay, Error))
            {
                ++Refused;
                if (Error.empty())
                {
                    std::fprintf(stderr, "replay_fuzz: case %ld refused with no message\n", I);
                    Status = 1;
                }
                continue;
            }
            ++Accepted;
            if (ReadOnly)
                continue;
            TReplayPlayer Player(Game, Replay);
            Player.AdvanceClock = [&Clock] { Clock.Advance(1000); };
            if (!Player.Start(Error))
            {
                std::fprintf(stderr, "replay_fuzz: case %ld: CanPlay took it, Start did not: %s\n", I,
                             Error.c_str());
                Status = 1;
                continue;
            }
            for (int F = 0; F < MostFramesPlayed && Player.StepFrame(); ++F)
                ++Frames;
            if (Player.Frame() > Player.FrameCount())
            {
                std::fprintf(stderr, "replay_fuzz: case %ld played past its last frame\n", I);
                Status = 1;
            }
        }
        std::printf("replay_fuzz: %ld cuts and bit flips swept; %ld cases: %ld refused, %ld %s (%ld frames "
                    "played); the seed recording has %zu bytes\n",
                    Swept, Iterations, Refused, Accepted, ReadOnly ? "read" : "played", Frames, Bytes.size());
        // Playback writes none of the player's files.
        for (const auto& Entry : std::filesystem::directory_iterator(Folder))
            if (Entry.path().filename() != "seed.vmr")
            {
                std::fprintf(stderr, "replay_fuzz: the playback wrote %s\n", Entry.path().c_str());
                Status = 1;
            }
        Game.FormDestroy();
    }
    std::filesystem::remove_all(Folder);
    return Status;
}
