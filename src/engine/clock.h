// Clock interface: the frame timer and the race clock read time only through it.
#pragma once

#include <cstdint>

namespace vm {

class IClock
{
public:
    virtual ~IClock() = default;
    virtual std::int64_t Now() = 0;       // ticks
    virtual std::int64_t Frequency() = 0; // ticks per second, above 0
};

// A clock that moves only when told to: tests, the headless runner, and the GUI's frame clock.
class TManualClock : public IClock
{
public:
    explicit TManualClock(std::int64_t Frequency = 90000) : FFrequency(Frequency) {}
    std::int64_t Now() override { return FNow; }
    std::int64_t Frequency() override { return FFrequency; }
    void Advance(std::int64_t Ticks) { FNow += Ticks; }
    void Set(std::int64_t Ticks) { FNow = Ticks; }

private:
    std::int64_t FFrequency;
    std::int64_t FNow = 0;
};

} // namespace vm
