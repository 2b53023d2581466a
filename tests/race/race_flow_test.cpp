// The race while it runs: start lights, pause and exit question, wrong way and put-back, wrecks,
// the finish countdown, and the race texts.
#include "race/race_frame.h"
#include "race/race_screens.h"
#include "race/race_texts.h"
#include "race_game_fixture.h"

#include <algorithm>
#include <set>

namespace vm::test {
namespace {

bool Rasterised(const TFakeTextRasterizer& Text, const std::string& Wanted)
{
    return std::find(Text.Texts.begin(), Text.Texts.end(), Wanted) != Text.Texts.end();
}

TEST_F(RaceGameTest, StartLightsCountDownAndTheRaceStartsOnGreen)
{
    StartRun(3);
    RunFrames(100);
    EXPECT_EQ(Plays("svet1"), 1);
    EXPECT_TRUE(Rasterised(Text, "Level 1"));
    for (int Slot = 0; Slot < 3; ++Slot)
        EXPECT_FALSE(static_cast<TEnemyCar*>(Game.World.FEnemies[static_cast<std::size_t>(Slot)])->Racing);
    RunFrames(150);
    EXPECT_EQ(Plays("svet1"), 2);
    EXPECT_EQ(Plays("svet2"), 0);
    EXPECT_FALSE(Player().Driving);
    RunFrames(1);
    EXPECT_EQ(Plays("svet2"), 1);
    EXPECT_TRUE(Player().Driving);
    EXPECT_TRUE(Game.RaceTimer.Enabled());
    EXPECT_TRUE(static_cast<TEnemyCar*>(Game.World.FEnemies[0])->Racing);
    // The arrows fade and go at tick 300; the counter then rests.
    RunFrames(60);
    EXPECT_EQ(Game.Race.FBegArrows, nullptr);
    EXPECT_EQ(Game.State.StateTicks, ArrowsGoneTick + 1);
    // The clock has run for the 60 frames since green (two thirds of a second).
    EXPECT_EQ(Game.State.TimeMinutes * 6000 + Game.State.TimeSeconds * 100 + Game.State.TimeHundredths,
              Game.Difficulty.FTimeLimitMinutes * 6000 - Game.Race.FRaceTicks);
    EXPECT_NEAR(Game.Race.FRaceTicks, 67, 1);
}

TEST_F(RaceGameTest, PauseAndExitQuestionDuringTheLightsDoNotStartTheClockOrReplayTheLights)
{
    StartRun(3);
    RunFrames(120);
    Tap('P');
    RunFrames(1);
    ASSERT_EQ(StateId(), ssPause);
    const int Tick = Game.State.StateTicks;
    EXPECT_TRUE(Game.FCursor->Visible);
    RunFrames(300);
    EXPECT_EQ(Game.State.StateTicks, Tick);
    EXPECT_FALSE(Game.RaceTimer.Enabled());
    Tap(vkF1);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssRace);
    EXPECT_FALSE(Game.RaceTimer.Enabled());
    EXPECT_FALSE(Game.FCursor->Visible);

    Tap(vkEscape);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssRaceExitQuestion);
    RunFrames(200);
    Tap(vkEscape);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssRace);
    EXPECT_FALSE(Game.RaceTimer.Enabled());
    EXPECT_EQ(Game.State.TimeMinutes, Game.Difficulty.FTimeLimitMinutes);
    // The sequence goes on from where it stopped: each cue once, the race starts on green.
    RunToGreen();
    EXPECT_EQ(Plays("svet1"), 2);
    EXPECT_EQ(Plays("svet2"), 1);
    EXPECT_TRUE(Game.RaceTimer.Enabled());
}

TEST_F(RaceGameTest, LosingTheFocusPausesTheRaceAndHoldsTheMusicUntilItIsBack)
{
    StartRun(3);
    RunToGreen();
    Game.FocusChanged(false);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssPause);
    EXPECT_FALSE(Game.RaceTimer.Enabled());
    ASSERT_FALSE(Sound.MusicCalls.empty());
    EXPECT_EQ(Sound.MusicCalls.back(), "pause");
    // Back in the window the race stays paused, as after P, and the music goes on.
    Game.FocusChanged(true);
    RunFrames(30);
    EXPECT_EQ(StateId(), ssPause);
    EXPECT_EQ(Sound.MusicCalls.back(), "resume");
    Tap('P');
    RunFrames(1);
    EXPECT_EQ(StateId(), ssRace);
    // A second loss in a row holds the music once; with music off nothing is held.
    Game.FocusChanged(false);
    Game.FocusChanged(false);
    EXPECT_EQ(std::count(Sound.MusicCalls.begin(), Sound.MusicCalls.end(), "pause"), 2);
    Game.FocusChanged(true);
    Game.State.MusicOn = false;
    Game.FocusChanged(false);
    Game.FocusChanged(true);
    EXPECT_EQ(std::count(Sound.MusicCalls.begin(), Sound.MusicCalls.end(), "pause"), 2);
}

TEST_F(RaceGameTest, PauseFreezesTheRaceAndResumingKeepsEverySprite)
{
    StartRun(3);
    RunToGreen();
    Game.FormKeyDown(vkUp);
    RunFrames(120);
    auto Snapshot = [this] {
        std::vector<std::tuple<TSprite*, float, float>> Sprites;
        for (int I = 0; I < Game.SpriteEngine.Count(); ++I)
        {
            TSprite* S = Game.SpriteEngine.Sprites(I);
            if (S != static_cast<TSprite*>(Game.FCursor))
                Sprites.emplace_back(S, S->X(), S->Y());
        }
        std::sort(Sprites.begin(), Sprites.end());
        return Sprites;
    };
    Game.FormKeyUp(vkUp);
    Tap('P');
    RunFrames(1);
    ASSERT_EQ(StateId(), ssPause);
    const auto Before = Snapshot();
    const auto Clock0 =
        std::make_tuple(Game.State.TimeMinutes, Game.State.TimeSeconds, Game.State.TimeHundredths);
    RunFrames(90);
    EXPECT_EQ(Snapshot(), Before);
    EXPECT_EQ(std::make_tuple(Game.State.TimeMinutes, Game.State.TimeSeconds, Game.State.TimeHundredths),
              Clock0);
    EXPECT_TRUE(Rasterised(Text, "Pause"));
    Tap(vkEscape);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssRace);
    EXPECT_TRUE(Game.RaceTimer.Enabled());
    // Nothing was rebuilt: every sprite of the race is still the same object.
    std::set<TSprite*> Now;
    for (int I = 0; I < Game.SpriteEngine.Count(); ++I)
        Now.insert(Game.SpriteEngine.Sprites(I));
    for (const auto& Entry : Before)
        EXPECT_TRUE(Now.count(std::get<0>(Entry))) << "a sprite was lost over the pause";
}

TEST_F(RaceGameTest, WrongWayShowsOnlyWhileReversingAndFarBackTheCarIsPutBack)
{
    StartRun(3);
    RunToGreen();
    Game.FormKeyDown(vkDown);
    bool Shown = false, PutBackSeen = false;
    for (int Frame = 0; Frame < 1500 && !PutBackSeen; ++Frame)
    {
        const double MeterBefore = Player().WrongWayMeter;
        RunFrames(1);
        if (ShowsWrongWay(Player()))
        {
            Shown = true;
            EXPECT_LT(Player().WrongWayMeter, -300);
        }
        if (MeterBefore < -900 && Player().WrongWayMeter == 0.0)
        {
            PutBackSeen = true;
            EXPECT_EQ(Player().FHeading, -90.0);
            EXPECT_EQ(Player().FSpeed, 0.0);
            EXPECT_TRUE(Player().FProtected);
            EXPECT_GE(Player().NextCheckpoint, 1);
            // The checkpoint the car was put back at lies on the car.
            const TCheckpoint& C = Game.World.FCheckpoints[static_cast<std::size_t>(Player().NextCheckpoint)];
            EXPECT_NEAR(C.X, Player().X(), 1.0);
            EXPECT_NEAR(C.Y, Player().Y(), 1.0);
        }
    }
    EXPECT_TRUE(Shown);
    EXPECT_TRUE(PutBackSeen);
    EXPECT_TRUE(Rasterised(Text, "Wrong way!"));
    Game.FormKeyUp(vkDown);

    // Far enough back but standing still: no warning.
    Player().WrongWayMeter = -500;
    Player().BackwardSpeed = 0;
    EXPECT_FALSE(ShowsWrongWay(Player()));
    Player().BackwardSpeed = 0.5;
    EXPECT_TRUE(ShowsWrongWay(Player()));
    Player().WrongWayMeter = -300;
    EXPECT_FALSE(ShowsWrongWay(Player()));
}

TEST_F(RaceGameTest, AWreckWithTheLastLifeEndsInGameOver)
{
    StartRun(3);
    RunToGreen();
    Game.State.Lives = 1;
    Player().Damage(1000);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssWrecked);
    EXPECT_EQ(Player().Health, 1);
    EXPECT_FALSE(Player().Driving);
    RunFrames(199);
    EXPECT_EQ(StateId(), ssWrecked);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssGameOver);
    EXPECT_FALSE(Game.RaceTimer.Enabled());
    RunFrames(200);
    EXPECT_EQ(StateId(), ssYourScore);
}

TEST_F(RaceGameTest, AWreckWithLivesLeftPutsTheCarBackWithOneLifeLess)
{
    StartRun(3);
    RunToGreen();
    Game.FormKeyDown(vkUp);
    RunFrames(300);
    Game.FormKeyUp(vkUp);
    Game.State.Lives = 2;
    const int TicksBefore = Game.Race.FRaceTicks;
    Player().Damage(1000);
    RunFrames(200);
    ASSERT_EQ(StateId(), ssWrecked);
    // The clock keeps running during the wreck.
    EXPECT_GT(Game.Race.FRaceTicks, TicksBefore + 200);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssRace);
    EXPECT_EQ(Game.State.Lives, 1);
    EXPECT_EQ(Player().Health, 100);
    EXPECT_TRUE(Player().Driving);
    EXPECT_TRUE(Player().FProtected);
    EXPECT_FALSE(Game.World.FWrecked);
    EXPECT_EQ(Game.State.StateTicks, ArrowsGoneTick + 1);
    EXPECT_EQ(Player().FHeading, -90.0);
    RunFrames(5);
    EXPECT_EQ(StateId(), ssRace);
}

TEST_F(RaceGameTest, APauseDuringAWreckRestartsTheSequenceAndTheClockRunsAgain)
{
    StartRun(3);
    RunToGreen();
    Game.State.Lives = 2;
    Player().Damage(1000);
    RunFrames(50);
    Tap('P');
    RunFrames(1);
    ASSERT_EQ(StateId(), ssPause);
    Tap('P');
    RunFrames(2);
    // Back in the race the car is still wrecked: the sequence starts again, with the clock running.
    ASSERT_EQ(StateId(), ssWrecked);
    EXPECT_TRUE(Game.RaceTimer.Enabled());
    RunFrames(200);
    ASSERT_EQ(StateId(), ssRace);
    EXPECT_TRUE(Game.RaceTimer.Enabled());
    EXPECT_EQ(Game.State.Lives, 1);
}

TEST_F(RaceGameTest, TheFinishCountdownReachesRaceOverEvenDuringAWreck)
{
    StartRun(3);
    RunToGreen();
    Player().Damage(1000);
    RunFrames(10);
    ASSERT_EQ(StateId(), ssWrecked);
    // The wrecked car rolls over the line: the line marks the finish and restarts the count.
    Game.World.FRaceFinished = true;
    Game.State.PhaseTicks = 0;
    Game.Race.FFinishPlace = 2;
    RunFrames(150);
    EXPECT_EQ(StateId(), ssWrecked);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssRaceOver);
    EXPECT_FALSE(Game.RaceTimer.Enabled());
}

TEST_F(RaceGameTest, TimesUpEndsTheRunAndItsPagesLeadBackToTheMenu)
{
    StartRun(3);
    RunToGreen();
    Game.State.TimeMinutes = 0;
    Game.State.TimeSeconds = 2;
    Game.State.TimeHundredths = 0;
    Game.State.PlayerName = "Ann%%";
    RunFrames(200);
    ASSERT_EQ(StateId(), ssTimesUp);
    EXPECT_EQ(Plays("timesup"), 1);
    EXPECT_EQ(Plays("time"), 2); // the 2 -> 1 and 1 -> 0 second steps
    EXPECT_EQ(Game.State.PlayerName, "Ann");
    EXPECT_FALSE(Game.RaceTimer.Enabled());
    ASSERT_NE(Game.Pages.Parts.FGameMenuScreen, nullptr);
    for (int Frame = 0; Frame < 210 && StateId() != ssYourScore; ++Frame)
        RunFrames(1);
    ASSERT_EQ(StateId(), ssYourScore);
    ASSERT_NE(Button("bro_next"), nullptr);
    RunFrames(200);
    EXPECT_FALSE(Button("bro_next")->Visible);
    RunFrames(1);
    EXPECT_TRUE(Button("bro_next")->Visible);
    Click(Button("bro_next"));
    ASSERT_EQ(StateId(), ssSendScore);
    Click(Button("b_no1"));
    // The run is over: the race is gone, the menu lights and the cursor remain, and the main
    // menu's buttons are up.
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.World.FPlayer, nullptr);
    EXPECT_EQ(Game.SpriteEngine.Count(), 3);
    EXPECT_NE(Button("b_stgame"), nullptr);
    EXPECT_EQ(Button("b_no1"), nullptr);
}

TEST_F(RaceGameTest, TheExitQuestionSlidesInAndYesLeavesForTheMenu)
{
    StartRun(3);
    RunToGreen();
    Tap(vkEscape);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssRaceExitQuestion);
    EXPECT_FALSE(Game.RaceTimer.Enabled());
    Game.MouseMove(300, 200);
    RunFrames(30);
    EXPECT_TRUE(Game.FCursor->Visible);
    EXPECT_FLOAT_EQ(Game.FCursor->X(), 300.0f);
    EXPECT_FLOAT_EQ(Game.FCursor->Y(), 200.0f);
    EXPECT_FLOAT_EQ(Game.Pages.Parts.FGameMenuScreen->X(), 160.0f);
    EXPECT_EQ(Button("b_yes1")->Left, 250);
    EXPECT_EQ(Button("b_no1")->Left, 420);
    Click(Button("b_no1"));
    ASSERT_EQ(StateId(), ssRace);
    EXPECT_TRUE(Game.RaceTimer.Enabled());
    EXPECT_EQ(Game.Pages.Parts.FGuiList, nullptr);

    Tap(vkEscape);
    RunFrames(1);
    Tap(vkReturn);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.World.FPlayer, nullptr);
    EXPECT_EQ(Game.SpriteEngine.Count(), 3); // the cursor and the two menu lights
}

TEST_F(RaceGameTest, AnsweringYesEntersTheScoreAndTriesToSendIt)
{
    StartRun(3);
    RunToGreen();
    Game.State.PlayerName = "Ann";
    Game.State.Score = 950;
    Game.State.Lives = 1;
    Player().Damage(1000);
    for (int Frame = 0; Frame < 700 && StateId() != ssYourScore; ++Frame)
        RunFrames(1);
    ASSERT_EQ(StateId(), ssYourScore);
    RunFrames(201);
    Click(Button("bro_next"));
    ASSERT_EQ(StateId(), ssSendScore);
    Click(Button("b_yes1"));
    // 950 goes in as row 2 of the default table, so the table page follows; this game has no
    // way to the online table, and says so.
    EXPECT_EQ(StateId(), ssHighScores);
    EXPECT_EQ(Game.HighScores.Row(2).Name, "Ann");
    EXPECT_EQ(Game.HighScores.Row(2).ScoreText, "950");
    EXPECT_EQ(Game.HighScores.Row(3).ScoreText, "900");
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text, "Can't connect to server!");
    EXPECT_EQ(Game.World.FPlayer, nullptr);
}

TEST_F(RaceGameTest, GameCompleteShowsForItsTimeThenGameOver)
{
    StartRun(3);
    RunToGreen();
    Game.EnterState(ssGameComplete);
    RunFrames(549);
    EXPECT_EQ(StateId(), ssGameComplete);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssGameOver);
    // Only the game-over page is up: the first overlay went with its screen.
    int Pages = 0;
    for (int I = 0; I < Game.SpriteEngine.Count(); ++I)
        Pages += Game.SpriteEngine.Sprites(I)->Z() == 2000;
    EXPECT_EQ(Pages, 1);
}

TEST(RaceTexts, Formats)
{
    EXPECT_EQ(FormatPlace(2, 4), "2/4");
    EXPECT_EQ(FormatPlace(10, 10), "10/10");
    EXPECT_EQ(FormatRaceClock(1, 5, 37), "1:05:37");
    EXPECT_EQ(FormatRaceClock(0, 0, 5), "0:00:05");
    EXPECT_EQ(FormatRaceClock(12, 60, 0), "12:60:00");
}

TEST_F(RaceGameTest, RaceTextsShowPlaceClockLivesAndScore)
{
    StartRun(3);
    RunFrames(2);
    EXPECT_TRUE(Rasterised(Text, "4/4"));
    EXPECT_TRUE(Rasterised(Text, "1:00:00"));
    EXPECT_TRUE(Rasterised(Text, "3"));
    EXPECT_TRUE(Rasterised(Text, "0"));
}

} // namespace
} // namespace vm::test
