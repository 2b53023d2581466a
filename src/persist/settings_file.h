// The settings file: options, names, the high-score table and the player profiles.
#pragma once

#include "persist/high_scores.h"
#include "persist/profiles.h"
#include "state/game_state.h"

#include <string>
#include <vector>

namespace vm {

// Writes the settings file (the game's is "Config.cfg" in the working folder) through
// WriteFileAtomically. Returns false with the reason in Error; the old file then stays whole.
// Nothing in memory changes.
bool SaveSettings(const std::string& Path, const TGameState& State, const THighScoreTable& Scores,
                  const TProfiles& Profiles, std::string& Error);

// Reads the settings file into values that hold their defaults (called once at start-up). A
// missing file changes nothing and reports nothing. A damaged value keeps the current one and
// adds one line to Problems; the rest of the file is still read. Never throws on bad content.
void LoadSettings(const std::string& Path, TGameState& State, THighScoreTable& Scores, TProfiles& Profiles,
                  std::vector<std::string>& Problems);

} // namespace vm
