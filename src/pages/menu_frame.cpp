// What every menu page's frame and enter routine share.
#include "pages/menu_frame.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "shell/cursor.h"
#include "shell/game.h"

namespace vm {

bool BeginMenuFrame(TGame& Game, int BackPattern)
{
    Game.Screen.Clear(0, 0, 0, 0);
    const bool Drawing = Game.Screen.BeginScene();
    if (Drawing)
        if (const TImageListItem* Back = Game.MenuImageList.Find("mainback"))
            DrawPattern(*Back, 0, 0, BackPattern);
    Game.SpriteEngine.Move(0.0f);
    if (Drawing)
        Game.SpriteEngine.Draw();
    Game.SpriteEngine.FreeDead();
    return Drawing;
}

void EndMenuFrame(TGame& Game)
{
    Game.Gui.Draw();
    if (Game.FCursor != nullptr && Game.FCursor->Visible)
        Game.FCursor->Draw();
    Game.Screen.EndScene();
}

TGuiButton* AddMenuButton(TGame& Game, const std::string& Key, int X, int Y, TGuiClickEvent OnClick)
{
    if (Game.Pages.Parts.FGuiList == nullptr)
        Game.NewGuiList();
    return Game.Pages.Parts.FGuiList->CreateButton(Game.MenuImageList.Find(Key), X, Y, std::move(OnClick));
}

void ShowToggle(TGame& Game, TGuiButton* Button, bool On)
{
    const TImageListItem* Image = Game.MenuImageList.Find(On ? "b_on" : "b_off");
    if (Button == nullptr || Image == nullptr)
        return;
    Button->Name = Image->Name;
    Button->SetStateImage(0, Image);
    Button->SetStatePattern(0, 0);
    Button->SetStateImage(1, Image);
    Button->SetStatePattern(1, 1);
}

} // namespace vm
