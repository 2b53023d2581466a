// The autopilot's keys turned into a virtual pad's triggers and stick.
#include "pad_pilot.h"

#include "engine/pad_input.h"
#include "shell/game.h"
#include "virtual_pads.h"

namespace vm {

void TPadPilot::Frame(TGame& Game, TVirtualPads& Pads)
{
    const int State = Game.State.ScreenState;
    const auto Axis = [&Pads](int Which, int Value) {
        TScriptEvent Event;
        Event.Kind = TScriptEventKind::Pad;
        Event.Key = 1;
        Event.PadOp = TPadOp::Axis;
        Event.X = Which;
        Event.Y = Value;
        Pads.Apply(Event);
    };
    const auto SendKey = [&](int Key, bool Down) {
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
    };
    if (State == ssRaceOver)
        FRaceFinished = true;
    if (!FRaceFinished && (State == ssRace || State == ssWrecked))
        FPilot.Drive(Game.World, SendKey);
    else
        FPilot.ReleaseAll(SendKey);
}

} // namespace vm
