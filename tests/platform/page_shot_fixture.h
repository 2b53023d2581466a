// The front-end pages on the real offscreen renderer: a whole game on a hidden window whose
// frames are kept as pictures (and saved as PNGs when VM_SHOT_DIR names a folder).
#pragma once

#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/picture.h"
#include "pages/page_rows.h"
#include "platform/sdl/sdl_text_rasterizer.h"
#include "platform/sdl/sdl_video.h"
#include "shell/game.h"
#include "support/recording_audio_device.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace vm::test {

// Passes every call on to the real device and keeps the picture of the last frame, read just
// before it is presented.
class TCapturingDevice : public IRenderDevice
{
public:
    explicit TCapturingDevice(IRenderDevice& Real) : FReal(Real) {}
    bool IsReady() override { return FReal.IsReady(); }
    TTextureId CreateTexture(int W, int H, const std::uint32_t* Argb) override
    {
        return FReal.CreateTexture(W, H, Argb);
    }
    TTextureId CreatePaddedTexture(int W, int H, const TTexelRect& Content) override
    {
        return FReal.CreatePaddedTexture(W, H, Content);
    }
    void ReleaseTexture(TTextureId Texture) override { FReal.ReleaseTexture(Texture); }
    void SetLinearFilter(bool On) override { FReal.SetLinearFilter(On); }
    void SetBlend(TBlendFactor Source, TBlendFactor Dest) override { FReal.SetBlend(Source, Dest); }
    void DrawQuad(TTextureId Texture, const TVertex (&Quad)[4]) override { FReal.DrawQuad(Texture, Quad); }
    void Clear(std::uint8_t R, std::uint8_t G, std::uint8_t B, std::uint8_t A) override
    {
        FReal.Clear(R, G, B, A);
    }
    void Present() override
    {
        int W = 0, H = 0;
        if (!FReal.ReadPixels(Last, W, H) || W != PictureWidth || H != PictureHeight)
            Last.clear();
        FReal.Present();
    }
    bool ReadPixels(std::vector<std::uint32_t>& Argb, int& W, int& H) override
    {
        return FReal.ReadPixels(Argb, W, H);
    }
    void SetFullScreen(bool) override {}
    void ShowSystemCursor(bool Show) override { FReal.ShowSystemCursor(Show); }
    int MaxTextureSide() const override { return FReal.MaxTextureSide(); }

    std::vector<std::uint32_t> Last;

private:
    IRenderDevice& FReal;
};

class PageShotTest : public ::testing::Test
{
protected:
    // Start-up on a hidden window, the logo left unseen; a page test enters its page.
    void SetUp() override
    {
        std::string Error;
        ASSERT_TRUE(Video.Open(true, Error)) << Error;
        Device = std::make_unique<TCapturingDevice>(Video.Device());
        std::filesystem::current_path(Work.Path());
        Game = std::make_unique<TGame>(TGamePlatform{*Device, Clock, Sound, Messages, VM_ASSET_DIR, &Text},
                                       GamePages());
        Game->FormCreate(Seed);
        Game->FormShow();
        Game->LeaveState(ssLogo);
    }
    void TearDown() override
    {
        Game.reset();
        std::filesystem::current_path(OldFolder);
    }

    void RunFrames(int Count)
    {
        for (int I = 0; I < Count; ++I)
        {
            Clock.Advance(1000);
            Game->FrameTimer.Tick();
        }
    }
    void Press(int Key)
    {
        Game->FormKeyDown(Key);
        Game->FormKeyUp(Key);
        RunFrames(2);
    }
    // The last frame's picture; with VM_SHOT_DIR set, saved there as Name.
    std::vector<std::uint32_t> Shot(const std::string& Name)
    {
        EXPECT_EQ(Device->Last.size(), static_cast<std::size_t>(PictureWidth) * PictureHeight);
        if (const char* Dir = std::getenv("VM_SHOT_DIR");
            Dir != nullptr && *Dir != 0 && !Device->Last.empty())
        {
            TPixels Pixels{PictureWidth, PictureHeight, Device->Last};
            for (std::uint32_t& P : Pixels.Argb)
                P |= 0xFF000000u;
            std::vector<std::uint8_t> Bytes;
            EXPECT_TRUE(EncodePng(Pixels, Bytes));
            std::ofstream(std::string(Dir) + "/" + Name, std::ios::binary)
                .write(reinterpret_cast<const char*>(Bytes.data()),
                       static_cast<std::streamsize>(Bytes.size()));
        }
        return Device->Last;
    }
    static std::uint32_t At(const std::vector<std::uint32_t>& Picture, int X, int Y)
    {
        return Picture[static_cast<std::size_t>(Y) * 800 + X] & 0x00FFFFFFu;
    }
    static int Changed(const std::vector<std::uint32_t>& A, const std::vector<std::uint32_t>& B, int X0,
                       int Y0, int X1, int Y1)
    {
        int Count = 0;
        for (int Y = Y0; Y < Y1; ++Y)
            for (int X = X0; X < X1; ++X)
                Count += At(A, X, Y) != At(B, X, Y);
        return Count;
    }

    std::uint64_t Seed = 5;
    std::filesystem::path OldFolder = std::filesystem::current_path();
    TTempDir Work;
    TMessageRecorder Messages;
    TSdlVideo Video;
    std::unique_ptr<TCapturingDevice> Device;
    TManualClock Clock{1000 * FrameRate}; // 1000 ticks a frame
    TRecordingAudioDevice Sound;
    TSdlTextRasterizer Text;
    std::unique_ptr<TGame> Game;
};

} // namespace vm::test
