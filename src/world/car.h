// The car model shared by the player's car and the opponents: handling values, controls, outline.
#pragma once

#include "engine/sprite.h"

#include <array>
#include <span>
#include <string>

namespace vm {

struct TRaceWorld;
class TArrow;
class TCarTen;
class TGroundPoint;

// One corner of a car's collision outline.
struct TCarCorner
{
    double X = 0.0, Y = 0.0;
    int Number = 0;
    double Radius = 0.0; // distance from the pivot
};

// A point a car watches around its front, with the flag the walls raise when one comes near it.
struct TLookAheadPoint
{
    double X = 0.0, Y = 0.0;
    double Radius = 0.0; // distance from the pivot
    double Angle = 0.0;  // degrees, relative to the sprite's Angle
    bool Obstacle = false;
};

// Where a car stands along the course: the checkpoint nearest it, the one after it, and the
// distance driven since checkpoint 1 in tenths of a pixel.
struct TCourseFix
{
    int Nearest = 0; // 0 when the course has no checkpoints (nothing else is then set)
    double NearX = 0.0, NearY = 0.0, NextX = 0.0, NextY = 0.0;
    double Progress = 0.0;
};

// Moves Value towards 0 by Step (it may step past 0; the next call steps back).
double TowardsZero(double Value, double Step);

// Measures a point (a car centre) against the checkpoints 1..FCheckpointCount of the world.
TCourseFix MeasureCourseProgress(const TRaceWorld& World, double Cx, double Cy);

// Owned by the sprite engine like every sprite. A car creates its shadow, two ground probes and
// two hidden marker arrows on the same engine; they live as long as the car (Dead ends them all).
// TCar has no per-frame behaviour: the player's and the opponents' Move drive it.
class TCar : public TSprite
{
public:
    static constexpr int ContactSlots = 21; // opponent slots 0..20

    // (X, Y) is the car's centre; Heading in degrees (0 right, 90 down the screen).
    TCar(TRaceWorld& World, double X, double Y, int CarIndex, const std::string& Name, double Heading,
         int UseMenuImages, int Pattern);

    // Copies the catalogue's handling values for FCarIndex and resets the control constants.
    void LoadCarStats();
    void Accelerate();
    void Brake();
    void SteerLeft();
    void SteerRight();
    // The player's keys: throttle/brake, steering, hand brake, then the key releases.
    void ApplyControls();
    // Recomputes the outline corners and the probes from the pivot and Angle; once per frame,
    // after the car has moved.
    void UpdateCorners();

    // Grip: the travel direction moves Step degrees towards the body (it may step past; the next
    // frame steps back); skipped while spinning or skidding. Then the skid flag clears as it does
    // for every car.
    void PullCourse(double Step);
    // A contact's nudge: heading and course turn 1.5 degrees in the sense of the cross product of
    // the two cars' velocities (none when it is 0).
    void Nudge(double Cross);

    // Frame steps both the player's and the opponents' Move run, in this order:
    // the bomb spin (heading turns, speed falls, the spin dies away, then travel follows the body),
    void UpdateSpin();
    // the end of a spikes slow-down (RestoreGrip: the player's grip was cut too),
    void UpdateSlowDown(bool RestoreGrip);
    // the end of a speed-up boost,
    void UpdateBoost();
    // and the hidden arrows on the car centre with the heading and the course.
    void PlaceMarkerArrows();

    // The points the walls test for this car (the first two of an opponent's look-ahead points);
    // empty for cars that do not watch ahead, such as the player's.
    virtual std::span<TLookAheadPoint> WallSensors() { return {}; }

    // Cars ignore the engine's rectangle collisions: every car contact uses the corners.
    void DoCollision(TSprite& Other, std::int32_t X, std::int32_t Y) override;
    // Ends the car together with its shadow, probes and marker arrows.
    void Dead() override;

    TRaceWorld& World() const { return FWorld; }
    // The pivot (rotation centre): (X + Width/2, Y + 0.3 Height).
    double PivotX() const;
    double PivotY() const;
    // The tile centre (X + Width/2, Y + Height/2).
    double CentreX() const;
    double CentreY() const;

    int Health = 100;
    double FTurnRate = 0.0;
    double FGrip = 0.0;
    double FSlideFollow = 0.5;
    double FRollDecel = 0.011;
    double FSpeed = 0.0;
    double FTopSpeed = 0.0;
    double FReverseLimit = -2.0;
    double FAcceleration = 0.0;
    double FBrakeAccel = 0.08;
    double FAccel = 0.0;
    double FHeading = 0.0;
    double FCourse = 0.0;
    double FDrag = 0.003;
    double FSkidDrag = 0.008;
    bool FSkidding = false;
    int FSmokeTicks = 0;
    std::array<TCarCorner, 4> FCorners{};
    std::array<double, 4> FCornerAngles{};
    std::array<bool, ContactSlots> FContact{};
    std::array<bool, ContactSlots> FContactPrev{};
    double FSpin = 0.0;
    double FSpinDecay = 1.0;
    TGroundPoint* FFrontPoint = nullptr;
    TGroundPoint* FCenterPoint = nullptr;
    double FSurfaceFactor = 1.0;
    double FProgress = 0.0;
    int FLaps = 0;
    int FRaceMinutes = 0, FRaceSeconds = 0, FRaceHundredths = 0;
    int RacePlace = 1;
    int FCarIndex = 0;
    bool FCanFinish = true;
    double FSmokeRadius = 0.0, FSmokeAngleA = 0.0, FSmokeAngleB = 0.0;
    bool FUseMenuImages = false;
    bool FSpinning = false, FSlowed = false, FBoosted = false;
    int FSlowTicks = 0, FBoostTicks = 0;
    TCarTen* FShadow = nullptr;
    // The car's marker on the progress bar, made by the player's and the opponents' constructors
    // (a car made directly as a TCar has none, so every use checks).
    TSprite* FRadarMark = nullptr;
    TArrow* FHeadingArrow = nullptr;
    TArrow* FCourseArrow = nullptr;

protected:
    TRaceWorld& FWorld;
};

} // namespace vm
