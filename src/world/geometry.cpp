// Quadrilateral tests and the world shift.
#include "world/geometry.h"

#include "engine/sprite.h"
#include "engine/sprite_engine.h"
#include "world/world_sprite.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace vm {

namespace {

constexpr double RadToDeg = 57.29577951308232;

// The corners' centre and the largest squared distance of a corner from it.
struct TCircle
{
    double X, Y, Radius2;
};

TCircle CircleAround(const double (&Xs)[4], const double (&Ys)[4])
{
    TCircle Circle{(Xs[0] + Xs[1] + Xs[2] + Xs[3]) / 4, (Ys[0] + Ys[1] + Ys[2] + Ys[3]) / 4, 0.0};
    for (int K = 0; K < 4; ++K)
    {
        const double D2 = (Xs[K] - Circle.X) * (Xs[K] - Circle.X) + (Ys[K] - Circle.Y) * (Ys[K] - Circle.Y);
        if (D2 > Circle.Radius2)
            Circle.Radius2 = D2;
    }
    return Circle;
}

// std::fmax(0.0, Value) without the library call: NaN and every value up to zero give +0.
double NotBelowZero(double Value) { return Value > 0.0 ? Value : 0.0; }

// std::fmax(A, B) without the library call: a NaN gives way to the other value. Of two zeros it may
// keep the other sign than fmax; the only use adds a positive constant, which makes both the same.
double Larger(double A, double B) { return A < B || std::isnan(A) ? B : A; }

// PointInQuad for a quad whose enclosing circle (CircleAround) is already known.
bool PointInOutline(double Px, double Py, const double (&Xs)[4], const double (&Ys)[4], double CircleX,
                    double CircleY, double Radius2)
{
    // Far outside the quad's circumscribed circle the corners lie in a cone narrower than 2 x 87.5
    // degrees as seen from the point, so the angles below add up to less than 350: the answer is
    // false without them. This skips the arc tangents for almost every test of a frame.
    if ((Px - CircleX) * (Px - CircleX) + (Py - CircleY) * (Py - CircleY) > 1.002 * Radius2)
        return false;
    double Vx[4], Vy[4];
    for (int K = 0; K < 4; ++K)
    {
        const double Dx = Xs[K] - Px;
        const double Dy = Ys[K] - Py;
        const double Length = std::sqrt(Dx * Dx + Dy * Dy);
        // The point sits on this corner: the direction is undefined, and the point is inside.
        if (Length == 0.0)
            return true;
        Vx[K] = Dx / Length;
        Vy[K] = Dy / Length;
    }
    double Sum = 0.0;
    for (int K = 0; K < 4; ++K)
    {
        const int Next = (K + 1) % 4;
        const double C = Vx[K] * Vx[Next] + Vy[K] * Vy[Next];
        // Rounding can push |C| a hair above 1; the square root must not go negative.
        const double S = std::sqrt(NotBelowZero(1.0 - C * C));
        Sum += std::atan2(S, C) * RadToDeg;
    }
    return Sum >= 355.0;
}

// Most pairs a frame tests lie far apart: their boxes, widened by a margin, do not meet. The corner
// test accepts a point outside a quad only within 1.1 % of the quad's longest side of an edge (where
// the quad fills 177.5 degrees of the view), and a side is never longer than the box's width plus
// height; the margin of 2 % of the larger such sum keeps every answer.
double BoxMargin(double SpanA, double SpanB) { return 0.02 * Larger(SpanA, SpanB) + 1e-9; }

bool BoxesApart(const TQuadOutline& A, const TQuadOutline& B)
{
    const double Margin = BoxMargin(A.BoxSpan, B.BoxSpan);
    return A.XMin > B.XMax + Margin || B.XMin > A.XMax + Margin || A.YMin > B.YMax + Margin ||
           B.YMin > A.YMax + Margin;
}

// The rest of the overlap test once the boxes meet.
bool CornersOverlap(const TQuadOutline& A, const TQuadOutline& B)
{
    // Quads whose circles lie apart (with the same margin PointInQuad rejects by) have no corner
    // that either test could accept.
    const TCircle CircleA = CircleAround(A.X, A.Y), CircleB = CircleAround(B.X, B.Y);
    const double Reach = 1.002 * (std::sqrt(CircleA.Radius2) + std::sqrt(CircleB.Radius2));
    if ((CircleA.X - CircleB.X) * (CircleA.X - CircleB.X) +
            (CircleA.Y - CircleB.Y) * (CircleA.Y - CircleB.Y) >
        Reach * Reach)
        return false;
    for (int K = 0; K < 4; ++K)
        if (PointInOutline(A.X[K], A.Y[K], B.X, B.Y, CircleB.X, CircleB.Y, CircleB.Radius2))
            return true;
    for (int K = 0; K < 4; ++K)
        if (PointInOutline(B.X[K], B.Y[K], A.X, A.Y, CircleA.X, CircleA.Y, CircleA.Radius2))
            return true;
    return false;
}

} // namespace

bool PointInQuad(double Px, double Py, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                 double X4, double Y4)
{
    const double Xs[4] = {X1, X2, X3, X4};
    const double Ys[4] = {Y1, Y2, Y3, Y4};
    const TCircle Circle = CircleAround(Xs, Ys);
    return PointInOutline(Px, Py, Xs, Ys, Circle.X, Circle.Y, Circle.Radius2);
}

bool QuadsOverlap(double Ax1, double Ay1, double Ax2, double Ay2, double Ax3, double Ay3, double Ax4,
                  double Ay4, double Bx1, double By1, double Bx2, double By2, double Bx3, double By3,
                  double Bx4, double By4)
{
    return QuadsOverlap(MakeQuadOutline(Ax1, Ay1, Ax2, Ay2, Ax3, Ay3, Ax4, Ay4),
                        MakeQuadOutline(Bx1, By1, Bx2, By2, Bx3, By3, Bx4, By4));
}

TQuadOutline MakeQuadOutline(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                             double Y4)
{
    TQuadOutline Q;
    Q.X[0] = X1, Q.X[1] = X2, Q.X[2] = X3, Q.X[3] = X4;
    Q.Y[0] = Y1, Q.Y[1] = Y2, Q.Y[2] = Y3, Q.Y[3] = Y4;
    std::tie(Q.XMin, Q.XMax) = std::minmax({X1, X2, X3, X4});
    std::tie(Q.YMin, Q.YMax) = std::minmax({Y1, Y2, Y3, Y4});
    Q.BoxSpan = Q.XMax - Q.XMin + Q.YMax - Q.YMin;
    return Q;
}

bool QuadsOverlap(const TQuadOutline& A, const TQuadOutline& B)
{
    return !BoxesApart(A, B) && CornersOverlap(A, B);
}

bool BoxOverlapsQuad(double Left, double Top, double Right, double Bottom, const TQuadOutline& Q)
{
    // For a box the greater of two (not NaN) sides is its right or bottom one, so the rejection by
    // boxes needs no outline of it.
    if (Left <= Right && Top <= Bottom)
    {
        const double Margin = BoxMargin(Right - Left + Bottom - Top, Q.BoxSpan);
        if (Left > Q.XMax + Margin || Q.XMin > Right + Margin || Top > Q.YMax + Margin ||
            Q.YMin > Bottom + Margin)
            return false;
    }
    return QuadsOverlap(MakeQuadOutline(Left, Top, Right, Top, Right, Bottom, Left, Bottom), Q);
}

void OffsetSprite(TSprite& Sprite, double Dx, double Dy)
{
    Sprite.SetX(static_cast<float>(Sprite.X() + Dx));
    Sprite.SetY(static_cast<float>(Sprite.Y() + Dy));
}

void ShiftWorld(TSpriteEngine& Engine, std::span<TSprite* const> Enemies, std::span<TCheckpoint> Checkpoints,
                double Dx, double Dy)
{
    for (TSprite* Enemy : Enemies)
        if (Enemy != nullptr)
            OffsetSprite(*Enemy, Dx, Dy);
    for (TCheckpoint& Point : Checkpoints)
    {
        Point.X += Dx;
        Point.Y += Dy;
    }
    for (int Index = 0; Index < Engine.Count(); ++Index)
    {
        TSprite* Sprite = Engine.Sprites(Index);
        if (Sprite != nullptr && dynamic_cast<TWorldSprite*>(Sprite) != nullptr)
        {
            Sprite->SetX(static_cast<float>(Sprite->X() + Dx));
            Sprite->SetY(static_cast<float>(Sprite->Y() + Dy));
        }
    }
}

} // namespace vm
