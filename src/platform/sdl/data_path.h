// Where the game finds its Data/ and Sounds/ folders.
#pragma once

#include <string>

namespace vm {

// The folder next to the executable when it holds Data/, else share/velomarch beside the
// executable's folder (an install in any root), else the share folder of the configured prefix.
std::string FindDataDir();

} // namespace vm
