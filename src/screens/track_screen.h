// Screen 14: the track page.
#pragma once

namespace vm {

class TGame;

void EnterChooseTrack(TGame& Game);
void ChooseTrackFrame(TGame& Game);
void LeaveChooseTrack(TGame& Game);

} // namespace vm
