// The SDL2_mixer audio device with the game's real sound files: effects and modules reach the mix,
// channels overlap, broken files are refused, and with no audio device everything stays silent.
#include "assetgen/asset_test_support.h"
#include "engine/clock.h"
#include "engine/sound_system.h"
#include "platform/sdl/sdl_audio_device.h"
#include "support/test_support.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace vm {
namespace {

// Counts mixed blocks and the ones that carried sound; runs on the mixer's thread.
struct TMixTap
{
    std::atomic<int> Blocks{0};
    std::atomic<int> LoudBlocks{0};

    void Reset()
    {
        Blocks = 0;
        LoudBlocks = 0;
    }
    static void Callback(void* Data, Uint8* Stream, int Length)
    {
        auto* Tap = static_cast<TMixTap*>(Data);
        const auto* Samples = reinterpret_cast<const Sint16*>(Stream);
        int Peak = 0;
        for (int I = 0; I < Length / 2; ++I)
            Peak = std::max(Peak, std::abs(static_cast<int>(Samples[I])));
        // About -40 dB: far above rounding noise, far below any of the game's sounds.
        if (Peak > 300)
            ++Tap->LoudBlocks;
        ++Tap->Blocks;
    }
};

// Polls Done for up to Seconds of wall time (the dummy driver mixes in real time).
bool WaitFor(const std::function<bool()>& Done, double Seconds = 5.0)
{
    const Uint64 Start = SDL_GetTicks64();
    while (!Done())
    {
        if (SDL_GetTicks64() - Start > static_cast<Uint64>(Seconds * 1000))
            return false;
        SDL_Delay(5);
    }
    return true;
}

class SdlAudio : public ::testing::Test
{
protected:
    // The dummy driver needs no sound card and runs SDL's real mixer thread.
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }

    // After a stop, the next few blocks must all be silent.
    void ExpectSilenceFollows()
    {
        Tap.Reset();
        ASSERT_TRUE(WaitFor([this] { return Tap.Blocks >= 3; }));
        EXPECT_EQ(Tap.LoudBlocks, 0);
    }

    TMixTap Tap;
    std::vector<std::string> Reports;
    TAudioReport Recorder = [this](const std::string& Text) { Reports.push_back(Text); };
};

TEST_F(SdlAudio, AnEffectAndEachModuleAreHeardAndStop)
{
    TSdlAudioDevice Audio(Recorder);
    ASSERT_TRUE(Audio.IsOpen());
    EXPECT_TRUE(Reports.empty());
    int Rate = 0, Channels = 0;
    Uint16 Format = 0;
    ASSERT_EQ(Mix_QuerySpec(&Rate, &Format, &Channels), 1);
    EXPECT_EQ(Rate, 22050);
    EXPECT_EQ(Format, AUDIO_S16SYS);
    EXPECT_EQ(Channels, 2);
    EXPECT_EQ(Mix_AllocateChannels(-1), 32);
    Mix_SetPostMix(&TMixTap::Callback, &Tap);

    std::string Error;
    const TChunkHandle Coin = Audio.LoadChunk(::test::AssetPath("Sounds/coin.wav"), Error);
    ASSERT_NE(Coin, 0) << Error;
    Tap.Reset();
    const int Channel = Audio.PlayChunk(Coin, 0, MaxMixerVolume, Error);
    ASSERT_GE(Channel, 0) << Error;
    EXPECT_TRUE(Audio.IsChunkPlaying(Channel, Coin));
    EXPECT_TRUE(WaitFor([this] { return Tap.LoudBlocks > 0; })) << "the effect was not mixed";
    Audio.StopChunk(Coin);
    EXPECT_FALSE(Audio.IsChunkPlaying(Channel, Coin));
    ExpectSilenceFollows();

    for (const char* File : {"Sounds/1.xm", "Sounds/2.xm", "Sounds/3.xm"})
    {
        SCOPED_TRACE(File);
        const TMusicHandle Music = Audio.LoadMusic(::test::AssetPath(File), Error);
        ASSERT_NE(Music, 0) << Error;
        Tap.Reset();
        ASSERT_TRUE(Audio.PlayMusic(Music, true, Error)) << Error;
        EXPECT_TRUE(WaitFor([this] { return Tap.LoudBlocks > 0; })) << "the module was not mixed";
        EXPECT_TRUE(Audio.StopMusic(Music, Error));
        ExpectSilenceFollows();
        Audio.FreeMusic(Music);
    }
    Mix_SetPostMix(nullptr, nullptr);
    EXPECT_TRUE(Reports.empty());
}

TEST_F(SdlAudio, StoppingAReplacedTrackLeavesTheNewOnePlaying)
{
    TSdlAudioDevice Audio(Recorder);
    ASSERT_TRUE(Audio.IsOpen());
    std::string Error;
    const TMusicHandle Menu = Audio.LoadMusic(::test::AssetPath("Sounds/1.xm"), Error);
    const TMusicHandle Race = Audio.LoadMusic(::test::AssetPath("Sounds/2.xm"), Error);
    ASSERT_TRUE(Menu != 0 && Race != 0) << Error;
    ASSERT_TRUE(Audio.PlayMusic(Menu, true, Error));
    ASSERT_TRUE(Audio.PlayMusic(Race, true, Error));
    EXPECT_TRUE(Audio.StopMusic(Menu, Error));
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    Audio.FreeMusic(Race); // freeing the playing track stops it first
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_FALSE(Audio.StopMusic(Race, Error)); // a dead handle is refused, not used
    EXPECT_FALSE(Error.empty());
}

TEST_F(SdlAudio, EffectsOverlapOnThirtyTwoChannelsAndKeepTheEngineLoop)
{
    TSdlAudioDevice Audio(Recorder);
    ASSERT_TRUE(Audio.IsOpen());
    std::string Error;
    const TChunkHandle Engine = Audio.LoadChunk(::test::AssetPath("Sounds/s1.wav"), Error);
    const TChunkHandle Blast = Audio.LoadChunk(::test::AssetPath("Sounds/exp.wav"), Error); // 1.5 s
    ASSERT_TRUE(Engine != 0 && Blast != 0) << Error;
    const int Loop = Audio.PlayChunk(Engine, -1, 64, Error);
    ASSERT_EQ(Loop, 0) << Error;
    EXPECT_EQ(Mix_Volume(Loop, -1), 64);
    for (int I = 1; I < 32; ++I)
        ASSERT_EQ(Audio.PlayChunk(Blast, 0, 7, Error), I) << Error;
    EXPECT_EQ(Mix_Volume(31, -1), 7);
    EXPECT_EQ(Mix_Playing(-1), 32);
    // The mixer is full: the oldest one-shot gives way, the endless engine loop does not.
    EXPECT_EQ(Audio.PlayChunk(Blast, 0, 100, Error), 1) << Error;
    EXPECT_TRUE(Audio.IsChunkPlaying(0, Engine));
    EXPECT_FALSE(Audio.IsChunkPlaying(0, Blast));
    Audio.StopChunk(Blast);
    EXPECT_EQ(Mix_Playing(-1), 1);
    EXPECT_TRUE(Audio.IsChunkPlaying(0, Engine));
}

TEST_F(SdlAudio, BrokenFilesAreRefusedAndReportedOnceByTheSoundSystem)
{
    test::TTempDir Data;
    std::filesystem::create_directories(Data.Path() / "Sounds");
    for (const char* Name : {"Sounds/coin.wav", "Sounds/1.xm"})
        std::ofstream(Data.File(Name), std::ios::binary) << "not a sound at all, just some text\n";
    TSdlAudioDevice Audio(Recorder);
    ASSERT_TRUE(Audio.IsOpen());
    TManualClock Clock(1000);
    TSoundSystem Sound(Audio, Clock, Data.Path().string(), Recorder);
    Sound.InitAudioPaths();
    for (int I = 0; I < 3; ++I)
    {
        Sound.PlaySound("coin");
        Sound.PlaySound("horn"); // not there at all
        Sound.PlayMod("menumusic");
        Sound.StopMod("menumusic");
    }
    ASSERT_EQ(Reports.size(), 3u);
    EXPECT_EQ(Reports[0].rfind("Error loading sound: " + Data.File("Sounds/coin.wav") + " (", 0), 0u)
        << Reports[0];
    EXPECT_EQ(Reports[1].rfind("Error loading sound: " + Data.File("Sounds/horn.wav") + " (", 0), 0u)
        << Reports[1];
    EXPECT_EQ(Reports[2].rfind("Error loading music: " + Data.File("Sounds/1.xm") + " (", 0), 0u)
        << Reports[2];
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(SdlAudio, WithNoAudioDeviceEveryCallIsSilentAndTheMixerCanOpenLater)
{
    setenv("SDL_AUDIODRIVER", "velomarch-no-such-driver", 1);
    {
        TSdlAudioDevice Audio(Recorder);
        EXPECT_FALSE(Audio.IsOpen());
        ASSERT_EQ(Reports.size(), 1u);
        EXPECT_EQ(Reports[0].rfind("No sound: ", 0), 0u) << Reports[0];
        std::string Error;
        EXPECT_EQ(Audio.LoadChunk(::test::AssetPath("Sounds/coin.wav"), Error), 0);
        EXPECT_EQ(Audio.PlayChunk(1, 0, 128, Error), -1);
        EXPECT_FALSE(Audio.IsChunkPlaying(0, 1));
        Audio.StopChunk(1);
        Audio.FreeChunk(1);
        EXPECT_EQ(Audio.LoadMusic(::test::AssetPath("Sounds/1.xm"), Error), 0);
        EXPECT_TRUE(Audio.PlayMusic(1, true, Error));
        EXPECT_TRUE(Audio.StopMusic(1, Error));
        Audio.FreeMusic(1);
        EXPECT_TRUE(Error.empty()) << Error;

        // The game's sound system on top of it plays nothing and reports nothing more.
        TManualClock Clock(1000);
        TSoundSystem Sound(Audio, Clock, VM_ASSET_DIR, Recorder);
        Sound.InitAudioPaths();
        Sound.PlaySound("coin");
        Sound.PlayMod("menumusic");
        Sound.StopMod("menumusic");
        Sound.FreeMod("menumusic");
        EXPECT_FALSE(Sound.IsSoundPlaying(Sound.FindSound("coin")));
        EXPECT_EQ(Reports.size(), 1u);
    }
    // A failed start leaves nothing half open behind it.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TSdlAudioDevice Audio(Recorder);
    EXPECT_TRUE(Audio.IsOpen());
}

} // namespace
} // namespace vm
