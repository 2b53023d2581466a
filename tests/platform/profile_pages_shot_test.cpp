// The add-player, profile and high-score pages of a whole game drawn by the real offscreen
// renderer with the real fonts. With VM_SHOT_DIR set, the pictures are saved there
// (profile_add_player.png, profile_list.png, profile_list_empty.png, profile_add.png, profile_delete.png,
// profile_hiscores.png, profile_clear.png) to be looked at.
#include "engine/gui_edit.h"
#include "page_shot_fixture.h"
#include "pages/options_screen.h"
#include "pages/profile_pages_state.h"

namespace vm {
namespace {

class ProfilePagesShot : public test::PageShotTest
{
protected:
    void SetUp() override
    {
        Seed = 9;
        PageShotTest::SetUp();
        Game->CreateMenuLights();
        BuildEditFont(*Game, &Text);
    }
    void Go(int From, int To, int Frames)
    {
        Game->LeaveState(From);
        Game->EnterState(To);
        RunFrames(Frames);
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
    ProfilePages(*Game).FEdit->Text.clear();
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
