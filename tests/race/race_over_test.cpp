// Race over: the result lines, the bonus tally, unlocks, best times and the next race.
#include "race/race_screens.h"
#include "race_game_fixture.h"

namespace vm::test {
namespace {

class RaceOverTest : public RaceGameTest
{
protected:
    // A race run to the green light, then finished in Place with Bonus to divide.
    void FinishRace(int Place, int Bonus, std::int32_t DrivenTicks = 4321)
    {
        StartRun(3);
        RunToGreen();
        Game.World.BonusLeft = Bonus;
        Game.Race.FFinishPlace = Place;
        Game.Race.FFinishTicks = DrivenTicks;
        Game.EnterState(ssRaceOver);
    }
};

TEST_F(RaceOverTest, ThirdPlaceGetsAThirdOfTheBonusCountedOnePointAFrame)
{
    FinishRace(3, 1000);
    ASSERT_EQ(StateId(), ssRaceOver);
    EXPECT_EQ(Game.World.BonusLeft, 333);
    EXPECT_EQ(Plays("finish"), 1);
    EXPECT_TRUE(Game.FCursor->Visible);
    TGuiComponent* Next = Button("bro_next");
    ASSERT_NE(Next, nullptr);
    EXPECT_FALSE(Next->Visible);
    const int Score0 = Game.State.Score;

    // The result lines appear one by one; the count starts after frame 351.
    RunFrames(70);
    EXPECT_EQ(Game.Race.FResultStage, 0);
    RunFrames(1);
    EXPECT_EQ(Game.Race.FResultStage, 1);
    RunFrames(210);
    EXPECT_EQ(Game.Race.FResultStage, 4);
    RunFrames(70);
    EXPECT_EQ(Game.State.Score, Score0);
    for (int Point = 1; Point <= 333; ++Point)
    {
        RunFrames(1);
        ASSERT_EQ(Game.State.Score, Score0 + Point);
        ASSERT_EQ(Game.World.BonusLeft, 333 - Point);
    }
    // The frame after the last point finds the pool empty; the button shows 101 frames after that.
    RunFrames(101);
    EXPECT_FALSE(Next->Visible);
    RunFrames(1);
    EXPECT_TRUE(Next->Visible);
    EXPECT_EQ(Game.State.Score, Score0 + 333);
}

TEST_F(RaceOverTest, TheBonusTallyStopsTheScoreAtItsLimitAndStillEnds)
{
    FinishRace(1, 40);
    Game.State.Score = INT32_MAX - 25;
    RunFrames(351 + 40);
    EXPECT_EQ(Game.State.Score, INT32_MAX);
    EXPECT_EQ(Game.World.BonusLeft, 0);
    RunFrames(102);
    EXPECT_TRUE(Button("bro_next")->Visible);
    EXPECT_EQ(Game.State.Score, INT32_MAX);
}

TEST_F(RaceOverTest, AnEmptyBonusShowsTheButtonAfterFrame452)
{
    FinishRace(2, 1);
    EXPECT_EQ(Game.World.BonusLeft, 0);
    RunFrames(452);
    EXPECT_FALSE(Button("bro_next")->Visible);
    RunFrames(1);
    EXPECT_TRUE(Button("bro_next")->Visible);
}

TEST_F(RaceOverTest, PointsGainedInTheRaceOpenTracksAndCars)
{
    FinishRace(1, 500);
    // Pickups brought 100 points during the race; the bonus brings 500 more.
    Game.State.Score = Game.Race.FScoreAtRaceBuild + 100;
    Game.Race.FScoreAtRaceOver = Game.State.Score;
    const int TracksBefore = Game.Catalogues.FTracksOpen;
    ASSERT_EQ(Game.Catalogues.NextUnlockScore, 300);
    RunFrames(352 + 500 + 102);
    EXPECT_TRUE(Button("bro_next")->Visible);
    EXPECT_EQ(Game.Race.FUnlockGain, 600);
    // 600 points pass 300: the first step opens two tracks; further steps follow while the
    // raised threshold is still passed.
    EXPECT_TRUE(Game.Race.FNewTrackShown);
    EXPECT_GE(Game.Catalogues.FTracksOpen, TracksBefore + 2);
    EXPECT_GT(Game.Catalogues.NextUnlockScore, 600);
    EXPECT_TRUE(Game.Catalogues.FTracks[static_cast<std::size_t>(TracksBefore)].Available);
}

TEST_F(RaceOverTest, NextRaceRaisesTheDifficultyAndKeepsTheBestTime)
{
    FinishRace(1, 500, 4321); // 43.21 s from the green light
    const TRunDifficulty First = Game.Difficulty;
    RunFrames(352 + 500 + 102);
    Click(Button("bro_next"));
    ASSERT_EQ(StateId(), ssRace);
    EXPECT_EQ(Game.State.RaceNumber, 2);
    EXPECT_EQ(Game.Difficulty.FRaceBonus, First.FRaceBonus + 500);
    EXPECT_EQ(Game.Difficulty.FCourseLength, First.FCourseLength + 20);
    EXPECT_EQ(Game.World.BonusLeft, Game.Difficulty.FRaceBonus);
    EXPECT_EQ(Game.World.FEnemyCount, Game.Difficulty.FOpponentCount);
    EXPECT_EQ(Game.State.StateTicks, 0);
    EXPECT_EQ(Game.Pages.Parts.FGuiList, nullptr);
    EXPECT_FALSE(Game.FCursor->Visible);
    const TTrackInfo& Track = Game.Catalogues.SelectedTrack();
    EXPECT_EQ(Track.BestMinutes, 0);
    EXPECT_EQ(Track.BestSeconds, 43);
    EXPECT_EQ(Track.BestHundredths, 21);
    // The next race starts with the lights and shows its number.
    RunFrames(2);
    EXPECT_NE(std::find(Text.Texts.begin(), Text.Texts.end(), "Level 2"), Text.Texts.end());

    // A slower time does not replace it; a faster one does.
    auto FinishAgain = [this](std::int32_t Ticks) {
        RunToGreen();
        Game.World.BonusLeft = 0;
        Game.Race.FFinishPlace = 1;
        Game.Race.FFinishTicks = Ticks;
        Game.EnterState(ssRaceOver);
        RunFrames(460);
        Click(Button("bro_next"));
    };
    FinishAgain(6100);
    EXPECT_EQ(Track.BestSeconds, 43);
    FinishAgain(3999);
    EXPECT_EQ(Track.BestSeconds, 39);
    EXPECT_EQ(Track.BestHundredths, 99);
    EXPECT_EQ(Game.State.RaceNumber, 4);
}

} // namespace
} // namespace vm::test
