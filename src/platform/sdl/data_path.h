// Where the game finds its Data/ and Sounds/ folders.
#pragma once

#include <string>

namespace vm {

// The folder next to the executable when it holds Data/, else the installed share folder.
std::string FindDataDir();

} // namespace vm
