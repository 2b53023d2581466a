// Tests of the run's difficulty values across a long run.
#include "world/run_difficulty.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vm {
namespace {

TEST(RunDifficulty, ValuesFollowTheRacesAndStopAtTheirCaps)
{
    TRunDifficulty D;
    D.StartRun();
    EXPECT_EQ(D.FOpponentCount, 3);
    EXPECT_EQ(D.FCourseLength, 90);
    EXPECT_EQ(D.FRaceBonus, 500);
    EXPECT_EQ(D.FSegmentMin, 5);
    EXPECT_EQ(D.FSegmentMax, 10);
    EXPECT_EQ(D.FBonusSplitLow, 200);
    EXPECT_EQ(D.FBonusSplitHigh, 400);
    const std::int32_t SegmentMin[] = {0, 5, 4, 3, 2, 1, 1, 1};
    for (std::int32_t Race = 2; Race <= 400; ++Race)
    {
        D.RaiseDifficulty(Race);
        SCOPED_TRACE(Race);
        EXPECT_EQ(D.FOpponentCount, std::min(Race + 2, 9));
        EXPECT_EQ(D.FCourseLength, std::min(70 + 20 * Race, 250));
        EXPECT_EQ(D.FRaceBonus, 500 * Race);
        EXPECT_EQ(D.FSegmentMin, SegmentMin[std::min(Race, 7)]);
        EXPECT_EQ(D.FSegmentMax, Race <= 3 ? 10 : std::max(13 - Race, 3));
        EXPECT_EQ(D.FBonusSplitLow, std::min(199 + Race, 300));
        EXPECT_EQ(D.FBonusSplitHigh, std::min(399 + Race, 550));
        EXPECT_EQ(D.FTimeLimitHundredths, 0);
    }
}

TEST(RunDifficulty, TimeLimitKeepsSixtyAndWrapsAbove)
{
    TRunDifficulty D;
    EXPECT_EQ(D.FTimeLimitMinutes, 1);
    EXPECT_EQ(D.FTimeLimitSeconds, 0);
    struct TLimit
    {
        std::int32_t Race, Minutes, Seconds;
    };
    // Race 2 adds 6 s, later races 5 s: 56 at race 12, 61 at race 13 wraps to 0 (the extra second
    // is dropped); then 5 .. 60 at race 25, which stands, and 65 at race 26 wraps again.
    const TLimit Expected[] = {{2, 1, 6},  {3, 1, 11},  {12, 1, 56}, {13, 2, 0},
                               {14, 2, 5}, {24, 2, 55}, {25, 2, 60}, {26, 3, 0}};
    std::size_t Next = 0;
    for (std::int32_t Race = 2; Race <= 26; ++Race)
    {
        D.RaiseDifficulty(Race);
        EXPECT_GE(D.FTimeLimitSeconds, 0);
        EXPECT_LE(D.FTimeLimitSeconds, 60);
        if (Next < std::size(Expected) && Expected[Next].Race == Race)
        {
            SCOPED_TRACE(Race);
            EXPECT_EQ(D.FTimeLimitMinutes, Expected[Next].Minutes);
            EXPECT_EQ(D.FTimeLimitSeconds, Expected[Next].Seconds);
            ++Next;
        }
    }
    EXPECT_EQ(Next, std::size(Expected));
}

TEST(RunDifficulty, StartRunForgetsTheLastRun)
{
    TRunDifficulty D;
    for (std::int32_t Race = 2; Race <= 15; ++Race)
        D.RaiseDifficulty(Race);
    D.StartRun();
    EXPECT_EQ(D.FOpponentCount, 3);
    EXPECT_EQ(D.FCourseLength, 90);
    EXPECT_EQ(D.FRaceBonus, 500);
    EXPECT_EQ(D.FSegmentMin, 5);
    EXPECT_EQ(D.FSegmentMax, 10);
    EXPECT_EQ(D.FTimeLimitMinutes, 1);
    EXPECT_EQ(D.FTimeLimitSeconds, 0);
    EXPECT_EQ(D.FBonusSplitLow, 200);
    EXPECT_EQ(D.FBonusSplitHigh, 400);
}

} // namespace
} // namespace vm
