// The HUD's two frame panels.
#include "race/hud_panel.h"

#include "engine/image_list.h"
#include "world/race_world.h"

namespace vm {

TPanel::TPanel(TRaceWorld& World, float X, float Y, int Kind) : TSprite(World.Engine), FKind(Kind)
{
    const char* Key = Kind == 1 ? "radar" : "razzler";
    SetImage(World.GameImages.Find(Key));
    SetName(Key);
    SetPatternIndex(0);
    SetX(X);
    SetY(Y);
    SetZ(480);
    SetAlpha(255);
    Visible = true;
}

void TPanel::Move(float /*MoveCount*/) {}

} // namespace vm
