// Game-controller input as the game numbers it: buttons and axes in the order of SDL's
// GameController API, their names (as SDL spells them), and the thresholds that turn an axis into
// a held direction.
#pragma once

#include <cstdint>
#include <string>

namespace vm {

enum TPadButton : int
{
    pbA = 0,
    pbB,
    pbX,
    pbY,
    pbBack,
    pbGuide,
    pbStart,
    pbLeftStick,
    pbRightStick,
    pbLeftShoulder,
    pbRightShoulder,
    pbDPadUp,
    pbDPadDown,
    pbDPadLeft,
    pbDPadRight,
    PadButtonCount
};

enum TPadAxis : int
{
    paLeftX = 0,
    paLeftY,
    paRightX,
    paRightY,
    paLeftTrigger,
    paRightTrigger,
    PadAxisCount
};

// Axis values run -32768..32767 (triggers 0..32767). A stick direction is held from StickOn and
// let go below StickOff, a trigger from TriggerOn and below TriggerOff: the dead zone keeps a
// resting stick quiet, and the gap between the two keeps a stick near the edge from chattering.
inline constexpr int StickOn = 16000;
inline constexpr int StickOff = 10000;
inline constexpr int TriggerOn = 12000;
inline constexpr int TriggerOff = 6000;

// SDL's names ("a", "dpleft", "lefttrigger"); -1 for a name that is none of them.
const char* PadButtonName(int Button);
int PadButtonFromName(const std::string& Name);
const char* PadAxisName(int Axis);
int PadAxisFromName(const std::string& Name);

} // namespace vm
