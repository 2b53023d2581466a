// Frame start timing: which frames count, when a frame is late, and the rate over the span.
#include "engine/frame_timing_stats.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

// Microsecond ticks, a 10 ms period and a 1 ms tolerance.
constexpr std::int64_t Hz = 1'000'000;
constexpr std::int64_t Period = 10'000;
constexpr std::int64_t Tolerance = 1'000;

TEST(FrameTimingStats, FrameIsOnTimeUpToTheToleranceAfterItWasDue)
{
    TFrameTimingStats Stats(Hz, Period, Tolerance);
    std::int64_t Now = 0;
    Stats.FrameStarted(Now, true);
    for (const std::int64_t Interval : {Period, Period + Tolerance, Period + Tolerance + 1, Period + 5'000})
        Stats.FrameStarted(Now += Interval, true);
    EXPECT_EQ(Stats.Frames(), 4);
    EXPECT_EQ(Stats.OnTime(), 2);
    EXPECT_DOUBLE_EQ(Stats.OnTimeShare(), 0.5);
    EXPECT_DOUBLE_EQ(Stats.LatestMilliseconds(), 5.0);
    EXPECT_DOUBLE_EQ(Stats.Seconds(), (4 * Period + Tolerance + Tolerance + 1 + 5'000) / 1e6);
    EXPECT_DOUBLE_EQ(Stats.FramesPerSecond(), 4 / Stats.Seconds());
}

TEST(FrameTimingStats, OnlyFramesFollowingAMeasuredFrameCount)
{
    TFrameTimingStats Stats(Hz, Period, Tolerance);
    // Pages before the span, then a long first race frame (loading) that is not counted.
    Stats.FrameStarted(0, false);
    Stats.FrameStarted(Period, false);
    Stats.FrameStarted(Period + 500'000, true);
    EXPECT_EQ(Stats.Frames(), 0);
    Stats.FrameStarted(2 * Period + 500'000, true);
    Stats.FrameStarted(3 * Period + 500'000, true);
    // A pause: its frames and the first frame after it are left out, however long the pause was.
    Stats.FrameStarted(4 * Period + 500'000, false);
    Stats.FrameStarted(9'000'000, true);
    Stats.FrameStarted(9'000'000 + Period, true);
    EXPECT_EQ(Stats.Frames(), 3);
    EXPECT_EQ(Stats.OnTime(), 3);
    EXPECT_DOUBLE_EQ(Stats.FramesPerSecond(), 100.0);
    EXPECT_DOUBLE_EQ(Stats.LatestMilliseconds(), 0.0);
}

TEST(FrameTimingStats, SummaryWithNoFramesTellsZeros)
{
    TFrameTimingStats Stats(Hz, Period, Tolerance);
    Stats.FrameStarted(0, true);
    EXPECT_EQ(
        Stats.Summary("race frames"),
        "0 race frames, 0.00 frames/s over 0.00 s, 0.0% started within 1.0 ms of due, latest 0.0 ms late");
    Stats.FrameStarted(Period, true);
    EXPECT_EQ(Stats.Summary("race frames"), "1 race frames, 100.00 frames/s over 0.01 s, 100.0% started "
                                            "within 1.0 ms of due, latest 0.0 ms late");
}

} // namespace
} // namespace vm
