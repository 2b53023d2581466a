// Markings and decorations lying on the ground: grid marks, the start line, trees and desert plants.
#pragma once

#include "world/world_sprite.h"

namespace vm {

struct TRaceWorld;

// Kinds of TRoadPaint.
enum : int
{
    PaintGridMark = 0,  // "inplace": one car's place on the starting grid
    PaintStartLine = 1, // "startline"
    PaintDecoration = 2 // "trees" on normal terrain, "desert" on the other terrain
};

// Owned by the sprite engine; ends itself below Y 2000.
class TRoadPaint : public TWorldSprite
{
public:
    // Centred on (X, Y), turned by Angle degrees about its middle. A decoration draws its pattern
    // (Random(8)) and then a jitter of -39..+40 pixels in X and in Y, in that order.
    TRoadPaint(TRaceWorld& World, float X, float Y, float Angle, int Kind, int Terrain);

    void Move(float MoveCount) override;

private:
    TRaceWorld& FWorld;
};

// The four decorations of a new piece of Kind whose road centre at the lower edge is (X, Y), on the
// terrain of course position World.FNextPiece. Called by the piece's constructor after its walls.
void PlaceDecorations(TRaceWorld& World, int Kind, double X, double Y);

} // namespace vm
