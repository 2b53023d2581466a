// Message box on SDL.
#include "platform/sdl/sdl_message_box.h"

#include <SDL2/SDL.h>

#include <cstdio>

namespace vm {

void TSdlMessageBox::Show(const std::string& Text, const std::string& Caption)
{
    std::fprintf(stderr, "%s: %s\n", Caption.c_str(), Text.c_str());
    // No display (headless): the text on stderr is all there is.
    const char* Driver = SDL_GetCurrentVideoDriver();
    if (Driver == nullptr || SDL_strcmp(Driver, "offscreen") == 0 || SDL_strcmp(Driver, "dummy") == 0)
        return;
    SDL_ShowCursor(SDL_ENABLE);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, Caption.c_str(), Text.c_str(), FWindow);
}

} // namespace vm
