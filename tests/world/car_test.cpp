// The car model: construction, handling values, steering thresholds and zones, throttle, brake,
// hand brake and the collision outline.
#include "world/car.h"
#include "world/car_shadow.h"
#include "world/ground_point.h"
#include "world/marker_arrow.h"
#include "world/race_fixture.h"

#include <cmath>
#include <numbers>

namespace vm::test {
namespace {

constexpr double Deg = 180.0 / std::numbers::pi;

using CarTest = RaceFixture;

TEST_F(CarTest, ConstructorSetsOutlineSmokeAndParts)
{
    // Game-list keying: catalogue car 1 wears "car4".
    auto* Car = new TCar(*World, 400, 460, 1, "test", 270, 0, 2);
    ASSERT_EQ(Car->Image(), GameImages.Find("car4"));
    const double W = Car->Width(), H = Car->Height();
    ASSERT_GT(W, 6);
    ASSERT_GT(H, 10);

    EXPECT_DOUBLE_EQ(Car->X(), static_cast<float>(400 - W / 2));
    EXPECT_DOUBLE_EQ(Car->Y(), static_cast<float>(460 - H / 2));
    EXPECT_EQ(Car->Z(), 50);
    EXPECT_EQ(Car->PatternIndex(), 2);
    EXPECT_EQ(Car->Name(), "test");
    EXPECT_EQ(Car->Health, 100);
    EXPECT_FLOAT_EQ(Car->Angle, 180.0f);
    EXPECT_DOUBLE_EQ(Car->FHeading, 270.0);
    EXPECT_DOUBLE_EQ(Car->FCourse, 270.0);
    EXPECT_FLOAT_EQ(Car->RotCenterY, 0.3f);

    const double Front = std::sqrt(std::pow(W / 2 - 3, 2) + std::pow(0.3 * H - 3, 2));
    const double Rear = std::sqrt(std::pow(W / 2 - 3, 2) + std::pow(0.7 * H - 3, 2));
    EXPECT_DOUBLE_EQ(Car->FCorners[0].Radius, Front);
    EXPECT_DOUBLE_EQ(Car->FCorners[3].Radius, Front);
    EXPECT_DOUBLE_EQ(Car->FCorners[1].Radius, Rear);
    EXPECT_DOUBLE_EQ(Car->FCorners[2].Radius, Rear);
    const double A = std::atan(0.5 * W / (0.3 * H)) * Deg, B = std::atan(0.5 * W / (0.7 * H)) * Deg;
    EXPECT_NEAR(Car->FCornerAngles[0], 270 - A, 1e-9);
    EXPECT_NEAR(Car->FCornerAngles[1], 90 + B, 1e-9);
    EXPECT_NEAR(Car->FCornerAngles[2], 90 - B, 1e-9);
    EXPECT_NEAR(Car->FCornerAngles[3], 270 + A, 1e-9);
    for (int K = 0; K < 4; ++K)
        EXPECT_EQ(Car->FCorners[K].Number, K);

    const double T = std::atan(0.185 * H / W) * Deg;
    EXPECT_NEAR(Car->FSmokeRadius, std::hypot(0.3 * H, 0.5 * W) * 2 / 3 - 5, 1e-9);
    EXPECT_NEAR(Car->FSmokeAngleA, 360 - T, 1e-9);
    EXPECT_NEAR(Car->FSmokeAngleB, 180 + T, 1e-9);

    // Catalogue car 1 and the constants.
    EXPECT_DOUBLE_EQ(Car->FTopSpeed, 8.5);
    EXPECT_DOUBLE_EQ(Car->FAcceleration, 0.07);
    EXPECT_DOUBLE_EQ(Car->FTurnRate, 0.38);
    EXPECT_DOUBLE_EQ(Car->FGrip, 0.9);
    EXPECT_DOUBLE_EQ(Car->FReverseLimit, -2.0);
    EXPECT_DOUBLE_EQ(Car->FSpinDecay, 1.0);

    // Shadow, probes and hidden arrows.
    ASSERT_NE(Car->FShadow, nullptr);
    EXPECT_EQ(Car->FShadow->Image(), GameImages.Find("carten4"));
    EXPECT_EQ(Car->FShadow->Z(), 48);
    ASSERT_TRUE(Car->FFrontPoint && Car->FCenterPoint);
    EXPECT_DOUBLE_EQ(Car->FFrontPoint->AngleOffset, 90.0);
    EXPECT_DOUBLE_EQ(Car->FCenterPoint->AngleOffset, -90.0);
    EXPECT_FALSE(Car->FFrontPoint->Visible);
    EXPECT_EQ(Car->FFrontPoint->Z(), 52);
    ASSERT_TRUE(Car->FHeadingArrow && Car->FCourseArrow);
    EXPECT_FALSE(Car->FHeadingArrow->Visible);
    EXPECT_EQ(Car->FHeadingArrow->PatternIndex(), 0);
    EXPECT_EQ(Car->FCourseArrow->PatternIndex(), 1);
    EXPECT_FLOAT_EQ(Car->FHeadingArrow->X(), 365.0f);
    EXPECT_FLOAT_EQ(Car->FHeadingArrow->Y(), 455.0f);
    EXPECT_EQ(Car->FHeadingArrow->Image(), GameImages.Find("arrows"));

    // Ending the car ends its parts with it.
    Car->Dead();
    EXPECT_TRUE(Car->FShadow->IsDead());
    EXPECT_TRUE(Car->FFrontPoint->IsDead());
    EXPECT_TRUE(Car->FCourseArrow->IsDead());
}

TEST_F(CarTest, MenuImagesKeyTheCarsInOrder)
{
    auto* Car = new TCar(*World, 100, 100, 1, "menu", 270, 1, 0);
    EXPECT_EQ(Car->Image(), MenuImages.Find("car2"));
    EXPECT_EQ(Car->FFrontPoint->Image(), MenuImages.Find("groundpoint"));
    // An index outside the catalogue leaves the car without an image but still drivable values.
    auto* Odd = new TCar(*World, 100, 100, 7, "odd", 270, 0, 0);
    EXPECT_EQ(Odd->Image(), nullptr);
    EXPECT_DOUBLE_EQ(Odd->FTopSpeed, Catalogues.FCars[4].TopSpeed);
}

TEST_F(CarTest, CornersFollowTheHeading)
{
    auto* Car = new TCar(*World, 400, 460, 0, "c", 90, 0, 0);
    Car->UpdateCorners();
    const double Px = Car->PivotX(), Py = Car->PivotY();
    std::array<TCarCorner, 4> Down = Car->FCorners;
    // Facing down the screen: corner 0 is up-left of the pivot, corner 2 down-right.
    EXPECT_LT(Down[0].X, Px);
    EXPECT_LT(Down[0].Y, Py);
    EXPECT_GT(Down[2].X, Px);
    EXPECT_GT(Down[2].Y, Py);
    // The front probe stays 40 pixels ahead of the pivot, the centre probe on it.
    EXPECT_NEAR(Car->FFrontPoint->X(), Px, 1e-3);
    EXPECT_NEAR(Car->FFrontPoint->Y(), Py + 40, 1e-3);
    EXPECT_NEAR(Car->FCenterPoint->Y(), Py, 1e-3);

    // Heading 0: Angle -90, the outline turned a quarter anticlockwise about the pivot.
    Car->FHeading = 0;
    Car->Angle = -90.0f;
    Car->UpdateCorners();
    for (int K = 0; K < 4; ++K)
    {
        EXPECT_NEAR(Car->FCorners[K].X - Px, Down[K].Y - Py, 1e-6) << K;
        EXPECT_NEAR(Car->FCorners[K].Y - Py, -(Down[K].X - Px), 1e-6) << K;
    }
    EXPECT_NEAR(Car->FFrontPoint->X(), Px + 40, 1e-3);
}

TEST_F(CarTest, SteeringThresholds)
{
    auto* Car = new TCar(*World, 400, 460, 0, "c", 270, 0, 0);
    const double Rate = Car->FTurnRate;

    // 0.15 forwards: right turns, left does not (it needs more than 0.2).
    Car->FSpeed = 0.15;
    Car->SteerRight();
    EXPECT_DOUBLE_EQ(Car->FHeading, 270 + Rate);
    Car->FHeading = 270;
    Car->SteerLeft();
    EXPECT_DOUBLE_EQ(Car->FHeading, 270);
    Car->FSpeed = 0.2;
    Car->SteerLeft();
    EXPECT_DOUBLE_EQ(Car->FHeading, 270);
    Car->FSpeed = 0.2001;
    Car->SteerLeft();
    EXPECT_DOUBLE_EQ(Car->FHeading, 270 - Rate);

    // The keys: at |speed| <= 0.1 the wheels do nothing; Right wins over Left.
    Press(vkLeft);
    Press(vkRight);
    for (double Speed : {0.1, -0.1, 0.0})
    {
        Car->FHeading = 270;
        Car->FSpeed = Speed;
        Car->ApplyControls();
        EXPECT_DOUBLE_EQ(Car->FHeading, 270) << Speed;
    }
    Car->FSpeed = 0.11;
    Car->ApplyControls();
    EXPECT_DOUBLE_EQ(Car->FHeading, 270 + Rate);

    // Reversing mirrors the wheel.
    Car->FHeading = 270;
    Car->FSpeed = -1;
    Car->ApplyControls();
    EXPECT_DOUBLE_EQ(Car->FHeading, 270 - Rate);
}

TEST_F(CarTest, TravelDirectionLagsSlidesAndFollows)
{
    auto* Car = new TCar(*World, 400, 460, 0, "c", 270, 0, 0);
    const double Rate = Car->FTurnRate;
    Car->FSpeed = 5;

    // Within 25 degrees the course stays.
    Car->FHeading = 270;
    Car->FCourse = 280;
    Car->SteerLeft();
    EXPECT_DOUBLE_EQ(Car->FCourse, 280);
    EXPECT_FALSE(Car->FSkidding);
    // 25..70: half rate and a skid.
    Car->FCourse = 300;
    Car->SteerLeft();
    EXPECT_DOUBLE_EQ(Car->FCourse, 300 - Rate * 0.5);
    EXPECT_TRUE(Car->FSkidding);
    // Beyond 70: the full rate, no new skid.
    Car->FSkidding = false;
    Car->FCourse = 350;
    Car->SteerLeft();
    EXPECT_DOUBLE_EQ(Car->FCourse, 350 - Rate);
    EXPECT_FALSE(Car->FSkidding);

    // Right, mirrored difference.
    Car->FHeading = 300;
    Car->FCourse = 270;
    Car->SteerRight();
    EXPECT_DOUBLE_EQ(Car->FCourse, 270 + Rate * 0.5);
    EXPECT_TRUE(Car->FSkidding);
}

TEST_F(CarTest, ThrottleAndReverseLimits)
{
    auto* Car = new TCar(*World, 400, 460, 4, "c", 270, 0, 0);
    // Down from standstill drives backwards down to -2.0 and no faster.
    for (int I = 0; I < 100; ++I)
    {
        Car->Brake();
        EXPECT_GE(Car->FSpeed, -2.0);
        Car->FSpeed += Car->FAccel;
    }
    Car->Brake();
    EXPECT_DOUBLE_EQ(Car->FSpeed, -2.0);

    // Up never leaves the speed above the top speed after the throttle step.
    Car->FSpeed = 0;
    Car->FAccel = 0;
    for (int I = 0; I < 400; ++I)
    {
        Car->Accelerate();
        EXPECT_LE(Car->FSpeed, Car->FTopSpeed);
        Car->FSpeed += Car->FAccel;
    }
    Car->Accelerate();
    EXPECT_DOUBLE_EQ(Car->FSpeed, 10.0);
}

TEST_F(CarTest, HandBrakeValueOutlastsItsKey)
{
    auto* Car = new TCar(*World, 400, 460, 0, "c", 270, 0, 0);
    Car->FSpeed = 5;
    Press(vkUp);
    Press(vkSpace);
    Car->ApplyControls();
    EXPECT_DOUBLE_EQ(Car->FAccel, -0.011); // replaces the throttle
    EXPECT_TRUE(Car->FSkidding);

    // Space released; Up no longer held but its release not latched.
    Release(vkSpace);
    State.KeyHeld[vkUp] = 0;
    Car->ApplyControls();
    EXPECT_DOUBLE_EQ(Car->FAccel, -0.011);
    EXPECT_EQ(State.KeyReleased[vkSpace], 0);
    EXPECT_EQ(State.KeyHeld[vkSpace], 0);

    // Releasing Up (or Down) ends it.
    Release(vkDown);
    Car->ApplyControls();
    EXPECT_DOUBLE_EQ(Car->FAccel, 0.0);
    EXPECT_EQ(State.KeyReleased[vkDown], 0);

    // Reversing: the hand brake pushes forwards.
    Car->FSpeed = -1;
    Press(vkControl);
    Car->ApplyControls();
    EXPECT_DOUBLE_EQ(Car->FAccel, 0.011);
}

} // namespace
} // namespace vm::test
