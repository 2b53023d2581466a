// The game window and its OpenGL renderer on SDL (offscreen when SDL_VIDEODRIVER says so).
#pragma once

#include "engine/game_constants.h"
#include "platform/sdl/sdl_render_device.h"

#include <memory>
#include <string>

struct SDL_Window;
struct SDL_Renderer;

namespace vm {

class TSdlVideo
{
public:
    TSdlVideo() = default;
    // Destroys the device, renderer and window, and shuts SDL's video down.
    ~TSdlVideo();
    TSdlVideo(const TSdlVideo&) = delete;
    TSdlVideo& operator=(const TSdlVideo&) = delete;

    // Opens a window of the given size, 800 x 600 by default (hidden when asked), with the OpenGL
    // renderer, no vsync, the 800 x 600 picture scaled with letterboxing; on the offscreen driver
    // every present ends with a flush. On failure returns false with the reason in Error.
    bool Open(bool Hidden, std::string& Error, int Width = PictureWidth, int Height = PictureHeight);

    SDL_Window* Window() const { return FWindow; }
    SDL_Renderer* Renderer() const { return FRenderer; }
    TSdlRenderDevice& Device() { return *FDevice; }

private:
    SDL_Window* FWindow = nullptr;
    SDL_Renderer* FRenderer = nullptr;
    std::unique_ptr<TSdlRenderDevice> FDevice;
    bool FInitialised = false;
};

} // namespace vm
