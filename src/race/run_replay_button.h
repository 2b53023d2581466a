// The Replay button of the race-over and your-score pages: the run that is up, watched from its
// start, then back to the page as the player left it.
#pragma once

namespace vm {

class TGame;
class TGuiButton;

// Adds the page's Replay button at (X, Y), hidden until the page shows its buttons. There is one
// when the run is recorded, or played back (its recording had one); otherwise null.
TGuiButton* AddReplayButton(TGame& Game, int X, int Y);
// Called first in the page's frame. A Replay asked for starts once Enter, Space and the mouse
// button are up, so that nothing the player held is left held in the run while watching. True
// when the watching began: the frame goes no further. In a playback the ask is only forgotten.
bool WatchIfAsked(TGame& Game);

} // namespace vm
