// The sound system: names, files, volumes, overlapping effects, the "still playing" rule, music
// modules and how failures are reported without stopping the game.
#include "assetgen/asset_test_support.h"
#include "engine/clock.h"
#include "engine/sound_system.h"
#include "support/recording_audio_device.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vm {
namespace {

class SoundSystemTest : public ::testing::Test
{
protected:
    SoundSystemTest()
        : Sound(Audio, Clock, "/data", [this](const std::string& Text) { Reports.push_back(Text); })
    {
        Sound.InitAudioPaths();
    }

    test::TRecordingAudioDevice Audio;
    TManualClock Clock{1000}; // one tick per millisecond
    std::vector<std::string> Reports;
    TSoundSystem Sound;
};

TEST_F(SoundSystemTest, ListsNameTheGeneratedFilesByExactNames)
{
    ASSERT_EQ(Sound.SoundList.size(), 19u);
    ASSERT_EQ(Sound.ModList.size(), 3u);
    for (const TSoundListItem& Item : Sound.SoundList)
    {
        EXPECT_TRUE(std::filesystem::exists(::test::AssetPath(Item.FileName))) << Item.Name;
        EXPECT_EQ(Item.Loop, Item.Name == "s1" || Item.Name == "s2") << Item.Name;
        EXPECT_EQ(Sound.FindSound(Item.Name), &Item);
    }
    for (const TModListItem& Item : Sound.ModList)
    {
        EXPECT_TRUE(std::filesystem::exists(::test::AssetPath(Item.FileName))) << Item.Name;
        EXPECT_TRUE(Item.Loop);
        EXPECT_EQ(Item.Volume, 100);
    }
    EXPECT_EQ(Sound.FindSound("check")->FileName, "Sounds/check2.wav");
    EXPECT_EQ(Sound.FindSound("check2")->FileName, "Sounds/check1.wav");
    EXPECT_EQ(Sound.FindSound("begin")->Volume, 95);
    EXPECT_EQ(Sound.FindSound("finish")->Volume, 90);
    EXPECT_EQ(Sound.FindMod("gamemusic")->FileName, "Sounds/2.xm");
    EXPECT_EQ(Sound.FindSound("Check"), nullptr);
    EXPECT_EQ(Sound.FindSound("check "), nullptr);
    EXPECT_EQ(Sound.FindSound(""), nullptr);
    EXPECT_EQ(Sound.FindMod("MenuMusic"), nullptr);
    EXPECT_EQ(Sound.FindMod("coin"), nullptr);

    // Files are found in the data folder, loaded once and then replayed.
    Sound.PlaySound("check");
    Sound.PlaySound("check");
    Sound.PlaySound("check2");
    ASSERT_EQ(Audio.Chunks.size(), 2u);
    EXPECT_EQ(Audio.Chunks[0], "/data/Sounds/check2.wav");
    EXPECT_EQ(Audio.Chunks[1], "/data/Sounds/check1.wav");
    EXPECT_EQ(Audio.Plays.size(), 3u);
    // Unknown names and null items do nothing.
    Sound.PlaySound("nosuch");
    Sound.PlaySound(static_cast<TSoundListItem*>(nullptr));
    Sound.StopSound(nullptr);
    Sound.PlayMod(static_cast<TModListItem*>(nullptr));
    EXPECT_EQ(Audio.Plays.size(), 3u);
    EXPECT_TRUE(Reports.empty());
}

TEST_F(SoundSystemTest, VolumeIsClampedAndFollowsTheDecibelScale)
{
    EXPECT_EQ(TSoundSystem::MixerVolume(100), 128);
    EXPECT_EQ(TSoundSystem::MixerVolume(120), 128);
    EXPECT_EQ(TSoundSystem::MixerVolume(0), 0);
    EXPECT_EQ(TSoundSystem::MixerVolume(-5), 0);
    EXPECT_EQ(TSoundSystem::MixerVolume(75), 7);  // -25 dB
    EXPECT_EQ(TSoundSystem::MixerVolume(94), 64); // -6 dB is half the amplitude
    for (int Volume = 1; Volume <= 100; ++Volume)
        EXPECT_GE(TSoundSystem::MixerVolume(Volume), TSoundSystem::MixerVolume(Volume - 1));

    Sound.PlaySound("begin"); // volume 95
    Sound.FindSound("coin")->Volume = 120;
    Sound.PlaySound("coin");
    Sound.FindSound("up")->Volume = -5;
    Sound.PlaySound("up");
    ASSERT_EQ(Audio.Plays.size(), 3u);
    EXPECT_EQ(Audio.Plays[0].Volume, 72);
    EXPECT_EQ(Audio.Plays[1].Volume, 128);
    EXPECT_EQ(Audio.Plays[2].Volume, 0);
}

TEST_F(SoundSystemTest, EffectsOverlapAndOnlyTheEngineSoundsLoop)
{
    for (int I = 0; I < 30; ++I)
        Sound.PlaySound("coin");
    Sound.PlaySound("s1");
    Sound.PlaySound("s2");
    ASSERT_EQ(Audio.Plays.size(), 32u);
    EXPECT_EQ(Audio.Chunks.size(), 3u);
    EXPECT_TRUE(Audio.Stops.empty()); // a new start never cuts an earlier one
    for (int Channel = 0; Channel < 32; ++Channel)
        EXPECT_EQ(Audio.Plays[Channel].Channel, Channel);
    EXPECT_EQ(Audio.Plays[0].Repeats, 0);
    EXPECT_EQ(Audio.Plays[30].Repeats, -1);
    EXPECT_EQ(Audio.Plays[31].Repeats, -1);

    // A mixer with no channel left: reported once, and the game goes on.
    Sound.PlaySound("coin");
    Sound.PlaySound("horn");
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].rfind("Error playing sound", 0), 0u) << Reports[0];
    Audio.Finish(3);
    Sound.PlaySound("horn");
    EXPECT_EQ(Audio.Plays.back().Channel, 3);

    // Stopping an effect stops every channel it plays on.
    Sound.StopSound(Sound.FindSound("s1"));
    EXPECT_EQ(Audio.Stops, std::vector<std::string>{"/data/Sounds/s1.wav"});
    EXPECT_EQ(Audio.Busy[30], 0);
    EXPECT_NE(Audio.Busy[31], 0);
}

TEST_F(SoundSystemTest, HushedNoEffectStartsWhileTheMusicFollowsItsCalls)
{
    Sound.SetHushed(true);
    Sound.PlaySound("coin");
    Sound.PlaySound(Sound.FindSound("horn"));
    Sound.PlayMod("menumusic");
    Sound.StopMod("menumusic");
    EXPECT_TRUE(Audio.Plays.empty());
    EXPECT_FALSE(Sound.IsSoundPlaying(Sound.FindSound("coin")));
    EXPECT_EQ(Audio.MusicCalls.size(), 2u);
    Sound.SetHushed(false);
    Sound.PlaySound("coin");
    EXPECT_EQ(Audio.Plays.size(), 1u);
    EXPECT_TRUE(Reports.empty());
}

TEST_F(SoundSystemTest, AJustStartedEffectCountsAsPlayingForAQuarterSecond)
{
    TSoundListItem* Skid = Sound.FindSound("skid");
    EXPECT_FALSE(Sound.IsSoundPlaying(Skid)); // never loaded
    EXPECT_FALSE(Sound.IsSoundPlaying(nullptr));
    Sound.PlaySound(Skid);
    const int Channel = Audio.Plays.back().Channel;
    EXPECT_TRUE(Sound.IsSoundPlaying(Skid));
    // The mixer has not reached it yet (or it is very short): still playing within 250 ms.
    Audio.Finish(Channel);
    Clock.Advance(249);
    EXPECT_TRUE(Sound.IsSoundPlaying(Skid));
    Clock.Advance(1);
    EXPECT_FALSE(Sound.IsSoundPlaying(Skid));

    // After 250 ms only the device decides.
    Sound.PlaySound(Skid);
    Clock.Advance(600);
    EXPECT_TRUE(Sound.IsSoundPlaying(Skid));
    // Another effect started later on the path takes over its "last started" place.
    Sound.PlaySound("coin");
    EXPECT_FALSE(Sound.IsSoundPlaying(Skid));
    EXPECT_TRUE(Sound.IsSoundPlaying(Sound.FindSound("coin")));
    // A channel reused by another effect does not count as the skid playing.
    Sound.PlaySound(Skid);
    Audio.Busy[static_cast<std::size_t>(Audio.Plays.back().Channel)] = 999;
    Clock.Advance(300);
    EXPECT_FALSE(Sound.IsSoundPlaying(Skid));
    // Stopping forgets it at once, even inside the quarter second.
    Sound.PlaySound(Skid);
    Sound.StopSound(Skid);
    EXPECT_FALSE(Sound.IsSoundPlaying(Skid));
}

TEST_F(SoundSystemTest, MissingFilesAreReportedOnceAndOnlyThatSoundIsSilent)
{
    Audio.Missing = {"skid.wav", "2.xm"};
    for (int I = 0; I < 5; ++I)
    {
        Sound.PlaySound("skid");
        Sound.PlayMod("gamemusic");
        Sound.StopMod("gamemusic");
    }
    EXPECT_FALSE(Sound.IsSoundPlaying(Sound.FindSound("skid")));
    Sound.PlaySound("coin");
    Sound.PlayMod("menumusic");
    ASSERT_EQ(Reports.size(), 2u);
    EXPECT_EQ(Reports[0], "Error loading sound: /data/Sounds/skid.wav (no such file)");
    EXPECT_EQ(Reports[1], "Error loading music: /data/Sounds/2.xm (no such file)");
    EXPECT_EQ(Audio.Chunks, std::vector<std::string>{"/data/Sounds/coin.wav"});
    EXPECT_EQ(Audio.MusicCalls, std::vector<std::string>{"loop /data/Sounds/1.xm"});
    EXPECT_EQ(Sound.Reported().size(), 2u);
}

TEST_F(SoundSystemTest, ModulesLoadOnceLoopStopAndFree)
{
    TModListItem* Menu = Sound.FindMod("menumusic");
    Sound.StopMod(Menu); // never loaded: nothing
    Sound.FreeMod(Menu);
    EXPECT_TRUE(Audio.MusicCalls.empty());
    Sound.PlayMod(Menu);
    Sound.StopMod(Menu);
    Sound.PlayMod("gamemusic");
    Sound.PlayMod(Menu);
    Sound.FreeMod(Menu);
    EXPECT_FALSE(Menu->Loaded());
    Sound.StopMod(Menu); // freed: nothing
    Sound.PlayMod(Menu); // loads again
    EXPECT_EQ(Audio.MusicCalls,
              (std::vector<std::string>{"loop /data/Sounds/1.xm", "stop /data/Sounds/1.xm",
                                        "loop /data/Sounds/2.xm", "loop /data/Sounds/1.xm",
                                        "free /data/Sounds/1.xm", "loop /data/Sounds/1.xm"}));
    EXPECT_EQ(Audio.Modules.size(), 3u);
    EXPECT_TRUE(Reports.empty());
}

TEST(SoundSystem, ReleasesEverythingItLoadedWhenDestroyed)
{
    test::TRecordingAudioDevice Audio;
    TManualClock Clock{1000};
    {
        TSoundSystem Sound(Audio, Clock, "d", nullptr);
        Sound.InitAudioPaths();
        Sound.PlaySound("coin");
        Sound.PlayMod("losemusic");
    }
    EXPECT_EQ(Audio.FreedChunks, std::vector<std::string>{"d/Sounds/coin.wav"});
    EXPECT_EQ(Audio.MusicCalls.back(), "free d/Sounds/3.xm");
}

TEST(SoundSystem, WithoutADeviceOrPathsNothingPlaysAndNothingBreaks)
{
    TSilentAudioDevice Silent;
    TManualClock Clock{1000};
    std::vector<std::string> Reports;
    {
        TSoundSystem Sound(Silent, Clock, "d", [&](const std::string& T) { Reports.push_back(T); });
        Sound.InitAudioPaths();
        Sound.PlaySound("coin");
        Sound.PlayMod("menumusic");
        Sound.StopMod("menumusic");
        Sound.FreeMod("menumusic");
        EXPECT_FALSE(Sound.IsSoundPlaying(Sound.FindSound("coin")));
        EXPECT_FALSE(Sound.FindSound("coin")->Loaded());
    }
    EXPECT_TRUE(Reports.empty()); // the device says once that there is no sound; not each effect

    // Effects played before the paths exist are reported, once.
    test::TRecordingAudioDevice Audio;
    TSoundSystem Sound(Audio, Clock, "d", [&](const std::string& T) { Reports.push_back(T); });
    Sound.PlaySound("coin");
    Sound.PlaySound("horn");
    EXPECT_TRUE(Audio.Plays.empty());
    ASSERT_EQ(Reports.size(), 1u);
    EXPECT_EQ(Reports[0].rfind("Error playing sound", 0), 0u);
}

TEST(SoundSystem, PooledEffectsTakeTheNextFreePathOfTheirKind)
{
    test::TRecordingAudioDevice Audio;
    TManualClock Clock{1000};
    TSoundSystem Sound(Audio, Clock, "d", nullptr);
    Sound.InitAudioPaths();
    // Path 0 is the game's own (not pooled); 1 and 3 are pooled stereo, 2 pooled mono.
    for (TAudioPathType Type : {aptStereo, aptMono, aptStereo})
    {
        TAudioPathItem Path;
        Path.AudioPathType = Type;
        Path.Pool = true;
        Sound.AudioPaths.push_back(Path);
    }
    TSoundListItem* Coin = Sound.FindSound("coin");
    TSoundListItem* Horn = Sound.FindSound("horn");
    Coin->AudioPathPool = appStereo;
    Horn->AudioPathPool = appStereo;
    Sound.PlaySound(Coin); // path 1
    Sound.PlaySound(Horn); // path 1 busy: path 3
    EXPECT_TRUE(Sound.IsSoundPlaying(Coin));
    EXPECT_TRUE(Sound.IsSoundPlaying(Horn));
    Clock.Advance(1000);
    Audio.Finish(0); // the coin has ended: path 1 is free again
    Sound.PlaySound(Horn);
    EXPECT_TRUE(Sound.IsSoundPlaying(Horn));
    // Both busy (the horn sounds on path 1 and was the last on path 3): the search starts after
    // path 1, examines 3 then 1, and takes 1, the last one examined, so the horn loses its path.
    Sound.PlaySound(Coin);
    EXPECT_TRUE(Sound.IsSoundPlaying(Coin));
    EXPECT_FALSE(Sound.IsSoundPlaying(Horn));
}

} // namespace
} // namespace vm
