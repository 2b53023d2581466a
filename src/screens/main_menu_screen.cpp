// Screen 4: the main menu.
#include "screens/main_menu_screen.h"

#include "shell/game.h"

namespace vm {

void EnterMainMenu(TGame& Game) { Game.EnterUnbuiltState(ssMainMenu); }
void MainMenuFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveMainMenu(TGame&) {}

} // namespace vm
