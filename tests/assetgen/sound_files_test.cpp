// The generated sound effects load as the game expects: format, length, level, clean ends and seamless loops.
#include "assetgen/sound_test_wav.h"
#include "sound/sound_effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

struct TExpected
{
    const char* File;
    double MinSeconds;
    double MaxSeconds;
    bool Loop;
};

// Every effect the game's sound list plays, with the length that suits its use.
const TExpected Expected[] = {
    {"check1.wav", 0.04, 0.10, false}, {"check2.wav", 0.05, 0.12, false}, {"start.wav", 1.2, 1.8, false},
    {"finish.wav", 1.2, 1.8, false},   {"svet1.wav", 0.25, 0.35, false},  {"svet2.wav", 0.5, 0.7, false},
    {"timesup.wav", 1.0, 1.4, false},  {"sweep.wav", 0.6, 1.0, false},    {"time.wav", 0.05, 0.12, false},
    {"exp.wav", 1.2, 1.8, false},      {"coin.wav", 0.3, 0.5, false},     {"nitro.wav", 0.8, 1.2, false},
    {"skid.wav", 0.6, 1.0, false},     {"repair.wav", 0.6, 1.0, false},   {"horn.wav", 0.4, 0.6, false},
    {"addtime.wav", 0.5, 0.75, false}, {"up.wav", 0.55, 0.85, false},     {"s1.wav", 1.0, 2.0, true},
    {"s2.wav", 1.0, 2.0, true},
};

TEST(SoundFiles, TheGeneratorWritesExactlyTheGamesEffects)
{
    std::set<std::string> Wanted;
    for (const TExpected& Effect : Expected)
        Wanted.insert(Effect.File);
    const auto& Files = vm::assetgen::SoundEffectFiles();
    EXPECT_EQ(std::set<std::string>(Files.begin(), Files.end()), Wanted);
    EXPECT_EQ(Files.size(), Wanted.size()) << "a file is listed twice";
}

TEST(SoundFiles, EveryEffectDecodesAsMono16BitAt22050HzWithItsLength)
{
    for (const TExpected& Effect : Expected)
    {
        SCOPED_TRACE(Effect.File);
        const test::TWav Wav = test::LoadEffect(Effect.File);
        ASSERT_TRUE(Wav.Loaded) << Wav.Error;
        EXPECT_EQ(Wav.Frequency, 22050);
        EXPECT_EQ(Wav.Format, AUDIO_S16LSB);
        EXPECT_EQ(Wav.Channels, 1);
        EXPECT_GE(Wav.Seconds(), Effect.MinSeconds);
        EXPECT_LE(Wav.Seconds(), Effect.MaxSeconds);
    }
}

TEST(SoundFiles, EveryEffectIsAudibleAndNeverClips)
{
    for (const TExpected& Effect : Expected)
    {
        SCOPED_TRACE(Effect.File);
        const test::TWav Wav = test::LoadEffect(Effect.File);
        ASSERT_TRUE(Wav.Loaded) << Wav.Error;
        const double Peak = test::PeakOf(Wav.Samples);
        // Loud enough to hear (peak above -12 dBFS, RMS above -40 dBFS), with headroom below
        // full scale (about -1 dBFS at most) and no sample pinned at the limits.
        EXPECT_GT(Peak, std::pow(10.0, -12.0 / 20.0));
        EXPECT_LT(Peak, std::pow(10.0, -0.9 / 20.0));
        EXPECT_GT(test::RmsOf(Wav.Samples, 0, Wav.Samples.size()), 0.01);
        const auto Pinned =
            std::count_if(Wav.Raw.begin(), Wav.Raw.end(), [](int X) { return X >= 32767 || X <= -32767; });
        EXPECT_EQ(Pinned, 0);
    }
}

TEST(SoundFiles, OneShotsStartAndEndAtSilence)
{
    for (const TExpected& Effect : Expected)
    {
        if (Effect.Loop)
            continue;
        SCOPED_TRACE(Effect.File);
        const test::TWav Wav = test::LoadEffect(Effect.File);
        ASSERT_TRUE(Wav.Loaded) << Wav.Error;
        ASSERT_GT(Wav.Samples.size(), 100u);
        EXPECT_LT(std::abs(Wav.Samples.front()), 0.01);
        EXPECT_LT(std::abs(Wav.Samples.back()), 0.01);
        // The first and last half millisecond stay well below the body of the sound: it fades.
        const double Peak = test::PeakOf(Wav.Samples);
        const std::size_t Edge = test::At(0.0005);
        for (std::size_t I = 0; I < Edge; ++I)
        {
            EXPECT_LT(std::abs(Wav.Samples[I]), 0.2 * Peak) << "sample " << I;
            EXPECT_LT(std::abs(Wav.Samples[Wav.Samples.size() - 1 - I]), 0.2 * Peak)
                << "sample from end " << I;
        }
    }
}

TEST(SoundFiles, EngineLoopsWrapWithoutAClickOrAGap)
{
    for (const char* File : {"s1.wav", "s2.wav"})
    {
        SCOPED_TRACE(File);
        const test::TWav Wav = test::LoadEffect(File);
        ASSERT_TRUE(Wav.Loaded) << Wav.Error;
        const std::vector<double>& S = Wav.Samples;
        ASSERT_GT(S.size(), 1000u);
        // The jump from the last sample to the first is an ordinary step: no larger than the
        // steps that 99 % of the loop makes.
        std::vector<double> Steps;
        for (std::size_t I = 1; I < S.size(); ++I)
            Steps.push_back(std::abs(S[I] - S[I - 1]));
        std::sort(Steps.begin(), Steps.end());
        EXPECT_LE(std::abs(S.front() - S.back()), Steps[Steps.size() * 99 / 100]);
        // The wrap continues the motion: the slope across it matches the slopes beside it
        // (a second difference no larger than anywhere inside the loop).
        double LargestBend = 0.0;
        for (std::size_t I = 2; I < S.size(); ++I)
            LargestBend = std::max(LargestBend, std::abs(S[I] - 2.0 * S[I - 1] + S[I - 2]));
        EXPECT_LE(std::abs(S[0] - 2.0 * S.back() + S[S.size() - 2]), LargestBend);
        EXPECT_LE(std::abs(S[1] - 2.0 * S[0] + S.back()), LargestBend);
        // No fade at the loop point: both ends carry the sound at its usual strength.
        const double Whole = test::RmsOf(S, 0, S.size());
        const std::size_t Edge = test::At(0.05);
        EXPECT_GT(test::RmsOf(S, 0, Edge), 0.5 * Whole);
        EXPECT_GT(test::RmsOf(S, S.size() - Edge, Edge), 0.5 * Whole);
    }
}

} // namespace
