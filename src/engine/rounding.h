// Rounding to the nearest integer the way the game's arithmetic expects it.
#pragma once

#include <cmath>

namespace vm {

// Nearest integer with halves to even (2.5 -> 2, 3.5 -> 4), independent of the floating-point
// rounding mode.
inline long RoundHalfEven(double Value)
{
    const double Down = std::floor(Value);
    const double Diff = Value - Down;
    if (Diff > 0.5)
        return static_cast<long>(Down) + 1;
    if (Diff < 0.5)
        return static_cast<long>(Down);
    return std::fmod(Down, 2.0) == 0.0 ? static_cast<long>(Down) : static_cast<long>(Down) + 1;
}

} // namespace vm
