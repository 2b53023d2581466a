// The headless runner's --first-race-pilot: the autopilot drives the first race with the keys or
// through a game controller (the script's virtual pad 1: right trigger throttle, left trigger
// brake, left stick steering), and leaves every page to the script.
#pragma once

#include "autopilot.h"

namespace vm {

class TGame;
class TVirtualPads;

class TFirstRacePilot
{
public:
    // Pads null: the keys. Pads, when given, must outlive the pilot.
    explicit TFirstRacePilot(TVirtualPads* Pads) : FPads(Pads) {}
    // Called once per frame after the script's events and before the pads' changes are handed to
    // the game. Drives while the first race is on; lets go of everything once it has finished.
    void Frame(TGame& Game);

private:
    void Send(TGame& Game, int Key, bool Down);
    void Axis(int Which, int Value);

    TVirtualPads* FPads;
    TAutopilot FPilot;
    bool FLeft = false, FRight = false;
    bool FRaceFinished = false;
};

} // namespace vm
