// A frame panel of the race HUD: the dashboard on the right or the progress strip on the left.
#pragma once

#include "engine/sprite.h"

namespace vm {

struct TRaceWorld;

// Owned by the sprite engine; lives as long as the race. It never moves.
class TPanel : public TSprite
{
public:
    // (X, Y) is the top-left; Kind 0 is the dashboard "razzler", kind 1 the progress strip "radar".
    TPanel(TRaceWorld& World, float X, float Y, int Kind);

    void Move(float MoveCount) override;
    int Kind() const { return FKind; }

private:
    int FKind;
};

} // namespace vm
