// The add-player, profile and high-score pages of a whole game drawn by the real offscreen
// renderer with the real fonts. With VM_SHOT_DIR set, the pictures are saved there
// (profile_add_player.png, profile_list.png, profile_list_empty.png, profile_add.png, profile_delete.png,
// profile_hiscores.png, profile_clear.png) to be looked at.
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
class TFrameKeepingDevice : public IRenderDevice
{
public:
    explicit TFrameKeepingDevice(IRenderDevice& Real) : FReal(Real) {}
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

class ProfilePagesShot : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string Error;
        ASSERT_TRUE(Video.Open(true, Error)) << Error;
        Device = std::make_unique<TFrameKeepingDevice>(Video.Device());
        std::filesystem::current_path(Work.Path());
        Game = std::make_unique<TGame>(TGamePlatform{*Device, Clock, Sound, Messages, VM_ASSET_DIR, &Text});
        Game->FormCreate(9);
        Game->FormShow();
        Game->LeaveState(ssLogo);
        Game->CreateMenuLights();
        BuildEditFont(*Game, &Text);
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
    void Go(int From, int To, int Frames)
    {
        Game->LeaveState(From);
        Game->EnterState(To);
        RunFrames(Frames);
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
    // Pixels of the rectangle that are mostly red (the current profile's colour).
    static int Reddish(const std::vector<std::uint32_t>& P, int X0, int Y0, int X1, int Y1)
    {
        int Count = 0;
        for (int Y = Y0; Y < Y1; ++Y)
            for (int X = X0; X < X1; ++X)
            {
                const std::uint32_t C = At(P, X, Y);
                const int R = (C >> 16) & 255, G = (C >> 8) & 255, B = C & 255;
                Count += R > 180 && G < 140 && B < 140;
            }
        return Count;
    }

    std::filesystem::path OldFolder = std::filesystem::current_path();
    test::TTempDir Work;
    test::TMessageRecorder Messages;
    TSdlVideo Video;
    std::unique_ptr<TFrameKeepingDevice> Device;
    TManualClock Clock{90000};
    test::TRecordingAudioDevice Sound;
    TSdlTextRasterizer Text;
    std::unique_ptr<TGame> Game;
};

TEST_F(ProfilePagesShot, EachPageDrawsItsPictureWidgetsAndTexts)
{
    Game->EnterState(ssAddPlayer);
    RunFrames(1);
    const std::vector<std::uint32_t> Before = Shot("profile_before_slide.png");
    Game->TextInput("Marta");
    RunFrames(100);
    const std::vector<std::uint32_t> AddPlayer = Shot("profile_add_player.png");
    EXPECT_GT(Changed(Before, AddPlayer, 200, 200, 600, 380), 20000); // the page slid in
    // The typed name shows in the edit: the edit with and without it differs.
    Game->ProfilePages.FEdit->Text.clear();
    RunFrames(1);
    EXPECT_GT(Changed(AddPlayer, Device->Last, 294, 326, 420, 346), 40);

    for (const char* Name : {"Marta", "Ben", "Chloe Day"})
        Game->Profiles.AddProfile(Name, Game->State.PlayerName);
    Game->Profiles.FProfileCursor = 0;
    Game->Profiles.SelectProfile(Game->State.PlayerName);
    Go(ssAddPlayer, ssChooseProfile, 3);
    const std::vector<std::uint32_t> List = Shot("profile_list.png");
    // The current profile (row 0) in red, the others not.
    EXPECT_GT(Reddish(List, 330, 248, 480, 262), 15);
    EXPECT_LT(Reddish(List, 330, 266, 480, 278), 5);

    Go(ssChooseProfile, ssAddProfile, 1);
    Game->TextInput("Dan");
    RunFrames(2);
    const std::vector<std::uint32_t> Add = Shot("profile_add.png");
    EXPECT_GT(Changed(List, Add, 200, 200, 600, 380), 10000);

    Go(ssAddProfile, ssChooseProfile, 1);
    Go(ssChooseProfile, ssDeleteProfile, 2);
    const std::vector<std::uint32_t> Delete = Shot("profile_delete.png");
    EXPECT_GT(Changed(List, Delete, 200, 200, 600, 380), 10000);

    Go(ssDeleteProfile, ssHighScores, 2);
    const std::vector<std::uint32_t> Table = Shot("profile_hiscores.png");
    // The rows: texts in the three columns of the first and the last row.
    Game->HighScores.Row(1).Name = "";
    Game->HighScores.Row(10).ScoreText = "";
    RunFrames(1);
    EXPECT_GT(Changed(Table, Device->Last, 340, 268, 440, 284), 30);
    EXPECT_GT(Changed(Table, Device->Last, 500, 394, 560, 410), 20);
    Game->HighScores.ResetHighScores();

    Go(ssHighScores, ssClearHighScores, 2);
    const std::vector<std::uint32_t> Clear = Shot("profile_clear.png");
    EXPECT_GT(Changed(Table, Clear, 200, 200, 600, 380), 10000);
}

// With no profile the list offers only "Add": the other buttons show their inactive look, and the
// selection bar is not shown over an empty list.
TEST_F(ProfilePagesShot, AnEmptyListShowsTheInactiveButtons)
{
    Game->EnterState(ssChooseProfile);
    RunFrames(3);
    const std::vector<std::uint32_t> Empty = Shot("profile_list_empty.png");
    Game->Profiles.AddProfile("Marta", Game->State.PlayerName);
    Game->Profiles.AddProfile("Ben", Game->State.PlayerName);
    RunFrames(1);
    const std::vector<std::uint32_t> Two = Shot("profile_list_two.png");
    for (const int X : {208, 424, 532})
        EXPECT_GT(Changed(Empty, Two, X, 420, X + 90, 446), 100) << X; // inactive, then active
    EXPECT_LT(Changed(Empty, Two, 320, 422, 400, 444), 10) << "Add looks the same";
    EXPECT_GT(Changed(Empty, Two, 250, 246, 560, 262), 300) << "the bar and the first name";
}

} // namespace
} // namespace vm
