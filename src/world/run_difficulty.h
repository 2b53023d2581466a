// The difficulty values of a run: set at the run's start, raised before each further race.
#pragma once

#include <cstdint>

namespace vm {

// The game object owns one; the car choice page calls StartRun, the race-over page's continue
// action increases RaceNumber and then calls RaiseDifficulty. These values are not saved.
struct TRunDifficulty
{
    std::int32_t FOpponentCount = 3; // the race has FOpponentCount + 1 cars
    std::int32_t FCourseLength = 90;
    std::int32_t FRaceBonus = 500;
    std::int32_t FSegmentMin = 5;
    std::int32_t FSegmentMax = 10;
    std::int32_t FBonusSplitLow = 200;
    std::int32_t FBonusSplitHigh = 400;
    std::int32_t FTimeLimitMinutes = 1;
    std::int32_t FTimeLimitSeconds = 0; // may stand at 60 for a race (see RaiseDifficulty)
    std::int32_t FTimeLimitHundredths = 0;

    // The values of a run's first race. (The caller also sets RaceNumber to 1 and Score to 0.)
    void StartRun();
    // The step between two races; RaceNumber is the number of the race about to start.
    void RaiseDifficulty(std::int32_t RaceNumber);
};

} // namespace vm
