// The main menu.
#include "pages/main_menu_screen.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "pages/menu_frame.h"
#include "pages/menu_pages_state.h"
#include "shell/game.h"
#include "shell/menu_light.h"
#include "shell/shortcut_file.h"

namespace vm {

namespace {

constexpr int KeyZ = 90;

// A button that leaves the menu for Next: leave 4, "check", enter Next.
TGuiButton* AddPageButton(TGame& Game, const std::string& Key, int X, int Y, int Next)
{
    return AddMenuButton(Game, Key, X, Y, [&Game, Next](TGuiComponent*, int) {
        Game.ChangeState(ssMainMenu, Next, "check", TCueWhen::Always);
    });
}

// A button that opens the address of a shortcut file of the working folder.
TGuiButton* AddLinkButton(TGame& Game, const std::string& Key, int X, int Y, const std::string& Shortcut)
{
    return AddMenuButton(Game, Key, X, Y, [&Game, Shortcut](TGuiComponent*, int) {
        Game.PlaySoundIfOn("check");
        OpenShortcut(Game, Shortcut);
    });
}

void SetFont(TSystemFont& Font, int Size, std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue)
{
    Font.SetLook("Micra", Size, 0, Red, Green, Blue);
}

void ShowMenuLights(TGame& Game, bool Show)
{
    for (TLight* Light : Game.Pages.Parts.FMenuLights)
        if (Light != nullptr)
            Light->Visible = Show;
}

} // namespace

void EnterMainMenu(TGame& Game)
{
    Game.State.ScreenState = ssMainMenu;
    Game.State.RaceNumber = 1;
    Game.State.StateTicks = 0;
    Game.SpriteEngine.Move(0.0f);
    Game.State.ClearLatches();

    TMenuPagesState& Page = MenuPages(Game);
    Game.NewGuiList();
    Page.ForgetWidgets();
    // The start button leads to the track page first, where the open tracks and their best
    // times are shown; its race button leads on to the car page.
    Page.FButtons[0] = AddMenuButton(Game, "b_stgame", 552, 252, [&Game](TGuiComponent*, int) {
        Game.State.ClearLatches();
        Game.Sound3D.PlaySound("check");
        Game.ChangeState(ssMainMenu, ssChooseTrack);
    });
    Page.FButtons[1] = AddPageButton(Game, "b_opt", 552, 284, ssOptions);
    Page.FButtons[2] = AddPageButton(Game, "b_hiscr", 552, 316, ssHighScores);
    Page.FButtons[3] = AddPageButton(Game, "b_help", 552, 348, ssHelp);
    Page.FButtons[4] = AddLinkButton(Game, "b_visit", 552, 380, "moregames.url");
    Page.FButtons[5] = AddPageButton(Game, "b_exit", 552, 412, ssExitQuestion);
    Page.FButtons[6] = AddLinkButton(Game, "b_logo", 548, 515, "website.url");
    Page.FButtons[7] = AddMenuButton(Game, "b_presshere", 292, 555, [&Game](TGuiComponent*, int) {
        Game.Sound3D.PlaySound("check");
        Game.ChangeState(ssMainMenu, ssChooseProfile);
    });

    Game.Pages.Parts.FGuiList->SetDefaultFocus(Page.FButtons[0]);

    SetFont(Game.Font1, 10, 123, 19, 19);
    SetFont(Game.Font2, 10, 15, 15, 15);
    SetFont(Game.Font3, 23, 167, 9, 24);
    ShowMenuLights(Game, true);
    Game.ShowCursor(true);
}

void MainMenuFrame(TGame& Game)
{
    auto& Released = Game.State.KeyReleased;
    if (Game.State.TakeReleased(vkEscape))
    {
        Game.ChangeState(ssMainMenu, ssExitQuestion, "check2", TCueWhen::Always);
        return;
    }
    if (Released[KeyZ] != 0)
    {
        Released[KeyZ] = 0;
        Game.State.AddScore(10);
    }

    // The lights are sprites and are drawn with the others; the greeting lies clear of every
    // button, so it may go down before the GUI.
    if (BeginMenuFrame(Game, 1))
    {
        const std::string Greeting = "Hello, " + Game.State.PlayerName + "!";
        Game.Font1.TextOut(400 - Game.Font1.TextWidth(Greeting) / 2, 530, Greeting);
        EndMenuFrame(Game);
    }
    ++Game.State.StateTicks;
}

void LeaveMainMenu(TGame& Game)
{
    ShowMenuLights(Game, false);
    Game.SpriteEngine.FreeDead();
    Game.FreeGuiList();
    MenuPages(Game).ForgetWidgets();
}

} // namespace vm
