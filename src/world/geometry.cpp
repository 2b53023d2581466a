// Quadrilateral tests and the world shift.
#include "world/geometry.h"

#include "engine/sprite.h"
#include "engine/sprite_engine.h"
#include "world/world_sprite.h"

#include <algorithm>
#include <cmath>

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

} // namespace

bool PointInQuad(double Px, double Py, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                 double X4, double Y4)
{
    const double Xs[4] = {X1, X2, X3, X4};
    const double Ys[4] = {Y1, Y2, Y3, Y4};
    // Far outside the quad's circumscribed circle the corners lie in a cone narrower than 2 x 87.5
    // degrees as seen from the point, so the angles below add up to less than 350: the answer is
    // false without them. This skips the arc tangents for almost every test of a frame.
    const TCircle Circle = CircleAround(Xs, Ys);
    if ((Px - Circle.X) * (Px - Circle.X) + (Py - Circle.Y) * (Py - Circle.Y) > 1.002 * Circle.Radius2)
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
        const double S = std::sqrt(std::fmax(0.0, 1.0 - C * C));
        Sum += std::atan2(S, C) * RadToDeg;
    }
    return Sum >= 355.0;
}

bool QuadsOverlap(double Ax1, double Ay1, double Ax2, double Ay2, double Ax3, double Ay3, double Ax4,
                  double Ay4, double Bx1, double By1, double Bx2, double By2, double Bx3, double By3,
                  double Bx4, double By4)
{
    const double Ax[4] = {Ax1, Ax2, Ax3, Ax4};
    const double Ay[4] = {Ay1, Ay2, Ay3, Ay4};
    const double Bx[4] = {Bx1, Bx2, Bx3, Bx4};
    const double By[4] = {By1, By2, By3, By4};
    // Most pairs a frame tests lie far apart: their boxes, widened by a margin, do not meet. The
    // corner test accepts a point outside a quad only within 1.1 % of the quad's longest side of
    // an edge (where the quad fills 177.5 degrees of the view), and a side is never longer than
    // the box's width plus height; the margin of 2 % of the larger such sum keeps every answer.
    const auto [AxMin, AxMax] = std::minmax({Ax1, Ax2, Ax3, Ax4});
    const auto [AyMin, AyMax] = std::minmax({Ay1, Ay2, Ay3, Ay4});
    const auto [BxMin, BxMax] = std::minmax({Bx1, Bx2, Bx3, Bx4});
    const auto [ByMin, ByMax] = std::minmax({By1, By2, By3, By4});
    const double Margin =
        0.02 * std::fmax(AxMax - AxMin + AyMax - AyMin, BxMax - BxMin + ByMax - ByMin) + 1e-9;
    if (AxMin > BxMax + Margin || BxMin > AxMax + Margin || AyMin > ByMax + Margin || ByMin > AyMax + Margin)
        return false;
    // Quads whose circles lie apart (with the same margin PointInQuad rejects by) have no corner
    // that either test could accept.
    const TCircle A = CircleAround(Ax, Ay), B = CircleAround(Bx, By);
    const double Reach = 1.002 * (std::sqrt(A.Radius2) + std::sqrt(B.Radius2));
    if ((A.X - B.X) * (A.X - B.X) + (A.Y - B.Y) * (A.Y - B.Y) > Reach * Reach)
        return false;
    for (int K = 0; K < 4; ++K)
        if (PointInQuad(Ax[K], Ay[K], Bx1, By1, Bx2, By2, Bx3, By3, Bx4, By4))
            return true;
    for (int K = 0; K < 4; ++K)
        if (PointInQuad(Bx[K], By[K], Ax1, Ay1, Ax2, Ay2, Ax3, Ay3, Ax4, Ay4))
            return true;
    return false;
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
