// The pulsing selection bar over the chosen row of the profile list.
#pragma once

#include "engine/sprite.h"

#include <cstdint>

namespace vm {

class TImageList;
class TRandom;

// Owned by the sprite engine; lives with the profile screen.
class TChooseLine : public TSprite
{
public:
    // (X, Y) is the top-left. SelectedRow (not owned; may be null, then row 0) must outlive the
    // bar: the profile screen's cursor, read every frame. Draws its starting alpha from Rng.
    TChooseLine(TSpriteEngine& Engine, TImageList& MenuImages, TRandom& Rng, float X, float Y,
                const int* SelectedRow);

    // Sits on the selected row (y 246 + 16 x row; a negative row counts as 0) and pulses its alpha
    // by 5 a frame between about 100 and 250; a frame that turns the pulse leaves the alpha alone.
    void Move(float MoveCount) override;

    std::int32_t Step() const { return FStep; }

private:
    const int* FSelectedRow;
    std::int32_t FStep = 5;
};

} // namespace vm
