// The road a race starts on: the straights under and behind the grid and the first course pieces.
#pragma once

namespace vm {

struct TRaceWorld;

// Fourteen straights without pickups at (FRoadX, FRoadY + 300 l) for l = -3..10, from three pieces
// ahead of the start line to ten behind it; then FRoadY moves up by 1200, to the first free place
// ahead of them, and FNextPiece := 0. The course must be generated, closed and its offsets set.
void BuildGridRoad(TRaceWorld& World);

// Course pieces 0..4 one after the other from (FRoadX, FRoadY), each moving FRoadY up by 300 and
// FRoadX by its shift; then piece 5 at the resulting place, which becomes FLastRoadPart; FNextPiece
// ends at 6. None gets a pickup. Called after the checkpoints and the finish line are placed.
void BuildFirstCoursePieces(TRaceWorld& World);

} // namespace vm
