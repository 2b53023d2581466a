// The finish line: an invisible strip across the run-out that records the cars crossing it, and
// the picture drawn on it.
#pragma once

#include "world/turned_box.h"
#include "world/world_sprite.h"

#include <array>
#include <functional>

namespace vm {

class TCar;
struct TRaceWorld;

// The picture of the finish line. Owned by the sprite engine; the line places it every frame.
class TFLineImage : public TWorldSprite
{
public:
    // Centred on (X, Y).
    TFLineImage(TRaceWorld& World, float X, float Y);
    // Does nothing: the line moves its picture.
    void Move(float MoveCount) override;
};

// A point of the line's outline.
// One per race, made by the race setup; owned by the sprite engine and never removed while the race
// lasts. Each frame it moves with the world and records the cars that overlap it.
class TFinishLine : public TWorldSprite
{
public:
    // Centred on (X, Y), turned by Angle degrees; makes its picture on the same engine.
    TFinishLine(TRaceWorld& World, float X, float Y, double Angle);

    // World shift, picture, outline, then CheckFinish.
    void Move(float MoveCount) override;
    // Recomputes Corners from the position, the size and Angle.
    void UpdateCorners();
    // Records every opponent that overlaps the line for the first time (a results row while rows are
    // left; stopped and counted in any case), then the player's finish.
    void CheckFinish();

    double LineAngle = 0.0;
    TBoxCorners Corners{};
    std::array<double, 4> CornerAngles{};
    TFLineImage* FLineImage = nullptr; // made by the constructor, owned by the engine

    // The player's finish: the race clock left and the place at the moment of crossing. The race
    // world has no fields for them yet, so the line keeps them; the race flow reads them here.
    int FFinishMinutes = 0, FFinishSeconds = 0, FFinishHundredths = 0;
    int FFinishPlace = 0;

    // Hooks for the parts the world cannot reach, set by the race setup: stopping an opponent that
    // has finished (its driving flag belongs to the opponent's own class) and stopping the race
    // timer when the player finishes. Either may be empty.
    std::function<void(TCar& Opponent, int Slot)> OnOpponentFinished;
    std::function<void()> OnPlayerFinished;

private:
    bool Overlaps(const TCar& Car) const;

    TRaceWorld& FWorld;
    TBoxTurn FTurn;
};

} // namespace vm
