// A push button: a state image with an optional centred caption; clicks with the mouse, or with
// Enter or Space while it has the focus.
#pragma once

#include "engine/gui_component.h"

#include <cstdint>
#include <string>

namespace vm {

class TGuiButton : public TGuiComponent
{
public:
    // Made by TGuiList::Create / CreateButton; the caption starts as the id in digits.
    explicit TGuiButton(TGuiList& Owner);

    std::string Caption; // UTF-8
    bool CenterCaption = true;
    int CaptionOffsetX = 0, CaptionOffsetY = 0;
    std::uint32_t CaptionColor = 0xFFFFFFFFu; // packed ARGB
    bool DrawOverlay = false;                 // draw slot 3 over the state image

    void Draw() override;
    bool KeyDown(int VirtualKey) override;
};

} // namespace vm
