// The four help pages.
#include "pages/help_screen.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_list.h"
#include "engine/sprite.h"
#include "pages/menu_frame.h"
#include "pages/menu_pages_state.h"
#include "shell/game.h"
#include "shell/menu_screen.h"

#include <algorithm>

namespace vm {

namespace {

constexpr int HelpPages = 4;
// The buttons rise from below the picture by 20 pixels a frame in the first 26 frames and stop
// at this row.
constexpr int ButtonRestY = 420;
constexpr int SlideFrames = 26;
constexpr int SlideStep = 20;
// The controls page's rows (the picture's bands): 24 pixels apart from y 224; the bound keys or
// pad controls are written from x 214, left of what the action does (from x 400).
constexpr int BindingX = 214, BindingWidth = 180, FirstBindingY = 228, BindingStep = 24;

// Shows help page Page (1..4) in the page picture.
void ShowHelpPage(TGame& Game, int Page)
{
    static constexpr const char* Keys[HelpPages] = {"scr_help", "scr_help2", "scr_help3", "scr_help4"};
    MenuPages(Game).FHelpPage = Page;
    TSprite* Picture = Game.Pages.Parts.FMenuScreen;
    TImageListItem* Item = Game.MenuImageList.Find(Keys[Page - 1]);
    if (Picture == nullptr || Item == nullptr)
        return;
    Picture->SetImage(Item);
    Picture->SetWidth(Item->TileWidth());
    Picture->SetHeight(Item->TileHeight());
}

// The keys bound to each action, or its pad controls when the player last used a pad.
void DrawBindings(TGame& Game)
{
    const TControlBindings& Controls = Game.State.Controls;
    for (int Action = 0; Action < ActionCount; ++Action)
    {
        const TActionBinding& Binding = Controls.Of(Action);
        const std::string Text = Game.State.LastInputPad ? PadText(Binding) : KeysText(Binding);
        const int Y = FirstBindingY + Action * BindingStep;
        // A long list of pad controls takes the smaller face rather than run into the action.
        if (Game.Font2.TextWidth(Text) <= BindingWidth)
            Game.Font2.TextOut(BindingX, Y, Text);
        else
            Game.Font3.TextOut(BindingX, Y + 1, Text);
    }
}

} // namespace

void EnterHelp(TGame& Game)
{
    Game.State.ScreenState = ssHelp;
    Game.State.ClearLatches();
    Game.State.StateTicks = 0;
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "scr_Help", "scr_help", 500, 160, 180);
    MenuPages(Game).FHelpPage = 1;
    Game.Font2.SetLook("Micra", 10, 1, 255, 200, 61);
    Game.Font3.SetLook("Micra", 8, 1, 255, 200, 61);

    TMenuPagesState& Page = MenuPages(Game);
    Game.NewGuiList();
    Page.ForgetWidgets();
    Page.FButtons[0] = AddMenuButton(Game, "b_back", 354, 650, [&Game](TGuiComponent*, int) {
        Game.ChangeState(ssHelp, ssMainMenu, "check", TCueWhen::Always);
    });
    Page.FButtons[1] = AddMenuButton(Game, "b_next", 488, 710, [&Game](TGuiComponent*, int) {
        Game.Sound3D.PlaySound("check");
        if (MenuPages(Game).FHelpPage < HelpPages)
            ShowHelpPage(Game, MenuPages(Game).FHelpPage + 1);
    });
    Page.FButtons[2] = AddMenuButton(Game, "b_prev", 218, 770, [&Game](TGuiComponent*, int) {
        if (MenuPages(Game).FHelpPage > 1)
            ShowHelpPage(Game, MenuPages(Game).FHelpPage - 1);
        Game.Sound3D.PlaySound("check");
    });
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Page.FButtons[1]);
    Game.ShowCursor(true);
}

void HelpFrame(TGame& Game)
{
    if (Game.State.TakeReleased(vkEscape))
    {
        Game.ChangeState(ssHelp, ssMainMenu, "check2", TCueWhen::Always);
        return;
    }

    if (Game.State.StateTicks < SlideFrames)
        for (int Index = 0; Index < 3; ++Index)
            if (TGuiButton* Button = MenuPages(Game).FButtons[Index])
                Button->SetTop(std::max(Button->Top - SlideStep, ButtonRestY));

    if (BeginMenuFrame(Game, 1))
    {
        if (MenuPages(Game).FHelpPage == 1)
            DrawBindings(Game);
        EndMenuFrame(Game);
    }
    ++Game.State.StateTicks;
}

void LeaveHelp(TGame& Game)
{
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    Game.SpriteEngine.FreeDead();
    Game.FreeGuiList();
    MenuPages(Game).ForgetWidgets();
}

} // namespace vm
