// The controls page: the race's actions with their keys and pad controls, picked anew here.
#pragma once

namespace vm {

class TGame;

// Reached from the options page and back to it; leaving writes the controls file.
void EnterControls(TGame& Game);
void ControlsFrame(TGame& Game);
void LeaveControls(TGame& Game);

} // namespace vm
