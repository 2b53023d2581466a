// Widget basics: registration, state slots and their animation, drawing the state image.
#include "engine/gui_component.h"

#include "engine/bitmap_font.h"
#include "engine/gui.h"
#include "engine/gui_list.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"

#include <algorithm>

namespace vm {

void TGuiStateSlot::RestartAnimation()
{
    Pattern = AnimReverse ? AnimStart + AnimCount : AnimStart;
    FrameCount = 0;
    AnimFinished = false;
}

void TGuiStateSlot::AdvanceAnimation()
{
    if (!Animate || AnimFinished)
        return;
    // A delay under 10 ms steps every frame.
    if (++FrameCount < std::max(AnimSpeed / 10, 1))
        return;
    FrameCount = 0;
    const int First = AnimStart;
    const int Last = AnimStart + std::max(AnimCount, 0);
    if (Pattern < First || Pattern > Last)
    {
        Pattern = AnimReverse ? Last : First;
        return;
    }
    if (!AnimReverse)
    {
        if (++Pattern > Last)
        {
            Pattern = AnimLoop ? First : Last;
            AnimFinished = !AnimLoop;
        }
    }
    else if (--Pattern < First)
    {
        Pattern = AnimLoop ? Last : First;
        AnimFinished = !AnimLoop;
    }
}

TGuiComponent::TGuiComponent(TGuiList& Owner) : FList(Owner), FId(Owner.Gui().RegisterWidget(this))
{
    Font = Owner.Gui().BitmapFont;
    if (Font != nullptr)
    {
        FontRed = Font->Red, FontGreen = Font->Green, FontBlue = Font->Blue, FontAlpha = Font->Alpha;
        FontScaleX = Font->ScaleX, FontScaleY = Font->ScaleY;
    }
}

TGuiComponent::~TGuiComponent() { FList.Gui().UnregisterWidget(FId); }

TGui& TGuiComponent::Gui() const { return FList.Gui(); }

void TGuiComponent::SetStateImage(int Slot, const TImageListItem* Image)
{
    if (Slot >= 0 && Slot < 4)
        States[Slot].Image = Image;
}

void TGuiComponent::SetStatePattern(int Slot, int Pattern)
{
    if (Slot < 0 || Slot >= 4)
        return;
    States[Slot].Pattern = Pattern;
    States[Slot].AnimStart = Pattern;
}

void TGuiComponent::RestartAnimations()
{
    for (TGuiStateSlot& Slot : States)
        if (Slot.Animate)
            Slot.RestartAnimation();
}

void TGuiComponent::BringToFront() { FList.BringToFront(this); }

bool TGuiComponent::Contains(int X, int Y) const
{
    return X >= Left && X <= Left + Width && Y >= Top && Y <= Top + Height;
}

void TGuiComponent::Draw() { DrawSlot(CurrentSlot()); }

void TGuiComponent::MouseDown(int, int, int) {}
void TGuiComponent::MouseDrag(int, int) {}
void TGuiComponent::MouseUp(int) {}
bool TGuiComponent::KeyDown(int) { return false; }
void TGuiComponent::Character(char32_t) {}

int TGuiComponent::CurrentSlot() const
{
    int Slot = 0;
    if (FList.HoverId() == FId)
        Slot = Gui().ButtonDown(mbLeft) && Gui().PressedId() == FId ? 2 : 1;
    // The pages give buttons only slots 0 and 1, slot 1 serving as hovered and pressed.
    while (Slot > 0 && States[Slot].Image == nullptr)
        --Slot;
    return Slot;
}

void TGuiComponent::DrawSlot(int Slot, float X, float Y, float W, float H)
{
    TGuiStateSlot& State = States[Slot];
    if (State.Image == nullptr)
        return;
    TQuadParams P;
    P.X1 = X, P.Y1 = Y;
    P.X2 = X + W, P.Y2 = Y;
    P.X3 = X + W, P.Y3 = Y + H;
    P.X4 = X, P.Y4 = Y + H;
    std::fill(std::begin(P.Colors), std::end(P.Colors), State.Color);
    P.MirrorX = MirrorX;
    P.MirrorY = MirrorY;
    P.PatternIndex = State.Pattern;
    P.BlendMode = State.BlendMode;
    DrawImageQuad(*State.Image, P);
    State.AdvanceAnimation();
}

int TGuiComponent::TextWidthOf(const std::string& Text) const
{
    if (Font == nullptr || Text.empty())
        return 0;
    const float SavedX = Font->ScaleX, SavedY = Font->ScaleY;
    Font->ScaleX = FontScaleX, Font->ScaleY = FontScaleY;
    const int Width = Font->TextWidth(Text);
    Font->ScaleX = SavedX, Font->ScaleY = SavedY;
    return Width;
}

int TGuiComponent::TextHeightOf(const std::string& Text) const
{
    if (Font == nullptr)
        return 0;
    const float SavedX = Font->ScaleX, SavedY = Font->ScaleY;
    Font->ScaleX = FontScaleX, Font->ScaleY = FontScaleY;
    const int Height = Font->TextHeight(Text);
    Font->ScaleX = SavedX, Font->ScaleY = SavedY;
    return Height;
}

void TGuiComponent::DrawText(float X, float Y, const std::string& Text, std::uint32_t Color)
{
    if (Font == nullptr || Text.empty())
        return;
    // The font is shared by every widget: set this widget's look, draw, and put it back.
    TBitmapFont& F = *Font;
    const std::uint8_t R = F.Red, G = F.Green, B = F.Blue, A = F.Alpha;
    const float Sx = F.ScaleX, Sy = F.ScaleY;
    const TPositionMode Mode = F.PositionMode;
    F.Alpha = static_cast<std::uint8_t>(Color >> 24);
    F.Red = static_cast<std::uint8_t>(Color >> 16);
    F.Green = static_cast<std::uint8_t>(Color >> 8);
    F.Blue = static_cast<std::uint8_t>(Color);
    F.ScaleX = FontScaleX, F.ScaleY = FontScaleY;
    F.PositionMode = TPositionMode::pmTopLeft;
    F.TextOut(X, Y, 0, Text);
    F.Red = R, F.Green = G, F.Blue = B, F.Alpha = A;
    F.ScaleX = Sx, F.ScaleY = Sy;
    F.PositionMode = Mode;
}

std::uint32_t TGuiComponent::FontColor() const
{
    return (std::uint32_t(FontAlpha) << 24) | (std::uint32_t(FontRed) << 16) |
           (std::uint32_t(FontGreen) << 8) | std::uint32_t(FontBlue);
}

} // namespace vm
