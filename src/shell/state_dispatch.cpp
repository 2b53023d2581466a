// Screen-state dispatch (enter, leave, frame) and the race clock.
#include "shell/game.h"

#include "screens/logo_screen.h"

namespace vm {

void TGame::EnterState(int Which)
{
    const int StateId = Which & 0x7F;
    switch (StateId)
    {
    case ssLogo: EnterLogo(*this); break;
    case ssTimesUp:
        // Time's up freezes the race: the clock stops and the cue plays.
        State.ClearLatches();
        Sound3D.PlaySound("timesup");
        while (!State.PlayerName.empty() && State.PlayerName.back() == '%')
            State.PlayerName.pop_back();
        RaceTimer.SetEnabled(false);
        State.StateTicks = 0;
        State.ScreenState = ssTimesUp;
        break;
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
    case ssLogo: LeaveLogo(*this); break;
    default: break;
    }
}

void TGame::StateFrame(int Which)
{
    switch (Which & 0x7F)
    {
    case ssLogo: LogoFrame(*this); break;
    default:
        ++State.StateTicks;
        DrawEmptyFrame();
        break;
    }
}

void TGame::RaceTimerTimer()
{
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
