// Bars: the position from the mouse, and dragging.
#include "engine/gui_bar.h"

#include "engine/virtual_keys.h"

#include <algorithm>

namespace vm {

int TGuiBar::CellCount() const { return std::max(Max - Min + 1, 1); }

int TGuiBar::CellSize() const
{
    // A bar smaller than its cell count would divide by zero: cells are at least one pixel.
    return std::max((Vertical ? Height : Width) / CellCount(), 1);
}

int TGuiBar::PositionAt(int X, int Y) const
{
    if (Max < Min)
        return Min;
    // Integer division truncating toward zero, as the position rule has it; the clamp catches
    // a mouse left of or above the bar while dragging.
    const int Result = Vertical ? Max - (Y - Top) / CellSize() : Min + (X - Left) / CellSize();
    return std::clamp(Result, Min, Max);
}

void TGuiBar::MouseDown(int Button, int X, int Y)
{
    if (Button != mbLeft)
        return;
    Dragging = true;
    Position = PositionAt(X, Y);
}

void TGuiBar::MouseDrag(int X, int Y)
{
    if (Dragging)
        Position = PositionAt(X, Y);
}

void TGuiBar::MouseUp(int Button)
{
    if (Button == mbLeft)
        Dragging = false;
}

bool TGuiBar::KeyDown(int VirtualKey)
{
    const int Lower = Vertical ? vkDown : vkLeft;
    const int Higher = Vertical ? vkUp : vkRight;
    if (VirtualKey != Lower && VirtualKey != Higher)
        return false;
    if (Max >= Min)
        Position = std::clamp(Position + (VirtualKey == Higher ? 1 : -1), Min, Max);
    return true;
}

} // namespace vm
