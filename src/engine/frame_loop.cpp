// One pass of the main loop and the standard-library sleeper it uses in the game.
#include "engine/frame_loop.h"

#include "engine/frame_timer.h"
#include "engine/race_timer.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace vm {

void TThreadSleeper::SleepMicroseconds(std::int64_t Microseconds)
{
    if (Microseconds > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(Microseconds));
}

void TThreadSleeper::Yield() { std::this_thread::yield(); }

TFrameLoop::TFrameLoop(IClock& Clock, TFrameTimer& FrameTimer, TRaceTimer& RaceTimer, ISleeper& Sleeper)
    : FClock(Clock), FFrameTimer(FrameTimer), FRaceTimer(RaceTimer), FSleeper(Sleeper)
{}

std::int64_t TFrameLoop::ToMicroseconds(std::int64_t Ticks) const
{
    const std::int64_t Frequency = std::max<std::int64_t>(1, FClock.Frequency());
    return static_cast<std::int64_t>(static_cast<__int128>(Ticks) * 1'000'000 / Frequency);
}

void TFrameLoop::Pass()
{
    FRaceTimer.Poll();
    if (FFrameTimer.Tick())
        return;

    const std::int64_t FrameTicks = FFrameTimer.TicksUntilDue();
    if (FrameTicks < 0)
    {
        // No frame to pace: the race clock needs no better than its own interval, so no yielding margin.
        const std::int64_t RaceTicks = FRaceTimer.TicksUntilDue();
        const std::int64_t Wait =
            RaceTicks < 0 ? MaxWaitMicroseconds : std::min(MaxWaitMicroseconds, ToMicroseconds(RaceTicks));
        if (Wait > 0)
            FSleeper.SleepMicroseconds(Wait);
        else
            FSleeper.Yield();
        return;
    }

    // Sleeping is coarse (the wake-up can come late), so stop sleeping a margin before the frame is due and
    // only yield from there: the frame starts close to its time without a core spinning between frames.
    const std::int64_t Wait = ToMicroseconds(FrameTicks);
    if (Wait > FSleepMarginUs)
        FSleeper.SleepMicroseconds(std::min(MaxWaitMicroseconds, Wait - FSleepMarginUs));
    else
        FSleeper.Yield();
}

} // namespace vm
