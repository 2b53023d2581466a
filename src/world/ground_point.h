// The small invisible probe a car carries to find out whether a point of it lies on the road.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Owned by the sprite engine; the owning car positions it every frame and clears OnRoad at the
// end of its frame, and the road pieces set OnRoad again during their own Move.
class TGroundPoint : public TSprite
{
public:
    // Centred on (X, Y); image "groundpoint" from the menu list when FromMenuImages, else the game list.
    TGroundPoint(TRaceWorld& World, double X, double Y, double AngleOffset, bool FromMenuImages);

    // Does nothing: the owning car moves the probe.
    void Move(float MoveCount) override;

    bool OnRoad = false;
    double AngleOffset = 0.0; // the probe's angle relative to the car's Angle, degrees
};

} // namespace vm
