// One pass of the main loop: race clock, frame timer, and a wait that sleeps instead of burning a core.
#pragma once

#include "engine/clock.h"

#include <cstdint>

namespace vm {

class TFrameTimer;
class TRaceTimer;

// How the loop waits; tests pass one that moves a manual clock.
class ISleeper
{
public:
    virtual ~ISleeper() = default;
    virtual void SleepMicroseconds(std::int64_t Microseconds) = 0;
    virtual void Yield() = 0; // give up the processor for a moment, returning as soon as possible
};

// Sleeps with std::this_thread.
class TThreadSleeper : public ISleeper
{
public:
    void SleepMicroseconds(std::int64_t Microseconds) override;
    void Yield() override;
};

// None of the parts is owned; all must outlive the loop. The platform calls Pass() after each round of
// event handling, on the main thread.
class TFrameLoop
{
public:
    TFrameLoop(IClock& Clock, TFrameTimer& FrameTimer, TRaceTimer& RaceTimer, ISleeper& Sleeper);

    // Runs the due race-clock intervals, then one frame timer tick. When no frame fired it waits: a sleep
    // that ends the sleep margin before the next frame is due, or, inside the margin, one yield. A wait is
    // never longer than MaxWaitMicroseconds, so events keep being handled.
    void Pass();

    std::int64_t SleepMarginMicroseconds() const { return FSleepMarginUs; }
    void SetSleepMarginMicroseconds(std::int64_t Value) { FSleepMarginUs = Value < 0 ? 0 : Value; }

    // Sleeps on Linux wake about 0.1 ms late, so a small margin suffices. A wider one costs processor time
    // and, on a busy machine, timing too: a yield can hand the core to another process for a whole slice.
    static constexpr std::int64_t DefaultSleepMarginMicroseconds = 100;
    static constexpr std::int64_t MaxWaitMicroseconds = 20'000;

private:
    std::int64_t ToMicroseconds(std::int64_t Ticks) const;

    IClock& FClock;
    TFrameTimer& FFrameTimer;
    TRaceTimer& FRaceTimer;
    ISleeper& FSleeper;
    std::int64_t FSleepMarginUs = DefaultSleepMarginMicroseconds;
};

} // namespace vm
