// The game window and its OpenGL renderer on SDL.
#include "platform/sdl/sdl_video.h"

#include "engine/game_constants.h"

#include <SDL2/SDL.h>

#include <cstring>

namespace vm {

TSdlVideo::~TSdlVideo()
{
    FDevice.reset();
    if (FRenderer != nullptr)
        SDL_DestroyRenderer(FRenderer);
    if (FWindow != nullptr)
        SDL_DestroyWindow(FWindow);
    if (FInitialised)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool TSdlVideo::Open(bool Hidden, std::string& Error, int Width, int Height)
{
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        Error = SDL_GetError();
        return false;
    }
    FInitialised = true;
    Uint32 Flags = SDL_WINDOW_RESIZABLE | (Hidden ? SDL_WINDOW_HIDDEN : 0);
    FWindow =
        SDL_CreateWindow("Velomarch", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Width, Height, Flags);
    if (FWindow == nullptr)
    {
        Error = SDL_GetError();
        return false;
    }
    FRenderer = SDL_CreateRenderer(FWindow, -1, SDL_RENDERER_ACCELERATED);
    if (FRenderer == nullptr)
        FRenderer = SDL_CreateRenderer(FWindow, -1, 0);
    if (FRenderer == nullptr)
    {
        Error = SDL_GetError();
        return false;
    }
    SDL_RenderSetLogicalSize(FRenderer, PictureWidth, PictureHeight);
    FDevice = std::make_unique<TSdlRenderDevice>(FWindow, FRenderer);
    // A real window's buffer swap submits the frame's OpenGL work. The offscreen driver draws
    // into a pbuffer, whose swap does nothing: the driver would keep every frame's work queued.
    SDL_RendererInfo Info;
    const char* Driver = SDL_GetCurrentVideoDriver();
    if (Driver != nullptr && std::strcmp(Driver, "offscreen") == 0 &&
        SDL_GetRendererInfo(FRenderer, &Info) == 0 && std::strncmp(Info.name, "opengl", 6) == 0)
        FDevice->FlushAfterPresent();
    return true;
}

} // namespace vm
