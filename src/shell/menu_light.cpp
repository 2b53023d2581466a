// The menu's blinking lights.
#include "shell/menu_light.h"

#include "engine/image_list.h"
#include "engine/random.h"

namespace vm {

TLight::TLight(TSpriteEngine& Engine, TImageList& MenuImages, TRandom& Rng, float X, float Y, int Kind)
    : TSprite(Engine)
{
    SetImage(MenuImages.Find(Kind == 1 ? "light2" : "light1"));
    SetName("light");
    SetPatternIndex(0);
    SetX(X);
    SetY(Y);
    SetZ(149);
    RotCenterX = 0.0f;
    RotCenterY = 0.5f;
    SetAlpha(0);
    FFrames = 1;
    FDirection = 1;
    FWait = 200 + Rng.Random(200);
    Visible = true;
}

void TLight::Move(float /*MoveCount*/)
{
    if (FFrames > FWait)
    {
        if (FDirection > 0)
        {
            SetAlpha(Alpha() + 1);
            if (Alpha() > 254)
                FDirection = -1;
        }
        else
        {
            SetAlpha(Alpha() - 1);
            if (Alpha() <= 0)
            {
                // Dark again: wait before the next blink.
                FDirection = 1;
                FFrames = 0;
            }
        }
    }
    ++FFrames;
}

} // namespace vm
