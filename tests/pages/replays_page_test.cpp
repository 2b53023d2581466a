// The replays page and watching a kept run through a whole game: the list, its keys, the playback
// keys and speeds, the window's input kept away from the run, and the way back to the real game.
#include "common/build_info.h"
#include "engine/pad_input.h"
#include "persist/replay_writer.h"
#include "race/replay_view.h"
#include "race/run_start.h"
#include "screen_game_fixture.h"
#include "world/player.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vm::test {
namespace {

namespace fs = std::filesystem;

TGamePlatform PlatformWithReplays(TNullRenderDevice& Device, TManualClock& Clock,
                                  TRecordingAudioDevice& Sound, TMessageRecorder& Messages,
                                  TFakeTextRasterizer& Text, const TTempDir& Work)
{
    TGamePlatform Platform{Device, Clock, Sound, Messages, VM_ASSET_DIR, &Text};
    Platform.Files.ReplayFolder = Work.File("replays");
    return Platform;
}

class ReplaysPageTest : public ::testing::Test
{
protected:
    ReplaysPageTest()
        : Folder(Work.Path()),
          Game(PlatformWithReplays(Device, Clock, Sound, Messages, Text, Work), GamePages())
    {
        Game.FormCreate(3);
        Game.FormShow();
        Game.LeaveState(ssLogo);
        Game.State.PlayerName = "Ann";
    }

    void RunFrames(int Count) { RunGameFrames(Game, Clock, Count); }
    void Tap(int Key) { TapKey(Game, Key); }
    void Press(int Key)
    {
        Tap(Key);
        RunFrames(1);
    }
    int StateId() const { return Game.State.ScreenState; }

    // A run started as the car page starts it, driven with Up held from the green light, its
    // car's place noted after Noted frames, and left through the exit question after Frames.
    void RecordRun(int Noted, int Frames)
    {
        Game.LeaveState(Game.State.ScreenState);
        Game.State.ScreenState = ssChooseCar;
        Game.Catalogues.FCarIndex = 0;
        StartRun(Game);
        for (int F = 1; F <= Frames; ++F)
        {
            if (F == 260)
                Game.FormKeyDown(vkUp);
            RunFrames(1);
            if (F == Noted && Game.World.FPlayer != nullptr)
                NotedPlace = {Game.World.FPlayer->X(), Game.World.FPlayer->Y()};
        }
        Game.FormKeyUp(vkUp);
        Press(vkEscape);
        ASSERT_EQ(StateId(), ssRaceExitQuestion);
        Press(vkReturn);
        ASSERT_EQ(StateId(), ssMainMenu);
        ASSERT_FALSE(Game.Recorder.Recording());
    }

    void OpenReplays()
    {
        Game.LeaveState(Game.State.ScreenState);
        Game.EnterState(ssHighScores);
        RunFrames(2);
        ClickWidget(Game, Clock, FindButton(Game, "b_replays"));
        RunFrames(1);
        ASSERT_EQ(StateId(), ssReplays);
    }

    bool Drawn(const std::string& Wanted) const
    {
        return std::find(Text.Texts.begin(), Text.Texts.end(), Wanted) != Text.Texts.end();
    }
    std::string AllTexts() const
    {
        std::string All;
        for (const std::string& T : Text.Texts)
            All += T + " ";
        return All;
    }

    TTempDir Work;
    TWorkingFolder Folder;
    TNullRenderDevice Device;
    TManualClock Clock{1000 * FrameRate};
    TRecordingAudioDevice Sound;
    TMessageRecorder Messages;
    TFakeTextRasterizer Text;
    TGame Game;
    std::pair<float, float> NotedPlace{0, 0};
};

TEST_F(ReplaysPageTest, RunsAreKeptAndListedWithTheirPlayerScoreAndRaces)
{
    RecordRun(300, 320);
    Game.State.PlayerName = "Bob";
    RecordRun(300, 300);
    // An unfinished recording (as a crash leaves one) is listed too.
    {
        TReplayWriter Writer;
        std::string Error;
        TReplayHeader Header;
        Header.GameVersion = BuildVersion;
        Header.PlayerName = "Cy";
        ASSERT_TRUE(Writer.Open(Work.File("replays/run-20000101-000000.vmr"), Header, Error)) << Error;
    }
    OpenReplays();
    RunFrames(1);
    EXPECT_TRUE(Drawn("Ann"));
    EXPECT_TRUE(Drawn("Bob"));
    EXPECT_TRUE(Drawn("Cy"));
    EXPECT_TRUE(Drawn("unfinished"));
    EXPECT_TRUE(Drawn("1")); // the races of a run left in its first race
    EXPECT_EQ(Game.KeptRuns.List().size(), 3u);
    EXPECT_EQ(Game.KeptRuns.List()[0].Player, "Bob");

    // Esc goes back to the high scores, and the button comes back here.
    Press(vkEscape);
    EXPECT_EQ(StateId(), ssHighScores);
}

TEST_F(ReplaysPageTest, KeysChooseARunAndEnterWatchesIt)
{
    RecordRun(300, 310);
    Game.State.PlayerName = "Bob";
    RecordRun(300, 310);
    OpenReplays();
    // The newest (Bob's) is chosen first; Down chooses Ann's, and stops at the end of the list.
    Press(vkDown);
    Press(vkDown);
    Press(vkReturn);
    ASSERT_TRUE(Game.Watching());
    EXPECT_EQ(Game.State.PlayerName, "Ann");
    EXPECT_EQ(StateId(), ssRace);
    // A pad's B (Esc) ends the watching on its release, and the page is back.
    Game.PadAdded(0);
    Game.PadButton(0, pbB, true);
    EXPECT_TRUE(Game.Watching());
    Game.PadButton(0, pbB, false);
    EXPECT_FALSE(Game.Watching());
    RunFrames(2);
    EXPECT_EQ(StateId(), ssReplays);
    Press(vkUp);
    Press(vkReturn);
    EXPECT_EQ(Game.State.PlayerName, "Bob");
}

TEST_F(ReplaysPageTest, PlaybackSpeedsPauseAndSingleFrames)
{
    RecordRun(300, 400);
    OpenReplays();
    Press(vkReturn);
    ASSERT_TRUE(Game.Watching());
    auto Frame = [this] { return WatchInfo(Game).Frame; };
    EXPECT_EQ(WatchInfo(Game).Speed, 1);
    RunFrames(1);
    EXPECT_EQ(Frame(), 1);
    Game.FormKeyDown(vkUp);
    RunFrames(1);
    EXPECT_EQ(Frame(), 3);
    Game.FormKeyDown(vkUp);
    Game.FormKeyDown(vkUp); // x4 is the fastest
    const long Presents = Device.FPresents;
    RunFrames(2);
    EXPECT_EQ(Frame(), 11);
    // Of each tick's frames only the last is drawn.
    EXPECT_EQ(Device.FPresents - Presents, 2);
    EXPECT_EQ(WatchInfo(Game).Speed, 4);
    Game.FormKeyDown(vkDown);
    RunFrames(1);
    EXPECT_EQ(Frame(), 13);
    // Pause: one more frame shows it on the panel, then the run holds.
    Game.FormKeyDown(vkReturn);
    RunFrames(5);
    EXPECT_EQ(Frame(), 14);
    EXPECT_TRUE(WatchInfo(Game).Paused);
    // Right plays one frame at a time.
    Game.FormKeyDown(vkRight);
    RunFrames(3);
    EXPECT_EQ(Frame(), 15);
    Game.FormKeyDown(vkSpace); // goes on at the speed it had
    RunFrames(1);
    EXPECT_EQ(Frame(), 17);
    // The end: the last frame stays up until Esc.
    RunFrames(400);
    EXPECT_EQ(Frame(), WatchInfo(Game).Frames);
    EXPECT_TRUE(Game.Watching());
}

TEST_F(ReplaysPageTest, TheWindowsInputDoesNotReachTheWatchedRun)
{
    RecordRun(300, 320);
    OpenReplays();
    Press(vkReturn);
    ASSERT_TRUE(Game.Watching());
    // The player's keys, mouse, pads and focus while watching: none of it drives the car.
    for (int F = 1; F <= 300; ++F)
    {
        if (F % 7 == 0)
            Game.FormKeyDown(vkLeft);
        if (F % 11 == 0)
            Game.FormKeyUp(vkLeft);
        if (F == 280)
            Game.FormKeyUp(vkUp); // the recorded Up must stay held
        Game.MouseButton(F % 2 == 0, 100, 100);
        Game.TextInput("x");
        Game.FocusChanged(F % 50 != 0);
        Game.RaceTimerTimer(); // the window's race clock steps are not the recording's
        RunFrames(1);
    }
    ASSERT_EQ(WatchInfo(Game).Frame, 300);
    ASSERT_NE(Game.World.FPlayer, nullptr);
    EXPECT_EQ(Game.World.FPlayer->X(), NotedPlace.first);
    EXPECT_EQ(Game.World.FPlayer->Y(), NotedPlace.second);
    EXPECT_NE(NotedPlace, (std::pair<float, float>{0, 0}));
}

TEST_F(ReplaysPageTest, EscPutsTheRealGameBackAsItWas)
{
    RecordRun(300, 330);
    Game.State.Score = 777;
    Game.State.Lives = 2;
    Game.State.RaceNumber = 5;
    Game.State.PlayerName = "Zed";
    Game.State.SoundOn = false;
    Game.Catalogues.FCarIndex = 2;
    OpenReplays();
    const TGameState Before = Game.State;
    const std::uint64_t RngBefore = Game.Rng.State();
    const int CarBefore = Game.Catalogues.FCarIndex;
    const bool RaceClockBefore = Game.RaceTimer.Enabled();
    const auto FilesBefore = [this] {
        std::vector<std::pair<std::string, std::string>> Files;
        for (const auto& Entry : fs::recursive_directory_iterator(Work.Path()))
            if (Entry.is_regular_file())
            {
                std::ifstream In(Entry.path(), std::ios::binary);
                Files.emplace_back(Entry.path().string(),
                                   std::string(std::istreambuf_iterator<char>(In), {}));
            }
        std::sort(Files.begin(), Files.end());
        return Files;
    };
    const auto Files = FilesBefore();

    Press(vkReturn);
    ASSERT_TRUE(Game.Watching());
    EXPECT_TRUE(Game.Playback());
    EXPECT_EQ(Game.State.PlayerName, "Ann");
    RunFrames(320); // to the run's end and past it
    EXPECT_FALSE(Game.Recorder.Recording());
    Game.FormKeyDown(vkEscape);
    EXPECT_TRUE(Game.Watching()); // Esc acts on its release
    Game.FormKeyUp(vkEscape);
    EXPECT_FALSE(Game.Watching());
    EXPECT_FALSE(Game.Playback());
    EXPECT_EQ(StateId(), ssReplays);
    EXPECT_EQ(Game.State.Score, 777);
    EXPECT_EQ(Game.State.Lives, 2);
    EXPECT_EQ(Game.State.RaceNumber, 5);
    EXPECT_EQ(Game.State.PlayerName, "Zed");
    EXPECT_FALSE(Game.State.SoundOn);
    EXPECT_EQ(Game.Catalogues.FCarIndex, CarBefore);
    EXPECT_EQ(Game.Rng.State(), RngBefore);
    EXPECT_EQ(Game.State.Controls, Before.Controls);
    EXPECT_EQ(Game.World.FPlayer, nullptr);
    EXPECT_EQ(Game.RaceTimer.Enabled(), RaceClockBefore);
    // Nothing was written while watching, and the Esc did not reach the page.
    EXPECT_EQ(FilesBefore(), Files);
    RunFrames(3);
    EXPECT_EQ(StateId(), ssReplays);
    // The next run of the real game is recorded again.
    Game.LeaveState(ssReplays);
    Game.State.ScreenState = ssChooseCar;
    StartRun(Game);
    EXPECT_TRUE(Game.Recorder.Recording());
}

TEST_F(ReplaysPageTest, AnotherVersionsRunOrADamagedOneSaysWhyAndDoesNotStart)
{
    {
        TReplayWriter Writer;
        std::string Error;
        TReplayHeader Header;
        fs::create_directories(Work.File("replays"));
        Header.GameVersion = "0.0.1-other";
        Header.PlayerName = "Old";
        ASSERT_TRUE(Writer.Open(Work.File("replays/run-20000101-000000.vmr"), Header, Error)) << Error;
        TReplayEnd End;
        End.PlayerName = "Old";
        ASSERT_TRUE(Writer.Finish(&End, Error)) << Error;
    }
    OpenReplays();
    Press(vkReturn);
    EXPECT_FALSE(Game.Watching());
    EXPECT_EQ(StateId(), ssReplays);
    RunFrames(1);
    EXPECT_NE(AllTexts().find("recorded with Velomarch 0.0.1-other"), std::string::npos) << AllTexts();

    // Damaged after it was listed: the reader's reason, and the page stays.
    {
        std::ofstream Out(Work.File("replays/run-20000101-000000.vmr"), std::ios::binary | std::ios::trunc);
        Out << "VMREPLAYgarbage";
    }
    Press(vkReturn);
    EXPECT_FALSE(Game.Watching());
    RunFrames(1);
    EXPECT_NE(AllTexts().find("This replay cannot be played:"), std::string::npos);
    EXPECT_EQ(StateId(), ssReplays);
}

} // namespace
} // namespace vm::test
