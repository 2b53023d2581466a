// A bar drawn as a track (slot 0) with a thumb (slot 3) in the cell of its position.
#pragma once

#include "engine/gui_bar.h"

namespace vm {

class TGuiScrollBar : public TGuiBar
{
public:
    explicit TGuiScrollBar(TGuiList& Owner) : TGuiBar(Owner) {}
    void Draw() override;
};

} // namespace vm
