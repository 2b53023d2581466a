// The reverse lamp.
#include "race/radar_arrow.h"

#include "engine/image_list.h"
#include "world/player.h"
#include "world/race_world.h"

namespace vm {

TRadarArrow::TRadarArrow(TRaceWorld& World, float X, float Y) : TSprite(World.Engine), FWorld(World)
{
    SetImage(World.GameImages.Find("backlight"));
    SetName("backlight");
    SetPatternIndex(0);
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
    SetZ(510);
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
    // Dark until the car first reverses, also in a frame drawn before the first Move.
    Visible = false;
}

void TRadarArrow::Move(float /*MoveCount*/)
{
    Visible = FWorld.FPlayer != nullptr && FWorld.FPlayer->FSpeed < 0;
}

} // namespace vm
