// Hands one SDL event to the game.
#include "platform/sdl/sdl_events.h"

#include "platform/sdl/key_map.h"
#include "platform/sdl/sdl_render_device.h"
#include "shell/game.h"

#include <SDL2/SDL.h>

namespace vm {

bool HandleEvent(const SDL_Event& Event, TGame& Game, TSdlRenderDevice& Device)
{
    switch (Event.type)
    {
    case SDL_QUIT: return Game.FormCloseQuery();
    case SDL_KEYDOWN: Game.FormKeyDown(VirtualKeyOf(Event.key.keysym.sym)); break;
    case SDL_KEYUP: Game.FormKeyUp(VirtualKeyOf(Event.key.keysym.sym)); break;
    case SDL_MOUSEMOTION: Game.MouseMove(Event.motion.x, Event.motion.y); break;
    case SDL_MOUSEBUTTONDOWN:
        if (Event.button.button == SDL_BUTTON_LEFT)
            Game.MouseButton(true, Event.button.x, Event.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (Event.button.button == SDL_BUTTON_LEFT)
            Game.MouseButton(false, Event.button.x, Event.button.y);
        break;
    case SDL_TEXTINPUT: Game.TextInput(Event.text.text); break;
    case SDL_WINDOWEVENT:
        if (Event.window.event == SDL_WINDOWEVENT_MINIMIZED)
            Device.SetReady(false);
        else if (Event.window.event == SDL_WINDOWEVENT_RESTORED ||
                 Event.window.event == SDL_WINDOWEVENT_SHOWN)
            Device.SetReady(true);
        else if (Event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            Game.FocusChanged(false);
        else if (Event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            Game.FocusChanged(true);
        break;
    case SDL_RENDER_DEVICE_RESET:
        Device.ForgetTextures();
        Game.DeviceReset();
        break;
    case SDL_RENDER_TARGETS_RESET: Game.DeviceReset(); break;
    default: break;
    }
    return false;
}

} // namespace vm
