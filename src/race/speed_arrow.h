// The speedometer needle of the race HUD.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Owned by the sprite engine; lives as long as the race.
class TSpeedArrow : public TSprite
{
public:
    // (X, Y) is the needle's pivot (0.5 of its width, 0.9 of its height down the picture). The full
    // scales are the player car's top speed and its reverse limit (negative).
    TSpeedArrow(TRaceWorld& World, float X, float Y, double ForwardFullScale, double ReverseFullScale);

    // Turns the needle clockwise from -495 degrees at rest by 197 degrees per full scale of the
    // player's speed, forward or reverse, stopping at 1.36 full scales. Nothing without a player.
    void Move(float MoveCount) override;

private:
    TRaceWorld& FWorld;
    double FForwardFullScale;
    double FReverseFullScale;
};

} // namespace vm
