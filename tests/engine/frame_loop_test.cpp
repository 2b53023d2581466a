// Main-loop pacing in virtual time: frames at their rate, race ticks in between, sleeping rather than
// spinning.
#include "engine/frame_loop.h"

#include "engine/frame_timer.h"
#include "engine/game_constants.h"
#include "engine/race_timer.h"

#include <gtest/gtest.h>

#include <vector>

namespace vm {
namespace {

// Microsecond clock, so sleeps map exactly onto ticks.
constexpr std::int64_t Hz = 1'000'000;

// Sleeping moves the manual clock by the requested time plus an oversleep; a yield costs a little time.
class TFakeSleeper : public ISleeper
{
public:
    explicit TFakeSleeper(TManualClock& Clock) : FClock(Clock) {}
    void SleepMicroseconds(std::int64_t Microseconds) override
    {
        ++Sleeps;
        EXPECT_GT(Microseconds, 0);
        SleptUs += Microseconds + OversleepUs;
        FClock.Advance(Microseconds + OversleepUs);
    }
    void Yield() override
    {
        ++Yields;
        FClock.Advance(YieldUs);
    }

    std::int64_t OversleepUs = 0;
    std::int64_t YieldUs = 20;
    int Sleeps = 0;
    int Yields = 0;
    std::int64_t SleptUs = 0;

private:
    TManualClock& FClock;
};

struct TLoopRig
{
    TManualClock Clock{Hz};
    TFrameTimer Frames{Clock};
    TRaceTimer Race{Clock};
    TFakeSleeper Sleeper{Clock};
    TFrameLoop Loop{Clock, Frames, Race, Sleeper};
    std::vector<std::int64_t> FrameTimes;
    std::vector<int> RaceTicksAtFrame; // race ticks run so far, seen by each frame
    int RaceTicks = 0;

    TLoopRig()
    {
        Frames.SetTargetFPS(FrameRate);
        Frames.SetMinFPS(MinFrameRate);
        Frames.SetMaxFPS(MaxFrameRate);
        Frames.OnTimer = [this] {
            FrameTimes.push_back(Clock.Now());
            RaceTicksAtFrame.push_back(RaceTicks);
        };
        Race.OnTimer = [this] { ++RaceTicks; };
        Frames.SetEnabled(true);
        Race.SetEnabled(true);
    }
    void RunFor(std::int64_t Microseconds)
    {
        const std::int64_t End = Clock.Now() + Microseconds;
        while (Clock.Now() < End)
            Loop.Pass();
    }
};

TEST(FrameLoop, FramesComeAt90PerSecondWithRaceTicksInBetween)
{
    TLoopRig Rig;
    Rig.RunFor(10 * Hz);

    // The loop yields in 20 us steps once inside the margin, so a frame is at most one step late.
    const auto Frames = static_cast<int>(Rig.FrameTimes.size());
    EXPECT_GE(Frames, 897);
    EXPECT_LE(Frames, 900);
    for (std::size_t I = 1; I < Rig.FrameTimes.size(); ++I)
    {
        const std::int64_t Interval = Rig.FrameTimes[I] - Rig.FrameTimes[I - 1];
        EXPECT_GE(Interval, Hz / FrameRate);
        EXPECT_LE(Interval, Hz / FrameRate + Rig.Sleeper.YieldUs);
    }

    EXPECT_GE(Rig.RaceTicks, 999);
    EXPECT_LE(Rig.RaceTicks, 1000);
    // 100 race ticks a second against 90 frames: each frame sees one or two new ticks, never a backlog.
    for (std::size_t I = 1; I < Rig.RaceTicksAtFrame.size(); ++I)
    {
        const int New = Rig.RaceTicksAtFrame[I] - Rig.RaceTicksAtFrame[I - 1];
        EXPECT_GE(New, 1);
        EXPECT_LE(New, 2);
    }
}

TEST(FrameLoop, WaitsMostlyAsleepAndYieldsOnlyInsideTheMargin)
{
    TLoopRig Rig;
    Rig.RunFor(10 * Hz);
    const auto Frames = static_cast<std::int64_t>(Rig.FrameTimes.size());

    // About one sleep a frame, and yields cover no more than the margin of each frame.
    EXPECT_GE(Rig.Sleeper.Sleeps, Frames - 1);
    EXPECT_LE(Rig.Sleeper.Sleeps, 2 * Frames);
    const std::int64_t YieldedUs = Rig.Sleeper.Yields * Rig.Sleeper.YieldUs;
    EXPECT_LE(YieldedUs, Frames * (TFrameLoop::DefaultSleepMarginMicroseconds + Rig.Sleeper.YieldUs));
    EXPECT_GE(Rig.Sleeper.SleptUs, 8 * Hz); // over 80 % of the time asleep

    // A wider margin trades sleep for yields; frames keep their rate.
    TLoopRig Wide;
    Wide.Loop.SetSleepMarginMicroseconds(2000);
    Wide.RunFor(10 * Hz);
    EXPECT_GT(Wide.Sleeper.Yields, Rig.Sleeper.Yields);
    EXPECT_GE(Wide.FrameTimes.size(), 897u);
}

TEST(FrameLoop, OversleepingWithinTheMarginKeepsFramesOnTime)
{
    TLoopRig Rig;
    Rig.Loop.SetSleepMarginMicroseconds(1000);
    Rig.Sleeper.OversleepUs = 400; // a scheduler waking the thread late
    Rig.RunFor(10 * Hz);
    for (std::size_t I = 1; I < Rig.FrameTimes.size(); ++I)
        EXPECT_LE(Rig.FrameTimes[I] - Rig.FrameTimes[I - 1], Hz / FrameRate + Rig.Sleeper.YieldUs);

    // Oversleeping past the margin makes frames late, but the next frame is paced from the late one.
    TLoopRig Late;
    Late.Loop.SetSleepMarginMicroseconds(1000);
    Late.Sleeper.OversleepUs = 1500;
    Late.RunFor(Hz);
    for (std::size_t I = 1; I < Late.FrameTimes.size(); ++I)
        EXPECT_EQ(Late.FrameTimes[I] - Late.FrameTimes[I - 1], Hz / FrameRate + 500);
}

TEST(FrameLoop, WithTheFrameTimerOffTheLoopStillSleepsAndRunsTheRaceClock)
{
    TLoopRig Rig;
    Rig.Frames.SetEnabled(false);
    Rig.RunFor(Hz);
    EXPECT_TRUE(Rig.FrameTimes.empty());
    EXPECT_GE(Rig.RaceTicks, 99);
    EXPECT_LE(Rig.Sleeper.Yields, 100);

    Rig.Race.SetEnabled(false);
    const int Sleeps = Rig.Sleeper.Sleeps;
    Rig.RunFor(Hz);
    EXPECT_LE(Rig.Sleeper.Sleeps - Sleeps, static_cast<int>(Hz / TFrameLoop::MaxWaitMicroseconds) + 1);
    EXPECT_GE(Rig.Sleeper.Sleeps - Sleeps, static_cast<int>(Hz / TFrameLoop::MaxWaitMicroseconds));
}

} // namespace
} // namespace vm
