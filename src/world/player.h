// The player's car: reads the keys, moves the world around itself, keeps progress and place.
#pragma once

#include "world/car.h"

#include <array>

namespace vm {

// Created by the race setup and owned by the sprite engine; it stays where it was placed on the
// screen and each frame turns its travel into FShiftX/FShiftY, which every world sprite adds to
// its own position (with FPushX/FPushY) in its own Move.
class TPlayer : public TCar
{
public:
    // Pattern is the colour variant chosen on the car page.
    TPlayer(TRaceWorld& World, double X, double Y, int CarIndex, const std::string& Name, double Heading,
            int UseMenuImages, int Pattern = 0);

    // The whole frame of the player's car (see player.cpp for the order of steps).
    void Move(float MoveCount) override;

    // 200 frames of blinking during which the car ignores contacts and takes no damage.
    void StartProtection();
    // Lowers Health by Amount, or marks the car wrecked when that would leave nothing. Nothing
    // happens when Amount <= 0, while protected, outside the race screen or after the finish.
    void Damage(int Amount);
    // Raises Health by Amount up to 100, under the same conditions as Damage.
    void Repair(int Amount);

    // Steps of Move, public for the race flow and the tests.
    void UpdateProgress();
    void UpdatePlace();
    void CheckCarContacts();
    void HitCar(int Slot);

    double FPushX = 0.0, FPushY = 0.0;
    double FLastPushX = 0.0, FLastPushY = 0.0;
    double FShiftX = 0.0, FShiftY = 0.0;
    bool Driving = false;
    double FNearX = 0.0, FNextX = 0.0, FNearY = 0.0, FNextY = 0.0;
    int NextCheckpoint = 1;
    bool FTracksPlace = true;
    bool FProtected = false;
    int FProtectFrames = 200, FProtectTicks = 0;
    double WrongWayMeter = 0.0;
    double BackwardSpeed = 0.0;
};

} // namespace vm
