// Quadrilateral tests used by every contact of the race, and the world shift.
#pragma once

#include <span>

namespace vm {

class TSprite;
class TSpriteEngine;
struct TCheckpoint;

// Angle-sum test: true when the angles seen from the point add up to at least 355 degrees.
// A point on a corner counts as inside.
bool PointInQuad(double Px, double Py, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                 double X4, double Y4);

// True as soon as a corner of A lies in B or a corner of B lies in A (corners in outline order).
bool QuadsOverlap(double Ax1, double Ay1, double Ax2, double Ay2, double Ax3, double Ay3, double Ax4,
                  double Ay4, double Bx1, double By1, double Bx2, double By2, double Bx3, double By3,
                  double Bx4, double By4);

// A quad's corners with their bounding box, for an outline tested against many others in a frame:
// most pairs are told apart by the boxes alone.
struct TQuadOutline
{
    double X[4] = {}, Y[4] = {};
    double XMin = 0.0, XMax = 0.0, YMin = 0.0, YMax = 0.0;
    double BoxSpan = 0.0; // width plus height of the bounding box
};

// Corners in outline order.
TQuadOutline MakeQuadOutline(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                             double Y4);

// The same answer as QuadsOverlap on the outlines' corners, in the same order.
bool QuadsOverlap(const TQuadOutline& A, const TQuadOutline& B);

// The same answer as QuadsOverlap of the box's corners (Left, Top), (Right, Top), (Right, Bottom),
// (Left, Bottom) with Q's; a box far from Q costs a few comparisons.
bool BoxOverlapsQuad(double Left, double Top, double Right, double Bottom, const TQuadOutline& Q);

// Moves a sprite through its setters so that its bounds and centre follow.
void OffsetSprite(TSprite& Sprite, double Dx, double Dy);

// Moves the whole race world by (Dx, Dy): the opponents, the checkpoints, then every live world
// sprite of the engine. The player's car, HUD and effects stay where they are.
void ShiftWorld(TSpriteEngine& Engine, std::span<TSprite* const> Enemies, std::span<TCheckpoint> Checkpoints,
                double Dx, double Dy);

} // namespace vm
