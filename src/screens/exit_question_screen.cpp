// The question whether to leave the program, and the way out.
#include "screens/exit_question_screen.h"

#include "engine/gui_button.h"
#include "engine/sprite.h"
#include "screens/menu_frame.h"
#include "screens/menu_screen.h"
#include "shell/game.h"

namespace vm {

namespace {

// The picture and its buttons start 800 pixels left of where they rest and come in by 40 pixels
// a frame over the first 20 frames.
constexpr int SlideFrames = 20;
constexpr int SlideStep = 40;
constexpr int ButtonTop = 404;

void AnswerYes(TGame& Game)
{
    Game.SaveFiles();
    Game.LeaveState(ssExitQuestion);
    Game.EnterState(ssExit);
}

void AnswerNo(TGame& Game)
{
    Game.LeaveState(ssExitQuestion);
    Game.Sound3D.PlaySound("check");
    Game.EnterState(ssMainMenu);
}

} // namespace

void EnterExitQuestion(TGame& Game)
{
    Game.State.ScreenState = ssExitQuestion;
    Game.State.ClearLatches();
    Game.State.StateTicks = 0;
    Game.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255, "exitthegame",
                                       "scr_ExitTheGame", 500, 184, -620);
    TMenuPagesState& Page = Game.MenuPages;
    Game.NewGuiList();
    Page.ForgetWidgets();
    Page.FButtons[0] =
        AddMenuButton(Game, "b_yes", -522, ButtonTop, [&Game](TGuiComponent*, int) { AnswerYes(Game); });
    Page.FButtons[1] =
        AddMenuButton(Game, "b_no", -378, ButtonTop, [&Game](TGuiComponent*, int) { AnswerNo(Game); });
    Game.ShowCursor(true);
}

void ExitQuestionFrame(TGame& Game)
{
    auto& Released = Game.State.KeyReleased;
    if (Released[vkEscape] != 0)
    {
        Released[vkEscape] = 0;
        Game.Sound3D.PlaySound("check2");
        Game.LeaveState(ssExitQuestion);
        Game.EnterState(ssMainMenu);
        return;
    }
    if (Released[vkReturn] != 0)
    {
        Released[vkReturn] = 0;
        AnswerYes(Game);
        return;
    }

    TMenuPagesState& Page = Game.MenuPages;
    if (Game.State.StateTicks < SlideFrames)
    {
        if (Game.FMenuScreen != nullptr)
            Game.FMenuScreen->SetX(Game.FMenuScreen->X() + SlideStep);
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
    if (Game.FMenuScreen != nullptr)
        Game.FMenuScreen->Dead();
    Game.FMenuScreen = nullptr;
    Game.SpriteEngine.FreeDead();
    Game.FreeGuiList();
    Game.MenuPages.ForgetWidgets();
}

void EnterExit(TGame& Game)
{
    Game.State.ScreenState = ssExit;
    // No exit page is configured: the system pointer comes back and the window closes at once.
    Game.Screen.ShowMouseCursor = true;
    Game.FreeGuiList();
    Game.MenuPages.ForgetWidgets();
    Game.Terminate();
}

} // namespace vm
