// A blinking glow over a lamp of the main menu's background.
#pragma once

#include "engine/sprite.h"

#include <cstdint>

namespace vm {

class TImageList;
class TRandom;

// Owned by the sprite engine; freed with the menu sprites by the screen transitions.
class TLight : public TSprite
{
public:
    // (X, Y) is the top-left; Kind 0 shows "light1", kind 1 "light2" from the menu list. Draws its
    // dark wait (200..399 frames) from Rng now.
    TLight(TSpriteEngine& Engine, TImageList& MenuImages, TRandom& Rng, float X, float Y, int Kind);

    // Stays dark for its wait, fades in over 255 frames, out over 255 frames, and starts over.
    void Move(float MoveCount) override;

    std::int32_t Wait() const { return FWait; }

private:
    std::int32_t FFrames = 1;    // frames since the last dark phase began
    std::int32_t FDirection = 1; // +1 fading in, -1 fading out
    std::int32_t FWait = 0;
};

} // namespace vm
