// The autopilot on the first race, with the keys or a virtual pad's triggers and stick.
#include "first_race_pilot.h"

#include "engine/pad_input.h"
#include "shell/game.h"
#include "virtual_pads.h"

namespace vm {

void TFirstRacePilot::Axis(int Which, int Value)
{
    TScriptEvent Event;
    Event.Kind = TScriptEventKind::Pad;
    Event.Key = 1;
    Event.PadOp = TPadOp::Axis;
    Event.X = Which;
    Event.Y = Value;
    FPads->Apply(Event);
}

void TFirstRacePilot::Send(TGame& Game, int Key, bool Down)
{
    if (FPads == nullptr)
    {
        if (Down)
            Game.FormKeyDown(Key);
        else
            Game.FormKeyUp(Key);
        return;
    }
    switch (Key)
    {
    case vkUp: Axis(paRightTrigger, Down ? 32767 : 0); break;
    case vkDown: Axis(paLeftTrigger, Down ? 32767 : 0); break;
    case vkLeft:
    case vkRight:
        (Key == vkLeft ? FLeft : FRight) = Down;
        // Both held reads as right, as the keys do.
        Axis(paLeftX, FRight ? 32767 : FLeft ? -32768 : 0);
        break;
    default: break;
    }
}

void TFirstRacePilot::Frame(TGame& Game)
{
    const int State = Game.State.ScreenState;
    const auto SendKey = [this, &Game](int Key, bool Down) { Send(Game, Key, Down); };
    if (State == ssRaceOver)
        FRaceFinished = true;
    if (!FRaceFinished && (State == ssRace || State == ssWrecked))
        FPilot.Drive(Game.World, SendKey);
    else
        FPilot.ReleaseAll(SendKey);
}

} // namespace vm
