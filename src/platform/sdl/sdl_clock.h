// The high-resolution clock of SDL.
#pragma once

#include "engine/clock.h"

namespace vm {

class TSdlClock : public IClock
{
public:
    std::int64_t Now() override;
    std::int64_t Frequency() override;
};

} // namespace vm
