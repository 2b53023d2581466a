// Screen 7: the options page (full screen, music, volume, online name).
#include "screens/options_screen.h"

#include "shell/game.h"

namespace vm {

void EnterOptions(TGame& Game) { Game.EnterUnbuiltState(ssOptions); }
void OptionsFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveOptions(TGame&) {}

} // namespace vm
