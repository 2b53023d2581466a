// Maps SDL keys onto the virtual-key numbers the game reads.
#include "platform/sdl/key_map.h"

#include "engine/virtual_keys.h"

namespace vm {

int VirtualKeyOf(SDL_Keycode Key)
{
    if (Key >= SDLK_a && Key <= SDLK_z)
        return 'A' + (Key - SDLK_a);
    if (Key >= SDLK_0 && Key <= SDLK_9)
        return '0' + (Key - SDLK_0);
    if (Key >= SDLK_F1 && Key <= SDLK_F12)
        return vkF1 + (Key - SDLK_F1);
    switch (Key)
    {
    case SDLK_BACKSPACE: return vkBack;
    case SDLK_TAB: return vkTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return vkReturn;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return vkShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return vkControl;
    case SDLK_LALT:
    case SDLK_RALT: return vkAlt;
    case SDLK_PAUSE: return vkPause;
    case SDLK_ESCAPE: return vkEscape;
    case SDLK_SPACE: return vkSpace;
    case SDLK_PAGEUP: return vkPageUp;
    case SDLK_PAGEDOWN: return vkPageDown;
    case SDLK_END: return vkEnd;
    case SDLK_HOME: return vkHome;
    case SDLK_LEFT: return vkLeft;
    case SDLK_UP: return vkUp;
    case SDLK_RIGHT: return vkRight;
    case SDLK_DOWN: return vkDown;
    case SDLK_INSERT: return vkInsert;
    case SDLK_DELETE: return vkDelete;
    case SDLK_KP_0: return vkNumpad0;
    case SDLK_KP_1: return vkNumpad1;
    case SDLK_KP_2: return vkNumpad2;
    case SDLK_KP_3: return vkNumpad3;
    case SDLK_KP_4: return vkNumpad4;
    case SDLK_KP_5: return vkNumpad5;
    case SDLK_KP_6: return vkNumpad6;
    case SDLK_KP_7: return vkNumpad7;
    case SDLK_KP_8: return vkNumpad8;
    case SDLK_KP_9: return vkNumpad9;
    case SDLK_KP_MULTIPLY: return vkMultiply;
    case SDLK_KP_PLUS: return vkAdd;
    case SDLK_KP_MINUS: return vkSubtract;
    case SDLK_KP_PERIOD: return vkDecimal;
    case SDLK_KP_DIVIDE: return vkDivide;
    default: return -1;
    }
}

} // namespace vm
