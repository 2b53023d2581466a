// The high-resolution clock of SDL.
#include "platform/sdl/sdl_clock.h"

#include <SDL2/SDL_timer.h>

namespace vm {

std::int64_t TSdlClock::Now() { return static_cast<std::int64_t>(SDL_GetPerformanceCounter()); }

std::int64_t TSdlClock::Frequency()
{
    const auto Value = static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
    return Value > 0 ? Value : 1000;
}

} // namespace vm
