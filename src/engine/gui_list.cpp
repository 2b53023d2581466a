// Widget lists: ownership, order and the pages' way of building a button.
#include "engine/gui_list.h"

#include "engine/gui.h"
#include "engine/gui_button.h"
#include "engine/image_list.h"

#include <algorithm>
#include <utility>

namespace vm {

TGuiList::TGuiList(TGui& Gui, std::string Name) : Name(std::move(Name)), FGui(Gui) {}

TGuiList::~TGuiList() { Clear(); }

TGuiButton* TGuiList::CreateButton(const TImageListItem* Image, int Left, int Top, TGuiClickEvent OnClick)
{
    TGuiButton* Button = Create<TGuiButton>();
    Button->Caption.clear();
    Button->CaptionColor = 0xFF000000u;
    Button->OnClick = std::move(OnClick);
    if (Image != nullptr)
    {
        Button->Name = Image->Name; // the image key names the button for scripts and tests
        Button->Width = Image->TileWidth();
        Button->Height = Image->TileHeight();
    }
    Button->SetStateImage(0, Image);
    Button->SetStatePattern(0, 0);
    Button->SetStateImage(1, Image);
    Button->SetStatePattern(1, 1);
    Button->Left = Left;
    Button->Top = Top;
    return Button;
}

void TGuiList::Free(TGuiComponent* Widget)
{
    auto Found =
        std::find_if(FWidgets.begin(), FWidgets.end(), [&](const auto& W) { return W.get() == Widget; });
    if (Found == FWidgets.end())
        return;
    // Take it out of the list before it dies, so that nothing walking the list meets it.
    std::unique_ptr<TGuiComponent> Dying = std::move(*Found);
    FWidgets.erase(Found);
    if (FHoverId == Dying->Id())
        FHoverId = -1;
}

void TGuiList::Clear()
{
    // Widgets unregister their ids as they die; move them out first for the same reason as Free.
    std::vector<std::unique_ptr<TGuiComponent>> Dying = std::move(FWidgets);
    FWidgets.clear();
    FHoverId = -1;
    Dying.clear();
}

void TGuiList::BringToFront(TGuiComponent* Widget)
{
    auto Found =
        std::find_if(FWidgets.begin(), FWidgets.end(), [&](const auto& W) { return W.get() == Widget; });
    if (Found != FWidgets.end())
        std::rotate(Found, Found + 1, FWidgets.end());
}

bool TGuiList::KeepsKey(int VirtualKey) const
{
    return std::find(PageKeys.begin(), PageKeys.end(), VirtualKey) != PageKeys.end();
}

void TGuiList::BringListToFront() { FGui.BringToFront(this); }

TGuiComponent* TGuiList::Widget(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FWidgets[static_cast<std::size_t>(Index)].get();
}

} // namespace vm
