// The animated mouse pointer drawn over the menu pages.
#pragma once

#include "engine/sprite.h"

#include <cstdint>

namespace vm {

class TImageList;
struct TGameState;

// Owned by the sprite engine; made once at start-up. The front-end frame routines call its Move
// and then its Draw after the GUI, so that it lies on top of everything. State must outlive it.
class TCursor : public TSprite
{
public:
    // Takes "mousecursor" (8 patterns, hot spot top-left) from the menu list and stands at the
    // mouse position.
    TCursor(TSpriteEngine& Engine, TImageList& MenuImages, const TGameState& State);

    // Every tenth call shows the next of its 8 patterns; then stands at the mouse position, 10
    // pixels lower when FullScreen is set.
    void Move(float MoveCount) override;

    bool FullScreen = false;

private:
    const TGameState& FState;
    std::int32_t FTicks = 1;
};

} // namespace vm
