// Maps SDL keys onto the virtual-key numbers the game reads.
#pragma once

#include <SDL2/SDL_keycode.h>

namespace vm {

// The virtual-key number of a key, or -1 for keys the game has no number for.
int VirtualKeyOf(SDL_Keycode Key);

} // namespace vm
