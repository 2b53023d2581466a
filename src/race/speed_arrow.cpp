// The speedometer needle.
#include "race/speed_arrow.h"

#include "engine/image_list.h"
#include "world/player.h"
#include "world/race_world.h"

#include <cmath>

namespace vm {

namespace {

constexpr double RestAngle = -495.0; // degrees at speed 0
constexpr double DegreesPerScale = 197.0;
constexpr double TopRatio = 1.36; // the needle's stop, in full scales

} // namespace

TSpeedArrow::TSpeedArrow(TRaceWorld& World, float X, float Y, double ForwardFullScale,
                         double ReverseFullScale)
    : TSprite(World.Engine), FWorld(World), FForwardFullScale(ForwardFullScale),
      FReverseFullScale(ReverseFullScale)
{
    SetImage(World.GameImages.Find("speedarrow"));
    SetName("speedarrow");
    SetPatternIndex(0);
    // The needle picture is square, so 0.9 of its width above Y puts its pivot on (X, Y).
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - 0.9 * Width()));
    SetZ(510);
    RotCenterX = 0.5f;
    RotCenterY = 0.9f;
    ScaleX = 1.0f;
    ScaleY = 1.0f;
    Angle = -315.0f; // until the first Move sets it from the speed
    Visible = true;
}

void TSpeedArrow::Move(float /*MoveCount*/)
{
    if (FWorld.FPlayer == nullptr)
        return;
    const double V = FWorld.FPlayer->FSpeed;
    // The reverse limit is negative, so the ratio is positive either way. A full scale of 0 (a
    // car without stats) would divide by zero: the needle then rests.
    double R = 0.0;
    if (V >= 0)
        R = FForwardFullScale > 0 ? V / FForwardFullScale : 0.0;
    else
        R = FReverseFullScale < 0 ? std::fabs(V) / -FReverseFullScale : 0.0;
    const double A = R < TopRatio ? R * DegreesPerScale : TopRatio * DegreesPerScale;
    Angle = static_cast<float>(A + RestAngle);
}

} // namespace vm
