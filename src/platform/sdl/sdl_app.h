// Runs the game in a window until it closes.
#pragma once

namespace vm {

// Opens the window, runs the frame loop, closes down; returns the process exit code.
int RunGame();

} // namespace vm
