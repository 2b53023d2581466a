// Screen 1: the first start's page that asks for the first player's name.
#pragma once

namespace vm {

class TGame;

void EnterAddPlayer(TGame& Game);
void AddPlayerFrame(TGame& Game);
void LeaveAddPlayer(TGame& Game);

} // namespace vm
