// The headless runner's --autopilot: the car in races, the buttons between them, a record.
#include "autopilot_session.h"

#include "engine/gui_component.h"
#include "engine/gui_list.h"
#include "engine/virtual_keys.h"
#include "race/replay_view.h"
#include "shell/game.h"
#include "world/player.h"

namespace vm {

namespace {

bool HasButton(const TGame& Game, const std::string& Name)
{
    for (int I = 0; Game.Pages.Parts.FGuiList != nullptr && I < Game.Pages.Parts.FGuiList->Count(); ++I)
        if (Game.Pages.Parts.FGuiList->Widget(I)->Name == Name)
            return true;
    return false;
}

} // namespace

void TAutopilotSession::Frame(TGame& Game, long FrameNumber)
{
    if (WatchFrames >= 0 && FRecord.Watches < 0)
        FRecord.Watches = 0;
    // The pages shown while watching are the recording's, not the run's.
    if (Game.Watching())
    {
        Watch(Game);
        return;
    }
    const int State = Game.State.ScreenState;
    auto SendKey = [&Game](int Key, bool Down) {
        if (Down)
            Game.FormKeyDown(Key);
        else
            Game.FormKeyUp(Key);
    };
    if (State != FLastState)
    {
        FClickStep = 0;
        FWatchedHere = false;
        if (State == ssRaceOver)
        {
            ++FRecord.RacesFinished;
            if (!FFirstRaceDone && FGreenFrame >= 0)
                FRecord.FirstRaceFrames = FrameNumber - FGreenFrame;
            FFirstRaceDone = true;
        }
        else if (State == ssTimesUp && FRecord.RunEnd == "none")
            FRecord.RunEnd = "times_up";
        else if (State == ssGameOver && FRecord.RunEnd == "none")
            FRecord.RunEnd = "game_over";
        else if (State == ssWrecked)
            ++FRecord.Wrecks;
    }
    FLastState = State;
    const TPlayer* Player = Game.World.FPlayer;
    if (FGreenFrame < 0 && Player != nullptr && Player->Driving && !FFirstRaceDone)
        FGreenFrame = FrameNumber;

    switch (State)
    {
    case ssRace:
    case ssWrecked: FPilot.Drive(Game.World, SendKey); break;
    case ssRaceOver:
    case ssYourScore:
        FPilot.ReleaseAll(SendKey);
        // An unrecorded run has no Replay button.
        if (WatchFrames >= 0 && !FWatchedHere && HasButton(Game, "bro_replay"))
        {
            FWatchTicks = 0;
            FWatchedHere = ClickVisibleButton(Game, "bro_replay");
        }
        else
            ClickVisibleButton(Game, "");
        break;
    case ssSendScore:
        FPilot.ReleaseAll(SendKey);
        ClickVisibleButton(Game, "b_no1");
        break;
    default: FPilot.ReleaseAll(SendKey); break;
    }
}

void TAutopilotSession::Watch(TGame& Game)
{
    const auto Press = [&Game](int Key) {
        Game.FormKeyDown(Key);
        Game.FormKeyUp(Key);
    };
    if (FWatchTicks++ == 0)
    {
        ++FRecord.Watches;
        Press(vkUp);
        Press(vkUp);
    }
    const TWatchInfo Info = WatchInfo(Game);
    if (FWatchTicks > WatchFrames || Info.Frame >= Info.Frames)
        Press(vkEscape);
}

bool TAutopilotSession::ClickVisibleButton(TGame& Game, const std::string& Name)
{
    if (Game.Pages.Parts.FGuiList == nullptr)
        return false;
    const TGuiComponent* Target = nullptr;
    for (int I = 0; I < Game.Pages.Parts.FGuiList->Count() && Target == nullptr; ++I)
    {
        const TGuiComponent* Widget = Game.Pages.Parts.FGuiList->Widget(I);
        if (Widget->Visible && (Name.empty() || Widget->Name == Name))
            Target = Widget;
    }
    if (Target == nullptr)
        return false;
    const int X = Target->Left + Target->Width / 2, Y = Target->Top + Target->Height / 2;
    switch (FClickStep++)
    {
    case 0: Game.MouseMove(X, Y); return false;
    case 1: Game.MouseButton(true, X, Y); return false;
    default:
        Game.MouseButton(false, X, Y);
        FClickStep = 0;
        return true;
    }
}

} // namespace vm
