// The car shadow: image by the car's kind, turned about the car's own rotation centre.
#include "world/car_shadow.h"

#include "engine/image_list.h"
#include "world/race_world.h"

namespace vm {

namespace {

// Same order as the game list's car images, so each shadow matches its body.
const char* ShadowKey(int Kind)
{
    switch (Kind)
    {
    case 1: return "carten1";
    case 2: return "carten4";
    case 3: return "carten5";
    case 4: return "carten2";
    case 5: return "carten3";
    default: return nullptr;
    }
}

} // namespace

TCarTen::TCarTen(TRaceWorld& World, double X, double Y, int Kind) : TSprite(World.Engine)
{
    if (const char* Key = ShadowKey(Kind))
        SetImage(World.GameImages.Find(Key));
    SetName("carten");
    SetPatternIndex(0);
    Angle = 0.0f;
    RotCenterX = 0.5f;
    RotCenterY = 0.3f;
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
    SetZ(48);
}

} // namespace vm
