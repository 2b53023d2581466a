// The headless runner's built-in driver: presses the player's driving keys during a race.
#pragma once

#include <array>
#include <functional>

namespace vm {

struct TRaceWorld;

// Drives the player's car as a player at the keyboard would: it looks at the road (the
// checkpoints along its middle and the course's pieces), the walls, the other cars and the hazard
// pickups, and holds Up, Down, Left and Right (never the hand brake: it only slides the body
// round, and it stops a reversing car dead). It keeps no pointer into a race, so one object can
// drive race after race, and it draws no random numbers and reads no clock: the same race gives
// the same keys.
class TAutopilot
{
public:
    using TSendKey = std::function<void(int Key, bool Down)>;

    // Called once per frame, before the frame routine, while a race screen is up. Decides the keys it wants
    // from what the player can see (road, walls, cars, checkpoints) and sends only the changes through
    // SendKey(VirtualKey, Down).
    void Drive(const TRaceWorld& World, const std::function<void(int Key, bool Down)>& SendKey);
    // Lets go of every key it holds.
    void ReleaseAll(const std::function<void(int Key, bool Down)>& SendKey);

private:
    enum class TMode
    {
        Forward, // follow the road
        Reverse  // back away from a wall or a car, turning towards the road
    };

    // What the driver wants for this frame, before it is turned into key changes.
    struct TWish
    {
        bool Up = false, Down = false, Left = false, Right = false;
    };

    TWish Decide(const TRaceWorld& World);
    void Send(const TRaceWorld& World, const TWish& Wish, const TSendKey& SendKey);
    void Reset();

    std::array<bool, 4> FHeld{}; // keys this driver holds down
    TMode FMode = TMode::Forward;
    int FModeTicks = 0;    // frames in the current mode
    int FStuckTicks = 0;   // frames in a row the car wanted to go but hardly moved
    int FReverseCalm = 0;  // frames left before another reverse may start
    double FGoal = 0.0;    // the lane chosen: a sideways offset from the road's middle, pixels
    double FLane = 0.0;    // the lane aimed at, moving towards FGoal a little each frame
    bool FHasLane = false; // FLane holds a choice from an earlier frame
};

} // namespace vm
