// A computer-driven opponent: pursues the checkpoints with its own lane, watches ahead and bumps.
#pragma once

#include "world/car.h"

#include <array>
#include <span>
#include <string>

namespace vm {

class TArrow;

// Created by the race setup and owned by the sprite engine; the setup stores it in FEnemies[Slot].
// It moves with the player's world shift plus its own travel, and drives only while Racing is set.
class TEnemyCar : public TCar
{
public:
    // Look-ahead points: 0 and 1 ahead-left/right (walls), 2 far ahead and 3 close ahead (cars),
    // 4 beside the car.
    static constexpr int LookAheadCount = 5;

    // (X, Y) is the centre. Draws, in this order: the colour variant, the lane offset, the first
    // lane-change time and the progress marker's x offset. Counts itself into FEnemyCount.
    TEnemyCar(TRaceWorld& World, double X, double Y, int CarIndex, const std::string& Name, int Slot,
              double Heading, int UseMenuImages, int GridPos);

    // The whole frame of the opponent (see enemy_car.cpp for the order of steps).
    void Move(float MoveCount) override;

    // The walls watch the two front points (0 ahead-left, 1 ahead-right).
    std::span<TLookAheadPoint> WallSensors() override;

    // Steps of Move, public for the race flow and the tests.
    void Drive();
    void Avoid();
    void UpdateLookAhead();
    void CheckCarContacts();
    // This car's own reaction to touching Other (another opponent or the player).
    void HitCar(const TCar& Other);
    void UpdateProgress();
    void UpdatePlace();

    int FSlot = 0;
    int FTarget = 1;
    TArrow* FTargetArrow = nullptr; // hidden; its Angle holds the direction to the target
    bool FTouchingPlayer = false;
    std::array<TLookAheadPoint, LookAheadCount> FLookAhead{};
    bool FAvoidRight = false, FAvoidLeft = false;
    bool FBlocked = false;
    bool Racing = false;
    int FGridPos = 0;
    double FLaneOffset = 0.0;
    int FLaneLimit = 0, FLaneTicks = 0;

private:
    // Opponent slots this car may look at: FEnemyCount bounded by the tables.
    int OpponentSlots() const;
    // True when FSlot indexes the world's tables.
    bool SlotValid() const;
};

// Stops an opponent that has crossed the finish (it then rolls to a stop); does nothing for any
// other car. The race setup connects the finish line's opponent hook to it.
void StopOpponent(TCar& Car);

} // namespace vm
