// Tests that a run recorded in one game plays back the same in another, from any starting state,
// that playback changes none of the player's files or tables, and that bad recordings are refused.
#include "common/build_info.h"
#include "engine/audio_device.h"
#include "engine/clock.h"
#include "engine/fake_text_rasterizer.h"
#include "engine/game_constants.h"
#include "engine/null_render_device.h"
#include "engine/pad_input.h"
#include "pages/page_rows.h"
#include "persist/replay_reader.h"
#include "race/replay_player.h"
#include "race/replay_view.h"
#include "race/run_start.h"
#include "shell/game.h"
#include "shell/score_service.h"
#include "support/game_input.h"
#include "support/test_support.h"
#include "world/enemy_car.h"
#include "world/player.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>

namespace vm {
namespace {

namespace fs = std::filesystem;

// One game on the null renderer, its files in a folder of its own.
struct TTestGame
{
    explicit TTestGame(const std::string& Folder) : Game(MakePlatform(Folder), GamePages()) {}
    TGamePlatform MakePlatform(const std::string& Folder)
    {
        TGamePlatform Platform{Device, Clock, Audio, Messages, VM_ASSET_DIR, &Text};
        Platform.Files.SettingsFile = Folder + "/Config.cfg";
        Platform.Files.ProgressFile = Folder + "/Configdat.cfg";
        Platform.Files.ControlsFile = Folder + "/Controls.cfg";
        Platform.Files.ShortcutFolder = Folder;
        return Platform;
    }
    void Frames(int Count) { test::RunGameFrames(Game, Clock, Count); }

    TNullRenderDevice Device;
    TManualClock Clock{1000 * FrameRate};
    TSilentAudioDevice Audio;
    test::TMessageRecorder Messages;
    test::TFakeTextRasterizer Text;
    TGame Game;
};

// What a run has come to, compared between a recording game and its playback.
struct TRunPoint
{
    int Screen = 0, Score = 0, Lives = 0, Race = 0, Minutes = 0, Seconds = 0, Hundredths = 0, RaceTicks = 0;
    std::uint64_t Random = 0;
    std::string Name;
    std::vector<float> Cars; // every car's place and health, the player's position first
    bool operator==(const TRunPoint&) const = default;
};

TRunPoint PointOf(const TGame& Game)
{
    TRunPoint P{Game.State.ScreenState,
                Game.State.Score,
                Game.State.Lives,
                Game.State.RaceNumber,
                Game.State.TimeMinutes,
                Game.State.TimeSeconds,
                Game.State.TimeHundredths,
                Game.Race.FRaceTicks,
                Game.Rng.State(),
                Game.State.PlayerName,
                {}};
    if (const TPlayer* Player = Game.World.FPlayer)
    {
        P.Cars = {Player->X(), Player->Y(), static_cast<float>(Player->FSpeed),
                  static_cast<float>(Player->Health)};
        for (int Slot = 0; Slot < Game.World.FEnemyCount && Slot < TRaceWorld::MaxOpponents; ++Slot)
            if (const auto* Car =
                    static_cast<const TEnemyCar*>(Game.World.FEnemies[static_cast<std::size_t>(Slot)]))
                P.Cars.insert(P.Cars.end(), {Car->X(), Car->Y(), static_cast<float>(Car->Health)});
    }
    return P;
}

class ReplayPlayerTest : public ::testing::Test
{
protected:
    ReplayPlayerTest() : Recorder(RecorderDir.Path().string()), Player(PlayerDir.Path().string()) {}

    // Start-up with Seed, then the player's choices that the run reads, and a run recorded to
    // Path as the car page starts it (with Enter still held from the page).
    void StartRecordedRun(const std::string& Path, std::uint64_t Seed = 21)
    {
        TGame& G = Recorder.Game;
        G.FormCreate(Seed);
        G.FormShow();
        Recorder.Frames(3);
        G.LeaveState(ssLogo);
        G.State.ScreenState = ssChooseCar;
        G.State.PlayerName = "Ann";
        int Conflict = 0;
        G.State.Controls.BindKey(acAccelerate, 'W', Conflict);
        G.Catalogues.FTrackIndex = 2;
        G.Catalogues.FCarIndex = 3;
        G.State.KeyHeld[vkReturn] = 1;
        G.Recorder.NextPath = [Path] { return Path; };
        G.Recorder.OnFinished = [this](const std::string& Written, const TReplayEnd* End) {
            FinishedPath = Written;
            Finished = End != nullptr;
            if (End != nullptr)
                EndRecord = *End;
            AtEnd = PointOf(Recorder.Game);
        };
        StartRun(G);
    }

    // Every kind of call during a race: keys, a pause and its end, the focus, a pad, the mouse, text.
    void PlayARace()
    {
        TGame& G = Recorder.Game;
        Recorder.Frames(260); // the start lights
        G.FormKeyUp(vkReturn);
        G.FormKeyDown('W');
        Recorder.Frames(200);
        G.FormKeyDown(vkLeft);
        Recorder.Frames(40);
        G.FormKeyUp(vkLeft);
        test::TapKey(G, 'P');
        Recorder.Frames(30);
        G.TextInput("pause");
        G.MouseMove(400, 300);
        test::TapKey(G, 'P');
        Recorder.Frames(60);
        G.FocusChanged(false);
        Recorder.Frames(5);
        G.FocusChanged(true);
        test::TapKey(G, 'P');
        G.PadAdded(1);
        Recorder.Frames(5);
        test::TapKey(G, 'P');
        G.PadAxis(1, paRightTrigger, 32767);
        G.PadAxis(1, paLeftX, 30000);
        Recorder.Frames(120);
        G.PadButton(1, pbA, true);
        G.PadButton(1, pbA, false);
        G.PadRemoved(1);
        Recorder.Frames(3);
        test::TapKey(G, 'P');
        Recorder.Frames(300);
    }

    // Plays Path on the player's game, started from other settings and another seed.
    // With Paused, the player's game is in a run of its own, paused, when the playback starts.
    TRunPoint PlayBack(const std::string& Path, bool Paused = false)
    {
        TGame& G = Player.Game;
        G.FormCreate(99);
        G.FormShow();
        Player.Frames(7);
        if (Paused)
        {
            G.LeaveState(ssLogo);
            G.State.ScreenState = ssChooseCar;
            StartRun(G);
            Player.Frames(300);
            test::TapKey(G, 'P');
            Player.Frames(2);
            EXPECT_EQ(G.State.ScreenState, ssPause);
        }
        TReplay Replay;
        std::string Error;
        EXPECT_TRUE(ReadReplayFile(Path, Replay, Error)) << Error;
        TReplayPlayer Playback(G, Replay);
        Playback.AdvanceClock = [this] { Player.Clock.Advance(1000); };
        EXPECT_TRUE(Playback.Start(Error)) << Error;
        EXPECT_TRUE(G.Playback());
        Playback.PlayToEnd();
        EXPECT_EQ(Playback.Frame(), Replay.Frames);
        return PointOf(G);
    }

    // A recorded run driven into the walls to its final score. There Replay is clicked, the run so
    // far watched for Ticks frames (-1: to its end, at x4) and left with Esc: the game must be on
    // that page as it was. Then the run ends, and its recording must play back to the same end.
    void WatchFromYourScore(int Ticks)
    {
        const std::string Path = Recordings.File("run.vmr");
        StartRecordedRun(Path);
        TGame& G = Recorder.Game;
        Recorder.Frames(260);
        G.FormKeyUp(vkReturn);
        G.FormKeyDown('W');
        G.FormKeyDown(vkLeft);
        for (int I = 0; I < 9000 && G.State.ScreenState != ssYourScore; ++I)
            Recorder.Frames(1);
        ASSERT_EQ(G.State.ScreenState, ssYourScore);
        G.FormKeyUp('W');
        G.FormKeyUp(vkLeft);
        Recorder.Frames(205);
        const TGuiComponent* Replay = test::FindButton(G, "bro_replay");
        ASSERT_NE(Replay, nullptr);
        ASSERT_TRUE(Replay->Visible);
        const TRunPoint Before = PointOf(G);
        const int Sprites = G.SpriteEngine.Count();

        test::ClickWidget(G, Recorder.Clock, Replay);
        EXPECT_FALSE(G.Watching()); // on the next frame, the button let go
        Recorder.Frames(1);
        ASSERT_TRUE(G.Watching());
        const std::int32_t Recorded = G.Recorder.Frames();
        EXPECT_EQ(WatchInfo(G).Frames, Recorded);
        EXPECT_EQ(G.State.Score, 0); // the run from its start
        if (Ticks >= 0)
            Recorder.Frames(Ticks);
        else
        {
            test::TapKey(G, vkUp);
            test::TapKey(G, vkUp);
            for (int I = 0; I < Recorded && WatchInfo(G).Frame < Recorded; ++I)
                Recorder.Frames(1);
            EXPECT_EQ(WatchInfo(G).Frame, Recorded);
        }
        EXPECT_EQ(G.Recorder.Frames(), Recorded); // nothing of the playback is recorded
        test::TapKey(G, vkEscape);
        ASSERT_FALSE(G.Watching());
        EXPECT_FALSE(G.Playback());
        EXPECT_EQ(PointOf(G), Before);
        EXPECT_EQ(G.SpriteEngine.Count(), Sprites);
        ASSERT_NE(test::FindButton(G, "bro_next"), nullptr);
        EXPECT_TRUE(test::FindButton(G, "bro_next")->Visible);
        EXPECT_TRUE(G.Recorder.Recording());

        // The run goes on to its end: Next, and no to sending the score.
        test::ClickWidget(G, Recorder.Clock, test::FindButton(G, "bro_next"));
        Recorder.Frames(2);
        ASSERT_EQ(G.State.ScreenState, ssSendScore);
        test::ClickWidget(G, Recorder.Clock, test::FindButton(G, "b_no1"));
        Recorder.Frames(2);
        EXPECT_TRUE(Finished);
        EXPECT_EQ(EndRecord.Score, Before.Score);
        EXPECT_EQ(PlayBack(Path), AtEnd);
    }

    test::TTempDir RecorderDir, PlayerDir, Recordings;
    TTestGame Recorder, Player;
    std::string FinishedPath;
    bool Finished = false;
    TReplayEnd EndRecord;
    TRunPoint AtEnd;
};

TEST_F(ReplayPlayerTest, AStoppedRunPlaysBackToTheSameRaceState)
{
    const std::string Path = Recordings.File("run.vmr");
    StartRecordedRun(Path);
    PlayARace();
    EXPECT_TRUE(Recorder.Game.Recorder.Recording());
    EXPECT_TRUE(fs::exists(Path + ".part"));
    Recorder.Game.Recorder.Stop(Recorder.Game);
    EXPECT_EQ(FinishedPath, Path);
    EXPECT_FALSE(Finished);
    ASSERT_EQ(AtEnd.Screen, ssRace);
    ASSERT_GT(AtEnd.Cars.size(), 4u);
    EXPECT_GT(AtEnd.RaceTicks, 500);
    EXPECT_EQ(PlayBack(Path), AtEnd);
}

TEST_F(ReplayPlayerTest, APlaybackStartedInAPausedRunLeavesThatRunFirst)
{
    const std::string Path = Recordings.File("run.vmr");
    StartRecordedRun(Path);
    PlayARace();
    Recorder.Game.Recorder.Stop(Recorder.Game);
    ASSERT_EQ(AtEnd.Screen, ssRace);
    EXPECT_EQ(PlayBack(Path, true), AtEnd);
}

TEST_F(ReplayPlayerTest, ARunLeftThroughTheExitQuestionEndsItsRecordingFinished)
{
    const std::string Path = Recordings.File("run.vmr");
    StartRecordedRun(Path);
    PlayARace();
    test::TapKey(Recorder.Game, vkEscape);
    Recorder.Frames(20);
    EXPECT_TRUE(Recorder.Game.Recorder.Recording());
    test::TapKey(Recorder.Game, vkReturn);
    Recorder.Frames(1);
    // The run ended on that frame: what follows on the menu is not recorded.
    EXPECT_FALSE(Recorder.Game.Recorder.Recording());
    EXPECT_TRUE(Finished);
    EXPECT_EQ(EndRecord.ScreenState, ssMainMenu);
    EXPECT_EQ(EndRecord.PlayerName, "Ann");
    EXPECT_EQ(EndRecord.Lives, 3);
    EXPECT_TRUE(fs::exists(Path));
    EXPECT_FALSE(fs::exists(Path + ".part"));
    Recorder.Frames(50);
    TReplay Replay;
    std::string Error;
    ASSERT_TRUE(ReadReplayFile(Path, Replay, Error)) << Error;
    EXPECT_TRUE(Replay.Finished);
    EXPECT_EQ(Replay.Header.PlayerName, "Ann");
    EXPECT_EQ(Replay.Header.CarIndex, 3);
    EXPECT_EQ(Replay.Header.GameVersion, BuildVersion);
    EXPECT_EQ(Replay.End.Frames, Replay.Frames);
    EXPECT_EQ(PlayBack(Path), AtEnd);
    EXPECT_EQ(Player.Game.State.ScreenState, ssMainMenu);
}

TEST_F(ReplayPlayerTest, ARecordingThatCannotBeWrittenIsToldAndTheRunGoesOn)
{
    StartRecordedRun(Recordings.File("no/such/folder/run.vmr"));
    TGame& G = Recorder.Game;
    EXPECT_FALSE(G.Recorder.Recording());
    ASSERT_FALSE(G.Notices.Posted().empty());
    EXPECT_NE(G.Notices.Posted().back().find("not recorded"), std::string::npos) << G.Notices.Posted().back();
    Recorder.Frames(300);
    EXPECT_EQ(G.State.ScreenState, ssRace);
    EXPECT_TRUE(G.World.FPlayer->Driving);
}

TEST_F(ReplayPlayerTest, PlaybackWritesNoFileKeepsNoScoreAndRecordsNothing)
{
    TGame& G = Player.Game;
    G.FormCreate(3);
    G.FormShow();
    TNoScoreService Before;
    G.Scores = &Before;
    const THighScoreRow Top = G.HighScores.Row(1);
    G.SetPlayback(true);
    G.State.VolumeLevel = 2;
    EXPECT_TRUE(G.SaveFiles());
    EXPECT_TRUE(G.SaveSettingsFile());
    EXPECT_TRUE(G.SaveControlsFile());
    EXPECT_TRUE(fs::is_empty(PlayerDir.Path()));
    // The table is asked, not changed.
    EXPECT_TRUE(G.Scores->EnterHighScore("Zed", 1000000));
    EXPECT_FALSE(G.Scores->EnterHighScore("Zed", 1));
    EXPECT_EQ(G.HighScores.Row(1).Name, Top.Name);
    EXPECT_EQ(G.HighScores.Row(1).ScoreText, Top.ScoreText);
    // A send reaches nothing and lands as stored at the second look, as a sent score would.
    G.Scores->StartSend("Zed", 5);
    EXPECT_FALSE(G.Scores->TakeSendResult().has_value());
    const auto Result = G.Scores->TakeSendResult();
    ASSERT_TRUE(Result.has_value());
    EXPECT_EQ(Result->Outcome, TSendOutcome::Stored);
    // A run started in playback is not recorded.
    G.Recorder.NextPath = [this] { return Recordings.File("x.vmr"); };
    G.LeaveState(ssLogo);
    G.State.ScreenState = ssChooseCar;
    StartRun(G);
    Player.Frames(10);
    EXPECT_FALSE(G.Recorder.Recording());
    EXPECT_TRUE(fs::is_empty(Recordings.Path()));
    // Off again: the service in place before, and saving saves.
    G.SetPlayback(false);
    EXPECT_EQ(G.Scores, &Before);
    EXPECT_TRUE(G.SaveFiles());
    EXPECT_TRUE(fs::exists(PlayerDir.File("Config.cfg")));
}

TEST_F(ReplayPlayerTest, TheRunWatchedFromItsScorePageAndLeftAtOnceGoesOnAsIfNotWatched)
{
    WatchFromYourScore(0);
}

TEST_F(ReplayPlayerTest, TheRunWatchedFromItsScorePageForAWhileGoesOnAsIfNotWatched)
{
    WatchFromYourScore(700);
}

TEST_F(ReplayPlayerTest, TheRunWatchedFromItsScorePageToTheEndGoesOnAsIfNotWatched)
{
    WatchFromYourScore(-1);
}

TEST_F(ReplayPlayerTest, AnotherVersionOrAStartOutOfRangeIsRefusedChangingNothing)
{
    const std::string Path = Recordings.File("run.vmr");
    StartRecordedRun(Path);
    Recorder.Frames(100);
    Recorder.Game.Recorder.Stop(Recorder.Game);
    TReplay Replay;
    std::string Error;
    ASSERT_TRUE(ReadReplayFile(Path, Replay, Error)) << Error;
    // Another build of this version plays.
    Replay.Header.GameRevision = "0000000-modified";
    EXPECT_TRUE(TReplayPlayer::CanPlay(Replay, Error)) << Error;

    TGame& G = Player.Game;
    G.FormCreate(5);
    G.FormShow();
    TReplay Old = Replay;
    Old.Header.GameVersion = "0.0.1-old";
    TReplayPlayer Playback(G, Old);
    EXPECT_FALSE(Playback.Start(Error));
    EXPECT_NE(Error.find("0.0.1-old"), std::string::npos) << Error;
    EXPECT_NE(Error.find(BuildVersion), std::string::npos) << Error;
    EXPECT_FALSE(G.Playback());
    EXPECT_EQ(G.State.ScreenState, ssLogo);
    EXPECT_FALSE(Playback.StepFrame());

    const auto Refused = [&](void (*Spoil)(TReplayHeader&)) {
        TReplay Bad = Replay;
        Spoil(Bad.Header);
        std::string Why;
        return !TReplayPlayer::CanPlay(Bad, Why) && Why.find("cannot use") != std::string::npos;
    };
    EXPECT_TRUE(Refused([](TReplayHeader& H) { H.Bindings[0].Pad = {PadControlCount}; }));
    EXPECT_TRUE(Refused([](TReplayHeader& H) { H.Bindings[2].Keys = {256}; }));
    EXPECT_TRUE(Refused([](TReplayHeader& H) { H.Bindings.pop_back(); }));
    EXPECT_TRUE(Refused([](TReplayHeader& H) { H.KeysHeld = {-1}; }));
    EXPECT_TRUE(Refused([](TReplayHeader& H) { H.PadHeld.push_back(0); }));
    EXPECT_TRUE(Refused([](TReplayHeader& H) { H.Tracks.resize(kTrackSlots + 1); }));
}

TEST_F(ReplayPlayerTest, EveryCutOfARecordingPlaysAndEveryBitFlipIsRefused)
{
    const std::string Path = Recordings.File("run.vmr");
    StartRecordedRun(Path);
    Recorder.Frames(250);
    Recorder.Game.FormKeyDown('W');
    Recorder.Frames(60);
    Recorder.Game.FormKeyUp('W');
    Recorder.Frames(10);
    Recorder.Game.Recorder.Stop(Recorder.Game);
    std::ifstream In(Path, std::ios::binary);
    const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    ASSERT_GT(Bytes.size(), 100u);

    TGame& G = Player.Game;
    G.FormCreate(5);
    G.FormShow();
    int LastFrames = 0;
    for (std::size_t Size = 0; Size <= Bytes.size(); ++Size)
    {
        TReplay Replay;
        std::string Error;
        if (!ReadReplay(Bytes.substr(0, Size), Replay, Error))
        {
            EXPECT_FALSE(Error.empty());
            EXPECT_EQ(LastFrames, 0) << "a cut at " << Size << " refused after a readable one: " << Error;
            continue;
        }
        EXPECT_GE(Replay.Frames, LastFrames);
        LastFrames = Replay.Frames;
        TReplayPlayer Playback(G, Replay);
        ASSERT_TRUE(Playback.Start(Error)) << Error;
        Playback.PlayToEnd();
        EXPECT_EQ(Playback.Frame(), Replay.Frames);
    }
    EXPECT_EQ(LastFrames, 320);

    std::mt19937 Random(11);
    for (std::size_t At = 0; At < Bytes.size(); ++At)
    {
        std::string Damaged = Bytes;
        Damaged[At] = static_cast<char>(Damaged[At] ^ (1 << (Random() % 8)));
        TReplay Replay;
        std::string Error;
        EXPECT_FALSE(ReadReplay(Damaged, Replay, Error)) << "byte " << At;
        EXPECT_FALSE(Error.empty());
    }
}

} // namespace
} // namespace vm
