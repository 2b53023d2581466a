// Screen 1: the first start's page that asks for the first player's name.
#include "screens/add_player_screen.h"

#include "shell/game.h"

namespace vm {

void EnterAddPlayer(TGame& Game) { Game.EnterUnbuiltState(ssAddPlayer); }
void AddPlayerFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveAddPlayer(TGame&) {}

} // namespace vm
