// Watching a recording in the window: played at x1, x2 or x4, paused or a frame at a time, with a
// small panel over it, and back to the page it was started from as that page was left.
#pragma once

#include "persist/replay.h"

#include <string>

namespace vm {

class TGame;

// The keys while watching: Up or keypad + faster, Down or keypad - slower (x1, x2, x4), Enter, Space or P
// pause and go on, Right one frame (pausing first), Esc back (on its release, so nothing else sees it). A
// pad's D-pad, A and B act as the arrows, Enter and Esc.
//
// Starts watching Replay (or the recording in the file Path) from the page that is up. What the
// playback overwrites (the game state, the catalogues, the difficulty, the run's session, the
// random numbers, the pads) is kept and put back when the player leaves, and that page is
// entered again. False with the reason for the player (the reader's or the version check's),
// and nothing changed, when it cannot be played.
bool StartWatching(TGame& Game, TReplay Replay, std::string& Error);
bool StartWatchingFile(TGame& Game, const std::string& Path, std::string& Error);
// Starts watching the run that is up, as recorded so far, from a page of that run. The run's
// recording is held meanwhile. Leaving plays what is left of the recording unseen and unheard,
// so that the game is where the player left it, run and page, and the recording goes on. False
// with the reason for the player, and nothing changed, when the run's recording cannot be read.
bool StartWatchingRun(TGame& Game, std::string& Error);

// What the panel shows, for the tests and the headless state; Speed 0 when nothing is watched.
struct TWatchInfo
{
    int Speed = 0;
    bool Paused = false;
    int Frame = 0, Frames = 0;
};
TWatchInfo WatchInfo(const TGame& Game);

} // namespace vm
