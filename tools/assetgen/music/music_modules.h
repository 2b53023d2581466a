// The game's three music modules (menu, race, lose), composed in code and written as XM files.
#pragma once

#include <filesystem>
#include <string>

namespace vm::assetgen {

// Writes 1.xm (menu), 2.xm (race) and 3.xm (lose) into SoundsDir. False with Error set on failure.
bool WriteMusicModules(const std::filesystem::path& SoundsDir, std::string& Error);

} // namespace vm::assetgen
