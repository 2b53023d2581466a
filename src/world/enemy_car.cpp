// The opponent's construction, its frame, its look-ahead points, progress and place.
#include "world/enemy_car.h"

#include "engine/random.h"
#include "state/game_state.h"
#include "world/car_shadow.h"
#include "world/ground_point.h"
#include "world/marker_arrow.h"
#include "world/player.h"
#include "world/race_world.h"
#include "world/radar_car.h"
#include "world/tyre_smoke.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vm {

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;

} // namespace

TEnemyCar::TEnemyCar(TRaceWorld& World, double X, double Y, int CarIndex, const std::string& Name, int Slot,
                     double Heading, int UseMenuImages, int GridPos)
    : TCar(World, X, Y, CarIndex, Name, Heading, UseMenuImages, World.Rng.Random(3))
{
    // The opponent counts itself in; the count never passes the opponent table.
    SetName("enemycar");
    if (FWorld.FEnemyCount < TRaceWorld::MaxOpponents)
        ++FWorld.FEnemyCount;
    FTarget = 1;
    FSlot = Slot;

    // The target marker sits on the car centre. Until a direction to the target has been
    // computed, the target angle is the car's heading; the two car arrows likewise start with the
    // car's directions (they are read as "the previous frame's heading").
    FTargetArrow = new TArrow(World, CentreX() - 35.0, CentreY() - 5.0, FUseMenuImages ? 1 : 0, 2);
    FTargetArrow->Angle = static_cast<float>(Heading);
    if (FHeadingArrow)
        FHeadingArrow->Angle = static_cast<float>(FHeading);
    if (FCourseArrow)
        FCourseArrow->Angle = static_cast<float>(FCourse);

    // Look-ahead points, relative to the pivot; the front bumper is 0.7 H from it.
    const double Bumper = 0.7 * Height();
    const double Radii[LookAheadCount] = {Bumper + 40, Bumper + 40, Bumper + 70, Bumper + 20, Bumper};
    const double Angles[LookAheadCount] = {75, 105, 90, 90, 0};
    for (int I = 0; I < LookAheadCount; ++I)
    {
        FLookAhead[I].Radius = Radii[I];
        FLookAhead[I].Angle = Angles[I];
        FLookAhead[I].Obstacle = false;
    }
    UpdateLookAhead();

    // Held on the grid until the race starts.
    Racing = false;
    FGridPos = GridPos;

    // Even grid positions keep to the right of the checkpoints, odd ones to the left.
    FLaneOffset = GridPos % 2 == 0 ? World.Rng.Random(100) : -World.Rng.Random(100);
    FLaneLimit = World.Rng.Random(400) + 500;
    FLaneTicks = 1;

    // No spin; an opponent's spin dies away by 0.06 a frame.
    FSpinning = false;
    FSpinDecay = 0.06;

    // The opponent's marker at the start of the progress strip, a little apart from the others.
    const int MarkerX = 25 + World.Rng.Random(4);
    FRadarMark = new TRadarCar(World, static_cast<float>(MarkerX), 500, rmOpponent);
}

std::span<TLookAheadPoint> TEnemyCar::WallSensors()
{
    return std::span<TLookAheadPoint>(FLookAhead).first(2);
}

int TEnemyCar::OpponentSlots() const
{
    return std::clamp(FWorld.FEnemyCount, 0, std::min(TRaceWorld::MaxOpponents, TCar::ContactSlots));
}

bool TEnemyCar::SlotValid() const { return FSlot >= 0 && FSlot < TRaceWorld::MaxOpponents; }

void TEnemyCar::Move(float /*MoveCount*/)
{
    const int N = std::min(FWorld.FCheckpointCount, TRaceWorld::MaxCheckpoints);

    // A car far below the screen pointing down is turned up and sent for the next checkpoint
    // (wrapping like a reached last checkpoint, so the target stays in the table).
    if (Y() > 4000 && FHeading > 70 && FHeading < 120)
    {
        FHeading = -90.0;
        FCourse = -90.0;
        FTarget = FTarget >= N ? 1 : FTarget + 1;
    }

    // Lane change.
    if (FLaneTicks == FLaneLimit)
    {
        FLaneOffset = FWorld.Rng.Random(100) - 50;
        FLaneLimit = FWorld.Rng.Random(1400) + 900;
        FLaneTicks = 1;
    }
    ++FLaneTicks;

    // The world moves around the player.
    if (const TPlayer* Player = FWorld.FPlayer)
    {
        SetX(static_cast<float>(X() + Player->FShiftX));
        SetY(static_cast<float>(Y() + Player->FShiftY));
        SetX(static_cast<float>(X() + Player->FPushX));
        SetY(static_cast<float>(Y() + Player->FPushY));
    }

    // Cars ahead.
    Avoid();

    // Drive, or roll to a stop away from the start (creep on while near checkpoint 1).
    if (Racing)
    {
        if (!FSpinning)
            Drive();
    }
    else
    {
        const TCheckpoint& First = FWorld.FCheckpoints[1];
        const double Half = FRollDecel / 2;
        if (std::hypot(X() - First.X, Y() - First.Y) > 100)
        {
            if (FSpeed > Half)
                FAccel = -Half;
            else if (FSpeed < -Half)
                FAccel = Half;
        }
        else
            FAccel = 0.01;
    }

    // Distance covered and the race place.
    UpdateProgress();
    UpdatePlace();

    // Surface: above the top of the screen the road is taken for granted.
    if (FWorld.State.ScreenState == ssRace)
    {
        if ((FFrontPoint && FFrontPoint->OnRoad) || Y() < 0)
            FSurfaceFactor = 1.0;
    }
    else
        FSurfaceFactor = 0.5;

    // Travel with the speed before this frame's change.
    SetX(static_cast<float>(X() + std::cos(FCourse * DegToRad) * FSpeed));
    SetY(static_cast<float>(Y() + std::sin(FCourse * DegToRad) * FSpeed));

    // Opponents accelerate 1.2 times as hard as the player with the same car.
    FSpeed += FAccel * 1.2 * FSurfaceFactor;
    if (FSpeed > 0)
    {
        FSpeed -= FSpeed * FDrag;
        if (FSkidding)
        {
            const double V = FSpeed - FSpeed * FSkidDrag;
            FSpeed = V > 0 ? V : 0.0;
        }
    }
    if (FSpeed < 0)
    {
        FSpeed -= FSpeed * FDrag;
        // A car skidding backwards stops at once.
        if (FSkidding)
            FSpeed = 0.0;
    }

    // The picture turns with the body.
    Angle = static_cast<float>(FHeading - 90.0);

    // Tyre smoke: a pair of puffs every 5 frames while skidding fast.
    if (FSkidding && FSpeed > 2)
    {
        if (FSmokeTicks % 5 == 0)
        {
            // With the menu pictures the puffs stay hidden.
            MakeSmokePuffs(*this, FUseMenuImages);
            FSmokeTicks = 0;
        }
        ++FSmokeTicks;
    }

    // Grip pulls the travel direction after the body (it may step past).
    PullCourse(std::fabs(FCourse - FHeading) > 5 ? FTurnRate * FGrip : 1.1);

    // Spin (bomb pickup).
    UpdateSpin();
    // Slow-down (spikes) ends; an opponent's grip is not touched by spikes.
    UpdateSlowDown(false);
    // Boost ends.
    UpdateBoost();
    // The hidden arrows.
    PlaceMarkerArrows();

    // Outline and look-ahead points at the new place, then the knocks with other cars.
    UpdateCorners();
    UpdateLookAhead();
    CheckCarContacts();

    // The road pieces mark the probes again during their own Move.
    if (FFrontPoint)
        FFrontPoint->OnRoad = false;
    if (FCenterPoint)
        FCenterPoint->OnRoad = false;
    if (FShadow)
    {
        FShadow->SetX(X() + 2.0f);
        FShadow->SetY(Y() + 2.0f);
        FShadow->Angle = Angle;
    }

    // Progress bar, as for the player: the marker climbs from 415 towards 245 and is left alone
    // at 250 or above; a course too short for the reference distance leaves it where it is.
    if (FRadarMark && FRadarMark->Y() > 250)
    {
        const int Ref = N - 10;
        if (Ref >= 1 && FWorld.FCheckpointDistance[Ref] > 0)
            FRadarMark->SetY(static_cast<float>(415.0 - FProgress / FWorld.FCheckpointDistance[Ref] * 170.0));
    }
}

void TEnemyCar::UpdateLookAhead()
{
    const double Px = PivotX(), Py = PivotY();
    const double Base = static_cast<double>(Angle);
    for (TLookAheadPoint& Point : FLookAhead)
    {
        const double A = (Base + Point.Angle) * DegToRad;
        Point.X = Px + Point.Radius * std::cos(A);
        Point.Y = Py + Point.Radius * std::sin(A);
    }
}

void TEnemyCar::UpdateProgress()
{
    const TCourseFix Fix = MeasureCourseProgress(FWorld, CentreX(), CentreY());
    if (Fix.Nearest == 0)
        return; // no checkpoints yet
    FProgress = Fix.Progress;
    if (!SlotValid())
        return;
    const int N = std::min(FWorld.FCheckpointCount, TRaceWorld::MaxCheckpoints);
    FWorld.FRaceDistance[FSlot + 1] = (FLaps + 1) * FWorld.FCheckpointDistance[N] + FProgress;
}

void TEnemyCar::UpdatePlace()
{
    if (!SlotValid())
        return;
    const double Mine = FWorld.FRaceDistance[FSlot + 1];
    const int Count = OpponentSlots();
    int Place = 1;
    if (Count > 1)
        for (int S = 0; S < Count; ++S)
            if (S != FSlot && FWorld.FRaceDistance[S + 1] > Mine)
                ++Place;
    if (FWorld.FRaceDistance[0] > Mine)
        ++Place;
    RacePlace = Place;
}

void StopOpponent(TCar& Car)
{
    if (auto* Opponent = dynamic_cast<TEnemyCar*>(&Car))
        Opponent->Racing = false;
}

} // namespace vm
