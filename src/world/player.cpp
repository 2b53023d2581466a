// The player's car: its frame, progress along the course, race place, car contacts and damage.
#include "world/player.h"

#include "engine/rounding.h"
#include "state/game_state.h"
#include "world/car_shadow.h"
#include "world/geometry.h"
#include "world/ground_point.h"
#include "world/marker_arrow.h"
#include "world/race_world.h"
#include "world/radar_car.h"
#include "world/road_part.h"
#include "world/tyre_smoke.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vm {

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;

// Opponent slots the player may look at: the world's table, the contact flags and the distances.
int OpponentSlots(const TRaceWorld& World)
{
    return std::clamp(World.FEnemyCount, 0, std::min(TRaceWorld::MaxOpponents, TCar::ContactSlots));
}

} // namespace

TPlayer::TPlayer(TRaceWorld& World, double X, double Y, int CarIndex, const std::string& Name, double Heading,
                 int UseMenuImages, int Pattern)
    : TCar(World, X, Y, CarIndex, Name, Heading, UseMenuImages, Pattern)
{
    SetName("player");
    FLaps = 0;
    Driving = false;
    FTracksPlace = true;
    WrongWayMeter = 0.0;
    NextCheckpoint = 1;
    FSpinning = false;
    FSpinDecay = 0.06;
    FSlowed = false;
    FSlowTicks = 0;
    // The player's marker at the start of the progress strip.
    FRadarMark = new TRadarCar(World, 27, 500, rmPlayer);
}

void TPlayer::Move(float /*MoveCount*/)
{
    // Protection blink: the shadow follows the car's visibility.
    if (FProtected)
    {
        if (FProtectTicks % 10 == 0)
        {
            Visible = !Visible;
            if (FShadow)
                FShadow->Visible = Visible;
        }
        if (FProtectTicks < FProtectFrames)
            ++FProtectTicks;
        else
        {
            FProtected = false;
            Visible = true;
            if (FShadow)
                FShadow->Visible = true;
        }
    }

    // Controls, or coasting down when the keys do not act.
    if (!Driving)
    {
        FAccel = 0.0;
        if (FSpeed > FRollDecel)
            FSpeed -= FRollDecel;
        else if (FSpeed < -FRollDecel)
            FSpeed += FRollDecel;
    }
    else if (!FSpinning)
        ApplyControls();

    // Distance covered and, when tracked, the race place.
    UpdateProgress();
    if (FTracksPlace)
        UpdatePlace();

    // Off the road the car accelerates at a fifth of its rate; only the front probe counts.
    FSurfaceFactor = FFrontPoint && FFrontPoint->OnRoad ? 1.0 : 0.2;

    // World shift from the speed before this frame's change.
    FShiftX = -std::cos(FCourse * DegToRad) * FSpeed;
    FShiftY = -std::sin(FCourse * DegToRad) * FSpeed;

    // Speed.
    FSpeed += FAccel * FSurfaceFactor;
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

    // Tyre smoke: a pair of puffs every 5 frames while sliding fast.
    if (std::fabs(FCourse - FHeading) > 7 && FSpeed > 2)
    {
        if (FSmokeTicks % 5 == 0)
        {
            MakeSmokePuffs(*this, false);
            FSmokeTicks = 0;
        }
        ++FSmokeTicks;
    }

    // The picture turns with the body.
    Angle = static_cast<float>(FHeading - 90.0);

    // Grip pulls the travel direction after the body (it may step past; the next frame steps back).
    PullCourse(std::fabs(FCourse - FHeading) > 10 ? FTurnRate * FGrip + FTurnRate * (1 - FGrip) * 0.2
                                                  : FTurnRate * FGrip);

    // Spin (bomb pickup).
    UpdateSpin();
    // Slow-down (spikes) ends: the halved values, grip included, come back.
    UpdateSlowDown(true);
    // Boost ends.
    UpdateBoost();
    // The hidden arrows.
    PlaceMarkerArrows();

    // Outline at the new place.
    UpdateCorners();

    // Last frame's push, read by the background tiles.
    FLastPushX = FPushX;
    FLastPushY = FPushY;
    FPushX = 0.0;
    FPushY = 0.0;

    // Knocks with the opponents.
    CheckCarContacts();

    // The spin dies away every frame, spinning or not.
    FSpin = TowardsZero(FSpin, FSpinDecay);

    // The road ahead.
    ExtendRoad(FWorld);

    // The road pieces mark the probes again during their own Move.
    if (FFrontPoint)
        FFrontPoint->OnRoad = false;
    if (FCenterPoint)
        FCenterPoint->OnRoad = false;

    // Shadow.
    if (FShadow)
    {
        FShadow->SetX(X() + 2.0f);
        FShadow->SetY(Y() + 2.0f);
        FShadow->Angle = Angle;
    }

    // Wrong-way meter: falls while the car drives down the screen, never rises above 0.
    const double B = std::cos(static_cast<double>(Angle) * DegToRad) * FSpeed;
    if (WrongWayMeter - B <= 0)
        WrongWayMeter -= B;
    BackwardSpeed = B;

    // Next checkpoint. It stops at the last checkpoint, and only checkpoints in the table are read.
    const int N = std::min(FWorld.FCheckpointCount, TRaceWorld::MaxCheckpoints);
    if (NextCheckpoint >= 1 && NextCheckpoint <= N)
    {
        const TCheckpoint& Cp = FWorld.FCheckpoints[NextCheckpoint];
        if (std::fabs(Cp.X - CentreX()) < 200 && std::fabs(Cp.Y - CentreY()) < 200 && NextCheckpoint < N)
            ++NextCheckpoint;
    }

    // Progress bar: the marker climbs from 415 towards 245 and is left alone at 250 or above.
    // The reference distance is that of checkpoint n - 10 (the run-out excluded); a course too
    // short for it, or with no distance there, leaves the marker where it is.
    if (FRadarMark && FRadarMark->Y() > 250)
    {
        const int Ref = N - 10;
        if (Ref >= 1 && FWorld.FCheckpointDistance[Ref] > 0)
            FRadarMark->SetY(static_cast<float>(415.0 - FProgress / FWorld.FCheckpointDistance[Ref] * 170.0));
    }
}

void TPlayer::StartProtection()
{
    FProtectFrames = 200;
    FProtectTicks = 0;
    FProtected = true;
}

void TPlayer::Damage(int Amount)
{
    if (Amount <= 0 || FProtected || FWorld.State.ScreenState != ssRace || FWorld.FRaceFinished)
        return;
    if (Health - Amount > 0)
    {
        Health -= Amount;
        // Walls scrape a little at a time and a bomb takes 40: the pad shakes as hard as it hurt.
        if (FWorld.Rumble)
            FWorld.Rumble(std::min(1.0f, 0.3f + static_cast<float>(Amount) / 40.0f),
                          80 + 6 * std::min(Amount, 70));
    }
    else if (!FWorld.FWrecked)
    {
        FWorld.FWrecked = true; // Health stays; the race flow runs the wreck sequence
        if (FWorld.Rumble)
            FWorld.Rumble(1.0f, 700);
    }
}

void TPlayer::Repair(int Amount)
{
    if (Amount <= 0 || FProtected || FWorld.State.ScreenState != ssRace || FWorld.FRaceFinished)
        return;
    Health = std::min(100, Health + Amount);
}

void TPlayer::UpdateProgress()
{
    const TCourseFix Fix = MeasureCourseProgress(FWorld, CentreX(), CentreY());
    if (Fix.Nearest == 0)
        return; // no checkpoints yet
    FNearX = Fix.NearX;
    FNearY = Fix.NearY;
    FNextX = Fix.NextX;
    FNextY = Fix.NextY;
    FProgress = Fix.Progress;
    const int N = std::min(FWorld.FCheckpointCount, TRaceWorld::MaxCheckpoints);
    FWorld.FRaceDistance[0] = FWorld.FCheckpointDistance[N] + FProgress;
}

void TPlayer::UpdatePlace()
{
    const int Count = OpponentSlots(FWorld);
    int Place = 1;
    for (int S = 0; S < Count; ++S)
        if (FWorld.FRaceDistance[S + 1] > FWorld.FRaceDistance[0])
            ++Place;
    RacePlace = Place;
}

void TPlayer::CheckCarContacts()
{
    const int Count = OpponentSlots(FWorld);
    if (Count == 0)
        return;
    for (int S = 0; S < Count; ++S)
        FContact[S] = false;

    const auto& C = FCorners;
    for (int S = 0; S < Count; ++S)
    {
        const TCar* Other = FWorld.FEnemies[S];
        if (!Other || Other->IsDead())
            continue;
        // Coarse pre-test: cars this far apart cannot overlap.
        if (std::fabs(Other->X() - X()) >= 200 || std::fabs(Other->Y() - Y()) >= 200)
            continue;
        const auto& D = Other->FCorners;
        if (QuadsOverlap(C[0].X, C[0].Y, C[1].X, C[1].Y, C[2].X, C[2].Y, C[3].X, C[3].Y, D[0].X, D[0].Y,
                         D[1].X, D[1].Y, D[2].X, D[2].Y, D[3].X, D[3].Y))
            FContact[S] = true;
        else
            FContactPrev[S] = false;
    }

    // A contact acts in every frame in which the cars overlap.
    for (int S = 0; S < Count; ++S)
        if (FContact[S])
        {
            if (!FProtected)
                HitCar(S);
            FContactPrev[S] = true;
        }
}

void TPlayer::HitCar(int Slot)
{
    if (Slot < 0 || Slot >= OpponentSlots(FWorld) || !FWorld.FEnemies[Slot])
        return;
    const TCar& O = *FWorld.FEnemies[Slot];

    // Direction from the opponent to the player.
    const double Dx = CentreX() - O.CentreX(), Dy = CentreY() - O.CentreY();
    const double Len = std::hypot(Dx, Dy);
    const double Ux = Len > 0 ? Dx / Len : 1.0, Uy = Len > 0 ? Dy / Len : 1.0;

    // Velocities and the opponent's travel direction.
    const double Vpx = FSpeed * std::cos(FCourse * DegToRad), Vpy = FSpeed * std::sin(FCourse * DegToRad);
    const double Vox = O.FSpeed * std::cos(O.FCourse * DegToRad),
                 Voy = O.FSpeed * std::sin(O.FCourse * DegToRad);
    const double Ex = O.FSpeed != 0 ? Vox / O.FSpeed : 0.0, Ey = O.FSpeed != 0 ? Voy / O.FSpeed : 0.0;

    // The world moves the other way, so the player moves away from the opponent: at most 3
    // pixels per axis per frame of contact.
    FPushX -= (std::fabs(Ex / 2) + 0.5) * 3 * Ux;
    FPushY -= (std::fabs(Ey / 2) + 0.5) * 3 * Uy;

    // A knock costs a hundredth of the speed.
    FSpeed *= 0.99;

    // A nudge in the turning sense of the two velocities.
    Nudge(Vpx * Voy - Vpy * Vox);

    // Only knocks of medium strength do damage: 1 or 2 points.
    const double R = std::hypot(Vox - Vpx, Voy - Vpy);
    if (R > 4 && R < 10)
        Damage(RoundHalfEven(R / 5));
}

} // namespace vm
