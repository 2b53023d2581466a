// Render device that draws nothing: logic tests and benchmarks run thousands of frames with it.
#pragma once

#include "engine/render_device.h"

namespace vm {

class TNullRenderDevice : public IRenderDevice
{
public:
    bool IsReady() override { return FReady; }
    TTextureId CreateTexture(int, int, const std::uint32_t*) override { return ++FLastTexture; }
    TTextureId CreatePaddedTexture(int, int, const TTexelRect&) override { return ++FLastTexture; }
    void ReleaseTexture(TTextureId) override { ++FReleased; }
    void SetLinearFilter(bool) override {}
    void SetBlend(TBlendFactor Source, TBlendFactor Dest) override
    {
        FSource = Source;
        FDest = Dest;
    }
    void DrawQuad(TTextureId, const TVertex (&)[4]) override { ++FQuads; }
    void Clear(std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t) override {}
    void Present() override { ++FPresents; }
    bool ReadPixels(std::vector<std::uint32_t>&, int&, int&) override { return false; }
    void SetFullScreen(bool) override {}
    void ShowSystemCursor(bool) override {}
    bool DrawsNothing() const override { return true; }

    // Counters for tests.
    bool FReady = true;
    TTextureId FLastTexture = 0;
    int FReleased = 0;
    long FQuads = 0;
    long FPresents = 0;
    TBlendFactor FSource = TBlendFactor::SrcAlpha;
    TBlendFactor FDest = TBlendFactor::InvSrcAlpha;
};

} // namespace vm
