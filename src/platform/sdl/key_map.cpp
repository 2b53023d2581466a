// Maps SDL keys onto the virtual-key numbers the game reads.
#include "platform/sdl/key_map.h"

namespace vm {

int VirtualKeyOf(SDL_Keycode Key)
{
    if (Key >= SDLK_a && Key <= SDLK_z)
        return 'A' + (Key - SDLK_a);
    if (Key >= SDLK_0 && Key <= SDLK_9)
        return '0' + (Key - SDLK_0);
    if (Key >= SDLK_F1 && Key <= SDLK_F12)
        return 112 + (Key - SDLK_F1);
    switch (Key)
    {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 17;
    case SDLK_LALT:
    case SDLK_RALT: return 18;
    case SDLK_PAUSE: return 19;
    case SDLK_ESCAPE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return 46;
    case SDLK_KP_0: return 96;
    case SDLK_KP_1: return 97;
    case SDLK_KP_2: return 98;
    case SDLK_KP_3: return 99;
    case SDLK_KP_4: return 100;
    case SDLK_KP_5: return 101;
    case SDLK_KP_6: return 102;
    case SDLK_KP_7: return 103;
    case SDLK_KP_8: return 104;
    case SDLK_KP_9: return 105;
    case SDLK_KP_MULTIPLY: return 106;
    case SDLK_KP_PLUS: return 107;
    case SDLK_KP_MINUS: return 109;
    case SDLK_KP_PERIOD: return 110;
    case SDLK_KP_DIVIDE: return 111;
    default: return -1;
    }
}

} // namespace vm
