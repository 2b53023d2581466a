// Screen-state dispatch through the page table, the hand-over between pages, and the race clock.
#include "shell/game.h"

namespace vm {

void TGame::EnterState(int Which)
{
    const int StateId = Which & 0x7F;
    if (const auto Enter = Pages.Row(StateId).Enter)
        Enter(*this);
    else
        EnterUnbuiltState(StateId);
}

void TGame::LeaveState(int Which)
{
    if (const auto Leave = Pages.Row(Which).Leave)
        Leave(*this);
}

void TGame::StateFrame(int Which)
{
    if (const auto Frame = Pages.Row(Which).Frame)
        Frame(*this);
    else
    {
        ++State.StateTicks;
        DrawEmptyFrame();
    }
}

void TGame::ChangeState(int From, int To, const char* Sound, TCueWhen When)
{
    if (Sound != nullptr && When == TCueWhen::SoundOn)
        PlaySoundIfOn(Sound);
    else if (Sound != nullptr)
        Sound3D.PlaySound(Sound);
    LeaveState(From);
    EnterState(To);
}

void TGame::RaceTimerTimer()
{
    // While a recording is watched its own steps drive the race.
    if (ToView())
        return;
    Recorder.Add({TReplayEventKind::RaceInterval, 0, 0, 0, 0});
    RaceTimerStep();
    Recorder.AfterCall(*this);
}

void TGame::RaceTimerStep()
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
