// Pickups: what each kind does to the player and to an opponent, the slow-down and boost rules,
// the race clock, the bomb, the kind draws, and pickups arriving with the road.
#include "world_fixture.h"

#include "world/bonus.h"
#include "world/car_shadow.h"
#include "world/explosion.h"
#include "world/player.h"
#include "world/road_part.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace vm::test {
namespace {

class BonusTest : public WorldTest
{
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
        World.FPlayer = Player;
        Setup(*Player);
    }

    // Round handling values, so that halving and doubling are easy to check.
    static void Setup(TCar& Car)
    {
        Car.FTopSpeed = 8, Car.FAcceleration = 0.2, Car.FGrip = 0.9, Car.FSpeed = 6;
        Car.FTurnRate = 3, Car.FSurfaceFactor = 1;
        Car.UpdateCorners();
    }

    TCar* AddOpponent(double X, double Y)
    {
        auto* Car = new TCar(World, X, Y, 1, "enemy", -90, 0, 0);
        Setup(*Car);
        World.FEnemies[static_cast<std::size_t>(World.FEnemyCount++)] = Car;
        return Car;
    }

    // A pickup lying under the car's tile centre.
    TBonus* Drop(int Kind, const TCar& Car)
    {
        return new TBonus(World, static_cast<float>(Car.CentreX()), static_cast<float>(Car.CentreY()), Kind);
    }

    static void Touch(TBonus& Bonus)
    {
        Bonus.UpdateCorners();
        Bonus.CheckPickups();
    }

    static bool Heard(const TBonus& Bonus, const char* Key)
    {
        return Bonus.FLastSound != nullptr && std::strcmp(Bonus.FLastSound, Key) == 0;
    }

    TPlayer* Player = nullptr;
};

TEST_F(BonusTest, EveryKindOnThePlayer)
{
    const std::array<const char*, BonusKindCount> Sounds = {"coin",   "coin", "coin",    "skid",  "exp",
                                                            "repair", "up",   "addtime", "sweep", "nitro"};
    for (int Kind = 0; Kind < BonusKindCount; ++Kind)
    {
        SCOPED_TRACE(Kind);
        Setup(*Player);
        Player->Health = 70;
        State.Score = 100, State.Lives = 2, State.TimeMinutes = 1, State.TimeSeconds = 10;
        TBonus* Bonus = Drop(Kind, *Player);
        ASSERT_NE(Bonus->Image(), nullptr);
        EXPECT_EQ(Bonus->Z(), 31);
        const double Course = Player->FCourse;
        Touch(*Bonus);
        EXPECT_TRUE(Bonus->FTouchingPlayer);
        EXPECT_TRUE(Heard(*Bonus, Sounds[static_cast<std::size_t>(Kind)]));
        EXPECT_EQ(Bonus->IsDead(), Kind != bkOil) << "only oil stays under the player";
        const int Coin = Kind == bkCoin10 ? 10 : Kind == bkCoin20 ? 20 : Kind == bkCoin30 ? 30 : 0;
        EXPECT_EQ(State.Score, 100 + Coin);
        EXPECT_EQ(Player->Health, Kind == bkBomb ? 30 : Kind == bkRepair ? 100 : 70);
        EXPECT_EQ(State.Lives, Kind == bkLife ? 3 : 2);
        EXPECT_EQ(State.TimeSeconds, Kind == bkTime ? 15 : 10);
        EXPECT_EQ(Player->FSkidding, Kind == bkOil);
        if (Kind == bkOil)
        {
            EXPECT_LE(std::abs(Player->FCourse - Course), 10.0);
        }
        EXPECT_EQ(Player->FSpinning, Kind == bkBomb);
        EXPECT_EQ(Player->FSlowed, Kind == bkSpikes);
        EXPECT_EQ(Player->FBoosted, Kind == bkSpeedUp);
        // Reset what the kind changed before the next one.
        Player->FSkidding = Player->FSpinning = Player->FSlowed = Player->FBoosted = false;
        Player->FCourse = Course;
        Bonus->Dead();
        Engine.FreeDead();
    }
}

TEST_F(BonusTest, CoinsStopTheScoreAtItsLimit)
{
    for (int Kind : {bkCoin10, bkCoin20, bkCoin30})
    {
        SCOPED_TRACE(Kind);
        Setup(*Player);
        State.Score = INT32_MAX - 15;
        Touch(*Drop(Kind, *Player));
        EXPECT_EQ(State.Score, Kind == bkCoin10 ? INT32_MAX - 5 : INT32_MAX);
        Touch(*Drop(Kind, *Player));
        EXPECT_EQ(State.Score, INT32_MAX);
        Engine.FreeDead();
    }
}

TEST_F(BonusTest, BombSpinsTheCarAboutItsMiddleUnderAnExplosionOnIt)
{
    Player->SetX(Player->X() + 40); // the explosion still sits where the player's car stands on screen
    Player->UpdateCorners();
    TBonus* Bomb = Drop(bkBomb, *Player);
    Touch(*Bomb);
    EXPECT_EQ(Player->RotCenterX, 0.5f);
    EXPECT_EQ(Player->RotCenterY, 0.5f);
    ASSERT_NE(Player->FShadow, nullptr);
    EXPECT_EQ(Player->FShadow->RotCenterY, 0.5f);
    EXPECT_GE(std::abs(Player->FSpin), 10.0);
    EXPECT_LE(std::abs(Player->FSpin), 14.0);
    const auto Explosions = All<TExplose>();
    ASSERT_EQ(Explosions.size(), 1u);
    EXPECT_EQ(Explosions[0]->FTargetCar, -1);
    EXPECT_EQ(Explosions[0]->Z(), 49);
    EXPECT_FLOAT_EQ(Explosions[0]->X() + Explosions[0]->Width() / 2.0f, 396.0f);
    EXPECT_FLOAT_EQ(Explosions[0]->Y() + Explosions[0]->Height() / 2.0f, 450.0f);
}

TEST_F(BonusTest, EveryKindOnAnOpponent)
{
    Player->SetY(2000); // out of the way
    Player->UpdateCorners();
    TCar* Car = AddOpponent(300, 300);
    for (int Kind = 0; Kind < BonusKindCount; ++Kind)
    {
        SCOPED_TRACE(Kind);
        Setup(*Car);
        State.Score = 100, State.Lives = 2, State.TimeSeconds = 10;
        TBonus* Bonus = Drop(Kind, *Car);
        Touch(*Bonus);
        EXPECT_TRUE(Bonus->FContact[0]);
        EXPECT_FALSE(Bonus->FTouchingPlayer);
        const bool Acts = Kind == bkOil || Kind == bkBomb || Kind == bkSpikes || Kind == bkSpeedUp;
        EXPECT_EQ(Bonus->IsDead(), Acts && Kind != bkOil) << "oil and what opponents ignore stay";
        EXPECT_EQ(Bonus->FLastSound != nullptr, Acts) << "on screen, what acts is heard";
        EXPECT_EQ(State.Score, 100);
        EXPECT_EQ(State.Lives, 2);
        EXPECT_EQ(State.TimeSeconds, 10);
        EXPECT_EQ(Car->Health, 100) << "a bomb does not damage opponents";
        EXPECT_EQ(Car->FSkidding, Kind == bkOil);
        EXPECT_EQ(Car->FSpinning, Kind == bkBomb);
        EXPECT_EQ(Car->FSlowed, Kind == bkSpikes);
        EXPECT_DOUBLE_EQ(Car->FGrip, 0.9) << "an opponent's slow-down leaves the grip";
        EXPECT_EQ(Car->FBoosted, Kind == bkSpeedUp);
        Car->FSkidding = Car->FSpinning = Car->FSlowed = Car->FBoosted = false;
        Bonus->Dead();
        Engine.FreeDead();
    }
    // The bomb's explosion follows the opponent in slot 0.
    const auto Explosions = All<TExplose>();
    ASSERT_EQ(Explosions.size(), 1u);
    EXPECT_EQ(Explosions[0]->FTargetCar, 0);
}

TEST_F(BonusTest, OpponentsAreHeardOnlyOnScreenAndAllOverlappingCarsAreServed)
{
    Player->SetY(2000);
    Player->UpdateCorners();
    std::vector<std::string> Played;
    World.PlaySound = [&Played](const std::string& Name) { Played.push_back(Name); };
    TCar* Below = AddOpponent(300, 700);
    TBonus* Oil = Drop(bkOil, *Below);
    Touch(*Oil);
    EXPECT_TRUE(Below->FSkidding);
    EXPECT_EQ(Oil->FLastSound, nullptr);
    EXPECT_TRUE(Played.empty()) << "below the screen nothing is heard";

    // Two opponents on the same spikes in one frame are both slowed, though the first removes them.
    TCar* A = AddOpponent(300, 300);
    TCar* B = AddOpponent(305, 300);
    TBonus* Spikes = Drop(bkSpikes, *A);
    Touch(*Spikes);
    EXPECT_TRUE(Spikes->IsDead());
    EXPECT_TRUE(A->FSlowed);
    EXPECT_TRUE(B->FSlowed);
    EXPECT_FALSE(Below->FSlowed);
    // On screen the race's sound hook plays the cue, once for each car slowed.
    EXPECT_EQ(Played, std::vector<std::string>({"sweep", "sweep"}));
}

TEST_F(BonusTest, AProtectedPlayerIsUntouchedAndThePickupsStay)
{
    Player->StartProtection();
    for (int Kind : {bkCoin10, bkBomb, bkSpikes, bkSpeedUp})
    {
        TBonus* Bonus = Drop(Kind, *Player);
        Touch(*Bonus);
        EXPECT_TRUE(Bonus->FTouchingPlayer);
        EXPECT_FALSE(Bonus->IsDead()) << Kind;
        EXPECT_EQ(Bonus->FLastSound, nullptr);
    }
    EXPECT_EQ(State.Score, 0);
    EXPECT_EQ(Player->Health, 100);
    EXPECT_FALSE(Player->FSpinning || Player->FSlowed || Player->FBoosted);
    EXPECT_TRUE(All<TExplose>().empty());
}

TEST_F(BonusTest, SpikesCancelABoostOrLengthenASlowDown)
{
    Touch(*Drop(bkSpeedUp, *Player)); // boost: top speed 16, acceleration 0.4, turn rate 3.1, surface 1.1
    ASSERT_TRUE(Player->FBoosted);
    EXPECT_DOUBLE_EQ(Player->FTopSpeed, 16);
    EXPECT_EQ(Player->FBoostTicks, 300);
    TBonus* Spikes = Drop(bkSpikes, *Player);
    Touch(*Spikes);
    EXPECT_TRUE(Spikes->IsDead());
    EXPECT_EQ(Spikes->FLastSound, nullptr) << "cancelling a boost is silent";
    EXPECT_FALSE(Player->FBoosted);
    EXPECT_FALSE(Player->FSlowed);
    EXPECT_DOUBLE_EQ(Player->FTopSpeed, 8);
    EXPECT_DOUBLE_EQ(Player->FAcceleration, 0.2);
    EXPECT_DOUBLE_EQ(Player->FSpeed, 3);
    EXPECT_NEAR(Player->FTurnRate, 3, 1e-12);
    EXPECT_NEAR(Player->FSurfaceFactor, 1, 1e-12);

    Touch(*Drop(bkSpikes, *Player)); // slow-down
    EXPECT_TRUE(Player->FSlowed);
    EXPECT_EQ(Player->FSlowTicks, 400);
    EXPECT_DOUBLE_EQ(Player->FTopSpeed, 4);
    EXPECT_DOUBLE_EQ(Player->FGrip, 0.3);
    TBonus* More = Drop(bkSpikes, *Player);
    Touch(*More);
    EXPECT_TRUE(More->IsDead());
    EXPECT_EQ(Player->FSlowTicks, 700);
    EXPECT_DOUBLE_EQ(Player->FTopSpeed, 4) << "only the time grows";
}

TEST_F(BonusTest, SpeedUpWhileSlowedCancelsFirstAndBoostsOnTheNextFrame)
{
    Touch(*Drop(bkSpikes, *Player));
    ASSERT_TRUE(Player->FSlowed);
    TBonus* SpeedUp = Drop(bkSpeedUp, *Player);
    Touch(*SpeedUp);
    EXPECT_FALSE(SpeedUp->IsDead());
    EXPECT_EQ(SpeedUp->FLastSound, nullptr);
    EXPECT_FALSE(Player->FSlowed);
    EXPECT_FALSE(Player->FBoosted);
    EXPECT_DOUBLE_EQ(Player->FTopSpeed, 8);
    EXPECT_NEAR(Player->FGrip, 0.9, 1e-12);
    Touch(*SpeedUp);
    EXPECT_TRUE(SpeedUp->IsDead());
    EXPECT_TRUE(Heard(*SpeedUp, "nitro"));
    EXPECT_TRUE(Player->FBoosted);
    EXPECT_DOUBLE_EQ(Player->FTopSpeed, 16);
    // A second speed-up while boosted only lengthens the boost.
    Touch(*Drop(bkSpeedUp, *Player));
    EXPECT_EQ(Player->FBoostTicks, 500);
    EXPECT_DOUBLE_EQ(Player->FTopSpeed, 16);
}

TEST_F(BonusTest, TimeAddsFiveSecondsAcrossTheMinute)
{
    const int Cases[][4] = {{0, 57, 1, 2}, {0, 54, 0, 59}, {2, 55, 3, 0}};
    for (const auto& C : Cases)
    {
        State.TimeMinutes = C[0], State.TimeSeconds = C[1], State.TimeHundredths = 42;
        Touch(*Drop(bkTime, *Player));
        EXPECT_EQ(State.TimeMinutes, C[2]);
        EXPECT_EQ(State.TimeSeconds, C[3]);
        EXPECT_EQ(State.TimeHundredths, 42);
    }
}

TEST_F(BonusTest, ABombWrecksAt38AndLeavesOneAt41)
{
    Player->Health = 41;
    Touch(*Drop(bkBomb, *Player));
    EXPECT_EQ(Player->Health, 1);
    EXPECT_FALSE(World.FWrecked);
    Player->Health = 38;
    Touch(*Drop(bkBomb, *Player));
    EXPECT_TRUE(World.FWrecked);
}

TEST_F(BonusTest, PickupsScrollWithTheWorldAndEndFarBelow)
{
    Player->FShiftX = 3, Player->FShiftY = 7, Player->FPushX = -1, Player->FPushY = 1;
    auto* Bonus = new TBonus(World, 100, 1900, bkCoin10);
    const float X0 = Bonus->X(), Y0 = Bonus->Y();
    Bonus->Move(1);
    EXPECT_FLOAT_EQ(Bonus->X(), X0 + 2);
    EXPECT_FLOAT_EQ(Bonus->Y(), Y0 + 8);
    EXPECT_FALSE(Bonus->IsDead());
    for (int I = 0; I < 20 && !Bonus->IsDead(); ++I)
        Bonus->Move(1);
    EXPECT_TRUE(Bonus->IsDead());
    EXPECT_GT(Bonus->Y(), 2000);
}

TEST_F(BonusTest, KindDrawsSplitIntoThirdsAndKeepTheirOdds)
{
    TRandom Draws(2024);
    std::array<int, BonusKindCount> Count{};
    const int N = 60000;
    for (int I = 0; I < N; ++I)
    {
        TRandom Replay = Draws;
        const int Kind = DrawPickupKind(Draws, 200, 400);
        ASSERT_GE(Kind, 0);
        ASSERT_LT(Kind, BonusKindCount);
        ++Count[static_cast<std::size_t>(Kind)];
        // Exactly two draws: the group, then one within it.
        Replay.Random(600), Replay.Random(7);
        EXPECT_EQ(Replay.Random(1000), TRandom(Draws).Random(1000));
    }
    const double Coins = Count[bkCoin10] + Count[bkCoin20] + Count[bkCoin30];
    const double Hazards = Count[bkOil] + Count[bkBomb] + Count[bkSpikes];
    EXPECT_NEAR(Coins / N, 1.0 / 3, 0.01);
    EXPECT_NEAR(Hazards / N, 1.0 / 3, 0.01);
    EXPECT_NEAR(Count[bkCoin10] / Coins, 101.0 / 310, 0.015);
    EXPECT_NEAR(Count[bkCoin30] / Coins, 39.0 / 310, 0.015);
    EXPECT_NEAR(Count[bkSpikes] / Hazards, 50.0 / 200, 0.015);
    EXPECT_NEAR(Count[bkBomb] / Hazards, 49.0 / 200, 0.015);
    const double Help = N - Coins - Hazards;
    EXPECT_NEAR(Count[bkSpeedUp] / Help, 70.0 / 225, 0.015);
    EXPECT_NEAR(Count[bkLife] / Help, 4.0 / 225, 0.005);

    // A later race's split: no coins below 0, everything hazard up to 600.
    for (int I = 0; I < 200; ++I)
    {
        const int Kind = DrawPickupKind(Draws, 0, 600);
        EXPECT_TRUE(Kind == bkOil || Kind == bkBomb || Kind == bkSpikes) << Kind;
    }
}

TEST_F(BonusTest, NewRoadPiecesCarryTheirPickups)
{
    int WithBonus = 0;
    World.FBonusSplitLow = 0, World.FBonusSplitHigh = 0; // help pickups only
    for (int I = 0; I < 60; ++I)
    {
        const auto Before = All<TBonus>().size();
        new TRoadPart(World, 400, static_cast<float>(-300 * I), PieceStraight, true);
        const auto After = All<TBonus>();
        ASSERT_LE(After.size(), Before + 1);
        if (After.size() == Before + 1)
        {
            ++WithBonus;
            const TBonus* Bonus = After.back();
            const double Cx = Bonus->X() + Bonus->Width() / 2.0, Cy = Bonus->Y() + Bonus->Height() / 2.0;
            EXPECT_NEAR(Cx, 400, 100.5);
            EXPECT_NEAR(Cy, -300.0 * I, 100.5);
            EXPECT_TRUE(Bonus->FKind >= bkRepair && Bonus->FKind <= bkSpeedUp) << Bonus->FKind;
        }
    }
    EXPECT_GT(WithBonus, 15); // about 14 in 30
    EXPECT_LT(WithBonus, 45);
    const auto Count = All<TBonus>().size();
    new TRoadPart(World, 400, 300, PieceStraight, false);
    EXPECT_EQ(All<TBonus>().size(), Count);
}

} // namespace
} // namespace vm::test
