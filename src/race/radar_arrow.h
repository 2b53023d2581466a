// The reverse lamp of the race HUD.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Owned by the sprite engine; lives as long as the race.
class TRadarArrow : public TSprite
{
public:
    // (X, Y) is the centre. The lamp starts dark.
    TRadarArrow(TRaceWorld& World, float X, float Y);

    // Lit exactly while the player's car moves backwards; dark without a player.
    void Move(float MoveCount) override;

private:
    TRaceWorld& FWorld;
};

} // namespace vm
