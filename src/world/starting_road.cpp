// The road a race starts on: the straights under and behind the grid and the first course pieces.
#include "world/starting_road.h"

#include "world/race_world.h"
#include "world/road_part.h"

namespace vm {

void BuildGridRoad(TRaceWorld& World)
{
    World.FNextPiece = 0;
    for (int L = -3; L <= 10; ++L)
        new TRoadPart(World, static_cast<float>(World.FRoadX),
                      static_cast<float>(World.FRoadY + PieceLength * L), PieceStraight, false);
    World.FRoadY -= 1200;
}

void BuildFirstCoursePieces(TRaceWorld& World)
{
    for (int Position = 0; Position < 5; ++Position)
    {
        const int Kind = World.Course.CodeAt(Position);
        new TRoadPart(World, static_cast<float>(World.FRoadX), static_cast<float>(World.FRoadY), Kind, false);
        World.FRoadY -= PieceLength;
        World.FRoadX += World.Course.PieceShift(Kind);
        ++World.FNextPiece;
    }
    World.FLastRoadPart = new TRoadPart(World, static_cast<float>(World.FRoadX),
                                        static_cast<float>(World.FRoadY), World.Course.CodeAt(5), false);
    ++World.FNextPiece;
}

} // namespace vm
