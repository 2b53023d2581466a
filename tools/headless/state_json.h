// The headless runner's end-of-run report as a JSON object.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vm {

class TGame;
struct TAutopilotRecord;

// The game's state after Frame frames, the screens shown (frame of each change, screen state),
// with a record, how the autopilot's run went, and with PadRumbles of 0 or more (a run with
// scripted pads), the pads connected and the rumbles they were given. Speeds are rounded to 3 decimals; bytes
// of a name that are not UTF-8 are written as U+FFFD.
// With RunJson (from RunStateJson), it is added as "run".
std::string GameStateJson(const TGame& Game, long Frame,
                          const std::vector<std::pair<long, int>>& Screens = {},
                          const TAutopilotRecord* Autopilot = nullptr, int PadRumbles = -1,
                          const std::string& RunJson = {});

// What a run has decided after RunFrames frames of it, as a JSON object: the run's values, the
// race and every car in it, the random state, the difficulty and the progress. A recording's
// session and its playback make the same text at the same point of the run.
std::string RunStateJson(const TGame& Game, long RunFrames);

} // namespace vm
