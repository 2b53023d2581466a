// Screen 6: the four help pages.
#include "screens/help_screen.h"

#include "shell/game.h"

namespace vm {

void EnterHelp(TGame& Game) { Game.EnterUnbuiltState(ssHelp); }
void HelpFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveHelp(TGame&) {}

} // namespace vm
