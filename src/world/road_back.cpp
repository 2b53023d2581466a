// Background tiles beside the road.
#include "world/road_back.h"

#include "engine/image_list.h"
#include "world/player.h"
#include "world/race_world.h"

#include <string>

namespace vm {

TRoadBack::TRoadBack(TRaceWorld& World, float X, float Y, int Terrain)
    : TWorldSprite(World.Engine), FWorld(World)
{
    static constexpr const char* Keys[4] = {"back1", "back2", "back3", "back4"};
    const int Index = Terrain >= 0 && Terrain <= 3 ? Terrain : 0;
    SetImage(World.GameImages.ImageList.Find(Keys[Index]));
    SetName("roadback");
    SetPatternIndex(0);
    SetAlpha(255);
    SetX(X);
    SetY(Y);
    SetZ(0);
    ScaleY = 1.1f;
}

void TRoadBack::Move(float)
{
    if (const TPlayer* Player = FWorld.FPlayer)
    {
        // The tiles take the player's previous push (FLastPushX/Y) where the other world sprites
        // take the current one; the difference is a few pixels the tiles' extra height hides.
        SetX(static_cast<float>(X() + Player->FShiftX + Player->FLastPushX));
        SetY(static_cast<float>(Y() + Player->FShiftY + Player->FLastPushY));
    }
    if (Y() > 3000)
        Dead();
}

} // namespace vm
