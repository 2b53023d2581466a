// The car page, from which a run starts.
#pragma once

namespace vm {

class TGame;

void EnterChooseCar(TGame& Game);
void ChooseCarFrame(TGame& Game);
void LeaveChooseCar(TGame& Game);

} // namespace vm
