// Background tiles: the ground beside the road, one tile per 800 x 300 stretch of a piece.
#pragma once

#include "world/world_sprite.h"

namespace vm {

struct TRaceWorld;

// Created by its road piece; owned by the sprite engine; ends itself below Y 3000.
class TRoadBack : public TWorldSprite
{
public:
    // (X, Y) is the tile's top-left; Terrain 0..3 picks "back1".."back4" (anything else "back1").
    // Drawn a tenth taller than its image so that neighbouring rows never leave a seam.
    TRoadBack(TRaceWorld& World, float X, float Y, int Terrain);

    // Moves by the player's shift plus the push of the previous frame (one SetX, one SetY).
    void Move(float MoveCount) override;

private:
    TRaceWorld& FWorld;
};

} // namespace vm
