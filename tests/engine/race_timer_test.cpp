// Race-clock timer: due intervals run on poll, no drift, and disabling stops it at once.
#include "engine/race_timer.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

constexpr std::int64_t Hz = 90000;
constexpr std::int64_t Ms = Hz / 1000;

TEST(RaceTimer, RunsEveryWholeIntervalDueSinceEnabling)
{
    TManualClock Clock{Hz};
    TRaceTimer Timer{Clock};
    int Calls = 0;
    Timer.OnTimer = [&] { ++Calls; };

    Clock.Advance(100 * Ms);
    EXPECT_EQ(Timer.Poll(), 0); // disabled: nothing runs, nothing is saved up
    EXPECT_EQ(Timer.TicksUntilDue(), -1);

    Timer.SetEnabled(true);
    Clock.Advance(35 * Ms);
    EXPECT_EQ(Timer.Poll(), 3);
    EXPECT_EQ(Calls, 3);
    EXPECT_EQ(Timer.Poll(), 0); // already run
    EXPECT_EQ(Timer.TicksUntilDue(), 5 * Ms);
    Clock.Advance(4 * Ms);
    EXPECT_EQ(Timer.Poll(), 0);
    Clock.Advance(1 * Ms);
    EXPECT_EQ(Timer.TicksUntilDue(), 0);
    EXPECT_EQ(Timer.Poll(), 1);
    Clock.Advance(1000 * Ms); // a late pass catches up with every interval
    EXPECT_EQ(Timer.Poll(), 100);
    EXPECT_EQ(Calls, 104);
}

TEST(RaceTimer, DisablingInsideTheHandlerStopsTheRest)
{
    TManualClock Clock{Hz};
    TRaceTimer Timer{Clock};
    int Calls = 0;
    Timer.OnTimer = [&] {
        if (++Calls == 4)
            Timer.SetEnabled(false); // the race clock reached zero
    };
    Timer.SetEnabled(true);
    Clock.Advance(100 * Ms);
    EXPECT_EQ(Timer.Poll(), 4);
    EXPECT_FALSE(Timer.Enabled());
    Clock.Advance(100 * Ms);
    EXPECT_EQ(Timer.Poll(), 0);
    EXPECT_EQ(Calls, 4);
}

TEST(RaceTimer, ReenablingInsideTheHandlerDropsTheOldBacklog)
{
    TManualClock Clock{Hz};
    TRaceTimer Timer{Clock};
    int Calls = 0;
    Timer.OnTimer = [&] {
        if (++Calls == 1)
        {
            Timer.SetEnabled(false);
            Timer.SetEnabled(true);
        }
    };
    Timer.SetEnabled(true);
    Clock.Advance(50 * Ms);
    EXPECT_EQ(Timer.Poll(), 1);
    EXPECT_EQ(Timer.Poll(), 0); // counting starts again from the re-enabling
    Clock.Advance(10 * Ms);
    EXPECT_EQ(Timer.Poll(), 1);
}

TEST(RaceTimer, EnablingRestartsOnlyAStoppedTimer)
{
    TManualClock Clock{Hz};
    TRaceTimer Timer{Clock};
    int Calls = 0;
    Timer.OnTimer = [&] { ++Calls; };

    // Pausing and resuming loses the part-interval in progress.
    Timer.SetEnabled(true);
    Clock.Advance(9 * Ms);
    Timer.SetEnabled(false);
    Timer.SetEnabled(true);
    Clock.Advance(9 * Ms);
    EXPECT_EQ(Timer.Poll(), 0);

    // Enabling a running timer keeps its count.
    Timer.SetEnabled(true);
    Clock.Advance(1 * Ms);
    EXPECT_EQ(Timer.Poll(), 1);
}

TEST(RaceTimer, CountsDoNotDriftWhenIntervalsAreNotWholeClockTicks)
{
    // 1024 ticks a second: 10 ms is 10.24 ticks. Whatever the polling pattern, one second is 100 intervals.
    TManualClock Clock{1024};
    TRaceTimer Timer{Clock};
    int Calls = 0;
    Timer.OnTimer = [&] { ++Calls; };
    Timer.SetEnabled(true);
    int Ran = 0;
    for (int I = 0; I < 1024 * 10; ++I)
    {
        Clock.Advance(1);
        Ran += Timer.Poll();
    }
    EXPECT_EQ(Ran, 1000);
    EXPECT_EQ(Calls, 1000);
    // 1001 intervals are 10250.24 ticks: due at 10251 ticks from enabling.
    EXPECT_EQ(Timer.TicksUntilDue(), 11);
}

TEST(RaceTimer, HourLongRacesOnANanosecondClockCountExactly)
{
    TManualClock Clock{1'000'000'000};
    TRaceTimer Timer{Clock};
    Timer.OnTimer = [] {};
    Clock.Set(std::int64_t{1} << 62);
    Timer.SetEnabled(true);
    Clock.Advance(std::int64_t{3'600} * 1'000'000'000 + 25'000'000); // an hour and 25 ms
    EXPECT_EQ(Timer.Poll(), 360'002);
    EXPECT_EQ(Timer.TicksUntilDue(), 5'000'000);
}

TEST(RaceTimer, OddIntervalsAreClampedAndAHandlerlessTimerRunsNothing)
{
    TManualClock Clock{Hz};
    TRaceTimer Timer{Clock, 0};
    EXPECT_EQ(Timer.IntervalMs(), 1);
    Timer.SetEnabled(true);
    Clock.Advance(10 * Ms);
    EXPECT_EQ(Timer.Poll(), 0); // no handler
    int Calls = 0;
    Timer.OnTimer = [&] { ++Calls; };
    EXPECT_EQ(Timer.Poll(), 0); // the intervals that passed without a handler are not saved up
    Clock.Advance(2 * Ms);
    EXPECT_EQ(Timer.Poll(), 2);
    EXPECT_EQ(Calls, 2);
}

} // namespace
} // namespace vm
