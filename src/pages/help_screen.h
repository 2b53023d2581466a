// The four help pages.
#pragma once

namespace vm {

class TGame;

void EnterHelp(TGame& Game);
void HelpFrame(TGame& Game);
void LeaveHelp(TGame& Game);

} // namespace vm
