// Screens 10 and 28: the question whether to leave the program, and the way out.
#include "screens/exit_question_screen.h"

#include "shell/game.h"

namespace vm {

void EnterExitQuestion(TGame& Game) { Game.EnterUnbuiltState(ssExitQuestion); }
void ExitQuestionFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveExitQuestion(TGame&) {}
void EnterExit(TGame& Game) { Game.Terminate(); }

} // namespace vm
