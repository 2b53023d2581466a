// The end of a run: the final score, the question whether to send it, and the way back to the menus.
#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_list.h"
#include "race/race_screens.h"
#include "race/race_texts.h"
#include "shell/game.h"
#include "shell/score_service.h"

namespace vm {

namespace {

constexpr int ScoreShownTick = 100;
constexpr int ButtonTick = 201;

void EnterFinalScorePage(TGame& Game, int Which, const char* Name, const char* PageKey)
{
    Game.State.ClearKeys();
    Game.State.ScreenState = static_cast<std::uint8_t>(Which);
    Game.Font1.SetLook("Micra", 20, 1, 30, 30, 30);
    ShowOverlay(Game, Name, PageKey, 160, 159);
    Game.State.StateTicks = 0;
    Game.ShowCursor(true);
}

} // namespace

void EnterYourScore(TGame& Game)
{
    if (Game.State.MusicOn)
    {
        Game.Sound3D.StopMod("gamemusic");
        Game.Sound3D.PlayMod("losemusic");
    }
    EnterFinalScorePage(Game, ssYourScore, "yourscore", "scr_yourscore");
    TGuiButton* Next = Game.Pages.Parts.FGuiList->CreateButton(
        Game.GameImageList.Find("bro_next"), 420, 374,
        [&Game](TGuiComponent*, int) { Game.ChangeState(ssYourScore, ssSendScore, "check"); });
    Next->Visible = false;
}

void YourScoreFrame(TGame& Game)
{
    TGameState& State = Game.State;
    if (State.StateTicks < ButtonTick)
        ++State.StateTicks;
    if (State.StateTicks == ButtonTick && Game.Pages.Parts.FGuiList != nullptr &&
        Game.Pages.Parts.FGuiList->Count() > 0)
        Game.Pages.Parts.FGuiList->Widget(0)->Visible = true;
    if (!BeginFrozenFrame(Game))
        return;
    if (State.StateTicks > ScoreShownTick)
        TextOutCentred(Game.Font1, 398, 279, std::to_string(State.Score));
    EndOverlayFrame(Game);
}

void EnterSendScore(TGame& Game)
{
    EnterFinalScorePage(Game, ssSendScore, "sendscore", "scr_send");
    Game.Pages.Parts.FGuiList->CreateButton(Game.GameImageList.Find("b_yes1"), 250, 371,
                                            [&Game](TGuiComponent*, int) { EndGame(Game, true); });
    Game.Pages.Parts.FGuiList->CreateButton(Game.GameImageList.Find("b_no1"), 420, 371,
                                            [&Game](TGuiComponent*, int) { EndGame(Game, false); });
}

void SendScoreFrame(TGame& Game)
{
    if (BeginFrozenFrame(Game))
        EndOverlayFrame(Game);
}

void LeaveFinalScore(TGame& Game) { FreeOverlay(Game); }

void EndGame(TGame& Game, bool Send)
{
    if (Game.State.MusicOn)
    {
        Game.Sound3D.StopMod("losemusic");
        Game.Sound3D.PlayMod("menumusic");
    }
    if (Send)
        Game.PlaySoundIfOn("check");
    else
        Game.Sound3D.PlaySound("check");
    // Leaving the question frees its page and buttons; then the race goes.
    Game.LeaveState(ssSendScore);
    Game.LeaveState(ssRace);
    const bool Entered = Game.Scores->EnterHighScore(Game.State.PlayerName, Game.State.Score);
    Game.CreateMenuLights();
    Game.EnterState(Entered ? ssHighScores : ssMainMenu);
    if (Send)
        Game.Scores->SendScore(Game.State.PlayerName, Game.State.Score);
}

} // namespace vm
