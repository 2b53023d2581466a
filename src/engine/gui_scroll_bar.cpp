// Scroll bars: the track over the whole rectangle and the thumb in its cell.
#include "engine/gui_scroll_bar.h"

#include <algorithm>

namespace vm {

void TGuiScrollBar::Draw()
{
    DrawSlot(0);
    // The same cells the mouse rule uses, so the thumb sits where a click put it. A vertical
    // bar has Max at the top.
    const int Cell = CellSize();
    const int Index = Max < Min ? 0 : std::clamp(Position, Min, Max) - Min;
    if (!Vertical)
        DrawSlot(3, static_cast<float>(Left + Index * Cell), static_cast<float>(Top),
                 static_cast<float>(Cell), static_cast<float>(Height));
    else
        DrawSlot(3, static_cast<float>(Left), static_cast<float>(Top + (CellCount() - 1 - Index) * Cell),
                 static_cast<float>(Width), static_cast<float>(Cell));
}

} // namespace vm
