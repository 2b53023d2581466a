// Explosions (their animation, following their car, ending with it) and the cars' shadows.
#include "race_fixture.h"

#include "world/car_shadow.h"
#include "world/explosion.h"
#include "world/player.h"

namespace vm::test {
namespace {

using ExplosionTest = RaceFixture;

double CornerMeanX(const TCar& Car)
{
    return (Car.FCorners[0].X + Car.FCorners[1].X + Car.FCorners[2].X + Car.FCorners[3].X) / 4;
}
double CornerMeanY(const TCar& Car)
{
    return (Car.FCorners[0].Y + Car.FCorners[1].Y + Car.FCorners[2].Y + Car.FCorners[3].Y) / 4;
}

TEST_F(ExplosionTest, EightPatternsFourFramesEachThenItEndsOnThe33rdMove)
{
    auto* Boom = new TExplose(*World, 100, 200, ekWreck, -1);
    ASSERT_NE(Boom->Image(), nullptr);
    EXPECT_EQ(Boom->Z(), 500);
    EXPECT_EQ(Boom->Alpha(), 230);
    EXPECT_EQ(Boom->Name(), "explose");
    for (int MoveNo = 1; MoveNo <= 32; ++MoveNo)
    {
        Boom->Move(1);
        ASSERT_FALSE(Boom->IsDead()) << MoveNo;
        EXPECT_EQ(Boom->PatternIndex(), (MoveNo - 1) / 4) << MoveNo;
        // Following the player: glued where the player's car stands on the screen.
        EXPECT_FLOAT_EQ(Boom->X() + Boom->Width() / 2.0f, 396.0f);
        EXPECT_FLOAT_EQ(Boom->Y() + Boom->Height() / 2.0f, 450.0f);
    }
    Boom->Move(1);
    EXPECT_TRUE(Boom->IsDead());
}

TEST_F(ExplosionTest, BombKindsLieUnderTheCars)
{
    for (int Kind : {ekBomb, ekSpare})
    {
        auto* Boom = new TExplose(*World, 100, 200, Kind, -1);
        EXPECT_NE(Boom->Image(), nullptr);
        EXPECT_EQ(Boom->Z(), 49);
        EXPECT_FLOAT_EQ(Boom->X() + Boom->Width() / 2.0f, 100.0f);
    }
}

TEST_F(ExplosionTest, FollowsItsOpponentAndEndsWhenTheCarIsGone)
{
    auto* Car = new TCar(*World, 300, 300, 1, "enemy", -90, 0, 0);
    Car->UpdateCorners();
    World->FEnemies[0] = Car;
    World->FEnemyCount = 1;
    auto* Boom = new TExplose(*World, CornerMeanX(*Car), CornerMeanY(*Car), ekBomb, 0);
    for (int Frame = 0; Frame < 10; ++Frame)
    {
        // The car slides and spins.
        Car->SetX(Car->X() + 7);
        Car->SetY(Car->Y() - 3);
        Car->Angle += 13;
        Car->UpdateCorners();
        Boom->Move(1);
        EXPECT_DOUBLE_EQ(Boom->FFollowX, CornerMeanX(*Car));
        EXPECT_DOUBLE_EQ(Boom->FFollowY, CornerMeanY(*Car));
        EXPECT_NEAR(Boom->X() + Boom->Width() / 2.0, CornerMeanX(*Car), 1e-3);
        EXPECT_NEAR(Boom->Y() + Boom->Height() / 2.0, CornerMeanY(*Car), 1e-3);
    }
    Car->Dead();
    Boom->Move(1);
    EXPECT_TRUE(Boom->IsDead());

    // A slot that holds no opponent (beyond the count, empty, or beyond the table) ends it too.
    for (int Slot : {1, 5, TRaceWorld::MaxOpponents, 40})
    {
        auto* Lost = new TExplose(*World, 0, 0, ekBomb, Slot);
        Lost->Move(1);
        EXPECT_TRUE(Lost->IsDead()) << Slot;
    }
    Engine->FreeDead();
}

TEST_F(ExplosionTest, ShadowsFollowTheCarOffsetByTwoAndTurnWithIt)
{
    auto* Player = new TPlayer(*World, 396, 460, 0, "player", -90, 0);
    World->FPlayer = Player;
    ASSERT_NE(Player->FShadow, nullptr);
    EXPECT_EQ(Player->FShadow->Z(), 48);
    EXPECT_EQ(Player->FShadow->Width(), Player->Width());
    Player->Driving = true;
    Press(vkUp);
    Press(vkLeft);
    float LastAngle = Player->Angle;
    for (int Frame = 0; Frame < 40; ++Frame)
    {
        Engine->Move(1);
        EXPECT_FLOAT_EQ(Player->FShadow->X(), Player->X() + 2);
        EXPECT_FLOAT_EQ(Player->FShadow->Y(), Player->Y() + 2);
        EXPECT_FLOAT_EQ(Player->FShadow->Angle, Player->Angle);
    }
    EXPECT_NE(Player->Angle, LastAngle) << "the car turned, and its shadow with it";
}

} // namespace
} // namespace vm::test
