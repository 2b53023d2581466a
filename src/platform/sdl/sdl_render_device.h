// Render device on SDL's renderer (OpenGL): quads as two triangles with per-vertex colour.
#pragma once

#include "engine/render_device.h"

#include <unordered_map>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace vm {

class TSdlRenderDevice : public IRenderDevice
{
public:
    // Window and renderer are not owned; textures made here are destroyed with the device.
    TSdlRenderDevice(SDL_Window* Window, SDL_Renderer* Renderer);
    ~TSdlRenderDevice() override;

    bool IsReady() override { return FReady; }
    TTextureId CreateTexture(int Width, int Height, const std::uint32_t* Argb) override;
    // Uploads only the content and one column and row of zeros after it; the driver's texture keeps
    // the whole size, so texture coordinates, and so the pictures, stay exactly as they were.
    TTextureId CreatePaddedTexture(int Width, int Height, const TTexelRect& Content) override;
    void ReleaseTexture(TTextureId Texture) override;
    void SetLinearFilter(bool On) override;
    void SetBlend(TBlendFactor Source, TBlendFactor Dest) override;
    void DrawQuad(TTextureId Texture, const TVertex (&Quad)[4]) override;
    void Clear(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t Alpha) override;
    void Present() override;
    bool ReadPixels(std::vector<std::uint32_t>& Argb, int& Width, int& Height) override;
    void SetFullScreen(bool On) override;
    void ShowSystemCursor(bool Show) override;
    // From the renderer's limits (the smaller of its largest width and height).
    int MaxTextureSide() const override;

    // Ends every Present with glFlush, for a window whose buffer swap submits nothing (a pbuffer):
    // without it the driver keeps each frame's queued work. False, with a message, when the
    // renderer's OpenGL has no glFlush.
    bool FlushAfterPresent();
    bool FlushesAfterPresent() const { return FGlFlush != nullptr; }

    // The platform calls this when the window is hidden or restored.
    void SetReady(bool Ready) { FReady = Ready; }
    // The next Present first copies the picture; Captured() then holds it (800 x 600 ARGB).
    void RequestCapture() { FCaptureRequested = true; }
    const std::vector<std::uint32_t>& Captured() const { return FCaptured; }
    int CapturedWidth() const { return FCapturedWidth; }
    int CapturedHeight() const { return FCapturedHeight; }

    // After SDL lost every texture: forget the handles (the screen makes them again).
    void ForgetTextures();

private:
    // A driver texture with the current filter, filed under a new id; 0 (with a message) when refused.
    TTextureId AddTexture(int Width, int Height, SDL_Texture*& Texture);

    struct TTextureEntry
    {
        SDL_Texture* Texture = nullptr;
        int BlendMode = -1; // SDL blend mode last set on this texture
    };

    SDL_Window* FWindow;
    SDL_Renderer* FRenderer;
    void (*FGlFlush)() = nullptr;
    std::unordered_map<TTextureId, TTextureEntry> FTextures;
    TTextureId FNextId = 1;
    int FBlendMode = 0; // composed SDL_BlendMode
    bool FLinear = false;
    bool FReady = true;
    bool FCaptureRequested = false;
    std::vector<std::uint32_t> FCaptured;
    int FCapturedWidth = 0;
    int FCapturedHeight = 0;
};

} // namespace vm
