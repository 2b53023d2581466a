// The shadow every car drags along under itself.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Owned by the sprite engine; the owning car moves it each frame (offset (2, 2), same Angle) and
// switches its visibility and rotation centre with the car's. It has no Move of its own.
class TCarTen : public TSprite
{
public:
    // (X, Y) is the centre; Kind is the car's catalogue index + 1 (1..5); other kinds set no image.
    TCarTen(TRaceWorld& World, double X, double Y, int Kind);
};

} // namespace vm
