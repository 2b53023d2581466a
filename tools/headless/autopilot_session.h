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
    int Watches = -1; // with --autopilot-watch: the times the run was watched from its pages
};

class TAutopilotSession
{
public:
    // Called once per frame before the frame routine. The game must outlive the session.
    void Frame(TGame& Game, long FrameNumber);
    // When 0 or more: on each race-over and your-score page, Replay is clicked first and the run
    // is watched at x4 for this many frames (or to the end of its recording), then left with Esc.
    long WatchFrames = -1;
    const TAutopilotRecord& Record() const { return FRecord; }

private:
    // Moves the mouse onto the first visible button of the page, presses it the next frame and
    // lets go the frame after, as a hand on the mouse would.
    // Returns true when the click is complete (the button let go).
    bool ClickVisibleButton(TGame& Game, const std::string& Name);
    // A frame while a recording is watched.
    void Watch(TGame& Game);

    TAutopilot FPilot;
    TAutopilotRecord FRecord;
    int FLastState = -1;
    int FClickStep = 0;
    long FGreenFrame = -1;
    bool FFirstRaceDone = false;
    bool FWatchedHere = false; // Replay clicked on the page that is up
    long FWatchTicks = 0;
};

} // namespace vm
