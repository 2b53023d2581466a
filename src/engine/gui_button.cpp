// Push buttons: state image, overlay, caption, and the keyboard click.
#include "engine/gui_button.h"

#include "engine/gui.h"
#include "engine/virtual_keys.h"

namespace vm {

TGuiButton::TGuiButton(TGuiList& Owner) : TGuiComponent(Owner), Caption(std::to_string(Id()))
{
    TabStop = true;
}

void TGuiButton::Draw()
{
    DrawSlot(CurrentSlot());
    if (DrawOverlay && States[3].Image != nullptr)
        DrawSlot(3);
    if (Caption.empty())
        return;
    const float TextW = static_cast<float>(TextWidthOf(Caption));
    const float TextH = static_cast<float>(TextHeightOf(Caption));
    const float Y = Top + Height / 2.0f + CaptionOffsetY - TextH / 2.0f;
    const float X = CenterCaption ? Left + Width / 2.0f + CaptionOffsetX - TextW / 2.0f
                                  : Left + CaptionOffsetX + Width / 4.0f;
    DrawText(X, Y, Caption, CaptionColor);
}

bool TGuiButton::KeyDown(int VirtualKey)
{
    if (VirtualKey != vkReturn && VirtualKey != vkSpace)
        return false;
    Gui().Click(this, mbLeft, false);
    return true;
}

} // namespace vm
