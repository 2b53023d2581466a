// Drawing backend interface: the only way the engine reaches the graphics hardware.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vm {

// Texture handle handed out by a render device; 0 means "no texture".
using TTextureId = std::uint32_t;

// One pre-transformed vertex: screen position, packed ARGB colour (alpha in the top byte),
// texture coordinates.
struct TVertex
{
    float X = 0.0f;
    float Y = 0.0f;
    std::uint32_t Color = 0xFFFFFFFFu;
    float U = 0.0f;
    float V = 0.0f;
};

// Texels of a rectangle at a texture's top left: Width x Height packed ARGB, rows Pitch texels apart.
struct TTexelRect
{
    const std::uint32_t* Argb = nullptr;
    int Width = 0;
    int Height = 0;
    int Pitch = 0;
};

enum class TBlendFactor
{
    Zero,
    One,
    SrcColor,
    InvSrcColor,
    SrcAlpha,
    InvSrcAlpha,
    DestColor,
    InvDestColor,
    DestAlpha,
    InvDestAlpha,
};

// A render device draws textured, colour-modulated quads on an 800 x 600 picture.
// All calls come from the main thread. Textures are created from ARGB pixels whose row
// pitch is the texture width; the caller keeps its own copy of the pixels.
class IRenderDevice
{
public:
    virtual ~IRenderDevice() = default;

    // False while the device is lost; frames are then skipped.
    virtual bool IsReady() = 0;
    virtual TTextureId CreateTexture(int Width, int Height, const std::uint32_t* Argb) = 0;
    // A Width x Height texture with Content's texels at the top left and a column and a row of
    // zeros just past them; a device may leave the texels beyond those unset, so callers draw
    // only within the content and that edge. This one makes the whole texture's pixels (the rest 0)
    // and passes them to CreateTexture.
    virtual TTextureId CreatePaddedTexture(int Width, int Height, const TTexelRect& Content)
    {
        if (Width <= 0 || Height <= 0)
            return 0;
        std::vector<std::uint32_t> Argb(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height),
                                        0u);
        const int CopyWidth = Content.Argb != nullptr ? std::clamp(Content.Width, 0, Width) : 0;
        for (int Y = 0; CopyWidth > 0 && Y < std::clamp(Content.Height, 0, Height); ++Y)
            std::copy_n(Content.Argb + static_cast<std::size_t>(Y) * static_cast<std::size_t>(Content.Pitch),
                        CopyWidth,
                        Argb.data() + static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width));
        return CreateTexture(Width, Height, Argb.data());
    }
    virtual void ReleaseTexture(TTextureId Texture) = 0;
    virtual void SetLinearFilter(bool On) = 0;
    // Blend factors used by every following DrawQuad (colour and alpha alike).
    virtual void SetBlend(TBlendFactor Source, TBlendFactor Dest) = 0;
    // Vertices in the order top-left, top-right, bottom-right, bottom-left (a two-triangle fan).
    virtual void DrawQuad(TTextureId Texture, const TVertex (&Quad)[4]) = 0;
    virtual void Clear(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t Alpha) = 0;
    virtual void Present() = 0;
    // Copies the current picture (before Present) as ARGB rows; false when not supported.
    virtual bool ReadPixels(std::vector<std::uint32_t>& Argb, int& Width, int& Height) = 0;
    virtual void SetFullScreen(bool On) = 0;
    virtual void ShowSystemCursor(bool Show) = 0;
    // Largest texture width and height the device accepts.
    virtual int MaxTextureSide() const { return 8192; }
    // True for a device that shows nothing and ignores the vertices of DrawQuad, so that callers may
    // skip working them out (each quad is still handed over). Fixed for the device's life.
    virtual bool DrawsNothing() const { return false; }
};

} // namespace vm
