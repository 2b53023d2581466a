// The headless runner's end-of-run report as a JSON object.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vm {

class TGame;
struct TAutopilotRecord;

// The game's state after Frame frames, the screens shown (frame of each change, screen state) and,
// with a record, how the autopilot's run went.
std::string GameStateJson(const TGame& Game, long Frame,
                          const std::vector<std::pair<long, int>>& Screens = {},
                          const TAutopilotRecord* Autopilot = nullptr);

// Quotes a string for JSON (control characters escaped, UTF-8 kept).
std::string JsonString(const std::string& Text);

} // namespace vm
