// The animated explosion that plays on a car: a bomb pickup under it, or the wreck of the player's car.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Explosion kinds: the picture and the layer.
enum TExplosionKind : int
{
    ekWreck = 0, // the player's wrecked car: "exploid", above everything in the race (Z 500)
    ekBomb = 1,  // a bomb pickup under a car: "exploid2", under the cars (Z 49)
    ekSpare = 2, // "exploid3", under the cars (Z 49); the race makes none
};

// Owned by the sprite engine. It follows its car by slot number (it holds no pointer to the car)
// and ends itself (Dead) after its eight patterns, on its 33rd Move, or at once when its car is gone.
class TExplose : public TSprite
{
public:
    static constexpr int PlayerTarget = -1;

    // (X, Y) is the centre. Kind is a TExplosionKind; another kind sets no image. TargetCar: -1 the
    // player, s >= 0 the opponent in slot s of the world's FEnemies. Draws Random(360) for the angle.
    TExplose(TRaceWorld& World, double X, double Y, int Kind, int TargetCar);

    // Follows the car, then advances the animation one frame. Takes no world shift.
    void Move(float MoveCount) override;

    int FLastPattern = 7;
    int FStepTicks = 1;
    int FTargetCar = PlayerTarget;
    double FFollowX = 0.0, FFollowY = 0.0;

private:
    TRaceWorld& FWorld;
};

} // namespace vm
