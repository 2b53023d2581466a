// The race world's pictures: road pieces, ground tiles, walls, roadside decorations and lines.
#include "art/art_modules.h"
#include "art/ground_tiles.h"
#include "art/road_marks.h"
#include "art/road_pieces.h"
#include "art/roadside_desert.h"
#include "art/roadside_trees.h"
#include "art/roadside_walls.h"

namespace vm::assetgen {

void AddRoadImages(TArtList& Race)
{
    AddRoadPieces(Race);
    AddGroundTiles(Race);
    AddRoadsideTrees(Race);
    AddRoadsideDesert(Race);
    AddRoadsideWalls(Race);
    AddRoadMarks(Race);
}

} // namespace vm::assetgen
