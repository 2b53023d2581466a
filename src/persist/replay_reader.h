// Reads a run's recording: whole, or cut short up to its last complete frame; damage is refused.
#pragma once

#include "persist/replay.h"

#include <string>

namespace vm {

// Fills Replay from a recording's bytes. A file that ends early (a crash, or a chunk cut short)
// reads up to its last complete frame with Finished false. Anything else wrong (not a recording,
// another format version, a checksum that does not match, an operation that makes no sense,
// bytes after the end record) returns false with Error saying what, in words for the player.
bool ReadReplay(const std::string& Bytes, TReplay& Replay, std::string& Error);
// The same for a file; a file that cannot be read is an error too.
bool ReadReplayFile(const std::string& Path, TReplay& Replay, std::string& Error);

} // namespace vm
