// The run's difficulty step between races.
#include "world/run_difficulty.h"

namespace vm {

void TRunDifficulty::StartRun() { *this = TRunDifficulty{}; }

void TRunDifficulty::RaiseDifficulty(std::int32_t RaceNumber)
{
    // Applied in this order; each value depends only on itself and RaceNumber.
    if (FOpponentCount < 9)
        FOpponentCount += 1;
    if (FCourseLength < 250)
        FCourseLength += 20;
    FRaceBonus += 500;

    // The course generator's segments get shorter: races 2 and 3 lower only the minimum (no
    // floor is needed, it is 3 by then), later races lower both, down to 1 and 3.
    if (RaceNumber <= 3)
        FSegmentMin -= 1;
    else if (FSegmentMin > 1)
        FSegmentMin -= 1;
    if (RaceNumber > 3 && FSegmentMax > 3)
        FSegmentMax -= 1;

    if (FBonusSplitLow < 300)
        FBonusSplitLow += 1;
    if (FBonusSplitHigh < 550)
        FBonusSplitHigh += 1;

    // Race 2 adds 6 seconds, later races 5. Exactly 60 is kept for a race (a 1:60 limit); past 60
    // the seconds restart at 0 with one more minute and the excess is dropped.
    FTimeLimitSeconds += RaceNumber < 3 ? 10 - 2 * RaceNumber : 5;
    if (FTimeLimitSeconds > 60)
    {
        FTimeLimitSeconds = 0;
        FTimeLimitMinutes += 1;
    }
}

} // namespace vm
