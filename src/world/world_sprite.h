// Marker base of the sprites that make up the race world (road pieces, ground, paint, rocks and
// walls, pickups, the finish line): a world shift moves exactly these.
#pragma once

#include "engine/sprite.h"

namespace vm {

class TWorldSprite : public TSprite
{
public:
    using TSprite::TSprite;
};

// One checkpoint along the course; Number is an index the shift leaves alone.
struct TCheckpoint
{
    double X = 0.0;
    double Y = 0.0;
    int Number = 0;
};

} // namespace vm
