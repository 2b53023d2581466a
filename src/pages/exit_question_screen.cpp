// The question whether to leave the program, and the way out.
#include "pages/exit_question_screen.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/message_box.h"
#include "engine/sprite.h"
#include "pages/menu_frame.h"
#include "pages/menu_pages_state.h"
#include "shell/game.h"
#include "shell/menu_screen.h"

namespace vm {

namespace {

// The picture and its buttons start 800 pixels left of where they rest and come in by 40 pixels
// a frame over the first 20 frames.
constexpr int SlideFrames = 20;
constexpr int SlideStep = 40;
constexpr int ButtonTop = 404;

void AnswerYes(TGame& Game)
{
    // The window closes next: a save that failed is told in a box the player must see first.
    if (!Game.SaveFiles())
        Game.Messages.Show(Game.LastSaveFailure(), "Velomarch");
    Game.ChangeState(ssExitQuestion, ssExit);
}

void AnswerNo(TGame& Game) { Game.ChangeState(ssExitQuestion, ssMainMenu, "check", TCueWhen::Always); }

} // namespace

void EnterExitQuestion(TGame& Game)
{
    Game.State.ScreenState = ssExitQuestion;
    Game.State.ClearLatches();
    Game.State.StateTicks = 0;
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "exitthegame", "scr_ExitTheGame", 500, 184, -620);
    TMenuPagesState& Page = MenuPages(Game);
    Game.NewGuiList();
    Page.ForgetWidgets();
    Page.FButtons[0] =
        AddMenuButton(Game, "b_yes", -522, ButtonTop, [&Game](TGuiComponent*, int) { AnswerYes(Game); });
    Page.FButtons[1] =
        AddMenuButton(Game, "b_no", -378, ButtonTop, [&Game](TGuiComponent*, int) { AnswerNo(Game); });
    // The same answer as Enter with nothing focused.
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Page.FButtons[0]);
    Game.ShowCursor(true);
}

void ExitQuestionFrame(TGame& Game)
{
    if (Game.State.TakeReleased(vkEscape))
    {
        Game.ChangeState(ssExitQuestion, ssMainMenu, "check2", TCueWhen::Always);
        return;
    }
    if (Game.State.TakeReleased(vkReturn))
    {
        AnswerYes(Game);
        return;
    }

    TMenuPagesState& Page = MenuPages(Game);
    if (Game.State.StateTicks < SlideFrames)
    {
        if (Game.Pages.Parts.FMenuScreen != nullptr)
            Game.Pages.Parts.FMenuScreen->SetX(Game.Pages.Parts.FMenuScreen->X() + SlideStep);
        for (int Index = 0; Index < 2; ++Index)
            if (TGuiButton* Button = Page.FButtons[Index])
                Button->SetLeft(Button->Left + SlideStep);
    }
    for (int Index = 0; Index < 2; ++Index)
        if (TGuiButton* Button = Page.FButtons[Index])
            Button->SetTop(ButtonTop);

    if (BeginMenuFrame(Game, 1))
        EndMenuFrame(Game);
    ++Game.State.StateTicks;
}

void LeaveExitQuestion(TGame& Game)
{
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    Game.SpriteEngine.FreeDead();
    Game.FreeGuiList();
    MenuPages(Game).ForgetWidgets();
}

void EnterExit(TGame& Game)
{
    Game.State.ScreenState = ssExit;
    // No exit page is configured: the system pointer comes back and the window closes at once.
    Game.Screen.ShowMouseCursor = true;
    Game.FreeGuiList();
    MenuPages(Game).ForgetWidgets();
    Game.Terminate();
}

} // namespace vm
