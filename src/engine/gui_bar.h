// A bar whose position (Min..Max) follows the mouse while the left button holds it.
#pragma once

#include "engine/gui_component.h"

namespace vm {

class TGuiBar : public TGuiComponent
{
public:
    explicit TGuiBar(TGuiList& Owner) : TGuiComponent(Owner) { TabStop = true; }

    bool Vertical = false;
    int Position = 0;
    int Min = 0, Max = 100;
    bool Dragging = false;

    // The position for a mouse at (X, Y): the rectangle is cut into Max - Min + 1 cells of
    // Width div cells (Height for a vertical bar, whose top is Max); clamped to Min..Max.
    int PositionAt(int X, int Y) const;
    // Cells of the bar and the size of one in pixels (at least 1).
    int CellCount() const;
    int CellSize() const;

    void MouseDown(int Button, int X, int Y) override;
    void MouseDrag(int X, int Y) override;
    void MouseUp(int Button) override;
    // While focused: Left and Right (Down and Up for a vertical bar) step the position by one,
    // within Min..Max; both keys are used even at an end, so the focus stays on the bar.
    bool KeyDown(int VirtualKey) override;
};

} // namespace vm
