// Pickups lying on the road: coins, repair, lives, time, speed-ups and the hazards (oil, spikes, bomb).
#pragma once

#include "world/bonus_kinds.h"
#include "world/world_sprite.h"

#include <array>

namespace vm {

class TCar;
class TRandom;
struct TRaceWorld;

// One pickup. Owned by the sprite engine; created with a new course piece. It ends itself (Dead)
// when a car takes it or once it has scrolled below Y 2000.
class TBonus : public TWorldSprite
{
public:
    static constexpr int ContactSlots = 18; // opponent slots 0..17
    static constexpr int PlayerTarget = -1; // ApplyPickup's target for the player's car

    // (X, Y) is the centre; Kind is a TBonusKind. Another kind lies on the road without an image and
    // acts on no car.
    TBonus(TRaceWorld& World, float X, float Y, int Kind);

    // UpdateCorners, CheckPickups, the world shift, then the end test.
    void Move(float MoveCount) override;
    // The outline: the upright tile's corners in outline order, from the tile centre.
    void UpdateCorners();
    // Tests the opponents and then the player against the outline and applies the pickup to each
    // car it overlaps. There is no once-only latch: a pickup that stays acts in every frame of overlap.
    void CheckPickups();
    // Acts on Target: -1 the player, s >= 0 the opponent in slot s of the world's FEnemies. A missing
    // car, or a slot outside the opponents, is left alone.
    void ApplyPickup(int Target);

    struct TCorner
    {
        double X = 0.0, Y = 0.0;
    };
    std::array<TCorner, 4> FCorners{};
    std::array<bool, ContactSlots> FContact{};
    bool FTouchingPlayer = false;
    int FKind = 0;
    // The sound this pickup asked for last (a key of the game's sound set), nullptr for none; it is
    // played through the race world's sound hook when one is set.
    const char* FLastSound = nullptr;

private:
    void ApplyToPlayer();
    void ApplyToOpponent(int Slot, TCar& Car);
    // Bomb: rotation centre of car and shadow to the middle, then the spin draws.
    void StartSpin(TCar& Car);
    // Spikes and speed-up; WithGrip for the player, whose slow-down also takes grip.
    void ApplySpikes(TCar& Car, bool WithGrip, bool SoundOn);
    void ApplySpeedUp(TCar& Car, bool WithGrip, bool SoundOn);
    // Plays Key through the race world's hook and records it (see FLastSound).
    void Sound(const char* Key);
    // Opponents' pickups are heard only while the pickup is on the screen.
    bool OnScreen() const;

    TRaceWorld& FWorld;
};

// The kind of a new pickup: r = Random(600) picks coins below SplitLow, hazards below SplitHigh,
// help otherwise; then one draw within the group.
TBonusKind DrawPickupKind(TRandom& Rng, int SplitLow, int SplitHigh);
TBonusKind DrawCoinKind(TRandom& Rng);   // Random(310): 0..100 -> 10 points, ..270 -> 20, else 30
TBonusKind DrawHazardKind(TRandom& Rng); // Random(200): 0..100 -> oil, ..150 -> spikes, else bomb
// Random(225): 0..100 -> repair, ..170 -> speed-up, ..220 -> time, else life
TBonusKind DrawHelpKind(TRandom& Rng);

} // namespace vm
