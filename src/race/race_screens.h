// The screens laid over a race (exit question, pause, wreck, time's up, game over, race over,
// your score, send score) and what they share. The race's sprites stay alive under all of them.
#pragma once

#include <string>

namespace vm {

class TGame;

// Shared by the overlays.
// Draws the race picture Key with its top-left at (X, Y), unturned, white, with Alpha (0..255).
void DrawRaceImage(TGame& Game, const std::string& Key, float X, float Y, int Alpha);
// Moves the cursor, clears, begins the scene and draws the frozen race and the GUI; false when no
// scene began.
bool BeginFrozenFrame(TGame& Game);
// Draws the cursor on top, then ends the scene.
void EndOverlayFrame(TGame& Game);
// The overlay picture (race pictures, Z 2000) becomes FGameMenuScreen; a widget list "GUI2" is made.
void ShowOverlay(TGame& Game, const std::string& Name, const std::string& ImageKey, float X, float Y);
// Frees the overlay picture and the widget list (what every overlay's leave routine does).
void FreeOverlay(TGame& Game);
// Back to the running race without rebuilding it: the clock runs again if the player drives.
void ResumeRace(TGame& Game);

// In-race exit question (0).
void EnterRaceExitQuestion(TGame& Game);
void RaceExitQuestionFrame(TGame& Game);
void LeaveRaceExitQuestion(TGame& Game);
// Ends the run from the exit question: back to the main menu, no score entered.
void QuitRace(TGame& Game);

// Pause (20).
void EnterPause(TGame& Game);
void PauseFrame(TGame& Game);
void LeavePause(TGame& Game);

// Wreck sequence (27); it has no leave routine.
void EnterWreck(TGame& Game);
void WreckFrame(TGame& Game);
// Number of the checkpoint nearest to (X, Y); the lower number on equal distances, 1 when none
// is within 1 000 000 pixels or there is none.
int NearestCheckpoint(const struct TRaceWorld& World, double X, double Y);

// Time's up (24) and game over (13): 200 frames over the frozen race, then the final score.
void EnterTimesUp(TGame& Game);
void EnterGameOver(TGame& Game);
void RunEndFrame(TGame& Game);
void LeaveRunEnd(TGame& Game);
// Game complete (19): nothing in the game leads here; over the frozen race for 550 frames, then
// game over.
void EnterGameComplete(TGame& Game);
void GameCompleteFrame(TGame& Game);

// Race over (16) with the bonus tally, and the step to the next race.
void EnterRaceOver(TGame& Game);
void RaceOverFrame(TGame& Game);
void LeaveRaceOver(TGame& Game);
void NextRace(TGame& Game);

// Your score (25) and send score (26). "No" ends the run; "yes" starts sending the score, the page
// shows it is on its way while the frames go on, and the run ends when the outcome is in (then the
// player is told of a failure) or when Esc cancels the send.
void EnterYourScore(TGame& Game);
void YourScoreFrame(TGame& Game);
void EnterSendScore(TGame& Game);
void SendScoreFrame(TGame& Game);
void LeaveFinalScore(TGame& Game);
// Leaving the send page stops a send still in flight.
void LeaveSendScore(TGame& Game);
// The answer "yes": the score goes to the online table on a worker thread.
void StartSendingScore(TGame& Game);
// Ends the run: menu music, the page and the race go, the score enters the local table, then the
// high scores (when it entered) or the main menu.
void EndGame(TGame& Game);

} // namespace vm
