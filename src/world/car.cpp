// The car model: construction, handling values, control steps and the collision outline.
#include "world/car.h"

#include "engine/image_list.h"
#include "state/game_state.h"
#include "world/car_shadow.h"
#include "world/catalogue.h"
#include "world/ground_point.h"
#include "world/marker_arrow.h"
#include "world/race_world.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vm {

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;
constexpr double RadToDeg = 180.0 / std::numbers::pi;

// The menu and game lists key the same car differently.
const char* CarImageKey(int CarIndex, bool FromMenu)
{
    static const char* const MenuKeys[] = {"car1", "car2", "car3", "car4", "car5"};
    static const char* const GameKeys[] = {"car1", "car4", "car5", "car2", "car3"};
    if (CarIndex < 0 || CarIndex > 4)
        return nullptr;
    return FromMenu ? MenuKeys[CarIndex] : GameKeys[CarIndex];
}

} // namespace

TCourseFix MeasureCourseProgress(const TRaceWorld& World, double Cx, double Cy)
{
    TCourseFix Fix;
    // The table holds checkpoints 1..MaxCheckpoints; a larger count is read as the table's end.
    const int N = std::min(World.FCheckpointCount, TRaceWorld::MaxCheckpoints);
    if (N < 1)
        return Fix;
    const auto& Cp = World.FCheckpoints;

    // Squared distances order the checkpoints as the distances do, without a root for each.
    int Nearest = 1;
    double Best = 6000000.0 * 6000000.0;
    for (int I = 1; I <= N; ++I)
    {
        const double Dx = Cp[I].X - Cx, Dy = Cp[I].Y - Cy;
        const double D2 = Dx * Dx + Dy * Dy;
        if (D2 < Best)
        {
            Best = D2;
            Nearest = I;
        }
    }
    const TCheckpoint& P = Cp[Nearest];
    const TCheckpoint& Q = Cp[Nearest < N ? Nearest + 1 : 1];
    Fix.Nearest = Nearest;
    Fix.NearX = P.X;
    Fix.NearY = P.Y;
    Fix.NextX = Q.X;
    Fix.NextY = Q.Y;

    auto Between = [](double V, double A, double B) { return V >= std::min(A, B) && V <= std::max(A, B); };
    double Fx, Fy, W;
    if (std::fabs(Q.X - P.X) < 0.01)
    {
        Fx = P.X;
        Fy = Cy;
        W = Between(Cy, P.Y, Q.Y) ? 1.0 : -1.0;
    }
    else if (std::fabs(Q.Y - P.Y) < 0.01)
    {
        Fx = Cx;
        Fy = P.Y;
        W = Between(Cx, P.X, Q.X) ? 1.0 : -1.0;
    }
    else
    {
        // Crossing of the line P-Q (slope M) with the perpendicular through C (slope K).
        const double M = (Q.Y - P.Y) / (Q.X - P.X);
        const double K = (P.X - Q.X) / (Q.Y - P.Y);
        Fx = (P.Y + K * Cx - M * P.X - Cy) / (K - M);
        Fy = P.Y + M * (Fx - P.X);
        W = Between(Fx, P.X, Q.X) && Between(Fy, P.Y, Q.Y) ? 1.0 : -1.0;
    }
    Fix.Progress = std::hypot(Fx - P.X, Fy - P.Y) * W / 10.0 + World.FCheckpointDistance[Nearest];
    return Fix;
}

TCar::TCar(TRaceWorld& World, double X, double Y, int CarIndex, const std::string& Name, double Heading,
           int UseMenuImages, int Pattern)
    : TSprite(World.Engine), FWorld(World)
{
    // Health; the index LoadCarStats reads.
    Health = 100;
    FCarIndex = CarIndex;
    FUseMenuImages = UseMenuImages != 0;

    // Image and size from its tile.
    if (const char* Key = CarImageKey(CarIndex, FUseMenuImages))
        SetImage((FUseMenuImages ? World.MenuImages : World.GameImages).Find(Key));
    const double W = Width(), H = Height();

    // Where the rear-wheel smoke appears.
    FSmokeRadius = std::sqrt((0.3 * H) * (0.3 * H) + (0.5 * W) * (0.5 * W)) * 2.0 / 3.0 - 5.0;
    const double T = std::atan(0.185 * H / W) * RadToDeg;
    FSmokeAngleA = 360.0 - T;
    FSmokeAngleB = 180.0 + T;

    // Name, paint pattern, and no smoke yet.
    SetName(Name);
    SetPatternIndex(Pattern);
    FSmokeTicks = 0;

    // (X, Y) is the centre.
    SetX(static_cast<float>(X - W / 2.0));
    SetY(static_cast<float>(Y - H / 2.0));

    // No spin; the car turns about its pivot, 0.3 of the way down the tile.
    FSpin = 0.0;
    FSpinDecay = 1.0;
    RotCenterX = 0.5f;
    RotCenterY = 0.3f;

    // Outline: corners 0 and 3 at the front of the pivot (top of the tile), 1 and 2 behind.
    const double Front = std::sqrt((W / 2.0 - 3.0) * (W / 2.0 - 3.0) + (0.3 * H - 3.0) * (0.3 * H - 3.0));
    const double Rear = std::sqrt((W / 2.0 - 3.0) * (W / 2.0 - 3.0) + (0.7 * H - 3.0) * (0.7 * H - 3.0));
    const double A = std::atan(0.5 * W / (0.3 * H)) * RadToDeg;
    const double B = std::atan(0.5 * W / (0.7 * H)) * RadToDeg;
    FCornerAngles = {270.0 - A, 90.0 + B, 90.0 - B, 270.0 + A};
    const double Radii[4] = {Front, Rear, Rear, Front};
    const double Left = this->X() + 2.0, Top = this->Y() + 2.0;
    const double Right = this->X() + W - 2.0, Bottom = this->Y() + H - 2.0;
    const double Cx[4] = {Left, Left, Right, Right}, Cy[4] = {Top, Bottom, Bottom, Top};
    for (int K = 0; K < 4; ++K)
        FCorners[K] = {Cx[K], Cy[K], K, Radii[K]};

    // Layer, the catalogue's handling values, and no skid.
    SetZ(50);
    LoadCarStats();
    FSkidding = false;

    // Hidden marker arrows for the two directions.
    const int ArrowKind = FUseMenuImages ? 1 : 0;
    FHeadingArrow = new TArrow(World, X - 35.0, Y - 5.0, ArrowKind, 0);
    FCourseArrow = new TArrow(World, X - 35.0, Y - 5.0, ArrowKind, 1);

    // Every contact slot is cleared (a superset of the opponents' slots).
    FContact.fill(false);
    FContactPrev.fill(false);
    FHeading = Heading;
    FCourse = Heading;
    Angle = static_cast<float>(Heading - 90.0);

    // Road probes.
    FFrontPoint = new TGroundPoint(World, X, Y - 10.0, 90.0, FUseMenuImages);
    FCenterPoint = new TGroundPoint(World, X, Y + 10.0, -90.0, FUseMenuImages);

    // Shadow (always from the game list).
    FShadow = new TCarTen(World, X, Y, CarIndex + 1);
}

void TCar::LoadCarStats()
{
    FSpeed = 0.0;
    // Callers pass 0..4; any other index reads the nearest catalogue entry rather than past it.
    const int Index = std::clamp(FCarIndex, 0, kCarCount - 1);
    const TCarInfo& Info = FWorld.Catalogues.FCars[static_cast<std::size_t>(Index)];
    FTopSpeed = Info.TopSpeed;
    FAcceleration = Info.Acceleration;
    FTurnRate = Info.TurnRate;
    FGrip = Info.Grip;
    FSlideFollow = 0.5;
    FRollDecel = 0.011;
    FAccel = 0.0;
    FBrakeAccel = 0.08;
    FDrag = 0.003;
    FSkidDrag = 0.008;
    FReverseLimit = -2.0;
}

void TCar::Accelerate()
{
    if (FSpeed < FTopSpeed)
        FAccel = FAcceleration;
    if (FSpeed > FTopSpeed)
        FSpeed = FTopSpeed;
}

void TCar::Brake()
{
    if (FSpeed > FReverseLimit)
        FAccel = -FBrakeAccel;
    if (FSpeed < FReverseLimit)
        FSpeed = FReverseLimit;
}

// The travel direction lags the body by up to 25 degrees, follows at half rate with a skid up to
// 70, and turns fully beyond that.
void TCar::SteerLeft()
{
    if (FSpeed >= 0)
    {
        // Forward steering to the left needs more than 0.2 of speed.
        if (!(FSpeed > 0.2))
            return;
        FHeading -= FTurnRate;
        const double D = FCourse - FHeading;
        if (D > 70)
            FCourse -= FTurnRate;
        else if (D > 25)
        {
            FCourse -= FTurnRate * FSlideFollow;
            FSkidding = true;
        }
    }
    else
    {
        // Reversing mirrors the wheel but keeps the same difference test.
        FHeading += FTurnRate;
        const double D = FCourse - FHeading;
        if (D > 70)
            FCourse += FTurnRate;
        else if (D > 25)
        {
            FCourse += FTurnRate * FSlideFollow;
            FSkidding = true;
        }
    }
}

void TCar::SteerRight()
{
    if (FSpeed > 0)
    {
        FHeading += FTurnRate;
        const double D = FHeading - FCourse;
        if (D > 70)
            FCourse += FTurnRate;
        else if (D > 25)
        {
            FCourse += FTurnRate * FSlideFollow;
            FSkidding = true;
        }
    }
    else
    {
        FHeading -= FTurnRate;
        const double D = FHeading - FCourse;
        if (D > 70)
            FCourse -= FTurnRate;
        else if (D > 25)
        {
            FCourse -= FTurnRate * FSlideFollow;
            FSkidding = true;
        }
    }
}

void TCar::ApplyControls()
{
    TGameState& State = FWorld.State;

    if (State.Held(acAccelerate))
        Accelerate();
    else if (State.Held(acBrake))
        Brake();

    // Right wins when both are held; at |speed| <= 0.1 the wheels do nothing.
    const bool Rolling = FSpeed > 0.1 || FSpeed < -0.1;
    if (State.Held(acSteerRight) && Rolling)
        SteerRight();
    else if (State.Held(acSteerLeft) && Rolling)
        SteerLeft();

    // Hand brake: replaces this frame's throttle or brake value.
    if (State.Held(acHandBrake))
    {
        FSkidding = true;
        if (FSpeed > FRollDecel)
            FAccel = -FRollDecel;
        else if (FSpeed < -FRollDecel)
            FAccel = FRollDecel;
    }

    // Only letting go of the throttle or the brake ends the acceleration, so a hand-brake
    // deceleration stays in force after the hand brake is let go.
    if (State.TakeAction(acAccelerate, true))
        FAccel = 0.0;
    if (State.TakeAction(acBrake, true))
        FAccel = 0.0;
    State.TakeAction(acSteerRight, true);
    State.TakeAction(acSteerLeft, true);
    State.TakeAction(acHandBrake, true);
}

double TCar::PivotX() const { return X() + Width() / 2.0; }
double TCar::PivotY() const { return Y() + 0.3 * Height(); }
double TCar::CentreX() const { return X() + Width() / 2.0; }
double TCar::CentreY() const { return Y() + Height() / 2.0; }

void TCar::UpdateCorners()
{
    const double Px = PivotX(), Py = PivotY();
    const double Base = static_cast<double>(Angle);
    for (int K = 0; K < 4; ++K)
    {
        const double A = (Base + FCornerAngles[K]) * DegToRad;
        FCorners[K].X = Px + FCorners[K].Radius * std::cos(A);
        FCorners[K].Y = Py + FCorners[K].Radius * std::sin(A);
    }
    if (FFrontPoint)
    {
        // The probe's own relative angle (90: straight ahead) is added to Angle.
        const double A = (Base + FFrontPoint->AngleOffset) * DegToRad;
        FFrontPoint->SetX(static_cast<float>(Px + 40.0 * std::cos(A)));
        FFrontPoint->SetY(static_cast<float>(Py + 40.0 * std::sin(A)));
    }
    if (FCenterPoint)
    {
        FCenterPoint->SetX(static_cast<float>(Px));
        FCenterPoint->SetY(static_cast<float>(Py));
    }
}

void TCar::DoCollision(TSprite& /*Other*/, std::int32_t /*X*/, std::int32_t /*Y*/) {}

void TCar::Dead()
{
    // The parts are ended only here, so the pointers are valid until the car itself is ended.
    for (TSprite* Part : std::initializer_list<TSprite*>{FFrontPoint, FCenterPoint, FShadow, FHeadingArrow,
                                                         FCourseArrow, FRadarMark})
        if (Part)
            Part->Dead();
    TSprite::Dead();
}

// Moves Value towards 0 by Step (it may step past 0; the next call steps back).
double TowardsZero(double Value, double Step)
{
    if (Value > 0)
        return Value - Step;
    if (Value < 0)
        return Value + Step;
    return Value;
}

void TCar::UpdateSpin()
{
    if (!FSpinning)
        return;
    FHeading += FSpin;
    FSpeed *= 0.9;
    FSpin = TowardsZero(FSpin, FSpinDecay);
    if (std::fabs(FSpin) < 1)
    {
        FSpinning = false;
        RotCenterX = 0.5f;
        RotCenterY = 0.3f;
        if (FShadow)
        {
            FShadow->RotCenterX = 0.5f;
            FShadow->RotCenterY = 0.3f;
        }
        FCourse = FHeading;
    }
}

void TCar::UpdateSlowDown(bool RestoreGrip)
{
    if (!FSlowed)
        return;
    if (FSlowTicks > 1)
    {
        --FSlowTicks;
        return;
    }
    // The halved values come back.
    FTopSpeed *= 2;
    FAcceleration *= 2;
    if (RestoreGrip)
        FGrip *= 3;
    FSlowed = false;
    FSlowTicks = 0;
}

void TCar::UpdateBoost()
{
    if (!FBoosted)
        return;
    if (FBoostTicks > 1)
    {
        --FBoostTicks;
        return;
    }
    FTopSpeed /= 2;
    FAcceleration /= 2;
    FTurnRate -= 0.1;
    FSurfaceFactor -= 0.1;
    FSpeed /= 2;
    FBoosted = false;
    FBoostTicks = 0;
}

void TCar::PlaceMarkerArrows()
{
    // On the car centre, with whole-pixel halves of the size.
    const float ArrowX = X() + static_cast<float>(Width() / 2);
    const float ArrowY = Y() + static_cast<float>(Height() / 2 - 5);
    for (TArrow* Arrow : {FHeadingArrow, FCourseArrow})
        if (Arrow)
        {
            Arrow->SetX(ArrowX);
            Arrow->SetY(ArrowY);
        }
    if (FHeadingArrow)
        FHeadingArrow->Angle = static_cast<float>(FHeading);
    if (FCourseArrow)
        FCourseArrow->Angle = static_cast<float>(FCourse);
}

void TCar::PullCourse(double Step)
{
    if (!FSpinning && !FSkidding)
    {
        if (FCourse < FHeading)
            FCourse += Step;
        else if (FCourse > FHeading)
            FCourse -= Step;
    }
    if (!FSpinning && !(FSpeed == 0.1 && std::fabs(FHeading - FCourse) >= 0.1))
        FSkidding = false;
}

void TCar::Nudge(double Cross)
{
    const double Turn = Cross > 0 ? 1.5 : Cross < 0 ? -1.5 : 0.0;
    FCourse += Turn;
    FHeading += Turn;
}

} // namespace vm
