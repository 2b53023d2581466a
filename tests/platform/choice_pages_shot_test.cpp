// The track and car pages of a whole game drawn by the real offscreen renderer with the real fonts.
// With VM_SHOT_DIR set, the pictures are saved there (choice_track.png, choice_track_locked.png,
// choice_car.png, choice_car_fast.png) to be looked at.
#include "engine/clock.h"
#include "engine/picture.h"
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

namespace vm {
namespace {

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
        if (!FReal.ReadPixels(Last, W, H) || W != 800 || H != 600)
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

class ChoicePagesShot : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string Error;
        ASSERT_TRUE(Video.Open(true, Error)) << Error;
        Device = std::make_unique<TCapturingDevice>(Video.Device());
        std::filesystem::current_path(Work.Path());
        Game = std::make_unique<TGame>(TGamePlatform{*Device, Clock, Sound, Messages, VM_ASSET_DIR, &Text});
        Game->FormCreate(5);
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
        EXPECT_EQ(Device->Last.size(), 800u * 600u);
        if (const char* Dir = std::getenv("VM_SHOT_DIR");
            Dir != nullptr && *Dir != 0 && !Device->Last.empty())
        {
            TPixels Pixels{800, 600, Device->Last};
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

    std::filesystem::path OldFolder = std::filesystem::current_path();
    test::TTempDir Work;
    test::TMessageRecorder Messages;
    TSdlVideo Video;
    std::unique_ptr<TCapturingDevice> Device;
    TManualClock Clock{90000};
    test::TRecordingAudioDevice Sound;
    TSdlTextRasterizer Text;
    std::unique_ptr<TGame> Game;
};

TEST_F(ChoicePagesShot, TrackAndCarPagesShowTheirPicturesFactsAndBars)
{
    Game->Catalogues.FTracks[0].BestMinutes = 1;
    Game->Catalogues.FTracks[0].BestSeconds = 5;
    Game->Catalogues.FTracks[0].BestHundredths = 3;
    Game->EnterState(ssChooseTrack);
    RunFrames(40);
    const std::vector<std::uint32_t> Open = Shot("choice_track.png");
    Game->Catalogues.FTrackIndex = 4;
    Press(vkRight); // track 6, locked
    const std::vector<std::uint32_t> Locked = Shot("choice_track_locked.png");
    EXPECT_GT(Changed(Open, Locked, 312, 156, 526, 346), 10000); // the preview against the locked one
    EXPECT_GT(Changed(Open, Locked, 300, 60, 540, 92), 50);      // another title
    EXPECT_GT(Changed(Open, Locked, 420, 385, 560, 520), 50);    // dashes for the facts
    EXPECT_GT(Changed(Open, Locked, 640, 524, 800, 560), 200);   // the race button gone

    Game->LeaveState(ssChooseTrack);
    Game->EnterState(ssChooseCar);
    RunFrames(60);
    const std::vector<std::uint32_t> Car = Shot("choice_car.png");
    EXPECT_GT(Changed(Open, Car, 370, 230, 510, 330), 5000);
    Press(vkLeft); // the Beast: the fastest, so a longer top bar
    const std::vector<std::uint32_t> Fast = Shot("choice_car_fast.png");
    EXPECT_GT(Changed(Car, Fast, 386 + 120, 343, 386 + 140, 357), 50);
}

} // namespace
} // namespace vm
