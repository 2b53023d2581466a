// Quadrilateral tests and the world shift.
#include "engine/sprite_engine.h"
#include "world/geometry.h"
#include "world/world_sprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vm {
namespace {

struct TQuad
{
    double X[4], Y[4];
};

// A rectangle of half sizes (Hw, Hh) centred on (Cx, Cy), turned by Degrees.
TQuad Rect(double Cx, double Cy, double Hw, double Hh, double Degrees = 0)
{
    const double A = Degrees * 3.14159265358979323846 / 180, C = std::cos(A), S = std::sin(A);
    const double Lx[4] = {-Hw, Hw, Hw, -Hw}, Ly[4] = {-Hh, -Hh, Hh, Hh};
    TQuad Q;
    for (int K = 0; K < 4; ++K)
    {
        Q.X[K] = Cx + C * Lx[K] - S * Ly[K];
        Q.Y[K] = Cy + S * Lx[K] + C * Ly[K];
    }
    return Q;
}

bool In(double Px, double Py, const TQuad& Q)
{
    return PointInQuad(Px, Py, Q.X[0], Q.Y[0], Q.X[1], Q.Y[1], Q.X[2], Q.Y[2], Q.X[3], Q.Y[3]);
}

bool Overlap(const TQuad& A, const TQuad& B)
{
    return QuadsOverlap(A.X[0], A.Y[0], A.X[1], A.Y[1], A.X[2], A.Y[2], A.X[3], A.Y[3], B.X[0], B.Y[0],
                        B.X[1], B.Y[1], B.X[2], B.Y[2], B.X[3], B.Y[3]);
}

TEST(PointInQuad, InsideOutsideAndTheCornerCase)
{
    const TQuad Car = Rect(100, 100, 20, 35, 30);
    EXPECT_TRUE(In(100, 100, Car));
    EXPECT_TRUE(In(Car.X[2] - 0.5 * (Car.X[2] - 100), Car.Y[2] - 0.5 * (Car.Y[2] - 100), Car));
    EXPECT_FALSE(In(200, 100, Car));
    EXPECT_FALSE(In(100, 140, Rect(100, 100, 20, 35))); // just below the outline
    // On a corner: the direction to that corner is undefined; the point counts as inside.
    for (int K = 0; K < 4; ++K)
        EXPECT_TRUE(In(Car.X[K], Car.Y[K], Car));
    // Either winding of the outline gives the same answer.
    const TQuad R = Rect(0, 0, 10, 10);
    EXPECT_TRUE(PointInQuad(3, 4, R.X[3], R.Y[3], R.X[2], R.Y[2], R.X[1], R.Y[1], R.X[0], R.Y[0]));
    EXPECT_FALSE(PointInQuad(13, 4, R.X[3], R.Y[3], R.X[2], R.Y[2], R.X[1], R.Y[1], R.X[0], R.Y[0]));
}

TEST(PointInQuad, TheThresholdIs355Degrees)
{
    // Just outside the middle of a long edge the angle sum is close to 360 and still counts.
    const TQuad Wide = Rect(0, 0, 100, 10);
    EXPECT_TRUE(In(0, 10.2, Wide));
    EXPECT_FALSE(In(0, 30, Wide));
}

TEST(QuadsOverlap, SymmetricIdenticalAndCrossing)
{
    const TQuad A = Rect(0, 0, 20, 35);
    const TQuad B = Rect(30, 10, 20, 35, 45);
    const TQuad Far = Rect(300, 0, 20, 35);
    EXPECT_EQ(Overlap(A, B), Overlap(B, A));
    EXPECT_TRUE(Overlap(A, B));
    EXPECT_FALSE(Overlap(A, Far));
    EXPECT_FALSE(Overlap(Far, A));
    EXPECT_TRUE(Overlap(A, A));
    // A plus sign: no corner of either lies in the other, so they do not count as overlapping.
    EXPECT_FALSE(Overlap(Rect(0, 0, 50, 5), Rect(0, 0, 5, 50)));
    // One inside the other.
    EXPECT_TRUE(Overlap(Rect(0, 0, 5, 5), Rect(0, 0, 50, 50)));
}

class TRock : public TWorldSprite
{
public:
    using TWorldSprite::TWorldSprite;
};

TEST(ShiftWorld, MovesTheWorldAndNothingElse)
{
    TSpriteEngine Engine;
    auto* Rock = new TRock(Engine);
    Rock->SetX(10);
    Rock->SetY(20);
    auto* Road = new TRock(Engine);
    Road->SetX(-300);
    Road->SetY(450);
    auto* Player = new TSprite(Engine); // the player's car and the HUD are plain sprites here
    Player->SetX(380);
    Player->SetY(400);
    auto* Enemy = new TSprite(Engine);
    Enemy->SetX(5);
    Enemy->SetY(6);
    std::vector<TSprite*> Enemies{Enemy, nullptr};
    std::vector<TCheckpoint> Checkpoints{{1, 2, 7}, {3, 4, 8}};

    ShiftWorld(Engine, Enemies, Checkpoints, 0, 0);
    EXPECT_FLOAT_EQ(Rock->X(), 10);
    EXPECT_FLOAT_EQ(Enemy->Y(), 6);

    ShiftWorld(Engine, Enemies, Checkpoints, 2.5, -7);
    EXPECT_FLOAT_EQ(Rock->X(), 12.5f);
    EXPECT_FLOAT_EQ(Rock->Y(), 13);
    EXPECT_FLOAT_EQ(Rock->CenterX(), 12.5f + 5);
    EXPECT_EQ(Rock->BoundsRect().Left, 13); // rounded half away from zero
    EXPECT_FLOAT_EQ(Road->X() - Rock->X(), -310);
    EXPECT_FLOAT_EQ(Road->Y() - Rock->Y(), 430);
    EXPECT_FLOAT_EQ(Enemy->X(), 7.5f);
    EXPECT_FLOAT_EQ(Enemy->Y(), -1);
    EXPECT_FLOAT_EQ(Player->X(), 380);
    EXPECT_FLOAT_EQ(Player->Y(), 400);
    EXPECT_DOUBLE_EQ(Checkpoints[1].X, 5.5);
    EXPECT_DOUBLE_EQ(Checkpoints[1].Y, -3);
    EXPECT_EQ(Checkpoints[1].Number, 8);
}

// The angle sum of the corner directions as seen from the point, worked out in full: the
// reference the quick rejection far from the quad must always agree with.
bool InsideByAngleSum(double Px, double Py, const double (&Xs)[4], const double (&Ys)[4])
{
    double Sum = 0.0;
    for (int K = 0; K < 4; ++K)
    {
        const int Next = (K + 1) % 4;
        const double Ax = Xs[K] - Px, Ay = Ys[K] - Py, Bx = Xs[Next] - Px, By = Ys[Next] - Py;
        if ((Ax == 0 && Ay == 0) || (Bx == 0 && By == 0))
            return true;
        Sum += std::abs(std::atan2(Ax * By - Ay * Bx, Ax * Bx + Ay * By)) * 180 / 3.14159265358979323846;
    }
    return Sum >= 355.0;
}

TEST(PointInQuad, QuickRejectionNeverChangesAnAnswer)
{
    // A long road edge (where the 355-degree rule lets points a little outside count), a turned
    // wall and a small square, sampled on a grid that runs well past each of them.
    const double Quads[3][8] = {{0, 0, 0, 300, 40, 300, 40, 0},
                                {100, 100, 180, 160, 160, 190, 80, 130},
                                {10, 10, 14, 10, 14, 14, 10, 14}};
    int Inside = 0, Checked = 0;
    for (const auto& Q : Quads)
    {
        const double Xs[4] = {Q[0], Q[2], Q[4], Q[6]}, Ys[4] = {Q[1], Q[3], Q[5], Q[7]};
        for (double Py = -60; Py <= 360; Py += 1.5)
            for (double Px = -60; Px <= 240; Px += 1.5)
            {
                const bool Expected = InsideByAngleSum(Px, Py, Xs, Ys);
                ASSERT_EQ(PointInQuad(Px, Py, Q[0], Q[1], Q[2], Q[3], Q[4], Q[5], Q[6], Q[7]), Expected)
                    << Px << ", " << Py;
                Inside += Expected;
                ++Checked;
            }
    }
    EXPECT_GT(Inside, 1000);
    EXPECT_GT(Checked, 150000);
}

TEST(QuadsOverlap, QuickRejectionNeverChangesAnAnswer)
{
    // Turned rectangles of car and wall sizes at many distances and angles from a fixed wall.
    const double Wall[8] = {488, 325, 512, 325, 512, 475, 488, 475};
    const double WallXs[4] = {Wall[0], Wall[2], Wall[4], Wall[6]},
                 WallYs[4] = {Wall[1], Wall[3], Wall[5], Wall[7]};
    int Overlaps = 0, Checked = 0;
    for (double Angle = 0; Angle < 360; Angle += 7.5)
        for (double Cy = 250; Cy <= 550; Cy += 6)
            for (double Cx = 420; Cx <= 580; Cx += 4)
            {
                const double C = std::cos(Angle * 3.14159265358979323846 / 180);
                const double S = std::sin(Angle * 3.14159265358979323846 / 180);
                double Xs[4], Ys[4];
                const double Hx[4] = {-20, 20, 20, -20}, Hy[4] = {-35, -35, 35, 35};
                for (int K = 0; K < 4; ++K)
                {
                    Xs[K] = Cx + Hx[K] * C - Hy[K] * S;
                    Ys[K] = Cy + Hx[K] * S + Hy[K] * C;
                }
                bool Expected = false;
                for (int K = 0; K < 4; ++K)
                    Expected = Expected || InsideByAngleSum(Xs[K], Ys[K], WallXs, WallYs) ||
                               InsideByAngleSum(WallXs[K], WallYs[K], Xs, Ys);
                ASSERT_EQ(QuadsOverlap(Xs[0], Ys[0], Xs[1], Ys[1], Xs[2], Ys[2], Xs[3], Ys[3], Wall[0],
                                       Wall[1], Wall[2], Wall[3], Wall[4], Wall[5], Wall[6], Wall[7]),
                          Expected)
                    << Cx << ", " << Cy << " at " << Angle;
                Overlaps += Expected;
                ++Checked;
            }
    EXPECT_GT(Overlaps, 1000);
    EXPECT_GT(Checked, 50000);
}

TEST(QuadsOverlap, BoxRejectionKeepsTheBandOutsideALongEdge)
{
    // Just outside the long edge of a road-side strip the corner test still counts a point as
    // inside; a small square slid towards that edge in tenth-pixel steps must get the same answer
    // from the quick tests as from the full angle sums.
    const double Edge[8] = {0, 0, 40, 0, 40, 300, 0, 300};
    const double EdgeXs[4] = {Edge[0], Edge[2], Edge[4], Edge[6]},
                 EdgeYs[4] = {Edge[1], Edge[3], Edge[5], Edge[7]};
    int Overlaps = 0, OutsideButCounted = 0;
    for (double Cy = -10; Cy <= 310; Cy += 20)
        for (double Left = 38; Left <= 50; Left += 0.1)
        {
            const double Xs[4] = {Left, Left + 4, Left + 4, Left}, Ys[4] = {Cy, Cy, Cy + 4, Cy + 4};
            bool Expected = false;
            for (int K = 0; K < 4; ++K)
                Expected = Expected || InsideByAngleSum(Xs[K], Ys[K], EdgeXs, EdgeYs) ||
                           InsideByAngleSum(EdgeXs[K], EdgeYs[K], Xs, Ys);
            ASSERT_EQ(QuadsOverlap(Xs[0], Ys[0], Xs[1], Ys[1], Xs[2], Ys[2], Xs[3], Ys[3], Edge[0], Edge[1],
                                   Edge[2], Edge[3], Edge[4], Edge[5], Edge[6], Edge[7]),
                      Expected)
                << Left << ", " << Cy;
            Overlaps += Expected;
            OutsideButCounted += Expected && Left > 40.5;
        }
    EXPECT_GT(Overlaps, 100);
    EXPECT_GT(OutsideButCounted, 10); // the band exists, so the test can catch a margin too small
}

// Whether some corner of one quad lies in the other, by the full angle sums.
bool OverlapByAngleSum(const double (&Ax)[4], const double (&Ay)[4], const double (&Bx)[4],
                       const double (&By)[4])
{
    for (int K = 0; K < 4; ++K)
        if (InsideByAngleSum(Ax[K], Ay[K], Bx, By) || InsideByAngleSum(Bx[K], By[K], Ax, Ay))
            return true;
    return false;
}

TEST(QuadsOverlap, OutlinesAndBoxesGiveTheFullAnswer)
{
    // Squares of sensor, probe and look-ahead sizes (and boxes given right to left or bottom to
    // top) slid in small steps across a turned wall and along a long road edge, from far outside
    // through touching to inside: the prepared outlines and the box test answer as the angle sums.
    const double Targets[2][8] = {{488, 325, 512, 318, 520, 468, 496, 475}, {0, 0, 40, 0, 40, 300, 0, 300}};
    int Overlaps = 0, Checked = 0;
    for (const auto& T : Targets)
    {
        const double Tx[4] = {T[0], T[2], T[4], T[6]}, Ty[4] = {T[1], T[3], T[5], T[7]};
        const TQuadOutline Target = MakeQuadOutline(T[0], T[1], T[2], T[3], T[4], T[5], T[6], T[7]);
        for (const double Half : {2.0, 20.0, 40.0})
            for (double Cy = Ty[0] - 120; Cy <= Ty[2] + 120; Cy += 7.25)
                for (double Cx = Tx[0] - 100; Cx <= Tx[2] + 100; Cx += 0.75)
                {
                    const double L = Cx - Half, Tp = Cy - Half, R = Cx + Half, B = Cy + Half;
                    const double Sx[4] = {L, R, R, L}, Sy[4] = {Tp, Tp, B, B};
                    const bool Expected = OverlapByAngleSum(Sx, Sy, Tx, Ty);
                    const TQuadOutline Square = MakeQuadOutline(L, Tp, R, Tp, R, B, L, B);
                    ASSERT_EQ(BoxOverlapsQuad(L, Tp, R, B, Target), Expected)
                        << Cx << ", " << Cy << " " << Half;
                    ASSERT_EQ(QuadsOverlap(Square, Target), Expected) << Cx << ", " << Cy << " " << Half;
                    ASSERT_EQ(QuadsOverlap(Target, Square), Expected) << Cx << ", " << Cy << " " << Half;
                    // The same box named from its other corners.
                    const double Rx[4] = {R, L, L, R}, Ry[4] = {B, B, Tp, Tp};
                    ASSERT_EQ(BoxOverlapsQuad(R, B, L, Tp, Target), OverlapByAngleSum(Rx, Ry, Tx, Ty))
                        << Cx << ", " << Cy << " " << Half;
                    Overlaps += Expected;
                    ++Checked;
                }
    }
    EXPECT_GT(Overlaps, 10000);
    EXPECT_GT(Checked, 100000);
}

TEST(QuadsOverlap, BoxesThatTouchOrAreNotNumbers)
{
    const TQuadOutline Wall = MakeQuadOutline(0, 0, 10, 0, 10, 10, 0, 10);
    // Edges that meet exactly: a shared corner counts, as it does for the corner test.
    EXPECT_TRUE(BoxOverlapsQuad(10, 10, 20, 20, Wall));
    EXPECT_TRUE(QuadsOverlap(10, 10, 20, 10, 20, 20, 10, 20, 0, 0, 10, 0, 10, 10, 0, 10));
    // A box of no size on the wall's corner, and one just apart.
    EXPECT_TRUE(BoxOverlapsQuad(0, 0, 0, 0, Wall));
    EXPECT_FALSE(BoxOverlapsQuad(30, 30, 31, 31, Wall));
    // A side that is not a number leaves the box's other corners to the corner test: (5, 0) and
    // (5, 5) lie on and in the wall, the corners of a box with both sides not numbers nowhere.
    const double NaN = std::nan("");
    EXPECT_TRUE(BoxOverlapsQuad(NaN, 0, 5, 5, Wall));
    EXPECT_TRUE(QuadsOverlap(NaN, 0, 5, 0, 5, 5, NaN, 5, 0, 0, 10, 0, 10, 10, 0, 10));
    EXPECT_FALSE(BoxOverlapsQuad(NaN, 0, NaN, 5, Wall));
    EXPECT_FALSE(BoxOverlapsQuad(0, NaN, 5, NaN, Wall));
    EXPECT_FALSE(QuadsOverlap(MakeQuadOutline(NaN, NaN, NaN, NaN, NaN, NaN, NaN, NaN), Wall));
}

} // namespace
} // namespace vm
