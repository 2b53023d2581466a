// The race clock's fixed-interval timer, counted on the main thread: every interval due since enabling runs.
#pragma once

#include "engine/clock.h"
#include "engine/game_constants.h"

#include <cstdint>
#include <functional>

namespace vm {

// The clock is not owned and must outlive the timer. The main loop calls Poll() once per pass; OnTimer runs
// inside Poll() on the caller's thread, once for each whole interval that has passed since the timer was
// enabled and has not run yet, so the count never drifts however late a pass comes.
class TRaceTimer
{
public:
    TRaceTimer(IClock& Clock, int IntervalMs = RaceStepMs); // an interval below 1 ms is taken as 1 ms

    bool Enabled() const { return FEnabled; }
    // Enabling a disabled timer restarts the count from now (a part-interval is lost); enabling an enabled
    // timer changes nothing. Disabling takes effect at once, even from inside OnTimer.
    void SetEnabled(bool Value);
    int IntervalMs() const { return FIntervalMs; }

    std::function<void()> OnTimer;

    // Runs the due intervals; returns how many ran. Stops early when OnTimer disables (or re-enables) the
    // timer.
    int Poll();
    // Clock ticks until the next interval is due (0 if one is due now); -1 when disabled.
    std::int64_t TicksUntilDue();

private:
    std::int64_t IntervalsIn(std::int64_t Ticks) const;
    std::int64_t TicksFor(std::int64_t Intervals) const;

    IClock& FClock;
    std::int64_t FFrequency;
    int FIntervalMs;
    bool FEnabled = false;
    std::int64_t FStart = 0;    // clock value when the timer was enabled
    std::int64_t FRan = 0;      // intervals run since then
    std::uint64_t FSession = 0; // changes on every enable and disable, so a poll knows it was interrupted
};

} // namespace vm
