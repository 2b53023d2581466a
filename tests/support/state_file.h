// Reads the state file velomarch-headless writes at the end of a run, for the tests that check it.
#pragma once

#include <nlohmann/json.hpp>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace vm::test {

using TStateJson = nlohmann::ordered_json;

// The file at Path as JSON; a discarded value (is_discarded()) when it is missing or not JSON.
inline TStateJson ReadStateFile(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return TStateJson::parse(In, nullptr, false);
}

// The "screens" list: the frame of each change of screen and the screen state shown from then on.
inline std::vector<std::pair<long, int>> ScreensOf(const TStateJson& State)
{
    return State.at("screens").get<std::vector<std::pair<long, int>>>();
}

} // namespace vm::test
