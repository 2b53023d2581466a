// A puff of tyre smoke left on the road behind a sliding car.
#pragma once

#include "engine/sprite.h"

#include <cstdint>

namespace vm {

class TCar;
struct TRaceWorld;

// Owned by the sprite engine; it ends itself with Dead about 15 frames after it was made.
class TDim : public TSprite
{
public:
    // (X, Y) is the centre. With UseMenuImages the picture comes from the menu list and the puff
    // stays hidden (cars of the menu pages smoke unseen).
    TDim(TRaceWorld& World, float X, float Y, bool UseMenuImages);

    // Moves with the road by the player's shift and push (not at all without a player), and
    // every third frame shows its next, fainter step; after the fifth step (pattern 4) it dies.
    void Move(float MoveCount) override;

private:
    TRaceWorld& FWorld;
    std::int32_t FSteps = 1; // frame counter of the current step
    std::int32_t FStep = 0;  // the step shown, 0..4
};

// Leaves a pair of puffs at Car's rear wheels: centred at the tile centre plus FSmokeRadius in the
// directions FSmokeAngleA + Angle and FSmokeAngleB + Angle (degrees). Called from the car's Move.
void MakeSmokePuffs(const TCar& Car, bool UseMenuImages);

} // namespace vm
