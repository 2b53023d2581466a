// Frame start timing: counting frames against when they were due.
#include "engine/frame_timing_stats.h"

#include <algorithm>
#include <cstdio>

namespace vm {

TFrameTimingStats::TFrameTimingStats(std::int64_t Frequency, std::int64_t PeriodTicks,
                                     std::int64_t ToleranceTicks)
    : FFrequency(std::max<std::int64_t>(1, Frequency)), FPeriod(PeriodTicks), FTolerance(ToleranceTicks)
{}

void TFrameTimingStats::FrameStarted(std::int64_t Now, bool Measured)
{
    if (Measured && FPreviousMeasured)
    {
        const std::int64_t Interval = Now - FPrevious;
        const std::int64_t Late = Interval - FPeriod;
        ++FFrames;
        FTicks += Interval;
        if (Late <= FTolerance)
            ++FOnTime;
        FLatest = std::max(FLatest, Late);
    }
    FPreviousMeasured = Measured;
    FPrevious = Now;
}

double TFrameTimingStats::Seconds() const
{
    return static_cast<double>(FTicks) / static_cast<double>(FFrequency);
}

double TFrameTimingStats::FramesPerSecond() const { return FTicks > 0 ? FFrames / Seconds() : 0.0; }

double TFrameTimingStats::OnTimeShare() const
{
    return FFrames > 0 ? static_cast<double>(FOnTime) / FFrames : 0.0;
}

double TFrameTimingStats::LatestMilliseconds() const
{
    return 1000.0 * static_cast<double>(FLatest) / static_cast<double>(FFrequency);
}

std::string TFrameTimingStats::Summary(const std::string& Label) const
{
    char Line[256];
    std::snprintf(
        Line, sizeof Line,
        "%d %s, %.2f frames/s over %.2f s, %.1f%% started within %.1f ms of due, latest %.1f ms late",
        FFrames, Label.c_str(), FramesPerSecond(), Seconds(), 100.0 * OnTimeShare(),
        1000.0 * static_cast<double>(FTolerance) / static_cast<double>(FFrequency), LatestMilliseconds());
    return Line;
}

} // namespace vm
