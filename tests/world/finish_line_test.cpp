// The finish line: recording opponents once, the bounded results table, the player's finish.
#include "world_fixture.h"

#include "world/finish_line.h"
#include "world/geometry.h"
#include "world/player.h"

#include <vector>

namespace vm::test {
namespace {

class FinishLineTest : public WorldTest
{
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Line = new TFinishLine(World, 400, -200, 0);
        Line->OnOpponentFinished = [this](TCar&, int Slot) { Stopped.push_back(Slot); };
        Line->OnPlayerFinished = [this] { ++TimerStops; };
    }

    // An opponent in slot Slot centred at (X, Y), its outline up to date.
    TCar* Opponent(int Slot, double X, double Y)
    {
        auto* Car = new TCar(World, X, Y, 2, "enemy", -90, 0, 0);
        Car->UpdateCorners();
        World.FEnemies[static_cast<std::size_t>(Slot)] = Car;
        World.FEnemyCount = std::max(World.FEnemyCount, Slot + 1);
        return Car;
    }

    TFinishLine* Line = nullptr;
    std::vector<int> Stopped;
    int TimerStops = 0;
};

TEST_F(FinishLineTest, LineAndPictureAreBuiltCentred)
{
    EXPECT_EQ(Line->Image(), Images.ImageList.Find("fline"));
    EXPECT_FALSE(Line->Visible);
    EXPECT_EQ(Line->Z(), 60);
    EXPECT_FLOAT_EQ(Line->X() + Line->Width() / 2.0f, 400);
    EXPECT_FLOAT_EQ(Line->Y() + Line->Height() / 2.0f, -200);
    ASSERT_NE(Line->FLineImage, nullptr);
    EXPECT_EQ(Line->FLineImage->Image(), Images.ImageList.Find("startline"));
    EXPECT_FLOAT_EQ(Line->FLineImage->X() + Line->FLineImage->Width() / 2.0f, 400);
    EXPECT_EQ(Line->Corners[0].X, Line->X());
    EXPECT_EQ(Line->Corners[2].Y, Line->Y() + Line->Height());
}

TEST_F(FinishLineTest, PictureFollowsTheLineAfterAWorldJump)
{
    ShiftWorld(Engine, {}, {}, 37.5, -12.25);
    Line->Move(1);
    EXPECT_FLOAT_EQ(Line->FLineImage->X() + Line->FLineImage->Width() / 2.0f, 437.5f);
    EXPECT_FLOAT_EQ(Line->FLineImage->Y() + Line->FLineImage->Height() / 2.0f, -212.25f);
}

TEST_F(FinishLineTest, OpponentIsRecordedOnceWhileItStaysOnTheLine)
{
    Opponent(0, 100, 600); // far from the line
    TCar* Crossing = Opponent(1, 400, -200);
    for (int Frame = 0; Frame < 5; ++Frame)
        Line->Move(1);
    EXPECT_EQ(World.FResults[1].CarNumber, 2);
    EXPECT_EQ(World.FResults[1].Minutes, 0);
    EXPECT_EQ(World.FResults[2].CarNumber, 0);
    EXPECT_EQ(World.FNextPlace, 2);
    EXPECT_EQ(Crossing->FLaps, 1);
    EXPECT_FALSE(Crossing->FCanFinish);
    EXPECT_EQ(Stopped, std::vector<int>{1});
    EXPECT_FALSE(World.FRaceFinished);
}

TEST_F(FinishLineTest, LateOpponentsGetNoRowButAreStoppedAndCountedOnce)
{
    // Eight opponents have finished already.
    for (int Row = 1; Row <= TRaceWorld::MaxResults; ++Row)
        World.FResults[static_cast<std::size_t>(Row)].CarNumber = 100 + Row;
    World.FNextPlace = TRaceWorld::MaxResults + 1;
    const TRaceResult Before = World.FResults[0];
    TCar* Late = Opponent(8, 400, -200);
    TCar* Later = Opponent(9, 400, -200);
    Line->Move(1);
    Line->Move(1);
    for (int Row = 1; Row <= TRaceWorld::MaxResults; ++Row)
        EXPECT_EQ(World.FResults[static_cast<std::size_t>(Row)].CarNumber, 100 + Row);
    EXPECT_EQ(World.FResults[0].CarNumber, Before.CarNumber);
    EXPECT_EQ(Late->FLaps, 1);
    EXPECT_EQ(Later->FLaps, 1);
    EXPECT_EQ(World.FNextPlace, TRaceWorld::MaxResults + 3);
    EXPECT_EQ(Stopped, (std::vector<int>{8, 9}));
}

TEST_F(FinishLineTest, PlayerFinishKeepsTheClockLeftAndItsPlace)
{
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
    World.FPlayer = Player;
    Player->Driving = true;
    Player->UpdateCorners();
    State.TimeMinutes = 0, State.TimeSeconds = 42, State.TimeHundredths = 17;
    State.PhaseTicks = 33;
    Line->Move(1);
    EXPECT_FALSE(World.FRaceFinished); // the line is far ahead
    EXPECT_EQ(State.PhaseTicks, 33);

    // The world brings the line under the car.
    ShiftWorld(Engine, {}, {}, 396 - 400, 460 - (-200));
    Player->RacePlace = 3;
    Line->Move(1);
    EXPECT_TRUE(World.FRaceFinished);
    EXPECT_EQ(Line->FFinishMinutes, 0);
    EXPECT_EQ(Line->FFinishSeconds, 42);
    EXPECT_EQ(Line->FFinishHundredths, 17);
    EXPECT_EQ(Line->FFinishPlace, 3);
    EXPECT_FALSE(Player->Driving);
    EXPECT_FALSE(Player->FTracksPlace);
    EXPECT_FALSE(Player->FCanFinish);
    EXPECT_EQ(State.PhaseTicks, 0);
    EXPECT_EQ(TimerStops, 1);

    // Later frames change nothing.
    State.TimeSeconds = 30;
    State.PhaseTicks = 5;
    Line->Move(1);
    EXPECT_EQ(Line->FFinishSeconds, 42);
    EXPECT_EQ(State.PhaseTicks, 5);
    EXPECT_EQ(TimerStops, 1);
}

} // namespace
} // namespace vm::test
