// The turning arrows shown round the start until the race flow fades them out.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Owned by the sprite engine; the race flow fades it and ends it with Dead.
class TBegArrows : public TSprite
{
public:
    // (X, Y) is the centre, which it turns about.
    TBegArrows(TRaceWorld& World, float X, float Y);

    // Turns one degree a frame.
    void Move(float MoveCount) override;
};

} // namespace vm
