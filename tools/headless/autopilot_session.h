// The headless runner's --autopilot: drives the player's car during races, answers the pages
// between races like a player with a mouse, and keeps a record of how the run went.
#pragma once

#include "autopilot.h"

#include <string>

namespace vm {

class TGame;

struct TAutopilotRecord
{
    int RacesFinished = 0;       // race-over screens reached
    std::string RunEnd = "none"; // "times_up", "game_over" or "none" while the run goes on
    long FirstRaceFrames = -1;   // frames from the first race's green light to its finish
    int Wrecks = 0;
};

class TAutopilotSession
{
public:
    // Called once per frame before the frame routine. The game must outlive the session.
    void Frame(TGame& Game, long FrameNumber);
    const TAutopilotRecord& Record() const { return FRecord; }

private:
    // Moves the mouse onto the first visible button of the page, presses it the next frame and
    // lets go the frame after, as a hand on the mouse would.
    void ClickVisibleButton(TGame& Game, const std::string& Name);

    TAutopilot FPilot;
    TAutopilotRecord FRecord;
    int FLastState = -1;
    int FClickStep = 0;
    long FGreenFrame = -1;
    bool FFirstRaceDone = false;
};

} // namespace vm
