// The opponent's driving decision, its avoidance of other cars and its side of car contacts.
#include "world/enemy_car.h"

#include "engine/rounding.h"
#include "world/geometry.h"
#include "world/marker_arrow.h"
#include "world/player.h"
#include "world/race_world.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vm {

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;
constexpr double RadToDeg = 180.0 / std::numbers::pi;

TQuadOutline OutlineOf(const TCar& Car)
{
    const auto& C = Car.FCorners;
    return MakeQuadOutline(C[0].X, C[0].Y, C[1].X, C[1].Y, C[2].X, C[2].Y, C[3].X, C[3].Y);
}

// True when the axis-aligned square of half side Half centred on (Px, Py) overlaps a car's outline.
bool SquareTouches(double Px, double Py, double Half, const TQuadOutline& Car)
{
    return BoxOverlapsQuad(Px - Half, Py - Half, Px + Half, Py + Half, Car);
}

} // namespace

void TEnemyCar::Drive()
{
    bool Throttle = false, Braking = false, Left = false, Right = false;

    // The target marker on the car centre (whole-pixel halves).
    FTargetArrow->SetX(X() + static_cast<float>(Width() / 2));
    FTargetArrow->SetY(Y() + static_cast<float>(Height() / 2 - 5));

    // The target: the checkpoint moved sideways by this car's lane. The target stays in the
    // table: anything outside 1..count (or an empty course) reads checkpoint 1.
    const int N = std::min(FWorld.FCheckpointCount, TRaceWorld::MaxCheckpoints);
    if (FTarget < 1 || FTarget > std::max(N, 1))
        FTarget = 1;
    const TCheckpoint& Cp = FWorld.FCheckpoints[FTarget];
    const double Tx = Cp.X + FLaneOffset, Ty = Cp.Y;
    const double Cx = CentreX(), Cy = CentreY();

    // Steering towards the target, unless the car is level with it (within a pixel) on an axis.
    const long RTx = RoundHalfEven(Tx), RTy = RoundHalfEven(Ty);
    const bool Level = RTx == RoundHalfEven(Cx) || RTx == RoundHalfEven(Cx + 1) ||
                       RTx == RoundHalfEven(Cx - 1) || RTy == RoundHalfEven(Cy + 1) ||
                       RTy == RoundHalfEven(Cy - 1) || RTy == RoundHalfEven(Cy);
    double Ux = 1.0, Uy = 1.0;
    if (!Level)
    {
        double H = static_cast<double>(RoundHalfEven(FHeading) % 360);
        if (H < 0)
            H = FHeading + 360;
        const double Len = std::hypot(Cx - Tx, Cy - Ty);
        if (Len > 0)
        {
            Ux = (Cx - Tx) / Len;
            Uy = (Cy - Ty) / Len;
        }
        // The cross product of the heading and the direction to the target.
        const double Z = Ux * std::sin(H * DegToRad) - Uy * std::cos(H * DegToRad);
        if (Z > 0.01)
            Right = true;
        else if (Z < -0.01)
            Left = true;
    }

    // Checkpoint reached: on to the next, from the last back to the first.
    if (std::fabs(Tx - Cx) < 200 && std::fabs(Ty - Cy) < 200)
        FTarget = FTarget >= N ? 1 : FTarget + 1;

    // The direction from the car to the target. Level with the target there is none: the target
    // angle then keeps its previous value (at first the car's heading, set at creation).
    if (!Level)
    {
        const double G = std::atan(Uy / Ux) * RadToDeg;
        if (Tx > Cx)
            FTargetArrow->Angle = static_cast<float>(G);
        else if (Tx < Cx)
            FTargetArrow->Angle = static_cast<float>(Ty >= Cy ? G + 180 : G - 180);
    }

    // Throttle or brake for the angle between the previous frame's heading and the target.
    const long A = RoundHalfEven(FHeadingArrow ? FHeadingArrow->Angle : FHeading) % 360;
    const long B = RoundHalfEven(FTargetArrow->Angle) % 360;
    const long D0 = std::labs(B - A), D1 = std::labs(B + 360 - A), D2 = std::labs(B - 360 - A);
    if (D0 > 90 && D1 > 90 && D2 > 90)
    {
        // Behind: brake down to 2, then crawl on while turning.
        if (FSpeed > 2)
            Braking = true;
        else
            Throttle = true;
    }
    else if (D0 > 10 && D1 > 10 && D2 > 10 && FSpeed > 6 - 2 * std::cos(static_cast<double>(D0) * DegToRad))
        Braking = true; // a bend: 4.03 at 10 degrees off rising to 6 at 90
    else
        Throttle = true;

    // Walls ahead-left or ahead-right: steer away and slow down.
    if (FLookAhead[0].Obstacle)
    {
        Right = true;
        Left = false;
        FLookAhead[0].Obstacle = false;
        if (FSpeed > 2)
        {
            Braking = true;
            Throttle = false;
        }
    }
    if (FLookAhead[1].Obstacle)
    {
        Left = true;
        Right = false;
        FLookAhead[1].Obstacle = false;
        if (FSpeed > 2)
        {
            Braking = true;
            Throttle = false;
        }
    }

    // Other cars ahead.
    Avoid();
    if (FAvoidRight)
    {
        Right = true;
        Left = false;
    }
    if (FAvoidLeft)
    {
        Left = true;
        Right = false;
    }
    if (FBlocked && FSpeed > 2)
    {
        Braking = true;
        Throttle = false;
    }
    FAvoidRight = false;
    FAvoidLeft = false;

    // The chosen keys act.
    if (Throttle)
        Accelerate();
    if (Braking)
        Brake();
    if (Left)
        SteerLeft();
    if (Right)
        SteerRight();
}

void TEnemyCar::Avoid()
{
    // A car in the far square makes this one steer away from its side; one in the close square
    // blocks it. The travel direction decides which side the other car is on.
    auto Test = [this](const TCar& Other) {
        const TQuadOutline OtherOutline = OutlineOf(Other);
        if (SquareTouches(FLookAhead[3].X, FLookAhead[3].Y, 20, OtherOutline))
            FBlocked = true;
        if (SquareTouches(FLookAhead[2].X, FLookAhead[2].Y, 40, OtherOutline))
        {
            double Dx = 0, Dy = 0;
            for (int K = 0; K < 4; ++K)
            {
                Dx += (Other.FCorners[K].X - FCorners[K].X) / 4;
                Dy += (Other.FCorners[K].Y - FCorners[K].Y) / 4;
            }
            const double Len = std::hypot(Dx, Dy);
            const double Nx = Len > 0 ? Dx / Len : 1.0, Ny = Len > 0 ? Dy / Len : 1.0;
            const double Z = std::cos(FCourse * DegToRad) * Ny - std::sin(FCourse * DegToRad) * Nx;
            if (Z > 0)
                FAvoidLeft = true;
            if (Z < 0)
                FAvoidRight = true;
        }
    };

    // Each other opponent clears the flags first, so only the last one's result survives.
    const int Count = OpponentSlots();
    if (Count > 1)
        for (int S = 0; S < Count; ++S)
        {
            const TCar* Other = FWorld.FEnemies[S];
            if (S == FSlot || Other == nullptr || Other == this || Other->IsDead())
                continue;
            FAvoidLeft = false;
            FAvoidRight = false;
            FBlocked = false;
            Test(*Other);
        }
    // The player adds to what is left.
    if (FWorld.FPlayer)
        Test(*FWorld.FPlayer);
}

void TEnemyCar::CheckCarContacts()
{
    const int Count = OpponentSlots();
    if (Count > 1)
    {
        for (int S = 0; S < Count; ++S)
            FContact[S] = false;
        const TQuadOutline Outline = OutlineOf(*this);
        for (int S = 0; S < Count; ++S)
        {
            const TCar* Other = FWorld.FEnemies[S];
            if (S == FSlot || Other == nullptr || Other == this || Other->IsDead())
                continue;
            if (QuadsOverlap(Outline, OutlineOf(*Other)))
                FContact[S] = true;
            else
                FContactPrev[S] = false;
        }
        // A contact acts in every frame in which the cars overlap.
        for (int S = 0; S < Count; ++S)
            if (FContact[S])
            {
                HitCar(*FWorld.FEnemies[S]);
                FContactPrev[S] = true;
            }
    }

    const TPlayer* Player = FWorld.FPlayer;
    FTouchingPlayer = Player != nullptr && QuadsOverlap(OutlineOf(*this), OutlineOf(*Player));
    if (FTouchingPlayer && !Player->FProtected)
        HitCar(*Player);
}

void TEnemyCar::HitCar(const TCar& Other)
{
    // Direction from the other car to this one.
    const double Dx = CentreX() - Other.CentreX(), Dy = CentreY() - Other.CentreY();
    const double Len = std::hypot(Dx, Dy);
    const double Ux = Len > 0 ? Dx / Len : 1.0, Uy = Len > 0 ? Dy / Len : 1.0;

    // Velocities and this car's travel direction.
    const double Vx = FSpeed * std::cos(FCourse * DegToRad), Vy = FSpeed * std::sin(FCourse * DegToRad);
    const double Vox = Other.FSpeed * std::cos(Other.FCourse * DegToRad),
                 Voy = Other.FSpeed * std::sin(Other.FCourse * DegToRad);
    const double Ex = FSpeed != 0 ? Vx / FSpeed : 0.0, Ey = FSpeed != 0 ? Vy / FSpeed : 0.0;

    // Pushed away: at most 3 pixels per axis per frame of contact.
    SetX(static_cast<float>(X() + (std::fabs(Ex / 2) + 0.5) * 3 * Ux));
    SetY(static_cast<float>(Y() + (std::fabs(Ey / 2) + 0.5) * 3 * Uy));

    // A nudge in the turning sense of the two velocities. Opponents lose no speed or health.
    Nudge(Vx * Voy - Vy * Vox);
}

} // namespace vm
