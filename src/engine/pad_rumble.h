// The platform's rumble motors of the connected game controllers.
#pragma once

namespace vm {

class IPadRumble
{
public:
    virtual ~IPadRumble() = default;
    // Shakes every connected pad that has motors at Strength (0..1) for Milliseconds; a new call
    // replaces the one still running. Pads without motors ignore it.
    virtual void Rumble(float Strength, int Milliseconds) = 0;
};

} // namespace vm
