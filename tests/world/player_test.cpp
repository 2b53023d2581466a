// The player's car: world shift, surface, wrong-way meter, checkpoints, damage and repair,
// progress along the course, race place and contacts with an opponent.
#include "world/car_shadow.h"
#include "world/ground_point.h"
#include "world/player.h"
#include "world/race_fixture.h"

#include <cmath>
#include <tuple>

namespace vm::test {
namespace {

class PlayerTest : public RaceFixture
{
protected:
    // The player centred at (Cx, Cy), catalogue car 0.
    TPlayer& MakePlayer(double Cx = 400, double Cy = 460, double Heading = 270)
    {
        auto* Player = new TPlayer(*World, Cx, Cy, 0, "p", Heading, 0, 1);
        World->FPlayer = Player;
        return *Player;
    }
};

TEST_F(PlayerTest, CreationValues)
{
    TPlayer& P = MakePlayer();
    EXPECT_EQ(P.Name(), "player");
    EXPECT_EQ(P.PatternIndex(), 1);
    EXPECT_FALSE(P.Driving);
    EXPECT_TRUE(P.FTracksPlace);
    EXPECT_EQ(P.NextCheckpoint, 1);
    EXPECT_DOUBLE_EQ(P.FSpinDecay, 0.06);
}

TEST_F(PlayerTest, WorldShiftIsMinusTheTravelBeforeThisFramesChange)
{
    TPlayer& P = MakePlayer();
    P.FSpeed = 3;
    P.FCourse = 270; // up the screen; not driving, so the car coasts by 0.011 first
    P.Move(1);
    EXPECT_NEAR(P.FShiftX, 0.0, 1e-9);
    EXPECT_NEAR(P.FShiftY, 2.989, 1e-9);
    EXPECT_NEAR(P.FSpeed, 2.989 * 0.997, 1e-9);

    P.FCourse = P.FHeading = 0; // to the right
    const double Before = P.FSpeed - 0.011;
    P.Move(1);
    EXPECT_NEAR(P.FShiftX, -Before, 1e-9);
    EXPECT_NEAR(P.FShiftY, 0.0, 1e-9);
    // The car itself never moves on the screen.
    EXPECT_FLOAT_EQ(P.X() + P.Width() / 2.0f, 400.0f);
}

TEST_F(PlayerTest, SurfaceFactorFromTheFrontProbe)
{
    TPlayer& P = MakePlayer();
    P.Driving = true;
    Press(vkUp);
    P.FFrontPoint->OnRoad = true;
    P.FCenterPoint->OnRoad = false;
    P.Move(1);
    EXPECT_DOUBLE_EQ(P.FSurfaceFactor, 1.0);
    EXPECT_NEAR(P.FSpeed, 0.05 * 0.997, 1e-12);
    // The probes are cleared at the end of the frame.
    EXPECT_FALSE(P.FFrontPoint->OnRoad);

    // Off the road (only the centre probe on it): a fifth of the rate.
    P.FSpeed = 0;
    P.FCenterPoint->OnRoad = true;
    P.Move(1);
    EXPECT_DOUBLE_EQ(P.FSurfaceFactor, 0.2);
    EXPECT_NEAR(P.FSpeed, 0.01 * 0.997, 1e-12);
}

TEST_F(PlayerTest, SkiddingBackwardsStopsAtOnce)
{
    TPlayer& P = MakePlayer();
    P.Driving = true;
    P.FSpeed = -1.5;
    Press(vkSpace);
    P.Move(1);
    EXPECT_DOUBLE_EQ(P.FSpeed, 0.0);
}

TEST_F(PlayerTest, WrongWayMeterFallsRecoversAndStaysAtOrBelowZero)
{
    TPlayer& P = MakePlayer(400, 460, 90); // body down the screen
    P.FSpeed = 2;
    P.Move(1);
    const double B = 2 - 0.011; // cos(0) x the speed after coasting and drag
    EXPECT_NEAR(P.BackwardSpeed, B * 0.997, 1e-9);
    EXPECT_NEAR(P.WrongWayMeter, -B * 0.997, 1e-9);

    // Turned up the screen the meter recovers, but a step that would pass 0 is not taken.
    P.FHeading = P.FCourse = 270;
    P.WrongWayMeter = -10;
    P.FSpeed = 1;
    P.Move(1);
    EXPECT_NEAR(P.WrongWayMeter, -10 + 0.989 * 0.997, 1e-6);
    P.WrongWayMeter = -0.5;
    P.Move(1);
    EXPECT_DOUBLE_EQ(P.WrongWayMeter, -0.5);
    EXPECT_LT(P.BackwardSpeed, 0);
}

TEST_F(PlayerTest, CheckpointAdvanceStopsAtTheLast)
{
    TPlayer& P = MakePlayer();
    // No checkpoints: nothing is read.
    P.Move(1);
    EXPECT_EQ(P.NextCheckpoint, 1);

    // Three checkpoints all within reach: one per frame, then it stays at the last.
    SetCheckpoints({{400, 460}, {410, 400}, {420, 350}});
    for (int I = 0; I < 6; ++I)
        P.Move(1);
    EXPECT_EQ(P.NextCheckpoint, 3);

    // A checkpoint 200 pixels off on an axis is out of reach.
    P.NextCheckpoint = 1;
    World->FCheckpoints[1] = {600, 460, 1};
    P.Move(1);
    EXPECT_EQ(P.NextCheckpoint, 1);
    World->FCheckpoints[1] = {599, 460, 1};
    P.Move(1);
    EXPECT_EQ(P.NextCheckpoint, 2);

    // A count beyond the table never reads past it.
    for (int I = 1; I <= TRaceWorld::MaxCheckpoints; ++I)
        World->FCheckpoints[I] = {400, 460, I};
    World->FCheckpointCount = TRaceWorld::MaxCheckpoints + 50;
    P.NextCheckpoint = TRaceWorld::MaxCheckpoints - 1;
    P.Move(1);
    P.Move(1);
    EXPECT_EQ(P.NextCheckpoint, TRaceWorld::MaxCheckpoints);
}

TEST_F(PlayerTest, DamageAndRepairRules)
{
    TPlayer& P = MakePlayer();
    P.Health = 41;
    P.Damage(40);
    EXPECT_EQ(P.Health, 1);
    EXPECT_FALSE(World->FWrecked);

    P.Repair(30);
    EXPECT_EQ(P.Health, 31);
    P.Repair(500);
    EXPECT_EQ(P.Health, 100);

    // Nothing happens for amounts <= 0, while protected, outside the race screen, after the finish.
    P.Damage(0);
    P.Damage(-5);
    P.StartProtection();
    P.Damage(10);
    P.FProtected = false;
    State.ScreenState = ssPause;
    P.Damage(10);
    State.ScreenState = ssRace;
    World->FRaceFinished = true;
    P.Damage(10);
    P.Health = 50;
    P.Repair(10);
    EXPECT_EQ(P.Health, 50);
    World->FRaceFinished = false;

    // A hit that would leave nothing wrecks the car and leaves Health as it was.
    P.Health = 38;
    P.Damage(38);
    EXPECT_EQ(P.Health, 38);
    EXPECT_TRUE(World->FWrecked);
}

TEST_F(PlayerTest, ProtectionBlinksThenEnds)
{
    TPlayer& P = MakePlayer();
    P.StartProtection();
    P.Move(1);
    EXPECT_FALSE(P.Visible);
    EXPECT_FALSE(P.FShadow->Visible);
    int Toggles = 1;
    bool Was = P.Visible;
    for (int I = 0; I < 200; ++I)
    {
        P.Move(1);
        if (P.Visible != Was && P.FProtected)
            ++Toggles;
        Was = P.Visible;
    }
    EXPECT_FALSE(P.FProtected);
    EXPECT_TRUE(P.Visible);
    EXPECT_TRUE(P.FShadow->Visible);
    EXPECT_EQ(Toggles, 20); // ticks 0, 10, ..., 190; tick 200 ends it
}

TEST_F(PlayerTest, ProgressFootPointCases)
{
    TPlayer& P = MakePlayer(130, 0);
    // Vertical line from checkpoint 1 up to 2.
    SetCheckpoints({{100, 100}, {100, -200}, {100, -500}});
    P.UpdateProgress();
    EXPECT_DOUBLE_EQ(P.FNearX, 100);
    EXPECT_DOUBLE_EQ(P.FNextY, -200);
    EXPECT_NEAR(P.FProgress, 10.0, 1e-9); // 100 pixels past checkpoint 1
    EXPECT_NEAR(World->FRaceDistance[0], 60.0 + 10.0, 1e-9);

    // Short of checkpoint 1: negative.
    TPlayer& Q = MakePlayer(100, 150);
    Q.UpdateProgress();
    EXPECT_NEAR(Q.FProgress, -5.0, 1e-9);

    // Horizontal line.
    SetCheckpoints({{0, 0}, {300, 0}, {600, 0}});
    TPlayer& H = MakePlayer(350, 40);
    H.UpdateProgress();
    EXPECT_NEAR(H.FProgress, 30.0 + 5.0, 1e-9);

    // Slanted line: the foot of (100, 0) on (0, 0)-(100, -100) is (50, -50).
    SetCheckpoints({{0, 0}, {100, -100}, {100, -400}});
    TPlayer& D = MakePlayer(100, 0);
    D.UpdateProgress();
    EXPECT_NEAR(D.FProgress, std::hypot(50.0, 50.0) / 10, 1e-9);

    // The last checkpoint leads back to the first.
    TPlayer& L = MakePlayer(100, -420);
    L.UpdateProgress();
    EXPECT_DOUBLE_EQ(L.FNextX, 0);
    EXPECT_DOUBLE_EQ(L.FNextY, 0);
}

TEST_F(PlayerTest, PlaceCountsOpponentsStrictlyAhead)
{
    TPlayer& P = MakePlayer();
    World->FEnemyCount = 3;
    World->FRaceDistance = {};
    World->FRaceDistance[0] = 50;
    World->FRaceDistance[1] = 60;
    World->FRaceDistance[2] = 40;
    World->FRaceDistance[3] = 50;
    P.UpdatePlace();
    EXPECT_EQ(P.RacePlace, 2);
    World->FRaceDistance[4] = 99; // not a racing slot
    P.UpdatePlace();
    EXPECT_EQ(P.RacePlace, 2);
    // A count beyond the tables reads only the slots that exist.
    World->FEnemyCount = 1000;
    P.UpdatePlace();
    EXPECT_LE(P.RacePlace, TRaceWorld::MaxOpponents + 1);
}

class PlayerContactTest : public PlayerTest
{
protected:
    TCar& MakeOpponent(double Cx, double Cy, double Heading)
    {
        auto* Car = new TCar(*World, Cx, Cy, 2, "enemycar", Heading, 0, 0);
        World->FEnemies[0] = Car;
        World->FEnemyCount = 1;
        Car->UpdateCorners();
        return *Car;
    }
};

TEST_F(PlayerContactTest, HeadOnPushSlowAndDamage)
{
    TPlayer& P = MakePlayer(400, 460, 270);
    TCar& O = MakeOpponent(420, 460, 270); // beside, to the right
    P.UpdateCorners();
    P.FSpeed = 5;
    O.FSpeed = 0;
    P.CheckCarContacts();
    EXPECT_TRUE(P.FContact[0]);
    EXPECT_TRUE(P.FContactPrev[0]);
    // u = (-1, 0), e = (0, 0): the world moves right, so the player moves left.
    EXPECT_NEAR(P.FPushX, 1.5, 1e-9);
    EXPECT_NEAR(P.FPushY, 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(P.FSpeed, 4.95);
    EXPECT_DOUBLE_EQ(P.FHeading, 270); // parallel velocities: no nudge
    EXPECT_EQ(P.Health, 99);           // r = 5 -> 1 point
}

TEST_F(PlayerContactTest, NudgeAndDamageBands)
{
    TPlayer& P = MakePlayer(400, 460, 270);
    TCar& O = MakeOpponent(420, 460, 0);
    // Player up, opponent to the right at 3: z > 0, the player turns by +1.5.
    P.FSpeed = 5;
    O.FSpeed = 3;
    P.HitCar(0);
    EXPECT_DOUBLE_EQ(P.FHeading, 271.5);
    EXPECT_DOUBLE_EQ(P.FCourse, 271.5);
    EXPECT_NEAR(P.FPushX, 3.0, 1e-9); // |e.x| = 1: the full 3 pixels
    EXPECT_EQ(P.Health, 99);

    // r = 7.5 -> 1.5 rounds to 2; r = 10 and r = 4 do nothing.
    O.FCourse = 90;
    for (auto [Vp, Vo, Loss] : {std::tuple{5.0, 2.5, 2}, {6.0, 4.0, 0}, {2.0, 2.0, 0}})
    {
        P.Health = 80;
        P.FHeading = P.FCourse = 270;
        P.FSpeed = Vp;
        O.FSpeed = Vo;
        P.HitCar(0);
        EXPECT_EQ(P.Health, 80 - Loss) << Vp << " " << Vo;
    }
}

TEST_F(PlayerContactTest, ProtectionFarCarsAndSeparation)
{
    TPlayer& P = MakePlayer(400, 460, 270);
    TCar& O = MakeOpponent(420, 460, 270);
    P.UpdateCorners();
    P.FSpeed = 5;
    P.StartProtection();
    P.CheckCarContacts();
    EXPECT_TRUE(P.FContact[0]);
    EXPECT_TRUE(P.FContactPrev[0]);
    EXPECT_DOUBLE_EQ(P.FPushX, 0.0); // protected: no hit
    EXPECT_DOUBLE_EQ(P.FSpeed, 5.0);

    // Apart but near: the contact ends and so does the kept flag.
    P.FProtected = false;
    O.SetX(O.X() + 100);
    O.UpdateCorners();
    P.CheckCarContacts();
    EXPECT_FALSE(P.FContact[0]);
    EXPECT_FALSE(P.FContactPrev[0]);

    // A car 200 pixels off is skipped before the outline test.
    P.FContactPrev[0] = true;
    O.SetX(P.X() + 200);
    O.UpdateCorners();
    P.CheckCarContacts();
    EXPECT_FALSE(P.FContact[0]);
    EXPECT_TRUE(P.FContactPrev[0]);
}

} // namespace
} // namespace vm::test
