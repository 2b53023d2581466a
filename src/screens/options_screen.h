// Screen 7: the options page (full screen, music, volume, online name).
#pragma once

namespace vm {

class TGame;

void EnterOptions(TGame& Game);
void OptionsFrame(TGame& Game);
void LeaveOptions(TGame& Game);

} // namespace vm
