// Frame timer: when frames fire, their Delta and Seconds, the FPS count and the slow-frame warning.
#include "engine/frame_timer.h"

#include <gtest/gtest.h>

#include <vector>

namespace vm {
namespace {

// 90000 ticks a second: one frame at 90 FPS is 1000 ticks, one millisecond is 90 ticks.
constexpr std::int64_t Hz = 90000;
constexpr std::int64_t Ms = Hz / 1000;

struct TTimerRig
{
    TManualClock Clock{Hz};
    TFrameTimer Timer{Clock};
    std::vector<std::int64_t> Firings; // clock values at which OnTimer ran

    explicit TTimerRig(int TargetFPS = 90)
    {
        Timer.SetTargetFPS(TargetFPS);
        Timer.OnTimer = [this] { Firings.push_back(Clock.Now()); };
        Timer.SetEnabled(true);
    }
    // Advances the clock in steps and ticks after each; returns how many ticks fired.
    int Run(std::int64_t Step, int Steps)
    {
        int Fired = 0;
        for (int I = 0; I < Steps; ++I)
        {
            Clock.Advance(Step);
            Fired += Timer.Tick() ? 1 : 0;
        }
        return Fired;
    }
    // One tick after a gap of Gap ticks; true when it fired.
    bool TickAfter(std::int64_t Gap)
    {
        Clock.Advance(Gap);
        return Timer.Tick();
    }
};

TEST(FrameTimer, ClassDefaultsAndDisabledOrHandlerlessTimersNeverFire)
{
    TManualClock Clock{Hz};
    TFrameTimer Timer{Clock};
    EXPECT_FALSE(Timer.Enabled());
    EXPECT_EQ(Timer.TargetFPS(), 0);
    EXPECT_EQ(Timer.MinFPS(), 10);
    EXPECT_EQ(Timer.MaxFPS(), 120);
    EXPECT_EQ(Timer.FPSWarningFrames(), 10);
    EXPECT_FALSE(Timer.LossyMode());

    int Calls = 0;
    Timer.OnTimer = [&] { ++Calls; };
    Clock.Advance(Hz);
    EXPECT_FALSE(Timer.Tick());
    EXPECT_EQ(Timer.TicksUntilDue(), -1);

    Timer.OnTimer = nullptr;
    Timer.SetEnabled(true);
    Clock.Advance(Hz);
    EXPECT_FALSE(Timer.Tick()); // no handler: nothing to run, and no crash
    EXPECT_EQ(Calls, 0);
}

TEST(FrameTimer, At90FpsWithMillisecondTicksFiresOnFirstTickPastTheFramePeriod)
{
    TTimerRig Rig;
    // 1/90 s is 11.1 ms: ticks 1..11 are early, tick 12 fires.
    EXPECT_EQ(Rig.Run(Ms, 11), 0);
    EXPECT_EQ(Rig.Timer.TicksUntilDue(), 1000 - 11 * Ms);
    EXPECT_TRUE(Rig.TickAfter(Ms));
    EXPECT_GT(Rig.Timer.Delta(), 1.0f);
    EXPECT_FLOAT_EQ(Rig.Timer.Delta(), 1080.0f / 1000.0f);
    EXPECT_FLOAT_EQ(Rig.Timer.Seconds(), 0.012f);
    EXPECT_EQ(Rig.Timer.TicksUntilDue(), 1000);

    // No catch-up: the next frame is measured from this firing's own tick, so again 12 ticks later.
    Rig.Run(Ms, 48);
    ASSERT_EQ(Rig.Firings.size(), 5u);
    for (std::size_t I = 1; I < Rig.Firings.size(); ++I)
        EXPECT_EQ(Rig.Firings[I] - Rig.Firings[I - 1], 12 * Ms);
    EXPECT_FALSE(Rig.Timer.FPSWarning());
    EXPECT_EQ(Rig.Timer.FPSWarningCount(), 0);
}

TEST(FrameTimer, StallsAreCutToTheMinimumRateAndTenInARowRaiseTheWarning)
{
    TTimerRig Rig;
    ASSERT_TRUE(Rig.TickAfter(1000));

    // A 0.5 s stall: one firing, Delta cut to 1/10 s = 9 frames.
    ASSERT_TRUE(Rig.TickAfter(Hz / 2));
    EXPECT_EQ(Rig.Firings.size(), 2u);
    EXPECT_FLOAT_EQ(Rig.Timer.Delta(), 9.0f);
    EXPECT_FLOAT_EQ(Rig.Timer.Seconds(), 0.1f);
    EXPECT_EQ(Rig.Timer.FPSWarningCount(), 1);
    EXPECT_FALSE(Rig.Timer.FPSWarning());

    for (int I = 2; I <= 9; ++I)
        ASSERT_TRUE(Rig.TickAfter(Hz / 2));
    EXPECT_EQ(Rig.Timer.FPSWarningCount(), 9);
    EXPECT_FALSE(Rig.Timer.FPSWarning());
    ASSERT_TRUE(Rig.TickAfter(Hz / 2)); // the tenth
    EXPECT_TRUE(Rig.Timer.FPSWarning());
    EXPECT_EQ(Rig.Timer.FPSWarningCount(), 9); // held one below the limit...
    ASSERT_TRUE(Rig.TickAfter(Hz / 2));
    EXPECT_TRUE(Rig.Timer.FPSWarning()); // ...so each further slow frame keeps the flag up

    ASSERT_TRUE(Rig.TickAfter(1000)); // one frame on time clears it
    EXPECT_FALSE(Rig.Timer.FPSWarning());
    EXPECT_EQ(Rig.Timer.FPSWarningCount(), 0);
    EXPECT_FLOAT_EQ(Rig.Timer.Delta(), 1.0f);

    // Changing the warning length clears a raised flag.
    for (int I = 0; I < 10; ++I)
        Rig.TickAfter(Hz / 2);
    ASSERT_TRUE(Rig.Timer.FPSWarning());
    Rig.Timer.SetFPSWarningFrames(3);
    EXPECT_FALSE(Rig.Timer.FPSWarning());
    EXPECT_EQ(Rig.Timer.FPSWarningCount(), 0);
    Rig.TickAfter(Hz / 2);
    Rig.TickAfter(Hz / 2);
    EXPECT_FALSE(Rig.Timer.FPSWarning());
    Rig.TickAfter(Hz / 2);
    EXPECT_TRUE(Rig.Timer.FPSWarning());
}

TEST(FrameTimer, WithoutTargetRateTheMaxFpsGateCapsFiringsAndDeltaIsSeconds)
{
    TTimerRig Rig(0);
    // Ticks every 0.1 ms for one second: the 1/120 s gate lets at most 120 through.
    const int Fired = Rig.Run(Ms / 10, 10000);
    EXPECT_LE(Fired, 120);
    EXPECT_GE(Fired, 115);
    for (std::size_t I = 1; I < Rig.Firings.size(); ++I)
        EXPECT_GE(Rig.Firings[I] - Rig.Firings[I - 1], Hz / 120);
    EXPECT_FLOAT_EQ(Rig.Timer.Delta(), Rig.Timer.Seconds());
    EXPECT_NEAR(Rig.Timer.Seconds(), 1.0 / 120, 1e-4);

    // MaxFPS 0 opens the gate: every tick fires.
    Rig.Timer.SetMaxFPS(0);
    EXPECT_EQ(Rig.Run(Ms / 10, 100), 100);
    EXPECT_FLOAT_EQ(Rig.Timer.Seconds(), 0.0001f);
    EXPECT_EQ(Rig.Timer.TicksUntilDue(), 0);
}

TEST(FrameTimer, DisablingStopsFiringsAndEnablingRestartsWithoutACatchUpFrame)
{
    TTimerRig Rig;
    Rig.Run(Ms, 1500); // 1.5 s: FPS now counts the first second
    ASSERT_GT(Rig.Timer.FPS(), 0);

    Rig.Timer.SetEnabled(false);
    const std::size_t Before = Rig.Firings.size();
    EXPECT_EQ(Rig.Run(Ms, 2000), 0);
    EXPECT_EQ(Rig.Firings.size(), Before);

    Rig.Timer.SetEnabled(true);
    EXPECT_EQ(Rig.Timer.FPS(), 0);
    EXPECT_FALSE(Rig.TickAfter(Ms)); // two seconds went by while disabled, yet no frame is due
    EXPECT_EQ(Rig.Run(Ms, 10), 0);
    EXPECT_TRUE(Rig.TickAfter(Ms)); // a whole period after enabling
    EXPECT_FLOAT_EQ(Rig.Timer.Delta(), 1.08f);

    // The FPS window restarted at enabling: after 0.9 s it has not rolled, after 1 s it has.
    Rig.Run(Ms, 888);
    EXPECT_EQ(Rig.Timer.FPS(), 0);
    Rig.Run(Ms, 100);
    EXPECT_EQ(Rig.Timer.FPS(), 83); // firings every 12 ms in the second after enabling
}

TEST(FrameTimer, FpsCountsTheFiringsOfTheLastCompleteSecond)
{
    TTimerRig Rig;
    Rig.Run(Ms, 2500);
    // With 1 ms ticks the windows roll exactly at 1 s and 2 s; FPS holds the firings in [1 s, 2 s).
    int InWindow = 0;
    for (std::int64_t T : Rig.Firings)
        InWindow += (T >= Hz && T < 2 * Hz) ? 1 : 0;
    EXPECT_EQ(Rig.Timer.FPS(), InWindow);
    EXPECT_EQ(InWindow, 83);

    // A timer that keeps up with its target reports it.
    TTimerRig Exact;
    Exact.Run(1000, 3 * 90);
    EXPECT_EQ(Exact.Timer.FPS(), 90);
}

TEST(FrameTimer, PeriodsUseIntegerDivisionOfTheClockFrequency)
{
    // A millisecond clock: 1000 div 90 = 11 ms, so frames come every 11 ms with Delta exactly 1.
    TManualClock Clock{1000};
    TFrameTimer Timer{Clock};
    Timer.SetTargetFPS(90);
    int Calls = 0;
    Timer.OnTimer = [&] { ++Calls; };
    Timer.SetEnabled(true);
    for (int I = 0; I < 110; ++I)
    {
        Clock.Advance(1);
        Timer.Tick();
    }
    EXPECT_EQ(Calls, 10);
    EXPECT_FLOAT_EQ(Timer.Delta(), 1.0f);
}

TEST(FrameTimer, TargetBelowMinFpsStillFiresWithDeltaCut)
{
    // 5 FPS is below the default MinFPS of 10: frames must still come every 0.2 s; Delta counts
    // only the 0.1 s minimum period.
    TTimerRig Rig(5);
    EXPECT_EQ(Rig.Run(Ms, 1000), 5);
    EXPECT_FLOAT_EQ(Rig.Timer.Delta(), 0.5f);

    // MinFPS above MaxFPS must not block the gate either.
    TTimerRig Gated(0);
    Gated.Timer.SetMinFPS(200);
    EXPECT_GE(Gated.Run(Ms, 1000), 110);
    EXPECT_FLOAT_EQ(Gated.Timer.Seconds(), 1.0f / 200);
}

TEST(FrameTimer, LossyModeFiresEveryIntervalIgnoringTheGate)
{
    TTimerRig Rig;
    Rig.Timer.SetLossyMode(true);
    Rig.Timer.SetMaxFPS(50); // a 20 ms gate that lossy mode does not apply
    // 1000 div 90 = 11 ms between firings.
    EXPECT_EQ(Rig.Run(Ms, 10), 0);
    EXPECT_EQ(Rig.Timer.TicksUntilDue(), Ms);
    EXPECT_TRUE(Rig.TickAfter(Ms));
    EXPECT_FLOAT_EQ(Rig.Timer.Delta(), 0.99f);
    EXPECT_EQ(Rig.Run(Ms, 110), 10);

    // Without a target rate there is no interval: nothing fires.
    Rig.Timer.SetTargetFPS(0);
    EXPECT_EQ(Rig.Run(Ms, 100), 0);
    EXPECT_EQ(Rig.Timer.TicksUntilDue(), -1);
}

TEST(FrameTimer, HandlerMayDisableTheTimer)
{
    TTimerRig Rig;
    Rig.Timer.OnTimer = [&] {
        Rig.Firings.push_back(Rig.Clock.Now());
        Rig.Timer.SetEnabled(false);
    };
    Rig.Run(Ms, 100);
    EXPECT_EQ(Rig.Firings.size(), 1u);
    EXPECT_FALSE(Rig.Timer.Enabled());
}

} // namespace
} // namespace vm
