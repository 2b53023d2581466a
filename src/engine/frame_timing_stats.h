// Frame start timing over a measured span: frames, their rate and the share that started on time.
#pragma once

#include <cstdint>
#include <string>

namespace vm {

// Times are clock ticks. A frame is due one period after the previous frame started, as the frame
// timer schedules it; it is on time when it starts no later than the tolerance after that. Only a
// frame that follows a measured frame is counted, so the span's first frame (after a page's
// loading, a pause) adds nothing.
class TFrameTimingStats
{
public:
    TFrameTimingStats(std::int64_t Frequency, std::int64_t PeriodTicks, std::int64_t ToleranceTicks);

    // A frame started at Now; Measured says whether it belongs to the span (e.g. a race frame).
    void FrameStarted(std::int64_t Now, bool Measured);

    int Frames() const { return FFrames; } // frames counted
    int OnTime() const { return FOnTime; }
    double Seconds() const; // the counted frames' intervals added up
    double FramesPerSecond() const;
    double OnTimeShare() const;        // 0..1; 0 with no frames
    double LatestMilliseconds() const; // how late the latest frame started after it was due

    // One line: frames, rate, on-time share and the latest start; Label names what was counted.
    std::string Summary(const std::string& Label) const;

private:
    std::int64_t FFrequency;
    std::int64_t FPeriod;
    std::int64_t FTolerance;
    bool FPreviousMeasured = false;
    std::int64_t FPrevious = 0;
    int FFrames = 0;
    int FOnTime = 0;
    std::int64_t FTicks = 0;
    std::int64_t FLatest = 0;
};

} // namespace vm
