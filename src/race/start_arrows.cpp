// The start arrows.
#include "race/start_arrows.h"

#include "engine/image_list.h"
#include "world/race_world.h"

namespace vm {

TBegArrows::TBegArrows(TRaceWorld& World, float X, float Y) : TSprite(World.Engine)
{
    SetImage(World.GameImages.Find("begarrows"));
    SetName("begarrows");
    SetPatternIndex(0);
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
    SetZ(550);
    Angle = 0.0f;
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
    Visible = true;
}

void TBegArrows::Move(float /*MoveCount*/) { Angle += 1.0f; }

} // namespace vm
