// The question whether to leave the program, and the way out.
#pragma once

namespace vm {

class TGame;

void EnterExitQuestion(TGame& Game);
void ExitQuestionFrame(TGame& Game);
void LeaveExitQuestion(TGame& Game);
// The way out: the program ends (no exit page is configured).
void EnterExit(TGame& Game);

} // namespace vm
