// Frame pacing: fires OnTimer once per game frame at a target rate and keeps delta, FPS and a slow-frame
// flag.
#pragma once

#include "engine/clock.h"

#include <cstdint>
#include <functional>

namespace vm {

// The clock is not owned and must outlive the timer. The main loop calls Tick() as often as it can (or sleeps
// for TicksUntilDue() first); OnTimer runs inside Tick() on the caller's thread. A timer with no OnTimer
// never ticks, like one that is disabled.
class TFrameTimer
{
public:
    explicit TFrameTimer(IClock& Clock);

    bool Enabled() const { return FEnabled; }
    // Setting true (again) restarts timing from now: no catch-up frame, a new FPS window, FPS 0.
    void SetEnabled(bool Value);

    int TargetFPS() const { return FTargetFPS; } // 0 or less: as fast as the MaxFPS gate allows
    void SetTargetFPS(int Value);
    int MinFPS() const { return FMinFPS; } // longer gaps count as one period of this rate in Delta
    void SetMinFPS(int Value);
    int MaxFPS() const { return FMaxFPS; } // 0 (or less) disables the gate
    void SetMaxFPS(int Value);
    int FPSWarningFrames() const { return FFPSWarningFrames; }
    void SetFPSWarningFrames(int Value); // also clears FPSWarning and the warning count
    bool LossyMode() const { return FLossyMode; }
    void SetLossyMode(bool Value) { FLossyMode = Value; }

    std::function<void()> OnTimer;

    float Delta() const { return FDelta; }     // elapsed time of the last firing in target periods
    float Seconds() const { return FSeconds; } // elapsed time of the last firing in seconds
    int FPS() const { return FFPS; }           // firings in the last complete one-second window
    bool FPSWarning() const { return FFPSWarning; }
    int FPSWarningCount() const { return FWarningCount; } // consecutive slow ticks

    // One pass of the timer; true when OnTimer ran.
    bool Tick();
    // Clock ticks until Tick() would fire (0 if it would fire now); -1 when it cannot fire at all
    // (disabled, no handler, or lossy mode without a target rate).
    std::int64_t TicksUntilDue();

private:
    std::int64_t PeriodOf(int Rate) const;
    void RollFPSWindow(std::int64_t Now);
    void Fire(std::int64_t Now, std::int64_t Elapsed, float Delta);

    IClock& FClock;
    std::int64_t FFrequency;
    bool FEnabled = false;
    int FTargetFPS = 0;
    int FMinFPS = 10;
    int FMaxFPS = 120;
    int FFPSWarningFrames = 10;
    bool FLossyMode = false;

    std::int64_t FLastTime = 0;
    std::int64_t FFPSWindowStart = 0;
    float FDelta = 0.0f;
    float FSeconds = 0.0f;
    int FFPS = 0;
    int FFrameCount = 0;
    bool FFPSWarning = false;
    int FWarningCount = 0;
    std::int64_t FTargetPeriod = 0;
    std::int64_t FMinPeriod = 0;
    std::int64_t FMaxPeriod = 0;
    int FLossyInterval = 0;       // milliseconds
    std::int64_t FLossyTicks = 0; // the same in clock ticks
};

} // namespace vm
