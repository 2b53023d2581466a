// The player's damage bar: the bar's picture is cut shorter or longer to show the damage taken.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Owned by the sprite engine; lives as long as the race. It changes the tile height of its image
// "healthbar", which no other sprite uses: the race teardown must call RestoreImageHeight before
// the bar is freed so that the next race's bar finds the picture whole.
class TBar : public TSprite
{
public:
    // (X, Y) is the top-left. The full height is the picture's.
    TBar(TRaceWorld& World, float X, float Y);

    // Shows round((1 - Health / 100) x (full height - 1) + 1) rows of the picture from its top, so
    // the drawn bar grows downward as damage grows: 1 row at full health, all rows at none.
    // Does nothing while the world has no player.
    void Move(float MoveCount) override;
    // Gives the image its full tile height back.
    void RestoreImageHeight();

    int FullHeight() const { return FFullHeight; }

private:
    TRaceWorld& FWorld;
    int FFullHeight = 0;
    double FRange = 0.0; // full height - 1: the rows damage can add
};

} // namespace vm
