// The letter grid under a name edit: made for a page and opened or closed by the last input.
#include "pages/name_grid.h"

#include "engine/gui_edit.h"
#include "engine/gui_letter_grid.h"
#include "engine/gui_list.h"
#include "shell/game.h"

namespace vm {

TGuiLetterGrid* CreateNameGrid(TGame& Game, TGuiEdit* Edit, int Left, int Top, std::function<void()> Done)
{
    if (Game.Pages.Parts.FGuiList == nullptr || Edit == nullptr)
        return nullptr;
    TGuiLetterGrid* Grid = Game.Pages.Parts.FGuiList->Create<TGuiLetterGrid>();
    Grid->Name = "letter_grid";
    Grid->Left = Left;
    Grid->Top = Top;
    Grid->Attach(Edit);
    Grid->KeysForGrid = [&Game] { return Game.State.LastInputPad; };
    Grid->OnDone = [Done = std::move(Done)](TGuiComponent*) {
        if (Done)
            Done();
    };
    return Grid;
}

void NameGridFrame(TGame& Game, TGuiLetterGrid* Grid, bool Always)
{
    if (Grid == nullptr)
        return;
    const TGuiEdit* Edit = Grid->Edit();
    const TGuiComponent* Focus = Game.Gui.Focused();
    const bool Wanted =
        Game.State.LastInputPad && Edit != nullptr && (Always || Focus == Edit || Focus == Grid);
    if (Wanted && !Grid->IsOpen())
        Grid->Open(Always || Focus == nullptr || Focus == Edit);
    else if (!Wanted && Grid->IsOpen())
        Grid->Close();
}

} // namespace vm
