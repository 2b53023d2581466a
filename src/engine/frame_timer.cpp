// Frame pacing: the per-tick rules for firing, delta, FPS counting and the slow-frame warning.
#include "engine/frame_timer.h"

#include <algorithm>

namespace vm {

TFrameTimer::TFrameTimer(IClock& Clock)
    : FClock(Clock), FFrequency(std::max<std::int64_t>(1, Clock.Frequency()))
{
    FMinPeriod = PeriodOf(FMinFPS);
    FMaxPeriod = PeriodOf(FMaxFPS);
}

// Integer division as the rates are meant; never 0 ticks, so a rate above the clock frequency cannot make
// Delta divide by zero.
std::int64_t TFrameTimer::PeriodOf(int Rate) const { return std::max<std::int64_t>(1, FFrequency / Rate); }

void TFrameTimer::SetEnabled(bool Value)
{
    FEnabled = Value;
    if (!Value)
        return;
    const std::int64_t Now = FClock.Now();
    FLastTime = Now;
    FFPSWindowStart = Now;
    FFrameCount = 0;
    FFPS = 0;
}

void TFrameTimer::SetTargetFPS(int Value)
{
    if (Value == FTargetFPS)
        return;
    FTargetFPS = Value;
    if (Value > 0)
    {
        FTargetPeriod = PeriodOf(Value);
        FLossyInterval = 1000 / Value;
        FLossyTicks = (static_cast<std::int64_t>(FLossyInterval) * FFrequency + 999) / 1000;
    }
}

void TFrameTimer::SetMinFPS(int Value)
{
    FMinFPS = Value;
    if (Value > 0)
        FMinPeriod = PeriodOf(Value);
}

void TFrameTimer::SetMaxFPS(int Value)
{
    FMaxFPS = Value;
    if (Value > 0)
        FMaxPeriod = PeriodOf(Value);
}

void TFrameTimer::SetFPSWarningFrames(int Value)
{
    FFPSWarningFrames = Value;
    FFPSWarning = false;
    FWarningCount = 0;
}

void TFrameTimer::RollFPSWindow(std::int64_t Now)
{
    if (Now - FFPSWindowStart >= FFrequency)
    {
        FFPS = FFrameCount;
        FFrameCount = 0;
        FFPSWindowStart = Now;
    }
}

// Timing state is brought up to date before the handler runs, so a handler that disables or re-enables
// the timer leaves it exactly as it asked.
void TFrameTimer::Fire(std::int64_t Now, std::int64_t Elapsed, float Delta)
{
    FDelta = Delta;
    FSeconds = static_cast<float>(static_cast<double>(Elapsed) / static_cast<double>(FFrequency));
    FLastTime = Now;
    ++FFrameCount;
    OnTimer();
}

bool TFrameTimer::Tick()
{
    if (!FEnabled || !OnTimer)
        return false;
    const std::int64_t Now = FClock.Now();

    if (FLossyMode)
    {
        // Periodic mode: fires once the lossy interval has passed since the last firing; no gate, no cut.
        if (FTargetFPS <= 0 || Now - FLastTime < FLossyTicks)
            return false;
        RollFPSWindow(Now);
        const std::int64_t Elapsed = Now - FLastTime;
        Fire(Now, Elapsed,
             static_cast<float>(static_cast<double>(Elapsed) / static_cast<double>(FTargetPeriod)));
        return true;
    }

    RollFPSWindow(Now);
    const std::int64_t Elapsed = Now - FLastTime;

    // A gap longer than one MinFPS period counts as that period in Delta and Seconds, and counts as slow.
    std::int64_t Counted = Elapsed;
    if (FMinFPS > 0 && Elapsed > FMinPeriod)
    {
        Counted = FMinPeriod;
        ++FWarningCount;
        if (FWarningCount >= FFPSWarningFrames)
        {
            FFPSWarning = true;
            --FWarningCount; // stays one below the limit: the next slow tick raises the flag again
        }
    }
    else
    {
        FFPSWarning = false;
        FWarningCount = 0;
    }

    // Whether to fire is decided on the real elapsed time: with the cut value, a MinFPS above TargetFPS
    // or MaxFPS would keep the timer from ever firing.
    if (FMaxFPS > 0 && FMaxPeriod > Elapsed)
        return false;
    if (FTargetFPS > 0)
    {
        if (FTargetPeriod > Elapsed)
            return false;
        Fire(Now, Counted,
             static_cast<float>(static_cast<double>(Counted) / static_cast<double>(FTargetPeriod)));
        return true;
    }
    Fire(Now, Counted, static_cast<float>(static_cast<double>(Counted) / static_cast<double>(FFrequency)));
    return true;
}

std::int64_t TFrameTimer::TicksUntilDue()
{
    if (!FEnabled || !OnTimer)
        return -1;
    const std::int64_t Elapsed = FClock.Now() - FLastTime;
    std::int64_t Needed = 0;
    if (FLossyMode)
    {
        if (FTargetFPS <= 0)
            return -1;
        Needed = FLossyTicks;
    }
    else
    {
        if (FMaxFPS > 0)
            Needed = FMaxPeriod;
        if (FTargetFPS > 0)
            Needed = std::max(Needed, FTargetPeriod);
    }
    return std::max<std::int64_t>(0, Needed - Elapsed);
}

} // namespace vm
