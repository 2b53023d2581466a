// The damage bar.
#include "race/health_bar.h"

#include "engine/image_list.h"
#include "engine/rounding.h"
#include "world/player.h"
#include "world/race_world.h"

#include <algorithm>
#include <cmath>

namespace vm {

TBar::TBar(TRaceWorld& World, float X, float Y) : TSprite(World.Engine), FWorld(World)
{
    TImageListItem* Item = World.GameImages.Find("healthbar");
    if (Item != nullptr)
    {
        // The picture is one tile. Its full height is taken from the picture rather than from the
        // current tile height, so a bar left short by a race that was not torn down properly
        // starts whole again.
        FFullHeight = Item->Height() > 0 ? Item->Height() : Item->TileHeight();
        Item->SetTileHeight(FFullHeight);
    }
    SetImage(Item);
    SetName("healthbar");
    SetPatternIndex(0);
    SetX(X);
    SetY(Y);
    SetZ(510);
    Visible = true;
    FRange = FFullHeight - 1.0;
}

void TBar::Move(float /*MoveCount*/)
{
    if (FWorld.FPlayer == nullptr || FImage == nullptr || FFullHeight <= 0)
        return;
    // Health stays within 0..100 in a race; held there so the tile never leaves the picture.
    const double Health = std::clamp(FWorld.FPlayer->Health, 0, 100);
    const int Rows = RoundHalfEven((1.0 - Health / 100.0) * FRange + 1.0);
    FImage->SetTileHeight(std::clamp(Rows, 1, FFullHeight));
}

void TBar::RestoreImageHeight()
{
    if (FImage != nullptr && FFullHeight > 0)
        FImage->SetTileHeight(FFullHeight);
}

} // namespace vm
