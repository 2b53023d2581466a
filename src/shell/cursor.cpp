// The mouse pointer.
#include "shell/cursor.h"

#include "engine/image_list.h"
#include "state/game_state.h"

namespace vm {

namespace {

constexpr std::int32_t PatternCount = 8;
constexpr std::int32_t FramesPerPattern = 10;
constexpr float FullScreenDrop = 10.0f;

} // namespace

TCursor::TCursor(TSpriteEngine& Engine, TImageList& MenuImages, const TGameState& State)
    : TSprite(Engine), FState(State)
{
    SetImage(MenuImages.Find("mousecursor"));
    SetName("cursor");
    SetPatternIndex(0);
    Collide = true;
    PixelCheck = true;
    SetZ(90000);
    SetX(static_cast<float>(State.MouseX));
    SetY(static_cast<float>(State.MouseY));
    FTicks = 1;
    Visible = true;
}

void TCursor::Move(float /*MoveCount*/)
{
    if (FTicks % FramesPerPattern == 0)
    {
        SetPatternIndex((PatternIndex() + 1) % PatternCount);
        FTicks = 0;
    }
    ++FTicks;
    SetX(static_cast<float>(FState.MouseX));
    SetY(static_cast<float>(FState.MouseY) + (FullScreen ? FullScreenDrop : 0.0f));
}

} // namespace vm
