// Race over: the result lines, the bonus counted into the score, unlocks, and the next race.
#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_list.h"
#include "race/race_screens.h"
#include "race/race_setup.h"
#include "race/race_texts.h"
#include "race/run_replay_button.h"
#include "shell/game.h"
#include "world/player.h"

#include <algorithm>

namespace vm {

namespace {

// PhaseTicks while the bonus is still being counted; the tally sets it to 0 when done, and the
// button shows when it has counted on to ButtonTick.
constexpr int TallyRunning = 2000;
constexpr int ButtonTick = 101;
constexpr int TallyStartTick = 350;

// The result lines show one by one, each from its stage of FResultStage on, and the stage moves on
// at these StateTicks: the place, the race clock at the finish, the bonus, the score.
enum TResultStage : int
{
    rsNoLines = 0,
    rsPlace = 1,
    rsClock = 2,
    rsBonus = 3,
    rsScore = 4,
};
constexpr int PlaceLineTick = 70, ClockLineTick = 140, BonusLineTick = 210, ScoreLineTick = 280;

// The Replay button (when the run is recorded) sits left of Next.
constexpr int ReplayButtonX = 302, ReplayButtonY = 412;

// Next is the list's first button; Replay, when there is one, the second.
void ShowButtons(TGame& Game)
{
    for (int I = 0; Game.Pages.Parts.FGuiList != nullptr && I < Game.Pages.Parts.FGuiList->Count(); ++I)
        Game.Pages.Parts.FGuiList->Widget(I)->Visible = true;
}

} // namespace

void EnterRaceOver(TGame& Game)
{
    TGameState& State = Game.State;
    TRaceSession& Race = Game.Race;
    State.ClearKeys();
    State.ScreenState = ssRaceOver;
    Game.Font1.SetLook("Micra", 13, 1, 30, 30, 30);
    if (Game.World.FPlayer != nullptr)
        Game.World.FPlayer->Visible = true;
    Race.FResultStage = rsNoLines;
    Game.PlaySoundIfOn("finish");
    ShowOverlay(Game, "raceover", "scr_raceover", 160, 159);
    TGuiButton* Next = Game.Pages.Parts.FGuiList->CreateButton(
        Game.GameImageList.Find("bro_next"), 462, 412, [&Game](TGuiComponent*, int) { NextRace(Game); });
    Next->Visible = false;
    AddReplayButton(Game, ReplayButtonX, ReplayButtonY);
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Next);
    // A finishing place is at least 1, so the division is safe.
    Game.World.BonusLeft /= std::max(1, Race.FFinishPlace);
    State.StateTicks = 0;
    State.PhaseTicks = TallyRunning;
    Game.ShowCursor(true);
    Race.FNewCarShown = false;
    Race.FNewTrackShown = false;
    Race.FScoreAtRaceOver = State.Score;
}

void RaceOverFrame(TGame& Game)
{
    TGameState& State = Game.State;
    TRaceSession& Race = Game.Race;
    TRaceWorld& World = Game.World;
    if (WatchIfAsked(Game))
        return;
    const bool Drawing = BeginFrozenFrame(Game);
    switch (State.StateTicks)
    {
    case PlaceLineTick: Race.FResultStage = rsPlace; break;
    case ClockLineTick: Race.FResultStage = rsClock; break;
    case BonusLineTick: Race.FResultStage = rsBonus; break;
    case ScoreLineTick: Race.FResultStage = rsScore; break;
    default: break;
    }
    // One point of the bonus a frame goes into the score.
    if (State.StateTicks > TallyStartTick && State.PhaseTicks > 1000)
    {
        if (World.BonusLeft <= 0)
            State.PhaseTicks = 0;
        else
        {
            State.AddScore(1);
            --World.BonusLeft;
        }
    }
    if (State.PhaseTicks >= 0 && State.PhaseTicks < ButtonTick)
        ++State.PhaseTicks;
    else if (State.PhaseTicks == ButtonTick)
    {
        ShowButtons(Game);
        // The points gained since the race was built (pickups and the counted bonus) decide the
        // unlocks; each frame applies one more step while the check reports one.
        Race.FUnlockGain = State.Score - Race.FScoreAtRaceBuild;
        const TUnlockResult Unlock = Game.Catalogues.CheckUnlock(Race.FScoreAtRaceBuild, Race.FUnlockGain);
        if (Unlock == urTwoTracks)
            Race.FNewTrackShown = true;
        else if (Unlock == urOneEntry)
            Race.FNewCarShown = true;
        if (Unlock != urNothing)
            Game.Catalogues.ApplyUnlockStep();
    }
    ++State.StateTicks;
    if (!Drawing)
        return;
    if (Race.FResultStage >= rsPlace)
        TextOutCentred(Game.Font1, 532, 279, std::to_string(Race.FFinishPlace));
    if (Race.FResultStage >= rsClock)
        TextOutCentred(Game.Font1, 532, 309,
                       FormatRaceClock(Race.FFinishMinutes, Race.FFinishSeconds, Race.FFinishHundredths));
    if (Race.FResultStage >= rsBonus)
        TextOutCentred(Game.Font1, 532, 338, std::to_string(World.BonusLeft));
    if (Race.FResultStage >= rsScore)
        TextOutCentred(Game.Font1, 532, 367, std::to_string(State.Score));
    EndOverlayFrame(Game);
}

void LeaveRaceOver(TGame& Game) { FreeOverlay(Game); }

void NextRace(TGame& Game)
{
    TRaceSession& Race = Game.Race;
    Game.Sound3D.PlaySound("check");
    // The time driven from the green light, in race clock ticks of 10 ms.
    const std::int32_t Ticks = Race.FFinishTicks;
    const TRaceTime Driven{Ticks % 100, (Ticks / 100) % 60, Ticks / 6000};
    UpdateBestTime(Driven, Game.Catalogues.SelectedTrack());
    Race.FResultStage = rsNoLines;
    Game.LeaveState(ssRaceOver);
    Game.LeaveState(ssRace);
    ++Game.State.RaceNumber;
    Game.Difficulty.RaiseDifficulty(Game.State.RaceNumber);
    Game.EnterState(ssRace);
}

} // namespace vm
