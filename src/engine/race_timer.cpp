// The race clock's fixed-interval timer: counts whole intervals since enabling and runs the ones still due.
#include "engine/race_timer.h"

#include <algorithm>

namespace vm {

TRaceTimer::TRaceTimer(IClock& Clock, int IntervalMs)
    : FClock(Clock), FFrequency(std::max<std::int64_t>(1, Clock.Frequency())),
      FIntervalMs(std::max(1, IntervalMs))
{}

void TRaceTimer::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    ++FSession;
    if (Value)
    {
        FStart = FClock.Now();
        FRan = 0;
    }
}

// Whole intervals in Ticks: Ticks * 1000 / (Frequency * IntervalMs), in 128 bits so that long races on a
// nanosecond clock cannot overflow.
std::int64_t TRaceTimer::IntervalsIn(std::int64_t Ticks) const
{
    if (Ticks <= 0)
        return 0;
    return static_cast<std::int64_t>(static_cast<__int128>(Ticks) * 1000 /
                                     (static_cast<__int128>(FFrequency) * FIntervalMs));
}

// First clock tick (counted from the start) at which Intervals whole intervals have passed.
std::int64_t TRaceTimer::TicksFor(std::int64_t Intervals) const
{
    const __int128 Scaled = static_cast<__int128>(Intervals) * FIntervalMs * FFrequency;
    return static_cast<std::int64_t>((Scaled + 999) / 1000);
}

int TRaceTimer::Poll()
{
    if (!FEnabled)
        return 0;
    const std::int64_t Due = IntervalsIn(FClock.Now() - FStart);
    if (!OnTimer)
    {
        FRan = std::max(FRan, Due);
        return 0;
    }
    const std::uint64_t Session = FSession;
    int Count = 0;
    while (FRan < Due && FEnabled && FSession == Session)
    {
        ++FRan;
        ++Count;
        OnTimer();
    }
    return Count;
}

std::int64_t TRaceTimer::TicksUntilDue()
{
    if (!FEnabled)
        return -1;
    return std::max<std::int64_t>(0, FStart + TicksFor(FRan + 1) - FClock.Now());
}

} // namespace vm
