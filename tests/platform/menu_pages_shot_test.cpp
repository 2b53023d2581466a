// The main menu, help, options and exit-question pages of a whole game drawn by the real offscreen
// renderer with the real fonts. With VM_SHOT_DIR set, the pictures are saved there
// (menu_main.png, menu_help.png, menu_options.png, menu_exit.png) to be looked at.
#include "engine/clock.h"
#include "engine/gui_edit.h"
#include "engine/picture.h"
#include "platform/sdl/sdl_text_rasterizer.h"
#include "platform/sdl/sdl_video.h"
#include "screens/options_screen.h"
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
    void SetFullScreen(bool) override {} // a hidden test window stays as it is
    void ShowSystemCursor(bool Show) override { FReal.ShowSystemCursor(Show); }
    int MaxTextureSide() const override { return FReal.MaxTextureSide(); }

    std::vector<std::uint32_t> Last;

private:
    IRenderDevice& FReal;
};

class MenuPagesShot : public ::testing::Test
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
        Game->CreateMenuLights();
        Game->State.PlayerName = "Marta";
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
    // The last frame's picture; with VM_SHOT_DIR set, saved there as Name.
    const std::vector<std::uint32_t>& Shot(const std::string& Name)
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
    // Pixels of the rectangle that differ between two pictures.
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

TEST_F(MenuPagesShot, EachPageDrawsItsPictureButtonsAndTexts)
{
    Game->EnterState(ssMainMenu);
    RunFrames(2);
    const std::vector<std::uint32_t> Menu = Shot("menu_main.png");
    // The greeting in dark red on the background, centred on x 400 at y 530.
    Game->State.PlayerName = "";
    RunFrames(1);
    EXPECT_GT(Changed(Menu, Device->Last, 300, 528, 500, 550), 50);

    Game->LeaveState(ssMainMenu);
    Game->EnterState(ssHelp);
    RunFrames(30);
    const std::vector<std::uint32_t> Help = Shot("menu_help.png");
    EXPECT_GT(Changed(Menu, Help, 200, 180, 600, 400), 20000); // the help picture over the background
    EXPECT_GT(Changed(Menu, Help, 360, 420, 440, 440), 200);   // the back button on its row

    Game->LeaveState(ssHelp);
    BuildEditFont(*Game, &Text);
    Game->EnterState(ssOptions);
    RunFrames(3);
    Game->MenuPages.FEditActive = true;
    Game->Gui.SetFocus(Game->MenuPages.FEdit);
    Game->TextInput("Speedy");
    RunFrames(70);
    const std::vector<std::uint32_t> Options = Shot("menu_options.png");
    EXPECT_GT(Changed(Menu, Options, 200, 180, 600, 400), 20000);

    Game->LeaveState(ssOptions);
    Game->EnterState(ssExitQuestion);
    RunFrames(25);
    const std::vector<std::uint32_t> Exit = Shot("menu_exit.png");
    EXPECT_GT(Changed(Menu, Exit, 200, 200, 600, 380), 20000);
}

} // namespace
} // namespace vm
