// The hidden marker arrow.
#include "world/marker_arrow.h"

#include "engine/image_list.h"
#include "world/race_world.h"

namespace vm {

TArrow::TArrow(TRaceWorld& World, double X, double Y, int Kind, int Pattern) : TSprite(World.Engine)
{
    TImageList& List = Kind == 1 ? World.MenuImages : World.GameImages;
    SetImage(List.Find("arrows"));
    SetName("arrow");
    SetPatternIndex(Pattern);
    SetX(static_cast<float>(X));
    SetY(static_cast<float>(Y));
    SetZ(510);
    RotCenterX = 0.0f;
    RotCenterY = 0.5f;
    Visible = false;
}

} // namespace vm
