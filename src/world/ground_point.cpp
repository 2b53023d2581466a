// The car's road probe.
#include "world/ground_point.h"

#include "engine/image_list.h"
#include "world/race_world.h"

namespace vm {

TGroundPoint::TGroundPoint(TRaceWorld& World, double X, double Y, double AngleOffset, bool FromMenuImages)
    : TSprite(World.Engine), AngleOffset(AngleOffset)
{
    TImageList& List = FromMenuImages ? World.MenuImages : World.GameImages;
    SetImage(List.Find("groundpoint"));
    SetName("groundpoint");
    SetPatternIndex(0);
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
    SetZ(52);
    Visible = false;
}

void TGroundPoint::Move(float /*MoveCount*/) {}

} // namespace vm
