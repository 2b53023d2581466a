// Where the game finds its Data/ and Sounds/ folders.
#pragma once

#include <string>

namespace vm {

// The environment variable that names the data folder when no --data is given.
inline constexpr const char* DataDirVariable = "VELOMARCH_DATA";

// The data folder: Given (a --data option) when not empty, else $VELOMARCH_DATA when set, else the
// folder of the executable when it holds Data/, else <executable's folder>/../share/velomarch (an
// installed tree, wherever its root is), else the installed share folder of the build. A folder
// named by Given or the variable must hold Data/: else the result is empty and Error says why.
// When no folder is found, the executable's folder (the game then reports the missing files).
std::string FindDataDir(const std::string& Given, std::string& Error);

} // namespace vm
