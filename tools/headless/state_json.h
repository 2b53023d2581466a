// The headless runner's end-of-run report as a JSON object.
#pragma once

#include <string>

namespace vm {

class TGame;

std::string GameStateJson(const TGame& Game, long Frame);

// Quotes a string for JSON (control characters escaped, UTF-8 kept).
std::string JsonString(const std::string& Text);

} // namespace vm
