// Road pieces: one 300-pixel stretch of the course with its ground tiles, walls, decorations and
// pickup; building the road ahead of the player and marking the cars' ground probes on the road.
#pragma once

#include "world/bonus_kinds.h"
#include "world/world_sprite.h"

namespace vm {

struct TRaceWorld;

// What PlacePickup decided for one piece: whether it gets a pickup, where, and of which kind.
struct TPickupPlacement
{
    bool Placed = false;
    double X = 0.0, Y = 0.0; // the pickup's centre, world pixels
    int Kind = bkCoin10;     // a TBonusKind
};

// One course piece. Owned by the sprite engine; the race world keeps the topmost one as
// FLastRoadPart. It ends itself (Dead) once it has scrolled below Y 3000.
class TRoadPart : public TWorldSprite
{
public:
    // X is the road centre at the piece's lower edge, Y the world Y of that edge. Builds, in this
    // order, the ground tiles (terrain of course position World.FNextPiece), the piece itself, its
    // walls and decorations and, when WithPickup, draws its pickup and creates it (a TBonus).
    TRoadPart(TRaceWorld& World, float X, float Y, int Kind, bool WithPickup);

    // World shift and push of the player's car, MarkOnRoad, then the end test.
    void Move(float MoveCount) override;
    // Sets OnRoad of every car probe that lies on this piece's road outline; never clears one.
    void MarkOnRoad();

    double HalfWidth = 0.0;
    double ExitOffset = 0.0;
    double EntryOffset = 0.0;
    int Kind = 0;

private:
    TRaceWorld& FWorld;
};

// Builds the next course piece on top of World.FLastRoadPart once that piece's upper edge has come
// within 300 pixels of the top of the screen, never past the course's last position. Called once a
// frame by the player's car; does nothing outside the race and wreck screens or without a piece.
void ExtendRoad(TRaceWorld& World);

// The pickup draws of a new piece whose road centre at the lower edge is (X, Y): Random(30), and
// for 14 in 30 pieces the offsets and the kind (by the world's FBonusSplitLow/FBonusSplitHigh). The
// caller creates the pickup from the result.
TPickupPlacement PlacePickup(TRaceWorld& World, double X, double Y);

// Adds the player car's world shift (FShiftX, FShiftY) and then its push (FPushX, FPushY) to Sprite
// through SetX/SetY, as every world sprite does once a frame. Nothing without a player car.
void ApplyWorldShift(TSprite& Sprite, const TRaceWorld& World);

} // namespace vm
