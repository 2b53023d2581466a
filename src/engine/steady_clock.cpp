// The wall clock of the running game, read from std::chrono::steady_clock.
#include "engine/steady_clock.h"

#include <chrono>

namespace vm {

std::int64_t TSteadyClock::Now()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace vm
