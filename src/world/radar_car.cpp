// The progress-strip marker.
#include "world/radar_car.h"

#include "engine/image_list.h"
#include "world/race_world.h"

namespace vm {

TRadarCar::TRadarCar(TRaceWorld& World, float X, float Y, int Kind) : TSprite(World.Engine)
{
    const bool Player = Kind != rmOpponent;
    SetImage(World.GameImages.Find(Player ? "radarcar1" : "radarcar2"));
    SetName("radarcar");
    SetPatternIndex(0);
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
    SetZ(Player ? 490 : 485);
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
    Visible = true;
}

} // namespace vm
