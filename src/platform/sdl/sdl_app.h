// Runs the game in a window until it closes.
#pragma once

#include "platform/sdl/game_options.h"

namespace vm {

// Opens the window, runs the frame loop, closes down; returns the process exit code (1 when no
// window can be opened, 2 for a data or working folder that cannot be used).
int RunGame(const TGameOptions& Options);

} // namespace vm
