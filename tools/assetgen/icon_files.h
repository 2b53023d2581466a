// Writes the desktop icon at every theme size as a hicolor icon-theme folder.
#pragma once

#include <filesystem>
#include <string>

namespace vm::assetgen {

// The theme-relative file of the icon at Size: "hicolor/SIZExSIZE/apps/velomarch.png".
std::filesystem::path AppIconFile(int Size);

// Writes Dir/hicolor/NxN/apps/velomarch.png for every size of AppIconSizes, creating the folders.
// False with Error naming the file on failure.
bool WriteAppIcons(const std::filesystem::path& Dir, std::string& Error);

} // namespace vm::assetgen
