// Screen 14: the track page.
#include "screens/track_screen.h"

#include "shell/game.h"

namespace vm {

void EnterChooseTrack(TGame& Game) { Game.EnterUnbuiltState(ssChooseTrack); }
void ChooseTrackFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveChooseTrack(TGame&) {}

} // namespace vm
