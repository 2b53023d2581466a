// A car's marker on the progress strip of the race HUD.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Marker kinds.
enum TRadarMarkKind : int
{
    rmPlayer = 0,   // "radarcar1"
    rmOpponent = 1, // "radarcar2", drawn under the player's
};

// Owned by the sprite engine; the car that made it keeps it as FRadarMark, moves it up the strip
// as it covers the course, and ends it with itself. It has no Move of its own.
class TRadarCar : public TSprite
{
public:
    // (X, Y) is the centre; Kind is a TRadarMarkKind (another kind draws as the player's).
    TRadarCar(TRaceWorld& World, float X, float Y, int Kind);
};

} // namespace vm
