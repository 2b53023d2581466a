// Pickups: the outline, the overlap tests against the cars, what each kind does, and the kind draws.
#include "world/bonus.h"

#include "engine/image_list.h"
#include "engine/random.h"
#include "state/game_state.h"
#include "world/car.h"
#include "world/car_shadow.h"
#include "world/explosion.h"
#include "world/geometry.h"
#include "world/player.h"
#include "world/race_world.h"
#include "world/road_part.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vm {

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;

// Image keys of the kinds in the game image list, in the order of TBonusKind.
constexpr const char* BonusImageKeys[BonusKindCount] = {"bonus1", "bonus2", "bonus3", "luga",  "bomb",
                                                        "repair", "life",   "time",   "shipi", "speedup"};

// Where the player's car stands on the screen: its bomb explosion is centred there.
constexpr double PlayerScreenX = 396.0, PlayerScreenY = 450.0;

// Opponent slots a pickup may look at: the world's table and the pickup's contact flags.
int OpponentSlots(const TRaceWorld& World)
{
    return std::clamp(World.FEnemyCount, 0, std::min(TRaceWorld::MaxOpponents, TBonus::ContactSlots));
}

} // namespace

TBonus::TBonus(TRaceWorld& World, float X, float Y, int Kind) : TWorldSprite(World.Engine), FWorld(World)
{
    SetName("bonus");
    SetPatternIndex(0);
    FKind = Kind;
    if (Kind >= 0 && Kind < BonusKindCount)
        SetImage(World.GameImages.Find(BonusImageKeys[Kind]));
    SetX(static_cast<float>(static_cast<double>(X) - Width() / 2.0));
    SetY(static_cast<float>(static_cast<double>(Y) - Height() / 2.0));
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
    SetZ(31);
}

void TBonus::Move(float /*MoveCount*/)
{
    UpdateCorners();
    CheckPickups();
    ApplyWorldShift(*this, FWorld);
    if (Y() > 2000)
        Dead(); // far below the screen
}

void TBonus::UpdateCorners()
{
    const double Mx = X() + Width() / 2.0, My = Y() + Height() / 2.0;
    const double R = std::sqrt((Width() / 2.0) * (Width() / 2.0) + (Height() / 2.0) * (Height() / 2.0));
    const double Angles[4] = {135.0, -135.0, -45.0, 45.0};
    for (int I = 0; I < 4; ++I)
    {
        FCorners[static_cast<std::size_t>(I)].X = Mx + R * std::cos(Angles[I] * DegToRad);
        FCorners[static_cast<std::size_t>(I)].Y = My + R * std::sin(Angles[I] * DegToRad);
    }
}

void TBonus::CheckPickups()
{
    const auto& B = FCorners;
    auto Overlaps = [&B](const TCar& Car) {
        const auto& C = Car.FCorners;
        return QuadsOverlap(C[0].X, C[0].Y, C[1].X, C[1].Y, C[2].X, C[2].Y, C[3].X, C[3].Y, B[0].X, B[0].Y,
                            B[1].X, B[1].Y, B[2].X, B[2].Y, B[3].X, B[3].Y);
    };

    // Opponents: first every contact, then the effects, so that all cars overlapping in this
    // frame are served even when the first one removes the pickup.
    const int Count = OpponentSlots(FWorld);
    if (Count > 0)
    {
        const double Mx = X() + Width() / 2.0, My = Y() + Height() / 2.0;
        for (int S = 0; S < Count; ++S)
        {
            FContact[static_cast<std::size_t>(S)] = false;
            const TCar* Car = FWorld.FEnemies[static_cast<std::size_t>(S)];
            if (Car == nullptr || Car->IsDead())
                continue;
            // Coarse pre-test on the centres: a car and a pickup this far apart cannot overlap.
            if (std::fabs(Car->CentreX() - Mx) >= 150 || std::fabs(Car->CentreY() - My) >= 150)
                continue;
            FContact[static_cast<std::size_t>(S)] = Overlaps(*Car);
        }
        for (int S = 0; S < Count; ++S)
            if (FContact[static_cast<std::size_t>(S)])
                ApplyPickup(S);
    }

    // The player, unless protected.
    const TPlayer* Player = FWorld.FPlayer;
    FTouchingPlayer = Player != nullptr && !Player->IsDead() && Overlaps(*Player);
    if (FTouchingPlayer && !Player->FProtected)
        ApplyPickup(PlayerTarget);
}

void TBonus::ApplyPickup(int Target)
{
    if (Target < 0)
    {
        if (FWorld.FPlayer != nullptr)
            ApplyToPlayer();
        return;
    }
    if (Target >= OpponentSlots(FWorld))
        return;
    if (TCar* Car = FWorld.FEnemies[static_cast<std::size_t>(Target)])
        ApplyToOpponent(Target, *Car);
}

void TBonus::ApplyToPlayer()
{
    TPlayer& Car = *FWorld.FPlayer;
    TGameState& State = FWorld.State;
    switch (FKind)
    {
    case bkCoin10:
    case bkCoin20:
    case bkCoin30:
        Sound("coin");
        State.AddScore(10 * (FKind - bkCoin10 + 1)); // 10, 20 or 30 points
        Dead();
        break;
    case bkOil:
        // The skid sound is not started again while it is still playing (the sound hook decides).
        Sound("skid");
        Car.FSkidding = true;
        Car.FCourse += FWorld.Rng.Random(20) - 10;
        break;
    case bkBomb:
        Car.Damage(40);
        new TExplose(FWorld, PlayerScreenX, PlayerScreenY, ekBomb, TExplose::PlayerTarget);
        Sound("exp");
        StartSpin(Car);
        Dead();
        break;
    case bkRepair:
        Sound("repair");
        Car.Repair(30);
        Dead();
        break;
    case bkLife:
        Sound("up");
        ++State.Lives;
        Dead();
        break;
    case bkTime:
        // Five seconds more on the race clock.
        Sound("addtime");
        if (State.TimeSeconds < 55)
            State.TimeSeconds += 5;
        else
        {
            ++State.TimeMinutes;
            State.TimeSeconds = State.TimeSeconds + 5 - 60;
        }
        Dead();
        break;
    case bkSpikes: ApplySpikes(Car, true, true); break;
    case bkSpeedUp: ApplySpeedUp(Car, true, true); break;
    default: break;
    }
}

void TBonus::ApplyToOpponent(int Slot, TCar& Car)
{
    // Opponents ignore coins and the help pickups other than the speed-up; those stay.
    switch (FKind)
    {
    case bkOil:
        if (OnScreen())
            Sound("skid");
        Car.FSkidding = true;
        Car.FCourse += FWorld.Rng.Random(20) - 10;
        break;
    case bkBomb:
    {
        if (OnScreen())
            Sound("exp");
        double Sx = 0.0, Sy = 0.0;
        for (const TCarCorner& Corner : Car.FCorners)
            Sx += Corner.X, Sy += Corner.Y;
        new TExplose(FWorld, Sx / 4.0, Sy / 4.0, ekBomb, Slot);
        StartSpin(Car);
        Dead();
        break;
    }
    case bkSpikes: ApplySpikes(Car, false, OnScreen()); break;
    case bkSpeedUp: ApplySpeedUp(Car, false, OnScreen()); break;
    default: break;
    }
}

void TBonus::StartSpin(TCar& Car)
{
    // The car spins about its middle; its Move restores the rotation centre when the spin ends.
    Car.RotCenterX = 0.5f;
    Car.RotCenterY = 0.5f;
    if (Car.FShadow != nullptr)
    {
        Car.FShadow->RotCenterX = 0.5f;
        Car.FShadow->RotCenterY = 0.5f;
    }
    if (FWorld.Rng.Random(10) < 6)
        Car.FSpin = -(10 + FWorld.Rng.Random(5));
    else
        Car.FSpin = 10 + FWorld.Rng.Random(5);
    Car.FSpinning = true;
}

void TBonus::ApplySpikes(TCar& Car, bool WithGrip, bool SoundOn)
{
    if (Car.FBoosted)
    {
        // Spikes only cancel a boost.
        Car.FTopSpeed /= 2;
        Car.FAcceleration /= 2;
        Car.FSurfaceFactor -= 0.1;
        Car.FSpeed /= 2;
        Car.FTurnRate -= 0.1;
        Car.FBoosted = false;
        Car.FBoostTicks = 0;
    }
    else if (Car.FSlowed)
        Car.FSlowTicks += 300;
    else
    {
        Car.FSlowed = true;
        Car.FSlowTicks = 400;
        Car.FSpeed /= 2;
        Car.FTopSpeed /= 2;
        Car.FAcceleration /= 2;
        if (WithGrip)
            Car.FGrip /= 3;
        if (SoundOn)
            Sound("sweep");
    }
    Dead();
}

void TBonus::ApplySpeedUp(TCar& Car, bool WithGrip, bool SoundOn)
{
    if (Car.FSlowed)
    {
        // Only cancels the slow-down; the pickup stays, so a further frame of overlap boosts.
        Car.FTopSpeed *= 2;
        Car.FAcceleration *= 2;
        if (WithGrip)
            Car.FGrip *= 3;
        Car.FSlowed = false;
        Car.FSlowTicks = 0;
        return;
    }
    if (Car.FBoosted)
        Car.FBoostTicks += 200;
    else
    {
        if (SoundOn)
            Sound("nitro");
        Car.FBoosted = true;
        Car.FBoostTicks = 300;
        Car.FTopSpeed *= 2;
        Car.FAcceleration *= 2;
        Car.FTurnRate += 0.1;
        Car.FSurfaceFactor += 0.1;
    }
    Dead();
}

void TBonus::Sound(const char* Key)
{
    FLastSound = Key;
    if (FWorld.PlaySound)
        FWorld.PlaySound(Key);
}

bool TBonus::OnScreen() const { return Y() > -100 && Y() < 600; }

TBonusKind DrawPickupKind(TRandom& Rng, int SplitLow, int SplitHigh)
{
    const int R = Rng.Random(600);
    if (R < SplitLow)
        return DrawCoinKind(Rng);
    if (R < SplitHigh)
        return DrawHazardKind(Rng);
    return DrawHelpKind(Rng);
}

TBonusKind DrawCoinKind(TRandom& Rng)
{
    const int R = Rng.Random(310);
    return R <= 100 ? bkCoin10 : R <= 270 ? bkCoin20 : bkCoin30;
}

TBonusKind DrawHazardKind(TRandom& Rng)
{
    const int R = Rng.Random(200);
    return R <= 100 ? bkOil : R <= 150 ? bkSpikes : bkBomb;
}

TBonusKind DrawHelpKind(TRandom& Rng)
{
    const int R = Rng.Random(225);
    return R <= 100 ? bkRepair : R <= 170 ? bkSpeedUp : R <= 220 ? bkTime : bkLife;
}

} // namespace vm
