// The race screen's enter and leave routines: building one complete race from nothing and tearing it
// down again; and the course tables the build fills (checkpoints, finish line, distances).
#pragma once

namespace vm {

class TGame;
struct TRaceWorld;
struct TRaceSession;

// Builds the race from the run's difficulty values and the chosen car, and shows its screen.
void EnterRace(TGame& Game);
// Frees every sprite of the race but the mouse cursor and clears the race's references.
void LeaveRace(TGame& Game);

// Start grid: slot i at x -70 (odd i) or +70 (even i), y 100 i (+40 for even i); then the player's
// slot (FCarCount) gives FStartX/FStartY.
void FillGridSlots(TRaceSession& Race, int CarCount);
// One checkpoint in the middle of every course piece but the last, then eight straight on, from
// (FRoadX, FRoadY - 150). The course must be generated, closed and its offsets set.
void PlaceCheckpoints(TRaceWorld& World);
// Where the finish line's centre goes: 450 pixels beyond the middle of piece CourseLast - 9
// (or 600 above FRoadY on a course shorter than 10 pieces).
void FinishLinePosition(const TRaceWorld& World, double& X, double& Y);
// Entry i of FCheckpointDistance := the course distance from checkpoint 1 to i, in tenths of a pixel.
void MeasureCheckpointDistances(TRaceWorld& World);

} // namespace vm
