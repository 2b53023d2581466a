// Screens 8 and 9: the high-score table and the question whether to clear it.
#include "screens/high_score_screens.h"

#include "shell/game.h"

namespace vm {

void EnterHighScores(TGame& Game) { Game.EnterUnbuiltState(ssHighScores); }
void HighScoresFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveHighScores(TGame&) {}
void EnterClearHighScores(TGame& Game) { Game.EnterUnbuiltState(ssClearHighScores); }
void ClearHighScoresFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveClearHighScores(TGame&) {}

} // namespace vm
