// What the race overlays share, the in-race exit question and the pause.
#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "race/race_screens.h"
#include "race/race_texts.h"
#include "shell/cursor.h"
#include "shell/game.h"
#include "shell/game_menu_screen.h"
#include "world/player.h"

#include <algorithm>

namespace vm {

namespace {

constexpr int SlideFrames = 20;
constexpr float SlideStep = 40.0f;

void ShowPlayerCar(TGame& Game)
{
    if (Game.World.FPlayer != nullptr)
        Game.World.FPlayer->Visible = true;
}

} // namespace

void DrawRaceImage(TGame& Game, const std::string& Key, float X, float Y, int Alpha)
{
    if (const TImageListItem* Item = Game.GameImageList.Find(Key))
        DrawImage(*Item, X, Y, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 255, 255, 255,
                  static_cast<std::uint8_t>(std::clamp(Alpha, 0, 255)), false, 0, 0);
}

bool BeginFrozenFrame(TGame& Game)
{
    // The cursor follows the mouse first: the world's draw includes it, and it is drawn again on
    // top of the page at the same place.
    if (Game.FCursor != nullptr)
        Game.FCursor->Move(0.0f);
    Game.Screen.Clear(0, 0, 0, 0);
    if (!Game.Screen.BeginScene())
        return false;
    Game.SpriteEngine.Draw();
    Game.Gui.Draw();
    return true;
}

void EndOverlayFrame(TGame& Game)
{
    if (Game.FCursor != nullptr && Game.FCursor->Visible)
        Game.FCursor->Draw();
    Game.Screen.EndScene();
}

void ShowOverlay(TGame& Game, const std::string& Name, const std::string& ImageKey, float X, float Y)
{
    Game.Pages.Parts.FGameMenuScreen =
        new TGameMenuScreen(Game.SpriteEngine, Game.GameImageList, true, 255, Name, ImageKey, 2000, Y, X);
    Game.NewGuiList();
}

void FreeOverlay(TGame& Game)
{
    if (Game.Pages.Parts.FGameMenuScreen != nullptr)
        Game.Pages.Parts.FGameMenuScreen->Dead();
    Game.Pages.Parts.FGameMenuScreen = nullptr;
    Game.FreeGuiList();
    Game.SpriteEngine.FreeDead();
}

void ResumeRace(TGame& Game)
{
    Game.State.ScreenState = ssRace;
    // A pad button pressed on the overlay (Back on the pause, say) is not read again by the race.
    Game.State.PadReleased.fill(0);
    // The clock runs again once the race has started: while the player drives, and also during a
    // wreck, which it would otherwise leave stopped for the rest of the race.
    const TRaceWorld& World = Game.World;
    if (World.FPlayer != nullptr && (World.FPlayer->Driving || (World.FWrecked && !World.FRaceFinished)))
        Game.RaceTimer.SetEnabled(true);
    Game.ShowCursor(false);
}

void EnterRaceExitQuestion(TGame& Game)
{
    Game.State.ClearLatches();
    Game.State.ScreenState = ssRaceExitQuestion;
    Game.RaceTimer.SetEnabled(false);
    Game.State.PhaseTicks = 0;
    ShowOverlay(Game, "menuexitgame", "scr_exitgame", -640, 159);
    TGuiButton* Yes = Game.Pages.Parts.FGuiList->CreateButton(
        Game.GameImageList.Find("b_yes1"), -550, 371, [&Game](TGuiComponent*, int) { QuitRace(Game); });
    // The same answer as Enter with nothing focused.
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Yes);
    Game.Pages.Parts.FGuiList->CreateButton(Game.GameImageList.Find("b_no1"), -380, 371,
                                            [&Game](TGuiComponent*, int) {
                                                Game.LeaveState(ssRaceExitQuestion);
                                                Game.Sound3D.PlaySound("check");
                                                ResumeRace(Game);
                                            });
    Game.ShowCursor(true);
    ShowPlayerCar(Game);
}

void RaceExitQuestionFrame(TGame& Game)
{
    TGameState& State = Game.State;
    if (State.TakeReleased(vkEscape))
    {
        Game.PlaySoundIfOn("check2");
        Game.LeaveState(ssRaceExitQuestion);
        ResumeRace(Game);
        return;
    }
    if (State.TakeReleased(vkReturn))
    {
        QuitRace(Game);
        return;
    }
    // The page and its buttons slide in from the left.
    if (State.PhaseTicks < SlideFrames)
    {
        ++State.PhaseTicks;
        if (Game.Pages.Parts.FGameMenuScreen != nullptr)
            Game.Pages.Parts.FGameMenuScreen->SetX(Game.Pages.Parts.FGameMenuScreen->X() + SlideStep);
        for (int I = 0; Game.Pages.Parts.FGuiList != nullptr && I < Game.Pages.Parts.FGuiList->Count(); ++I)
            Game.Pages.Parts.FGuiList->Widget(I)->Left += static_cast<int>(SlideStep);
    }
    if (BeginFrozenFrame(Game))
    {
        DrawRaceTexts(Game);
        EndOverlayFrame(Game);
    }
}

void LeaveRaceExitQuestion(TGame& Game) { FreeOverlay(Game); }

void QuitRace(TGame& Game)
{
    if (Game.State.MusicOn)
    {
        Game.Sound3D.StopMod("gamemusic");
        Game.Sound3D.PlayMod("menumusic");
    }
    Game.LeaveState(ssRaceExitQuestion);
    Game.LeaveState(ssRace);
    Game.Sound3D.PlaySound("check");
    Game.CreateMenuLights();
    Game.EnterState(ssMainMenu);
}

void EnterPause(TGame& Game)
{
    Game.State.ClearLatches();
    Game.State.ScreenState = ssPause;
    Game.RaceTimer.SetEnabled(false);
    Game.ShowCursor(true);
    ShowPlayerCar(Game);
}

void PauseFrame(TGame& Game)
{
    TGameState& State = Game.State;
    // Esc, or the pause action again (its keys, or Start on a pad).
    const bool Escape = State.TakeReleased(vkEscape);
    if (State.TakeAction(acPause) || Escape)
    {
        Game.Sound3D.PlaySound("check2");
        Game.LeaveState(ssPause);
        ResumeRace(Game);
        return;
    }
    if (BeginFrozenFrame(Game))
    {
        TextOutCentred(Game.Font3, 400, 290, "Pause");
        DrawRaceTexts(Game);
        EndOverlayFrame(Game);
    }
}

void LeavePause(TGame& Game)
{
    Game.SpriteEngine.FreeDead();
    Game.ShowCursor(false);
}

} // namespace vm
