// The game object: key arrays, state dispatch, the race clock and the logo screen.
#include "engine/clock.h"
#include "engine/image_list.h"
#include "engine/sprite.h"
#include "pages/page_rows.h"
#include "shell/game.h"
#include "support/recording_audio_device.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace vm {
namespace {

class GameTest : public ::testing::Test
{
protected:
    // The data folder starts empty: tests that want pictures write Data/data1.vil into it.
    GameTest() : Game(TGamePlatform{Device, Clock, Sound, Messages, Data.Path().string()}, GamePages()) {}
    // One frame of game time: race clock ticks due, then the frame.
    void RunFrames(int Count)
    {
        for (int I = 0; I < Count; ++I)
        {
            Clock.Advance(1000);
            Game.RaceTimer.Poll();
            Game.FrameTimer.Tick();
        }
    }

    // How often the effect Name was started.
    long Count(const std::string& Name)
    {
        const TSoundListItem* Item = Game.Sound3D.FindSound(Name);
        return Item == nullptr ? -1 : Sound.PlayCount("/" + Item->FileName);
    }

    test::TTempDir Data;
    TNullRenderDevice Device;
    TManualClock Clock{90000};
    test::TRecordingAudioDevice Sound;
    test::TMessageRecorder Messages;
    TGame Game;
};

TEST_F(GameTest, KeysLatchOnReleaseOnly)
{
    Game.FormKeyDown(vkLeft);
    EXPECT_EQ(Game.State.KeyHeld[vkLeft], 1);
    EXPECT_EQ(Game.State.KeyReleased[vkLeft], 0);
    Game.FormKeyDown(vkLeft); // auto-repeat
    Game.FormKeyUp(vkLeft);
    EXPECT_EQ(Game.State.KeyHeld[vkLeft], 0);
    EXPECT_EQ(Game.State.KeyReleased[vkLeft], 1);
    // The latch stays until a screen takes it or an enter routine clears all latches.
    Game.FormKeyDown(vkLeft);
    EXPECT_EQ(Game.State.KeyReleased[vkLeft], 1);
    Game.EnterState(ssMainMenu);
    EXPECT_EQ(Game.State.KeyReleased[vkLeft], 0);
    // Keys the platform has no number for, or out of range, change nothing.
    const auto Held = Game.State.KeyHeld;
    Game.FormKeyDown(-1);
    Game.FormKeyUp(256);
    Game.FormKeyUp(1000);
    EXPECT_EQ(Game.State.KeyHeld, Held);
}

TEST_F(GameTest, MissingImageListIsReportedAndTheGameRuns)
{
    Game.FormCreate(7);
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text, FileErrorText);
    Game.FormShow();
    EXPECT_EQ(Game.State.ScreenState, ssLogo);
    EXPECT_EQ(Count("begin"), 1);
    RunFrames(400);
    EXPECT_EQ(Game.State.ScreenState, ssAddPlayer);
}

TEST_F(GameTest, DispatchUsesTheLowSevenBits)
{
    Game.EnterState(ssMainMenu | 0x80);
    EXPECT_EQ(Game.State.ScreenState, ssMainMenu);
}

TEST_F(GameTest, RaceClockCountsDownCuesTheLastTenSecondsThenTimesUp)
{
    Game.FormCreate(1);
    Game.FormShow();
    Game.State.ScreenState = ssRace;
    Game.State.PlayerName = "Ann%%";
    Game.State.TimeMinutes = 1;
    Game.State.TimeSeconds = 5;
    Game.State.TimeHundredths = 50;
    Game.RaceTimer.SetEnabled(true);
    // 1:05.50 is 6550 hundredths; each passes on one 10 ms tick (900 ticks of the clock).
    long Ticks = 0;
    std::vector<long> CueTicks;
    while (Game.State.ScreenState == ssRace && Ticks < 10000)
    {
        const long Before = Count("time");
        Clock.Advance(900);
        Game.RaceTimer.Poll();
        ++Ticks;
        if (Count("time") > Before)
            CueTicks.push_back(Ticks);
    }
    ASSERT_EQ(CueTicks.size(), 10u);
    // The first cue is the step from 10 to 9 seconds, one tick after 0:10.00.
    EXPECT_EQ(CueTicks.front(), 5550 + 1);
    EXPECT_EQ(CueTicks.back(), 5550 + 1 + 9 * 100);
    // All zero: the next tick enters time's up, which stops the clock.
    EXPECT_EQ(Ticks, 6551);
    EXPECT_EQ(Game.State.ScreenState, ssTimesUp);
    EXPECT_EQ(Count("timesup"), 1);
    EXPECT_FALSE(Game.RaceTimer.Enabled());
    EXPECT_EQ(Game.State.PlayerName, "Ann");
    Clock.Advance(90000);
    EXPECT_EQ(Game.RaceTimer.Poll(), 0);
}

TEST_F(GameTest, NoCueWhileMinutesRemain)
{
    Game.Sound3D.InitAudioPaths();
    Game.State.TimeMinutes = 1;
    Game.State.TimeSeconds = 10;
    for (int I = 0; I < 1000; ++I)
        Game.RaceTimerTimer();
    EXPECT_EQ(Count("time"), 0);
    EXPECT_EQ(Game.State.TimeMinutes, 1);
    EXPECT_EQ(Game.State.TimeSeconds, 0);
    EXPECT_EQ(Game.State.TimeHundredths, 0);
    Game.RaceTimerTimer(); // the minute rolls over to 0:59.99, still no cue
    EXPECT_EQ(Game.State.TimeMinutes, 0);
    EXPECT_EQ(Game.State.TimeSeconds, 59);
    EXPECT_EQ(Game.State.TimeHundredths, 99);
    EXPECT_EQ(Count("time"), 0);
}

TEST_F(GameTest, MenuMusicStartsWithTheGameAndIsFreedAtTheEnd)
{
    Game.FormCreate(1);
    Game.FormShow();
    const std::string Menu = Data.Path().string() + "/Sounds/1.xm";
    EXPECT_EQ(Sound.MusicCalls, std::vector<std::string>{"loop " + Menu});
    Game.FormDestroy();
    EXPECT_EQ(Sound.MusicCalls.back(), "free " + Menu);
}

TEST_F(GameTest, MusicOffStopsTheMenuTrackAtOnceAndSkipsTheMusicService)
{
    Game.FormCreate(1);
    Game.State.MusicOn = false;
    Game.State.SoundOn = false;
    Game.FormShow();
    const std::string Menu = Data.Path().string() + "/Sounds/1.xm";
    EXPECT_EQ(Sound.MusicCalls, (std::vector<std::string>{"loop " + Menu, "stop " + Menu}));
    // Cues that depend on the sound setting stay quiet; the logo's cue does not depend on it.
    Game.PlaySoundIfOn("check");
    EXPECT_EQ(Count("check"), 0);
    EXPECT_EQ(Count("begin"), 1);
    Game.State.SoundOn = true;
    Game.PlaySoundIfOn("check");
    EXPECT_EQ(Count("check"), 1);
}

TEST_F(GameTest, MissingSoundFilesLeaveTheGameRunningSilently)
{
    Sound.Missing = {".wav", ".xm"};
    Game.FormCreate(1);
    const std::size_t Boxes = Messages.Messages.size(); // the missing picture file
    Game.FormShow();
    RunFrames(400);
    EXPECT_EQ(Game.State.ScreenState, ssAddPlayer);
    EXPECT_EQ(Messages.Messages.size(), Boxes); // sound failures never open a message box
    const std::string Dir = Data.Path().string();
    EXPECT_EQ(Game.Sound3D.Reported(),
              (std::set<std::string>{"Error loading music: " + Dir + "/Sounds/1.xm",
                                     "Error loading sound: " + Dir + "/Sounds/start.wav"}));
    EXPECT_TRUE(Sound.Plays.empty());
}

class LogoTest : public GameTest
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(Data.Path() / "Data");
        TImageListCollection Items;
        TImageListItem* Logo = Items.Add();
        Logo->Name = "logo";
        TPicture Picture;
        ASSERT_TRUE(Picture.Assign(test::MakePngBytes(test::MakeSolidPixels(300, 100, 0xFFFFFFFFu))));
        Logo->SetPicture(std::move(Picture));
        ASSERT_TRUE(Items.SaveToFile(Data.File("Data/data1.vil")));
    }
};

TEST_F(LogoTest, FadesInAndOutThenLeaves)
{
    Game.FormCreate(1);
    for (const auto& M : Messages.Messages)
        ADD_FAILURE() << M.Caption << ": " << M.Text;
    Game.FormShow();
    ASSERT_NE(Game.Pages.Parts.FMenuScreen, nullptr);
    TSprite* Logo = Game.Pages.Parts.FMenuScreen;
    EXPECT_FLOAT_EQ(Logo->X(), 250);
    EXPECT_FLOAT_EQ(Logo->Y(), 250);
    EXPECT_EQ(Logo->Z(), 20);
    EXPECT_EQ(Logo->Alpha(), 0);
    RunFrames(31); // ticks 0..30: still dark
    EXPECT_EQ(Logo->Alpha(), 0);
    RunFrames(84); // ticks 31..114
    EXPECT_EQ(Logo->Alpha(), 252);
    RunFrames(176); // up to tick 290
    EXPECT_EQ(Logo->Alpha(), 252);
    RunFrames(49); // ticks 291..339
    EXPECT_EQ(Logo->Alpha(), 7);
    const long Quads = Device.FQuads;
    EXPECT_GT(Quads, 300);
    RunFrames(45); // ticks 340..384
    EXPECT_EQ(Game.State.ScreenState, ssAddPlayer);
    // The logo is gone; the two menu lights are made as it ends (the next page has its own sprites).
    for (int I = 0; I < Game.SpriteEngine.Count(); ++I)
        EXPECT_NE(Game.SpriteEngine.Sprites(I)->Name(), "logo");
    EXPECT_NE(Game.Pages.Parts.FMenuLights[0], nullptr);
    EXPECT_NE(Game.Pages.Parts.FMenuLights[1], nullptr);
    EXPECT_EQ(Game.Screen.GlobalColor(), 0xFFFFFFFFu);
}

TEST_F(GameTest, CloseRequestsAreRefusedOutsideTheExitScreen)
{
    for (const int Which : {ssLogo, ssMainMenu, ssRace, ssPause, ssOptions, ssExitQuestion, ssYourScore})
    {
        Game.State.ScreenState = static_cast<std::uint8_t>(Which);
        EXPECT_FALSE(Game.FormCloseQuery()) << Which;
    }
    Game.State.ScreenState = ssExit;
    EXPECT_TRUE(Game.FormCloseQuery());
}

} // namespace
} // namespace vm
