// The tyre-smoke puff and the pairs of them a sliding car leaves.
#include "world/tyre_smoke.h"

#include "engine/image_list.h"
#include "world/car.h"
#include "world/player.h"
#include "world/race_world.h"

#include <cmath>
#include <numbers>

namespace vm {

namespace {

constexpr std::int32_t LastPattern = 4; // "dim" has five fading steps
constexpr std::int32_t FramesPerStep = 3;
constexpr std::int32_t FadePerStep = 15;
constexpr double DegToRad = std::numbers::pi / 180.0;

} // namespace

TDim::TDim(TRaceWorld& World, float X, float Y, bool UseMenuImages) : TSprite(World.Engine), FWorld(World)
{
    SetImage((UseMenuImages ? World.MenuImages : World.GameImages).Find("dim"));
    SetName("arrow");
    SetPatternIndex(0);
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
    SetZ(49); // under the cars (50), over their shadows (48)
    RotCenterX = 0.0f;
    RotCenterY = 0.5f;
    SetAlpha(200);
    FSteps = 1;
    Visible = !UseMenuImages;
}

void TDim::Move(float /*MoveCount*/)
{
    // The puff stays where it was left on the road.
    if (const TPlayer* Player = FWorld.FPlayer)
    {
        SetX(static_cast<float>(X() + Player->FShiftX + Player->FPushX));
        SetY(static_cast<float>(Y() + Player->FShiftY + Player->FPushY));
    }
    // Every third frame the next, fainter step; the fifth step ends it.
    if (FSteps % FramesPerStep == 0)
    {
        // Counted apart from the pattern, which a picture with fewer steps would hold back.
        if (FStep == LastPattern)
            Dead();
        else
        {
            ++FStep;
            SetPatternIndex(FStep);
            SetAlpha(Alpha() - FadePerStep);
        }
        FSteps = 0;
    }
    ++FSteps;
}

void MakeSmokePuffs(const TCar& Car, bool UseMenuImages)
{
    const double Cx = Car.X() + Car.Width() / 2.0;
    const double Cy = Car.Y() + Car.Height() / 2.0;
    for (const double Wheel : {Car.FSmokeAngleA, Car.FSmokeAngleB})
    {
        const double Direction = (Wheel + Car.Angle) * DegToRad;
        new TDim(Car.World(), static_cast<float>(Cx + Car.FSmokeRadius * std::cos(Direction)),
                 static_cast<float>(Cy + Car.FSmokeRadius * std::sin(Direction)), UseMenuImages);
    }
}

} // namespace vm
