// The autopilot driving generated races on the real pictures: only changes of driving keys, nothing
// while the keys do not act, covering the course in time, and getting going again from a wall or
// from facing the wrong way.
#include "assetgen/asset_test_support.h"
#include "autopilot.h"
#include "engine/game_constants.h"
#include "support/test_race.h"
#include "world/geometry.h"
#include "world/road_rock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

namespace {

using namespace vm;

struct TKeyEvent
{
    int Key;
    bool Down;
};

class AutopilotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GameImages.LoadFromFile(::test::AssetPath("Data/data2.vil"), &Messages));
        ASSERT_TRUE(MenuImages.LoadFromFile(::test::AssetPath("Data/data1.vil"), &Messages));
    }

    void StartRace(const ::test::TTestRaceOptions& Options)
    {
        Race = std::make_unique<::test::TTestRace>(GameImages, MenuImages, Options);
    }

    // The keys reach the game as the game's key events do: down holds, up lets go and latches the release.
    // Each event is checked against what the game holds at that moment.
    void Send(int Key, bool Down)
    {
        Sent.push_back({Key, Down});
        EXPECT_TRUE(Key == vkUp || Key == vkDown || Key == vkLeft || Key == vkRight) << "key " << Key;
        auto& Held = Race->State.KeyHeld[static_cast<std::size_t>(Key)];
        EXPECT_EQ(Held != 0, !Down) << "key " << Key << (Down ? " pressed while held" : " released while up");
        Held = Down ? 1 : 0;
        if (!Down)
            Race->State.KeyReleased[static_cast<std::size_t>(Key)] = 1;
    }

    // One frame: the driver, then the race's own frame.
    void Frame()
    {
        Pilot.Drive(Race->World, [this](int Key, bool Down) { Send(Key, Down); });
        Race->Frame(false);
    }

    bool AnyDrivingKeyHeld() const
    {
        for (int Key : {vkUp, vkDown, vkLeft, vkRight, vkSpace, vkControl})
            if (Race->State.KeyHeld[static_cast<std::size_t>(Key)] != 0)
                return true;
        return false;
    }

    TStderrMessageBox Messages;
    TImageList GameImages, MenuImages;
    std::unique_ptr<::test::TTestRace> Race;
    TAutopilot Pilot;
    std::vector<TKeyEvent> Sent;
};

TEST_F(AutopilotTest, SendsOnlyChangesOfDrivingKeys)
{
    // Every event is checked in Send; a race with opponents makes it steer, brake and change its mind.
    StartRace({.Seed = 3, .Opponents = 3, .PlayerSlot = 4, .RandomModels = true});
    for (int F = 0; F < 1500; ++F)
        Frame();
    ASSERT_FALSE(Sent.empty());
    EXPECT_TRUE(Sent.front().Key == vkUp && Sent.front().Down) << "the first thing it does is accelerate";
    std::set<int> Used;
    for (const TKeyEvent& Event : Sent)
        Used.insert(Event.Key);
    EXPECT_TRUE(Used.count(vkLeft) && Used.count(vkRight)) << "it steered both ways";
    EXPECT_GT(Race->Player->NextCheckpoint, 8);
}

TEST_F(AutopilotTest, HoldsNothingWhileTheKeysDoNotAct)
{
    StartRace({.Seed = 4});
    Race->Player->Driving = false; // before the green light
    for (int F = 0; F < 30; ++F)
        Frame();
    EXPECT_TRUE(Sent.empty());

    Race->Player->Driving = true;
    for (int F = 0; F < 200; ++F)
        Frame();
    ASSERT_TRUE(AnyDrivingKeyHeld());

    // Finished or wrecked: everything is let go at once, and then nothing more is sent.
    Race->Player->Driving = false;
    Frame();
    EXPECT_FALSE(AnyDrivingKeyHeld());
    const std::size_t AfterRelease = Sent.size();
    for (int F = 0; F < 30; ++F)
        Frame();
    EXPECT_EQ(Sent.size(), AfterRelease);

    // Between races there is no car at all.
    Race->Player->Driving = true;
    for (int F = 0; F < 20; ++F)
        Frame();
    TRaceWorld& World = Race->World;
    World.FPlayer = nullptr;
    Pilot.Drive(World, [this](int Key, bool Down) { Send(Key, Down); });
    EXPECT_FALSE(AnyDrivingKeyHeld());
    const std::size_t Released = Sent.size();
    Pilot.Drive(World, [this](int Key, bool Down) { Send(Key, Down); });
    EXPECT_EQ(Sent.size(), Released);
    World.FPlayer = Race->Player;
}

TEST_F(AutopilotTest, ReleaseAllLetsGoOfEveryKeyItHolds)
{
    StartRace({.Seed = 5});
    for (int F = 0; F < 400; ++F)
        Frame();
    ASSERT_TRUE(AnyDrivingKeyHeld());
    Pilot.ReleaseAll([this](int Key, bool Down) { Send(Key, Down); });
    EXPECT_FALSE(AnyDrivingKeyHeld());
    const std::size_t Released = Sent.size();
    Pilot.ReleaseAll([this](int Key, bool Down) { Send(Key, Down); });
    EXPECT_EQ(Sent.size(), Released) << "nothing is held any more";
    // Driving on presses the throttle again. The car reads the release latched by ReleaseAll
    // after that press and lets go of the key; the driver notices and presses it once more.
    Pilot.Drive(Race->World, [this](int Key, bool Down) { Send(Key, Down); });
    EXPECT_NE(Race->State.KeyHeld[vkUp], 0);
    Race->Frame(false);
    EXPECT_EQ(Race->State.KeyHeld[vkUp], 0);
    for (int F = 0; F < 5; ++F)
        Frame();
    EXPECT_NE(Race->State.KeyHeld[vkUp], 0);
    EXPECT_GT(Race->Player->FSpeed, 1.0);
}

TEST_F(AutopilotTest, CoversTheCourseWithinTheFirstRacesTimeInMostSeeds)
{
    // The first race: a course of 90 pieces and a minute on the clock; three opponents of random
    // models, the player in each of the five cars in turn.
    int Covered = 0;
    constexpr int Seeds = 6;
    for (int Seed = 1; Seed <= Seeds; ++Seed)
    {
        StartRace({.Seed = static_cast<std::uint64_t>(40 + Seed),
                   .Opponents = 3,
                   .PlayerSlot = 4,
                   .PlayerCar = Seed % 5,
                   .RandomModels = true});
        const int Last = Race->World.Course.CourseLast;
        int Frames = 0;
        while (Frames < 60 * FrameRate && Race->Player->NextCheckpoint <= Last && !Race->World.FWrecked)
        {
            Frame();
            ++Frames;
        }
        const bool Done = Race->Player->NextCheckpoint > Last && !Race->World.FWrecked;
        Covered += Done;
        if (!Done)
            std::printf("seed %d: checkpoint %d of %d after %d frames, health %d\n", 40 + Seed,
                        Race->Player->NextCheckpoint, Last, Frames, Race->Player->Health);
    }
    EXPECT_GE(Covered, Seeds - 2);
}

// The player's car stands still, nose first at the right-hand wall of the road (its body pointing
// right), with no one else on the road: it backs off, turns up the road and drives on.
TEST_F(AutopilotTest, BacksOffAWallItFacesAndDrivesOn)
{
    StartRace({.Seed = 6});
    TPlayer& Car = *Race->Player;
    Car.FHeading = Car.FCourse = 0.0;
    Car.Angle = -90.0f;
    Race->Frame(false); // the walls' outlines and the car's corners
    // The nearest wall on the right at the car's height, and the car's rightmost corner.
    double WallLeft = 1e9;
    for (int I = 0; I < Race->Engine.Count(); ++I)
        if (const auto* Wall = dynamic_cast<const TRoadRock*>(Race->Engine.Sprites(I)))
        {
            const double Cx = Wall->X() + Wall->Width() / 2.0, Cy = Wall->Y() + Wall->Height() / 2.0;
            if (Cx > Car.CentreX() && std::fabs(Cy - Car.CentreY()) < 80)
                for (const TBoxCorner& C : Wall->Corners)
                    WallLeft = std::min(WallLeft, C.X);
        }
    ASSERT_LT(WallLeft, 1e9);
    double Nose = -1e9;
    for (const TCarCorner& C : Car.FCorners)
        Nose = std::max(Nose, C.X);
    // Bring the wall to 3 pixels from the nose.
    const auto Count = static_cast<std::size_t>(Race->World.FCheckpointCount);
    ShiftWorld(Race->Engine, {}, std::span<TCheckpoint>(Race->World.FCheckpoints).subspan(1, Count),
               Nose + 3 - WallLeft, 0);
    Race->Frame(false); // the walls take their new outline
    ASSERT_EQ(Car.FSpeed, 0.0);

    const int Start = Car.NextCheckpoint;
    bool Backed = false;
    for (int F = 0; F < 900; ++F)
    {
        Frame();
        Backed = Backed || Car.FSpeed < -0.3;
    }
    EXPECT_TRUE(Backed) << "it reversed away from the wall";
    EXPECT_GE(Car.NextCheckpoint, Start + 3) << "and drove on up the road";
    EXPECT_LT(std::fabs(std::remainder(Car.FHeading + 90.0, 360.0)), 45.0);
    EXPECT_GT(Car.FSpeed, 4.0);
}

// Turned round on the road and standing still: it turns back (without going 1000 pixels the wrong
// way, which would make the race put it back) and drives on.
TEST_F(AutopilotTest, TurnsRoundWhenFacingTheWrongWay)
{
    StartRace({.Seed = 8});
    for (int F = 0; F < 300; ++F)
        Frame();
    TPlayer& Car = *Race->Player;
    Car.FHeading = Car.FCourse = 90.0; // down the screen
    Car.FSpeed = 0;
    Car.WrongWayMeter = 0;
    const int Start = Car.NextCheckpoint;
    double Worst = 0;
    for (int F = 0; F < 900; ++F)
    {
        Frame();
        Worst = std::min(Worst, Car.WrongWayMeter);
    }
    EXPECT_GT(Worst, -1000.0);
    EXPECT_GE(Car.NextCheckpoint, Start + 3);
    EXPECT_LT(std::fabs(std::remainder(Car.FHeading + 90.0, 360.0)), 45.0);
}

TEST_F(AutopilotTest, DrivesStraightOnWithoutCheckpoints)
{
    // A course without checkpoints (or a count past the table) reads nothing beyond it.
    StartRace({.Seed = 9});
    Race->World.FCheckpointCount = 0;
    for (int F = 0; F < 120; ++F)
        Frame();
    EXPECT_GT(Race->Player->FSpeed, 2.0);
    Race->World.FCheckpointCount = TRaceWorld::MaxCheckpoints + 50;
    for (int F = 0; F < 10; ++F)
        Frame();
    EXPECT_GT(Race->Player->FSpeed, 2.0);
}

} // namespace
