// The end of a run: the final score, the question whether to send it (and the score on its way),
// and the way back to the menus.
#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/message_box.h"
#include "engine/virtual_keys.h"
#include "race/race_screens.h"
#include "race/race_texts.h"
#include "race/run_replay_button.h"
#include "shell/game.h"
#include "shell/score_service.h"

#include <string>

namespace vm {

namespace {

constexpr int ScoreShownTick = 100;
constexpr int ButtonTick = 201;
// Your score's Replay button (when the run is recorded), left of Next.
constexpr int ReplayButtonX = 240, ReplayButtonY = 374;

// The send page while the answer is yes and the score is on its way.
struct TSendScorePage
{
    bool Sending = false;
    int Ticks = 0; // frames since the send started: the sign's animation
};

// The wheel turns a full round in 2/3 s; a dot joins the text every 1/4 s, up to three.
constexpr float WheelDegreesPerFrame = 6.0f;
constexpr int DotFrames = 22;
// The sign sits where the buttons were, centred on the page: the wheel, the text right of it
// (centred on the wheel's height), the key hint below.
constexpr int SignCentreX = 400, WheelY = 367, WheelGap = 12, SendingTextY = 379, HintY = 424;
constexpr const char* SendingText = "Sending score";

void DrawSendingSign(TGame& Game, int Ticks)
{
    const TImageListItem* Wheel = Game.GameImageList.Find("sendwheel");
    const int WheelWidth = Wheel != nullptr ? Wheel->TileWidth() : 0;
    // Measured with all three dots, so that the sign stays put while they come and go.
    const int Left =
        SignCentreX - (WheelWidth + WheelGap + Game.Font1.TextWidth(std::string(SendingText) + "...")) / 2;
    if (Wheel != nullptr)
        DrawImage(*Wheel, static_cast<float>(Left), WheelY, static_cast<float>(Ticks) * WheelDegreesPerFrame,
                  0.5f, 0.5f, 1.0f, 1.0f, 255, 255, 255, 255, false, 0, 0);
    Game.Font1.TextOut(Left + WheelWidth + WheelGap, SendingTextY,
                       SendingText + std::string(static_cast<std::size_t>((Ticks / DotFrames) % 4), '.'));
    TextOutCentred(Game.Font4, SignCentreX, HintY, "Esc cancels");
}

// The run ends as it does after "no", then the player hears how the send went: nothing when the
// score is stored (every failure is told, so silence means it arrived).
void FinishSending(TGame& Game, const TSendResult& Result)
{
    Game.Pages.Keep<TSendScorePage>().Sending = false;
    EndGame(Game);
    const std::string Text = SendResultText(Result);
    if (!Text.empty())
        Game.Messages.Show(Text, "Velomarch");
}

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
    AddReplayButton(Game, ReplayButtonX, ReplayButtonY);
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Next);
}

void YourScoreFrame(TGame& Game)
{
    TGameState& State = Game.State;
    if (WatchIfAsked(Game))
        return;
    if (State.StateTicks < ButtonTick)
        ++State.StateTicks;
    if (State.StateTicks == ButtonTick)
        for (int I = 0; Game.Pages.Parts.FGuiList != nullptr && I < Game.Pages.Parts.FGuiList->Count(); ++I)
            Game.Pages.Parts.FGuiList->Widget(I)->Visible = true;
    if (!BeginFrozenFrame(Game))
        return;
    if (State.StateTicks > ScoreShownTick)
        TextOutCentred(Game.Font1, 398, 279, std::to_string(State.Score));
    EndOverlayFrame(Game);
}

void EnterSendScore(TGame& Game)
{
    Game.Pages.Keep<TSendScorePage>() = {};
    EnterFinalScorePage(Game, ssSendScore, "sendscore", "scr_send");
    // The sending sign's texts: light on the dark page, where the buttons were.
    Game.Font1.SetLook("Micra", 16, 1, 243, 245, 250);
    Game.Font4.SetLook("Micra", 11, 0, 170, 180, 200);
    TGuiButton* Yes =
        Game.Pages.Parts.FGuiList->CreateButton(Game.GameImageList.Find("b_yes1"), 250, 371,
                                                [&Game](TGuiComponent*, int) { StartSendingScore(Game); });
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Yes);
    Game.Pages.Parts.FGuiList->CreateButton(Game.GameImageList.Find("b_no1"), 420, 371,
                                            [&Game](TGuiComponent*, int) {
                                                Game.Sound3D.PlaySound("check");
                                                EndGame(Game);
                                            });
}

void StartSendingScore(TGame& Game)
{
    TSendScorePage& Page = Game.Pages.Keep<TSendScorePage>();
    if (Page.Sending)
        return;
    Game.PlaySoundIfOn("check");
    Page.Sending = true;
    Page.Ticks = 0;
    // The question is answered: its buttons go, and with nothing left to click so does the mouse
    // cursor, which would sit on the sign; an Esc from before does not cancel the send.
    for (int I = 0; Game.Pages.Parts.FGuiList != nullptr && I < Game.Pages.Parts.FGuiList->Count(); ++I)
        Game.Pages.Parts.FGuiList->Widget(I)->Visible = false;
    Game.ShowCursor(false);
    Game.State.KeyReleased[vkEscape] = 0;
    Game.Scores->StartSend(Game.State.PlayerName, Game.State.Score);
    // Without a way online the outcome is there at once.
    if (auto Result = Game.Scores->TakeSendResult())
        FinishSending(Game, *Result);
}

void SendScoreFrame(TGame& Game)
{
    TSendScorePage& Page = Game.Pages.Keep<TSendScorePage>();
    if (Page.Sending)
    {
        if (auto Result = Game.Scores->TakeSendResult())
        {
            FinishSending(Game, *Result);
            return;
        }
        // Esc gives up on the send: the run ends as with "no", after the cue "yes" already gave.
        if (Game.State.TakeReleased(vkEscape))
        {
            Game.Scores->CancelSend();
            Page.Sending = false;
            EndGame(Game);
            return;
        }
        ++Page.Ticks;
    }
    if (!BeginFrozenFrame(Game))
        return;
    if (Page.Sending)
        DrawSendingSign(Game, Page.Ticks);
    EndOverlayFrame(Game);
}

void LeaveFinalScore(TGame& Game) { FreeOverlay(Game); }

void LeaveSendScore(TGame& Game)
{
    // A send still in flight has no page left to land on: it stops here.
    TSendScorePage& Page = Game.Pages.Keep<TSendScorePage>();
    if (Page.Sending)
        Game.Scores->CancelSend();
    Page.Sending = false;
    FreeOverlay(Game);
}

void EndGame(TGame& Game)
{
    if (Game.State.MusicOn)
    {
        Game.Sound3D.StopMod("losemusic");
        Game.Sound3D.PlayMod("menumusic");
    }
    // Leaving the question frees its page and buttons; then the race goes.
    Game.LeaveState(ssSendScore);
    Game.LeaveState(ssRace);
    const bool Entered = Game.Scores->EnterHighScore(Game.State.PlayerName, Game.State.Score);
    Game.CreateMenuLights();
    Game.EnterState(Entered ? ssHighScores : ssMainMenu);
}

} // namespace vm
