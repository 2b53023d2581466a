// A hidden marker arrow a car keeps on its centre to hold one of its directions.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Owned by the sprite engine; its car moves it. Never shown.
class TArrow : public TSprite
{
public:
    // (X, Y) is the top-left; Kind 0 takes "arrows" from the game list, 1 from the menu list.
    TArrow(TRaceWorld& World, double X, double Y, int Kind, int Pattern);
};

} // namespace vm
