// The seven road pieces: their centre line, drawn width and the asphalt, kerb and line painting.
#pragma once

#include "art/art_image.h"

namespace vm::assetgen {

// Size of every road piece picture; a piece covers 300 px of travel.
inline constexpr int RoadPieceWidth = 600;
inline constexpr int RoadPieceHeight = 300;

// The road of one piece kind (0..6) as drawn, in picture pixels (x from the left edge).
struct TRoadPieceShape
{
    double EntryOffset = 150; // road centre along the lower edge
    double ExitOffset = 150;  // road centre along the upper edge
    double EntrySlope = 0;    // sideways pixels per pixel of travel at the lower edge
    double ExitSlope = 0;     // the same at the upper edge

    // Road centre at Up pixels above the lower edge (0..300).
    double Centre(double Up) const;
    // Sideways pixels per pixel of travel there.
    double Slope(double Up) const;
};

TRoadPieceShape RoadPieceShape(int Kind);

// Horizontal half-width of the drawn road where the centre line runs at Slope: 150 on the
// straight, 184 on the 35 degree diagonal, so that the width across the road stays the same.
double RoadHalfWidth(double Slope);

// Appends r_str, r_left, r_right, r_str_right, r_str_left, r_right_str, r_left_str.
void AddRoadPieces(TArtList& Race);

} // namespace vm::assetgen
