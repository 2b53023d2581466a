// Screen 15: the car page, from which a run starts.
#include "screens/car_screen.h"

#include "shell/game.h"

namespace vm {

void EnterChooseCar(TGame& Game) { Game.EnterUnbuiltState(ssChooseCar); }
void ChooseCarFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveChooseCar(TGame&) {}

} // namespace vm
