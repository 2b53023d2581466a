// The game's sound effects, synthesised as 22050 Hz 16-bit mono WAV files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vm::assetgen {

// File names (without folder) of every effect written by WriteSoundEffects.
const std::vector<std::string>& SoundEffectFiles();
// Writes every effect into SoundsDir. False with Error set on failure.
bool WriteSoundEffects(const std::filesystem::path& SoundsDir, std::string& Error);

} // namespace vm::assetgen
