// Render device on SDL's renderer (OpenGL).
#include "platform/sdl/sdl_render_device.h"

#include "engine/game_constants.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vm {

namespace {

SDL_BlendFactor ToSdl(TBlendFactor Factor)
{
    switch (Factor)
    {
    case TBlendFactor::Zero: return SDL_BLENDFACTOR_ZERO;
    case TBlendFactor::One: return SDL_BLENDFACTOR_ONE;
    case TBlendFactor::SrcColor: return SDL_BLENDFACTOR_SRC_COLOR;
    case TBlendFactor::InvSrcColor: return SDL_BLENDFACTOR_ONE_MINUS_SRC_COLOR;
    case TBlendFactor::SrcAlpha: return SDL_BLENDFACTOR_SRC_ALPHA;
    case TBlendFactor::InvSrcAlpha: return SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA;
    case TBlendFactor::DestColor: return SDL_BLENDFACTOR_DST_COLOR;
    case TBlendFactor::InvDestColor: return SDL_BLENDFACTOR_ONE_MINUS_DST_COLOR;
    case TBlendFactor::DestAlpha: return SDL_BLENDFACTOR_DST_ALPHA;
    case TBlendFactor::InvDestAlpha: return SDL_BLENDFACTOR_ONE_MINUS_DST_ALPHA;
    }
    return SDL_BLENDFACTOR_ONE;
}

// True when the quad lies wholly beyond one edge of the picture, so it covers no pixel.
bool OutsidePicture(const TVertex (&Quad)[4])
{
    float Left = Quad[0].X, Right = Quad[0].X, Top = Quad[0].Y, Bottom = Quad[0].Y;
    for (int K = 1; K < 4; ++K)
    {
        Left = std::min(Left, Quad[K].X);
        Right = std::max(Right, Quad[K].X);
        Top = std::min(Top, Quad[K].Y);
        Bottom = std::max(Bottom, Quad[K].Y);
    }
    return Right <= 0.0f || Bottom <= 0.0f || Left >= static_cast<float>(PictureWidth) ||
           Top >= static_cast<float>(PictureHeight);
}

} // namespace

TSdlRenderDevice::TSdlRenderDevice(SDL_Window* Window, SDL_Renderer* Renderer)
    : FWindow(Window), FRenderer(Renderer)
{
    SetBlend(TBlendFactor::SrcAlpha, TBlendFactor::InvSrcAlpha);
}

TSdlRenderDevice::~TSdlRenderDevice()
{
    for (auto& [Id, Entry] : FTextures)
        SDL_DestroyTexture(Entry.Texture);
}

TTextureId TSdlRenderDevice::AddTexture(int Width, int Height, SDL_Texture*& Texture)
{
    Texture = SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, Width, Height);
    if (Texture == nullptr)
    {
        std::fprintf(stderr, "SDL_CreateTexture %dx%d: %s\n", Width, Height, SDL_GetError());
        return 0;
    }
    SDL_SetTextureScaleMode(Texture, FLinear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    const TTextureId Id = FNextId++;
    FTextures[Id] = TTextureEntry{Texture, -1};
    return Id;
}

TTextureId TSdlRenderDevice::CreateTexture(int Width, int Height, const std::uint32_t* Argb)
{
    SDL_Texture* Texture = nullptr;
    const TTextureId Id = AddTexture(Width, Height, Texture);
    if (Id != 0)
        SDL_UpdateTexture(Texture, nullptr, Argb, Width * 4);
    return Id;
}

TTextureId TSdlRenderDevice::CreatePaddedTexture(int Width, int Height, const TTexelRect& Content)
{
    if (Width <= 0 || Height <= 0)
        return 0;
    SDL_Texture* Texture = nullptr;
    const TTextureId Id = AddTexture(Width, Height, Texture);
    if (Id == 0)
        return 0;
    const int ContentWidth = Content.Argb != nullptr ? std::clamp(Content.Width, 0, Width) : 0;
    const int ContentHeight = Content.Argb != nullptr ? std::clamp(Content.Height, 0, Height) : 0;
    if (ContentWidth > 0 && ContentHeight > 0)
    {
        const SDL_Rect Rect{0, 0, ContentWidth, ContentHeight};
        SDL_UpdateTexture(Texture, &Rect, Content.Argb, Content.Pitch * 4);
    }
    // The rest is never written (neither made here nor copied): only the column and the row just
    // past the content, which filtering at the content's edge reads, are set to zero.
    const std::vector<std::uint32_t> Zeros(static_cast<std::size_t>(std::max(Width, Height)), 0u);
    if (ContentWidth < Width)
    {
        const SDL_Rect Column{ContentWidth, 0, 1, std::min(ContentHeight + 1, Height)};
        SDL_UpdateTexture(Texture, &Column, Zeros.data(), 4);
    }
    if (ContentHeight < Height)
    {
        const SDL_Rect Row{0, ContentHeight, std::min(ContentWidth + 1, Width), 1};
        SDL_UpdateTexture(Texture, &Row, Zeros.data(), Width * 4);
    }
    return Id;
}

void TSdlRenderDevice::ReleaseTexture(TTextureId Texture)
{
    auto It = FTextures.find(Texture);
    if (It == FTextures.end())
        return;
    SDL_DestroyTexture(It->second.Texture);
    FTextures.erase(It);
}

void TSdlRenderDevice::ForgetTextures() { FTextures.clear(); }

void TSdlRenderDevice::SetLinearFilter(bool On)
{
    FLinear = On;
    for (auto& [Id, Entry] : FTextures)
        SDL_SetTextureScaleMode(Entry.Texture, On ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
}

void TSdlRenderDevice::SetBlend(TBlendFactor Source, TBlendFactor Dest)
{
    const SDL_BlendFactor S = ToSdl(Source);
    const SDL_BlendFactor D = ToSdl(Dest);
    FBlendMode = static_cast<int>(
        SDL_ComposeCustomBlendMode(S, D, SDL_BLENDOPERATION_ADD, S, D, SDL_BLENDOPERATION_ADD));
}

void TSdlRenderDevice::DrawQuad(TTextureId Texture, const TVertex (&Quad)[4])
{
    if (OutsidePicture(Quad))
        return;
    auto It = FTextures.find(Texture);
    if (It == FTextures.end())
        return;
    TTextureEntry& Entry = It->second;
    if (Entry.BlendMode != FBlendMode)
    {
        SDL_SetTextureBlendMode(Entry.Texture, static_cast<SDL_BlendMode>(FBlendMode));
        Entry.BlendMode = FBlendMode;
    }
    SDL_Vertex Vertices[4];
    for (int K = 0; K < 4; ++K)
    {
        const TVertex& V = Quad[K];
        Vertices[K].position = SDL_FPoint{V.X, V.Y};
        Vertices[K].color = SDL_Color{static_cast<Uint8>(V.Color >> 16), static_cast<Uint8>(V.Color >> 8),
                                      static_cast<Uint8>(V.Color), static_cast<Uint8>(V.Color >> 24)};
        Vertices[K].tex_coord = SDL_FPoint{V.U, V.V};
    }
    static const int Indices[6] = {0, 1, 2, 0, 2, 3};
    SDL_RenderGeometry(FRenderer, Entry.Texture, Vertices, 4, Indices, 6);
}

void TSdlRenderDevice::Clear(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t Alpha)
{
    SDL_SetRenderDrawBlendMode(FRenderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(FRenderer, Red, Green, Blue, Alpha);
    SDL_RenderClear(FRenderer);
}

void TSdlRenderDevice::Present()
{
    // The back buffer's content is undefined after presenting, so a capture reads it before.
    if (FCaptureRequested)
    {
        FCaptureRequested = false;
        if (!ReadPixels(FCaptured, FCapturedWidth, FCapturedHeight))
            FCaptured.clear();
    }
    SDL_RenderPresent(FRenderer);
    // SDL has just drawn the frame's batch in its context, which is therefore the current one.
    if (FGlFlush != nullptr)
        FGlFlush();
}

bool TSdlRenderDevice::FlushAfterPresent()
{
    void* Address = SDL_GL_GetProcAddress("glFlush");
    if (Address == nullptr)
    {
        std::fprintf(stderr, "No glFlush for the offscreen renderer (%s); its memory will grow\n",
                     SDL_GetError());
        return false;
    }
    FGlFlush = reinterpret_cast<void (*)()>(Address);
    return true;
}

bool TSdlRenderDevice::ReadPixels(std::vector<std::uint32_t>& Argb, int& Width, int& Height)
{
    if (SDL_GetRendererOutputSize(FRenderer, &Width, &Height) != 0 || Width <= 0 || Height <= 0)
        return false;
    Argb.assign(static_cast<std::size_t>(Width) * Height, 0);
    return SDL_RenderReadPixels(FRenderer, nullptr, SDL_PIXELFORMAT_ARGB8888, Argb.data(), Width * 4) == 0;
}

void TSdlRenderDevice::SetFullScreen(bool On)
{
    SDL_SetWindowFullscreen(FWindow, On ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void TSdlRenderDevice::ShowSystemCursor(bool Show) { SDL_ShowCursor(Show ? SDL_ENABLE : SDL_DISABLE); }

int TSdlRenderDevice::MaxTextureSide() const
{
    SDL_RendererInfo Info;
    if (SDL_GetRendererInfo(FRenderer, &Info) != 0)
        return IRenderDevice::MaxTextureSide();
    const int Side = std::min(Info.max_texture_width, Info.max_texture_height);
    // Zero means the renderer states no limit.
    return Side > 0 ? Side : IRenderDevice::MaxTextureSide();
}

} // namespace vm
