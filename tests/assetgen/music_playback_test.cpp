// The music modules play through SDL2_mixer's module decoder with real level, no drop-outs, and a
// loop that returns to the restart position without a gap or a shift in time.
#include "assetgen/asset_test_support.h"
#include "assetgen/music_xm_reader.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rate = 22050;

// Interleaved stereo frames captured by the post-mix tap while Recording is set.
std::vector<std::int16_t> GCapture;
std::atomic<std::size_t> GCaptured{0};
std::atomic<bool> GRecording{false};

void Tap(void*, Uint8* Stream, int Length)
{
    if (!GRecording)
        return;
    const std::size_t Used = GCaptured;
    const std::size_t Count = std::min(GCapture.size() - Used, static_cast<std::size_t>(Length) / 2);
    std::copy_n(reinterpret_cast<const std::int16_t*>(Stream), Count, GCapture.begin() + Used);
    GCaptured = Used + Count;
}

// Left-plus-right RMS over [From, To) seconds of the capture.
double Rms(const std::vector<std::int16_t>& Audio, double From, double To)
{
    const std::size_t Begin = static_cast<std::size_t>(From * Rate) * 2;
    const std::size_t End = std::min(Audio.size(), static_cast<std::size_t>(To * Rate) * 2);
    double Sum = 0.0;
    for (std::size_t I = Begin; I < End; ++I)
        Sum += static_cast<double>(Audio[I]) * Audio[I];
    return End > Begin ? std::sqrt(Sum / static_cast<double>(End - Begin)) : 0.0;
}

// Opens the mixer at the game's format on SDL's disk driver, which needs no sound card and, with no
// delay, mixes far faster than real time.
class MusicPlayback : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FDiskFile =
            (std::filesystem::temp_directory_path() / ("vm_music_" + std::to_string(::getpid()) + ".raw"))
                .string();
        SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
        SDL_setenv("SDL_DISKAUDIOFILE", FDiskFile.c_str(), 1);
        SDL_setenv("SDL_DISKAUDIODELAY", "0", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(Rate, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
        FOpen = true;
        Mix_SetPostMix(Tap, nullptr);
    }
    void TearDown() override
    {
        GRecording = false;
        if (FOpen)
        {
            Mix_SetPostMix(nullptr, nullptr);
            Mix_CloseAudio();
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        std::error_code Ec;
        std::filesystem::remove(FDiskFile, Ec);
    }

    // Plays File (looping, as the game does) and captures Seconds of the mix.
    std::vector<std::int16_t> Play(const std::string& File, double Seconds)
    {
        Mix_Music* Music = Mix_LoadMUS(File.c_str());
        EXPECT_NE(Music, nullptr) << File << ": " << Mix_GetError();
        if (!Music)
            return {};
        EXPECT_EQ(Mix_GetMusicType(Music), MUS_MOD) << "not played by a module decoder";
        GCapture.assign(static_cast<std::size_t>(Seconds * Rate) * 2, 0);
        GCaptured = 0;
        GRecording = true;
        EXPECT_EQ(Mix_PlayMusic(Music, -1), 0) << Mix_GetError();
        const Uint32 Start = SDL_GetTicks();
        while (GCaptured < GCapture.size() && SDL_GetTicks() - Start < 30000)
            SDL_Delay(2);
        GRecording = false;
        Mix_HaltMusic();
        Mix_FreeMusic(Music);
        EXPECT_EQ(GCaptured.load(), GCapture.size()) << "the mixer stalled";
        return GCapture;
    }

    std::string FDiskFile;
    bool FOpen = false;
};

// Best alignment of a quarter second at Reference + Lag seconds with the one at Reference, over
// lags around Expected; returns the lag and the leftover difference relative to the signal.
void Align(const std::vector<std::int16_t>& Audio, double Reference, double Expected, double& Lag,
           double& Difference)
{
    const int Window = Rate / 4;
    const int Reach = Rate / 5;
    const long Base = static_cast<long>(Reference * Rate);
    const long Centre = Base + static_cast<long>(Expected * Rate);
    auto Mono = [&Audio](long Frame) { return (Audio[2 * Frame] + Audio[2 * Frame + 1]) * 0.5; };
    double Best = 1e300;
    long BestShift = 0;
    for (long Shift = -Reach; Shift <= Reach; ++Shift)
    {
        double Sum = 0.0;
        for (int I = 0; I < Window && Sum < Best; I += 2)
        {
            const double Delta = Mono(Centre + Shift + I) - Mono(Base + I);
            Sum += Delta * Delta;
        }
        if (Sum < Best)
            Best = Sum, BestShift = Shift;
    }
    double Energy = 0.0;
    for (int I = 0; I < Window; I += 2)
        Energy += Mono(Base + I) * Mono(Base + I);
    Lag = static_cast<double>(Centre + BestShift - Base) / Rate;
    Difference = std::sqrt(Best / std::max(Energy, 1.0));
}

TEST_F(MusicPlayback, ModulesPlayWithLevelAndLoopSeamlessly)
{
    for (const char* Name : {"Sounds/1.xm", "Sounds/2.xm", "Sounds/3.xm"})
    {
        SCOPED_TRACE(Name);
        test::TXmFile Module;
        std::string Error;
        ASSERT_TRUE(test::TXmReader::Read(test::AssetPath(Name), Module, Error)) << Error;
        const double LoopStart = test::XmSeconds(Module, 0, Module.Restart);
        const double Loop = test::XmSeconds(Module, Module.Restart, Module.SongLength);
        const double End = LoopStart + Loop;
        const std::vector<std::int16_t> Audio = Play(test::AssetPath(Name), End + 4.0);
        ASSERT_FALSE(Audio.empty());

        // Real level all through the first pass, in every second, and no hard clipping.
        EXPECT_GT(Rms(Audio, 0.0, End), 2000.0);
        for (double Second = 0.0; Second + 1.0 <= End; Second += 1.0)
            EXPECT_GT(Rms(Audio, Second, Second + 1.0), 500.0) << "drop-out at " << Second << " s";
        std::size_t Clipped = 0;
        for (const std::int16_t Value : Audio)
            Clipped += Value == 32767 || Value == -32768;
        EXPECT_LT(Clipped, Audio.size() / 10000);

        // No gap where the song loops back.
        for (double At = End - 1.0; At < End + 1.0; At += 0.05)
            EXPECT_GT(Rms(Audio, At, At + 0.05), 300.0) << "gap at " << At << " s";

        // Three seconds into the loop (once every voice has been struck again) the second pass
        // repeats the first one loop later. The player mixes whole frames per tick, which may
        // shorten the loop by a fraction of a percent, but a pause would lengthen it.
        double Lag = 0.0;
        double Difference = 0.0;
        Align(Audio, LoopStart + 3.0, Loop, Lag, Difference);
        EXPECT_LE(Lag, Loop + 0.005) << "the loop comes back late";
        EXPECT_GE(Lag, Loop * 0.997 - 0.005) << "the loop comes back early";
        EXPECT_LT(Difference, 0.05) << "the second pass differs from the first";
    }
}

} // namespace
