// The high-score table and the question whether to clear it.
#pragma once

namespace vm {

class TGame;

void EnterHighScores(TGame& Game);
void HighScoresFrame(TGame& Game);
void LeaveHighScores(TGame& Game);
void EnterClearHighScores(TGame& Game);
void ClearHighScoresFrame(TGame& Game);
void LeaveClearHighScores(TGame& Game);

} // namespace vm
