// One page's widgets: created, drawn and hit-tested in creation order, owned and freed together.
#pragma once

#include "engine/gui_component.h"

#include <memory>
#include <string>
#include <vector>

namespace vm {

class TGui;
class TGuiButton;
class TImageListItem;

// Made by TGui::CreateList and owned by the GUI; pages hold a plain pointer until
// TGui::FreeList.
class TGuiList
{
public:
    TGuiList(TGui& Gui, std::string Name);
    // Frees the widgets (their ids leave the GUI's registry).
    ~TGuiList();
    TGuiList(const TGuiList&) = delete;
    TGuiList& operator=(const TGuiList&) = delete;

    TGui& Gui() const { return FGui; }
    std::string Name;
    bool Enabled = true; // hit-tested and given keys only while true
    bool Visible = true; // drawn and hit-tested only while true
    // The widget under the mouse, -1 none.
    int HoverId() const { return FHoverId; }
    void SetHoverId(int Id) { FHoverId = Id; }

    // Keys the page reads itself (its own arrows): the GUI does not move the focus with them.
    std::vector<int> PageKeys;
    bool KeepsKey(int VirtualKey) const;
    // The widget the first arrow or Tab focuses on a page without focus (-1: the first in Tab
    // order).
    int DefaultFocusId = -1;
    void SetDefaultFocus(const TGuiComponent* Widget)
    {
        DefaultFocusId = Widget != nullptr ? Widget->Id() : -1;
    }
    // The edit of this list that last had the focus: it keeps taking typed text while the
    // focus rests on another widget of the list (-1 none).
    int TypingId = -1;

    // Makes a widget of type TWidget at the end of the list; the list owns it.
    template <typename TWidget> TWidget* Create()
    {
        auto Widget = std::make_unique<TWidget>(*this);
        TWidget* Result = Widget.get();
        FWidgets.push_back(std::move(Widget));
        return Result;
    }
    // A menu button built the pages' way: no caption, black caption colour, size from the
    // image's tile, slot 0 pattern 0 and slot 1 pattern 1 of Image, at (Left, Top); named after the image.
    TGuiButton* CreateButton(const TImageListItem* Image, int Left, int Top, TGuiClickEvent OnClick);

    // Frees one widget of this list (nothing when it is not one of them).
    void Free(TGuiComponent* Widget);
    // Frees every widget.
    void Clear();
    void BringToFront(TGuiComponent* Widget);
    // Moves the list to the end of the GUI's order.
    void BringListToFront();

    int Count() const { return static_cast<int>(FWidgets.size()); }
    TGuiComponent* Widget(int Index) const;

private:
    TGui& FGui;
    std::vector<std::unique_ptr<TGuiComponent>> FWidgets;
    int FHoverId = -1;
};

} // namespace vm
