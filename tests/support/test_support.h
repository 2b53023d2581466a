// Helpers shared by the test programs.
#pragma once

#include "engine/message_box.h"
#include "engine/null_render_device.h"
#include "engine/picture.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vm::test {

// ---- image lists (image_list_test, vil_stream_test, picture_test) ----------------------------

// Message box that remembers what it was asked to show.
class TMessageRecorder : public IMessageBox
{
public:
    struct TMessage
    {
        std::string Text;
        std::string Caption;
    };
    void Show(const std::string& Text, const std::string& Caption) override
    {
        Messages.push_back({Text, Caption});
    }
    std::vector<TMessage> Messages;
};

// Null device that keeps every texture's pixels (a padded texture's as a whole) and the last
// quad drawn; FailCreate makes CreateTexture fail (return 0).
class TRecordingRenderDevice : public TNullRenderDevice
{
public:
    struct TTexture
    {
        int Width = 0;
        int Height = 0;
        std::vector<std::uint32_t> Argb;
        // The texels the device was given (all of them for a plain texture).
        int ContentWidth = 0;
        int ContentHeight = 0;
    };
    TTextureId CreateTexture(int Width, int Height, const std::uint32_t* Argb) override
    {
        if (FailCreate)
            return 0;
        const TTextureId Id = TNullRenderDevice::CreateTexture(Width, Height, Argb);
        Textures[Id] = {Width, Height, std::vector<std::uint32_t>(Argb, Argb + std::size_t(Width) * Height),
                        Width, Height};
        return Id;
    }
    TTextureId CreatePaddedTexture(int Width, int Height, const TTexelRect& Content) override
    {
        const TTextureId Id = IRenderDevice::CreatePaddedTexture(Width, Height, Content);
        if (Id != 0)
        {
            Textures[Id].ContentWidth = Content.Width;
            Textures[Id].ContentHeight = Content.Height;
        }
        return Id;
    }
    void ReleaseTexture(TTextureId Texture) override
    {
        TNullRenderDevice::ReleaseTexture(Texture);
        Textures.erase(Texture);
    }
    // The quads' vertices are kept, so they must be worked out.
    bool DrawsNothing() const override { return false; }
    void DrawQuad(TTextureId Texture, const TVertex (&Quad)[4]) override
    {
        TNullRenderDevice::DrawQuad(Texture, Quad);
        LastTexture = Texture;
        for (int I = 0; I < 4; ++I)
            LastQuad[I] = Quad[I];
    }
    bool FailCreate = false;
    std::map<TTextureId, TTexture> Textures; // live textures
    TTextureId LastTexture = 0;
    TVertex LastQuad[4];
};

// A fresh folder under the system's temp folder, removed with everything in it at the end.
class TTempDir
{
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::filesystem::path& Path() const { return FPath; }
    // Full name of a file in the folder.
    std::string File(const std::string& Name) const { return (FPath / Name).string(); }

private:
    std::filesystem::path FPath;
};

// Deterministic pixels of varied colours; with Alpha, varied alpha too, else all opaque.
TPixels MakeTestPixels(int Width, int Height, std::uint32_t Seed = 1, bool Alpha = false);
// One colour everywhere (ARGB).
TPixels MakeSolidPixels(int Width, int Height, std::uint32_t Argb);
// The bytes of a PNG file of those pixels.
std::vector<std::uint8_t> MakePngBytes(const TPixels& Pixels);
// Where the chunk of that type starts in a PNG file (its length field); 0 when it has none.
std::size_t PngChunkAt(const std::vector<std::uint8_t>& Png, const char* Type);
// The PNG with its compressed pixels (all but the first two bytes of IDAT) overwritten and the
// chunk's checksum made to match: the file passes every check but fails only when decoded.
std::vector<std::uint8_t> ForgeUndecodablePng(std::vector<std::uint8_t> Png);

// A small valid .vil file: "ball" (PNG 16 x 8, tiles 8 x 8, colour key clRed on) and "panel"
// (24-bit BMP 6 x 4, whole picture, no colour key).
std::vector<std::uint8_t> MakeSmallVil();

} // namespace vm::test
