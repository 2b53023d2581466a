// Screen-state dispatch (enter, leave, frame) and the race clock.
#include "shell/game.h"

#include "race/race_frame.h"
#include "race/race_screens.h"
#include "race/race_setup.h"
#include "screens/logo_screen.h"

namespace vm {

void TGame::EnterState(int Which)
{
    const int StateId = Which & 0x7F;
    switch (StateId)
    {
    case ssRaceExitQuestion: EnterRaceExitQuestion(*this); break;
    case ssLogo: EnterLogo(*this); break;
    case ssRace: EnterRace(*this); break;
    case ssGameOver: EnterGameOver(*this); break;
    case ssRaceOver: EnterRaceOver(*this); break;
    case ssPause: EnterPause(*this); break;
    case ssTimesUp: EnterTimesUp(*this); break;
    case ssYourScore: EnterYourScore(*this); break;
    case ssSendScore: EnterSendScore(*this); break;
    case ssWrecked: EnterWreck(*this); break;
    default:
        // Screens still to be built: remember the state and show an empty frame.
        State.ClearLatches();
        State.StateTicks = 0;
        State.ScreenState = static_cast<std::uint8_t>(StateId);
        break;
    }
}

void TGame::LeaveState(int Which)
{
    switch (Which & 0x7F)
    {
    case ssRaceExitQuestion: LeaveRaceExitQuestion(*this); break;
    case ssLogo: LeaveLogo(*this); break;
    case ssRace: LeaveRace(*this); break;
    case ssGameOver:
    case ssTimesUp: LeaveRunEnd(*this); break;
    case ssRaceOver: LeaveRaceOver(*this); break;
    case ssPause: LeavePause(*this); break;
    case ssYourScore:
    case ssSendScore: LeaveFinalScore(*this); break;
    default: break;
    }
}

void TGame::StateFrame(int Which)
{
    switch (Which & 0x7F)
    {
    case ssRaceExitQuestion: RaceExitQuestionFrame(*this); break;
    case ssLogo: LogoFrame(*this); break;
    case ssRace: RaceFrame(*this); break;
    case ssGameOver:
    case ssTimesUp: RunEndFrame(*this); break;
    case ssRaceOver: RaceOverFrame(*this); break;
    case ssPause: PauseFrame(*this); break;
    case ssYourScore: YourScoreFrame(*this); break;
    case ssSendScore: SendScoreFrame(*this); break;
    case ssWrecked: WreckFrame(*this); break;
    default:
        ++State.StateTicks;
        DrawEmptyFrame();
        break;
    }
}

void TGame::RaceTimerTimer()
{
    // Time driven since the green light, kept apart from the clock that time pickups move.
    ++Race.FRaceTicks;
    if (State.TimeHundredths > 0)
    {
        --State.TimeHundredths;
        return;
    }
    if (State.TimeSeconds > 0)
    {
        if (State.TimeSeconds <= 10 && State.TimeMinutes == 0)
            Sound3D.PlaySound("time");
        --State.TimeSeconds;
        State.TimeHundredths = 99;
        return;
    }
    if (State.TimeMinutes > 0)
    {
        --State.TimeMinutes;
        State.TimeSeconds = 59;
        State.TimeHundredths = 99;
        return;
    }
    EnterState(ssTimesUp);
}

} // namespace vm
