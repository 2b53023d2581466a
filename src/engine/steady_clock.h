// The wall clock of the running game: a monotonic clock with nanosecond ticks.
#pragma once

#include "engine/clock.h"

namespace vm {

// std::chrono::steady_clock in nanoseconds; never goes back, unaffected by changes of the system time.
class TSteadyClock : public IClock
{
public:
    std::int64_t Now() override;
    std::int64_t Frequency() override { return 1'000'000'000; }
};

} // namespace vm
