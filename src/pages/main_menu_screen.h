// The main menu.
#pragma once

namespace vm {

class TGame;

void EnterMainMenu(TGame& Game);
void MainMenuFrame(TGame& Game);
void LeaveMainMenu(TGame& Game);

} // namespace vm
