// velomarch-headless: runs the real game with no window from a script, on a virtual clock.
#pragma once

#include "common/command_line.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vm {

struct THeadlessOptions
{
    std::uint64_t Seed = 1;
    long Frames = 0;
    std::string InputFile;
    std::vector<std::pair<long, std::string>> Shots; // frame, PNG path
    std::string StateFile;
    std::string WorkDir;
    std::string DataDir; // empty: found like the game finds it
    bool Autopilot = false;
    long AutopilotWatch = -1;   // --autopilot-watch: frames to watch at each race-over and your score
    std::string FirstRacePilot; // --first-race-pilot keys|pad: the first race driven; empty: not
    int RaceCar = -1;           // --race CAR: a run with this car starts after start-up; -1 none
    std::string ScoreUrl = VM_SCORE_URL; // --score-url: the high-score endpoint
    bool NullRenderer = false;           // --null-renderer: draw nothing (no shots), for speed runs
    bool LiveSend = false;               // --live-send: frames go on while a score is sent, as in the game
    std::string RecordFile;              // --record: where the session's run is recorded; empty: not
    std::string ReplayFile;              // --replay: the recording to play instead of a session
    std::string ReplayFolder;            // --replays: the kept runs' folder, as the game's; empty: none
};

// The program's command line; reading it fills Options, which must outlive it.
std::unique_ptr<TCommandLine> HeadlessCommandLine(THeadlessOptions& Options);

// Runs the game; returns the exit status (0 ran, 2 bad script or arguments).
int RunHeadless(const THeadlessOptions& Options);

} // namespace vm
