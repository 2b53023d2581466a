// The race screen's frame: the start lights, the race texts, wrong way and put-back, the finish
// countdown and the race's keys; and the world moves the put-back and the respawn share.
#pragma once

namespace vm {

class TGame;
class TPlayer;
struct TRaceWorld;

// Start-light ticks: the lights show until GreenTick, the race starts on it, the arrows die at
// ArrowsGoneTick and the counter then rests at ArrowsGoneTick + 1.
inline constexpr int GreenTick = 250;
inline constexpr int ArrowsGoneTick = 300;
// Frames between the player's finish and the race-over screen.
inline constexpr int FinishCountdownFrames = 150;

void RaceFrame(TGame& Game);

// The first steps of a frame of the running race (and of the wreck sequence): clear, free the
// dead, begin the scene, draw the world as it stood, then move it. True when a scene began.
bool DrawAndMoveRace(TGame& Game);
// The last steps of such a frame: the race texts, the checkpoints moved with the world, the finish
// countdown, the end of the scene. True when the countdown has entered the race-over screen.
bool EndRaceFrame(TGame& Game, bool Drawing);
// Esc opens the exit question, F1 or P the pause (enter only: the race stays). True when one did.
bool OpenOverlayByKey(TGame& Game);

// "Wrong way!" shows while the car has gone back more than 300 pixels and is moving backwards.
bool ShowsWrongWay(const TPlayer& Player);

// Moves the world so that checkpoint Number comes to the player car's top-left. Nothing happens
// without a player or for a number outside 1..FCheckpointCount.
void ShiftWorldToCheckpoint(TRaceWorld& World, int Number);
// Places the player back at the previous checkpoint, facing up and standing, protected.
void PutBack(TGame& Game);
// Counts the frames after the player's finish; true when it has entered the race-over screen.
bool FinishCountdown(TGame& Game);

} // namespace vm
