// The opponents: creation and its random draws, lanes, throttle and brake for the target,
// look-ahead points, avoidance, contacts, place and the finish stop.
#include "world/enemy_car.h"
#include "world/marker_arrow.h"
#include "world/player.h"
#include "world/race_fixture.h"

#include <cmath>

namespace vm::test {
namespace {

class EnemyTest : public RaceFixture
{
protected:
    // An opponent of car 0 centred at (Cx, Cy), stored in its slot, outline and points up to date.
    TEnemyCar& MakeEnemy(double Cx, double Cy, int Slot, int GridPos = 1, double Heading = -90)
    {
        auto* Car = new TEnemyCar(*World, Cx, Cy, 0, "enemy", Slot, Heading, 0, GridPos);
        World->FEnemies[static_cast<std::size_t>(Slot)] = Car;
        Car->UpdateCorners();
        Car->UpdateLookAhead();
        return *Car;
    }

    TPlayer& MakePlayer(double Cx, double Cy, double Heading = -90)
    {
        auto* Player = new TPlayer(*World, Cx, Cy, 0, "p", Heading, 0, 0);
        World->FPlayer = Player;
        Player->UpdateCorners();
        return *Player;
    }

    // Checkpoint 1 at the car centre plus (Dx, Dy); the car drives at it in its own lane 0.
    void TargetAt(TEnemyCar& Car, double Dx, double Dy)
    {
        SetCheckpoints({{Car.CentreX() + Dx, Car.CentreY() + Dy}});
        Car.FLaneOffset = 0;
        Car.FTarget = 1;
    }
};

TEST_F(EnemyTest, CreationValuesAndTheOrderOfRandomDraws)
{
    TRandom Replica{7};
    TEnemyCar& Car = MakeEnemy(400, 300, 0, 2);
    EXPECT_EQ(Car.Name(), "enemycar");
    EXPECT_EQ(World->FEnemyCount, 1);
    EXPECT_EQ(Car.FTarget, 1);
    EXPECT_FALSE(Car.Racing);
    EXPECT_DOUBLE_EQ(Car.FSpinDecay, 0.06);
    EXPECT_EQ(Car.PatternIndex(), Replica.Random(3));
    EXPECT_DOUBLE_EQ(Car.FLaneOffset, Replica.Random(100)); // even grid position
    EXPECT_EQ(Car.FLaneLimit, Replica.Random(400) + 500);
    Replica.Random(4); // the progress marker's position
    EXPECT_EQ(Rng.Random(1000), Replica.Random(1000));

    const double Bumper = 0.7 * Car.Height();
    const double Radii[5] = {Bumper + 40, Bumper + 40, Bumper + 70, Bumper + 20, Bumper};
    const double Angles[5] = {75, 105, 90, 90, 0};
    for (int I = 0; I < 5; ++I)
    {
        EXPECT_DOUBLE_EQ(Car.FLookAhead[I].Radius, Radii[I]);
        EXPECT_DOUBLE_EQ(Car.FLookAhead[I].Angle, Angles[I]);
    }
    // The walls watch the first two points themselves.
    const auto Sensors = Car.WallSensors();
    ASSERT_EQ(Sensors.size(), 2u);
    EXPECT_EQ(Sensors.data(), Car.FLookAhead.data());
}

TEST_F(EnemyTest, CountStopsAtTheOpponentTable)
{
    for (int I = 0; I < TRaceWorld::MaxOpponents + 2; ++I)
        new TEnemyCar(*World, 100.0 * I, 300, 0, "enemy", I, -90, 0, I + 1);
    EXPECT_EQ(World->FEnemyCount, TRaceWorld::MaxOpponents);
}

TEST_F(EnemyTest, LaneOffsetsByGridParityAndLaneChangeTiming)
{
    for (int Grid = 1; Grid <= 10; ++Grid)
    {
        TEnemyCar& Car = MakeEnemy(60.0 * Grid, 300, Grid - 1, Grid);
        if (Grid % 2 == 1)
        {
            EXPECT_LE(Car.FLaneOffset, 0);
            EXPECT_GE(Car.FLaneOffset, -99);
        }
        else
        {
            EXPECT_GE(Car.FLaneOffset, 0);
            EXPECT_LE(Car.FLaneOffset, 99);
        }
        EXPECT_GE(Car.FLaneLimit, 500);
        EXPECT_LE(Car.FLaneLimit, 899);
    }

    // The first change comes on frame FLaneLimit, the next after 900..2299 more frames.
    TEnemyCar& Car = *static_cast<TEnemyCar*>(World->FEnemies[0]);
    Car.FLaneOffset = 1000;
    const int First = Car.FLaneLimit;
    for (int Frame = 1; Frame < First; ++Frame)
        Car.Move(1);
    EXPECT_DOUBLE_EQ(Car.FLaneOffset, 1000);
    Car.Move(1);
    EXPECT_GE(Car.FLaneOffset, -50);
    EXPECT_LE(Car.FLaneOffset, 49);
    EXPECT_GE(Car.FLaneLimit, 900);
    EXPECT_LE(Car.FLaneLimit, 2299);
    EXPECT_EQ(Car.FLaneTicks, 2);
}

TEST_F(EnemyTest, ThrottleAndBrakeForTheTargetAngle)
{
    TEnemyCar& Car = MakeEnemy(400, 300, 0);
    const double Accel = Car.FAcceleration;

    // Within 10 degrees: the throttle stays down even near the top speed.
    TargetAt(Car, 30, -500);
    Car.FSpeed = 8.5;
    Car.Drive();
    EXPECT_DOUBLE_EQ(Car.FAccel, Accel);

    // 45 degrees off: the limit is 6 - 2 cos 45 = 4.586.
    for (auto [Speed, Braked] : {std::pair{4.7, true}, {4.5, false}})
    {
        TargetAt(Car, 500, -500);
        Car.FHeading = Car.FCourse = -90;
        Car.FSpeed = Speed;
        Car.Drive();
        EXPECT_DOUBLE_EQ(Car.FAccel, Braked ? -Car.FBrakeAccel : Accel) << Speed;
        EXPECT_GT(Car.FHeading, -90) << "the target is to the right";
        EXPECT_FLOAT_EQ(Car.FTargetArrow->Angle, -45.0f);
    }

    // Straight behind: brake above 2, crawl below.
    TargetAt(Car, 20, 600);
    Car.FSpeed = 2.5;
    Car.Drive();
    EXPECT_DOUBLE_EQ(Car.FAccel, -Car.FBrakeAccel);
    Car.FSpeed = 1.5;
    Car.Drive();
    EXPECT_DOUBLE_EQ(Car.FAccel, Accel);
}

TEST_F(EnemyTest, LevelWithTheTargetKeepsThePreviousTargetAngle)
{
    TEnemyCar& Car = MakeEnemy(400, 300, 0);
    // Created pointing up: the target angle starts as the heading.
    EXPECT_FLOAT_EQ(Car.FTargetArrow->Angle, -90.0f);

    TargetAt(Car, 0, -500); // straight ahead, level on x: no direction computed
    Car.FSpeed = 5;
    Car.Drive();
    EXPECT_FLOAT_EQ(Car.FTargetArrow->Angle, -90.0f);
    EXPECT_DOUBLE_EQ(Car.FHeading, -90);
    EXPECT_DOUBLE_EQ(Car.FAccel, Car.FAcceleration);

    // A target angle from an earlier frame pointing behind is kept, and the car brakes for it.
    Car.FTargetArrow->Angle = 90.0f;
    Car.Drive();
    EXPECT_FLOAT_EQ(Car.FTargetArrow->Angle, 90.0f);
    EXPECT_DOUBLE_EQ(Car.FAccel, -Car.FBrakeAccel);
}

TEST_F(EnemyTest, TargetBehindBrakesToTwoThenCrawlsWhileTurning)
{
    TEnemyCar& Car = MakeEnemy(400, 300, 0);
    TargetAt(Car, 30, 900);
    Car.Racing = true;
    Car.FSpeed = 6;
    for (int Frame = 1; Frame <= 120; ++Frame)
    {
        Car.Move(1);
        if (Frame >= 60)
        {
            EXPECT_GT(Car.FSpeed, 1.7) << Frame;
            EXPECT_LT(Car.FSpeed, 2.2) << Frame;
        }
    }
    // The target lies down and to the right: the car turns right (towards larger angles).
    EXPECT_GT(Car.FHeading, -90 + 20);
}

TEST_F(EnemyTest, TargetWrapsFromTheLastCheckpointAndWallsSteerAway)
{
    TEnemyCar& Car = MakeEnemy(400, 300, 0);
    SetCheckpoints({{400, -2000}, {400, -4000}, {Car.CentreX() + 50, Car.CentreY() - 100}});
    Car.FLaneOffset = 0;
    Car.FTarget = 3;
    Car.FSpeed = 3;
    Car.Drive();
    EXPECT_EQ(Car.FTarget, 1);

    // Point 0 (ahead-left) sees a wall: steer right and brake above 2; the flag is consumed.
    TargetAt(Car, -100, -500);
    Car.FHeading = Car.FCourse = -90;
    Car.FLookAhead[0].Obstacle = true;
    Car.Drive();
    EXPECT_FALSE(Car.FLookAhead[0].Obstacle);
    EXPECT_GT(Car.FHeading, -90);
    EXPECT_DOUBLE_EQ(Car.FAccel, -Car.FBrakeAccel);
}

TEST_F(EnemyTest, LookAheadPointsFromThePivot)
{
    TEnemyCar& Car = MakeEnemy(400, 300, 0, 1, 90); // pointing down: Angle 0
    const double Px = Car.PivotX(), Py = Car.PivotY(), Bumper = 0.7 * Car.Height();
    EXPECT_NEAR(Car.FLookAhead[2].X, Px, 1e-9);
    EXPECT_NEAR(Car.FLookAhead[2].Y, Py + Bumper + 70, 1e-9);
    EXPECT_NEAR(Car.FLookAhead[3].Y, Py + Bumper + 20, 1e-9);
    EXPECT_NEAR(Car.FLookAhead[4].X, Px + Bumper, 1e-9);
    EXPECT_NEAR(Car.FLookAhead[4].Y, Py, 1e-9);
    const double A = 75 * std::numbers::pi / 180;
    EXPECT_NEAR(Car.FLookAhead[0].X, Px + (Bumper + 40) * std::cos(A), 1e-9);
    EXPECT_NEAR(Car.FLookAhead[1].X, Px - (Bumper + 40) * std::cos(A), 1e-9);

    // Turned up the screen, the points follow the car.
    Car.FHeading = -90;
    Car.Angle = -180;
    Car.UpdateLookAhead();
    EXPECT_NEAR(Car.FLookAhead[2].Y, Py - Bumper - 70, 1e-9);
    EXPECT_NEAR(Car.WallSensors()[0].X, Px - (Bumper + 40) * std::cos(A), 1e-9); // ahead-left
}

TEST_F(EnemyTest, AvoidKeepsOnlyTheLastOpponentThenAddsThePlayer)
{
    TEnemyCar& Me = MakeEnemy(400, 400, 0);
    const double AheadY = Me.FLookAhead[2].Y;
    TEnemyCar& Right = MakeEnemy(Me.FLookAhead[2].X + 30, AheadY, 1);
    TEnemyCar& Far = MakeEnemy(100, 900, 2);

    // Slot 1 ahead-right alone would make the car steer left...
    World->FEnemyCount = 2;
    Me.Avoid();
    EXPECT_TRUE(Me.FAvoidLeft);
    EXPECT_FALSE(Me.FAvoidRight);
    // ...but slot 2 comes later and clears it.
    World->FEnemyCount = 3;
    Me.Avoid();
    EXPECT_FALSE(Me.FAvoidLeft);
    EXPECT_FALSE(Me.FBlocked);

    // The player is tested after the opponents, without clearing: ahead-left makes it steer right.
    MakePlayer(Me.FLookAhead[2].X - 30, AheadY);
    Me.Avoid();
    EXPECT_TRUE(Me.FAvoidRight);
    EXPECT_FALSE(Me.FAvoidLeft);

    // A car close in front blocks.
    World->FPlayer->SetY(static_cast<float>(Me.FLookAhead[3].Y - World->FPlayer->Height() / 2.0));
    World->FPlayer->SetX(static_cast<float>(Me.FLookAhead[3].X - World->FPlayer->Width() / 2.0));
    World->FPlayer->UpdateCorners();
    Me.Avoid();
    EXPECT_TRUE(Me.FBlocked);
    (void)Right;
    (void)Far;
}

TEST_F(EnemyTest, ASingleOpponentNeverTestsItself)
{
    TEnemyCar& Car = MakeEnemy(400, 300, 0);
    // Squares on the pivot would cover the car's own outline.
    Car.FLookAhead[2].Radius = Car.FLookAhead[3].Radius = 0;
    Car.UpdateLookAhead();
    const float X0 = Car.X();
    Car.Avoid();
    Car.CheckCarContacts();
    EXPECT_FALSE(Car.FBlocked);
    EXPECT_FALSE(Car.FAvoidLeft || Car.FAvoidRight);
    EXPECT_FALSE(Car.FContact[0]);
    EXPECT_FLOAT_EQ(Car.X(), X0);

    World->FRaceDistance = {};
    World->FRaceDistance[1] = 50;
    Car.UpdatePlace();
    EXPECT_EQ(Car.RacePlace, 1);
    World->FRaceDistance[0] = 60;
    Car.UpdatePlace();
    EXPECT_EQ(Car.RacePlace, 2);
}

TEST_F(EnemyTest, ContactBetweenOpponentsPushesAndTurns)
{
    TEnemyCar& A = MakeEnemy(400, 300, 0);
    TEnemyCar& B = MakeEnemy(420, 300, 1);
    A.FSpeed = 0; // e = (0, 0): half the push; u = (-1, 0)
    const float X0 = A.X(), Y0 = A.Y(), Bx0 = B.X();
    A.CheckCarContacts();
    EXPECT_TRUE(A.FContact[1]);
    EXPECT_TRUE(A.FContactPrev[1]);
    EXPECT_FALSE(A.FContact[0]);
    EXPECT_FLOAT_EQ(A.X(), X0 - 1.5f);
    EXPECT_FLOAT_EQ(A.Y(), Y0);
    EXPECT_FLOAT_EQ(B.X(), Bx0); // the other side runs its own reaction
    EXPECT_DOUBLE_EQ(A.FHeading, -90);

    // Up at 5 against a car going right at 3: z > 0, both directions turn by +1.5; no speed lost.
    A.FSpeed = 5;
    B.FSpeed = 3;
    B.FCourse = 0;
    A.HitCar(B);
    EXPECT_DOUBLE_EQ(A.FHeading, -88.5);
    EXPECT_DOUBLE_EQ(A.FCourse, -88.5);
    EXPECT_DOUBLE_EQ(A.FSpeed, 5);
    B.FCourse = 180;
    A.FHeading = A.FCourse = -90;
    A.HitCar(B);
    EXPECT_DOUBLE_EQ(A.FHeading, -91.5);

    // Apart: the contact ends with its kept flag.
    B.SetX(B.X() + 200);
    B.UpdateCorners();
    A.UpdateCorners();
    A.CheckCarContacts();
    EXPECT_FALSE(A.FContact[1]);
    EXPECT_FALSE(A.FContactPrev[1]);
}

TEST_F(EnemyTest, ContactWithThePlayerUnlessProtected)
{
    TEnemyCar& Car = MakeEnemy(400, 300, 0);
    TPlayer& P = MakePlayer(400, 320);
    Car.FSpeed = 4; // e = (0, -1): the full push along y, u = (0, -1)
    const float X0 = Car.X(), Y0 = Car.Y();
    P.StartProtection();
    Car.CheckCarContacts();
    EXPECT_TRUE(Car.FTouchingPlayer);
    EXPECT_FLOAT_EQ(Car.Y(), Y0);

    P.FProtected = false;
    Car.CheckCarContacts();
    EXPECT_TRUE(Car.FTouchingPlayer);
    EXPECT_FLOAT_EQ(Car.Y(), Y0 - 3.0f);
    EXPECT_FLOAT_EQ(Car.X(), X0);
    EXPECT_DOUBLE_EQ(P.FPushX, 0.0); // the player's side is the player's own
    EXPECT_DOUBLE_EQ(P.FPushY, 0.0);
}

TEST_F(EnemyTest, PlaceAmongOpponentsAndThePlayer)
{
    TEnemyCar& A = MakeEnemy(100, 300, 0);
    TEnemyCar& B = MakeEnemy(300, 300, 1);
    MakeEnemy(500, 300, 2);
    World->FRaceDistance = {300, 200, 250, 100};
    A.UpdatePlace();
    B.UpdatePlace();
    EXPECT_EQ(A.RacePlace, 3); // behind B and the player
    EXPECT_EQ(B.RacePlace, 2);
    // Ties do not count as ahead; slots past the count are not read.
    World->FRaceDistance = {200, 200, 200, 200, 900};
    A.UpdatePlace();
    EXPECT_EQ(A.RacePlace, 1);
}

TEST_F(EnemyTest, MovesWithTheWorldRollsOutAndStopsAtTheFinish)
{
    TEnemyCar& Car = MakeEnemy(400, 300, 0);
    SetCheckpoints({{400, -3000}, {400, -3300}});
    TPlayer& P = MakePlayer(400, 460);
    P.FShiftX = 2;
    P.FShiftY = -1;
    P.FPushX = 1;
    const float X0 = Car.X(), Y0 = Car.Y();
    Car.Move(1);
    EXPECT_FLOAT_EQ(Car.X(), X0 + 3);
    EXPECT_FLOAT_EQ(Car.Y(), Y0 - 1);
    EXPECT_DOUBLE_EQ(World->FRaceDistance[1], World->FCheckpointDistance[2] + Car.FProgress);

    // Not racing and far from checkpoint 1: it rolls to a stop at half the coasting rate.
    P.FShiftX = P.FShiftY = P.FPushX = 0;
    Car.FSpeed = 3;
    Car.FCourse = Car.FHeading = -90;
    Car.Move(1);
    EXPECT_DOUBLE_EQ(Car.FAccel, -Car.FRollDecel / 2);

    // The finish line's hook stops an opponent; other cars are left alone.
    Car.Racing = true;
    StopOpponent(Car);
    EXPECT_FALSE(Car.Racing);
    StopOpponent(P);

    // Lost far below, pointing down: turned up and sent on.
    Car.SetY(4100);
    Car.FHeading = Car.FCourse = 90;
    Car.FTarget = 1;
    Car.Move(1);
    EXPECT_EQ(Car.FTarget, 2);
    EXPECT_DOUBLE_EQ(Car.FHeading, -90);
}

} // namespace
} // namespace vm::test
