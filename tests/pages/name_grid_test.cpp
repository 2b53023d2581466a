// Names entered with a game controller alone through the letter grid on the add-player, add-profile
// and options pages, and the keyboard taking over from it.
#include "screen_game_fixture.h"

#include "common/player_name.h"
#include "engine/gui_button.h"
#include "engine/gui_edit.h"
#include "engine/gui_letter_grid.h"
#include "engine/pad_input.h"
#include "pages/menu_pages_state.h"
#include "pages/profile_pages_state.h"

namespace vm::test {
namespace {

class NameGridTest : public ScreenGameTest
{
protected:
    // A pad button pressed and let go, then a frame drawn.
    void Pad(int Button)
    {
        Game.PadButton(1, Button, true);
        Game.PadButton(1, Button, false);
        RunFrames(1);
    }
    void Pad(int Button, int Times)
    {
        for (int I = 0; I < Times; ++I)
            Pad(Button);
    }
    std::string CursorLabel(const TGuiLetterGrid* Grid) const
    {
        return Grid != nullptr ? TGuiLetterGrid::Label(Grid->Current()) : "-";
    }
    // The first start's page, slid in, with pad 1 connected and its first press made: the grid
    // opens with the focus on its first key.
    TGuiLetterGrid* OpenOnAddPlayer()
    {
        StartAt(ssAddPlayer);
        RunFrames(90);
        Game.PadAdded(1);
        EXPECT_FALSE(ProfilePages(Game).FGrid->IsOpen());
        Pad(pbDPadDown);
        TGuiLetterGrid* Grid = ProfilePages(Game).FGrid;
        EXPECT_TRUE(Grid->IsOpen());
        EXPECT_EQ(Game.Gui.Focused(), Grid);
        return Grid;
    }
};

TEST_F(NameGridTest, AFirstPlayerIsNamedWithThePadAloneAndTheMainMenuFollows)
{
    TGuiLetterGrid* Grid = OpenOnAddPlayer();
    EXPECT_EQ(CursorLabel(Grid), "A");
    Pad(pbA); // A
    Pad(pbDPadDown);
    Pad(pbDPadRight, 3);
    EXPECT_EQ(CursorLabel(Grid), "N");
    Pad(pbA, 2);
    EXPECT_EQ(ProfilePages(Game).FEdit->Text, "ANN");
    // Enter stayed the grid's: nothing was added on the way.
    EXPECT_EQ(StateId(), ssAddPlayer);
    Pad(pbDPadDown, 2);
    Pad(pbDPadLeft, 4); // wraps round onto "done"
    EXPECT_EQ(CursorLabel(Grid), "DONE");
    Pad(pbA);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.State.PlayerName, "ANN");
    EXPECT_EQ(Game.Profiles.FProfileCount, 1);
}

TEST_F(NameGridTest, TheGridStopsAtTheNameLimitAndXDeletesAndDoneWithNothingTypedWaits)
{
    TGuiLetterGrid* Grid = OpenOnAddPlayer();
    const TGuiEdit* Edit = ProfilePages(Game).FEdit;
    Pad(pbDPadDown, 3);
    Pad(pbDPadLeft); // "done" with no name: the page stays
    Pad(pbA);
    EXPECT_EQ(StateId(), ssAddPlayer);
    Pad(pbDPadRight);
    Pad(pbDPadUp, 3);
    EXPECT_EQ(CursorLabel(Grid), "A");
    Pad(pbA, static_cast<int>(MaxNameCharacters) + 3);
    EXPECT_EQ(Edit->Text, std::string(MaxNameCharacters, 'A'));
    Pad(pbX, 2);
    EXPECT_EQ(Edit->Length(), static_cast<int>(MaxNameCharacters) - 2);
    // B (Esc) on this page does nothing but is no letter either.
    Pad(pbB);
    EXPECT_EQ(StateId(), ssAddPlayer);
    EXPECT_EQ(Edit->Length(), static_cast<int>(MaxNameCharacters) - 2);
    // Up from the top row reaches the Add button, which adds the name.
    Pad(pbDPadUp);
    EXPECT_EQ(Game.Gui.Focused(), ProfilePages(Game).FAddButton);
    Pad(pbA);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.State.PlayerName, std::string(MaxNameCharacters - 2, 'A'));
}

TEST_F(NameGridTest, AKeyboardKeyPutsTheGridAwayAndTypingGoesOnAsBefore)
{
    TGuiLetterGrid* Grid = OpenOnAddPlayer();
    Pad(pbA);
    EXPECT_EQ(ProfilePages(Game).FEdit->Text, "A");
    Tap(vkBack);
    RunFrames(1);
    EXPECT_FALSE(Grid->IsOpen());
    EXPECT_EQ(ProfilePages(Game).FEdit->Text, "");
    Game.TextInput("Bo");
    Tap(vkReturn);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.State.PlayerName, "Bo");
}

TEST_F(NameGridTest, AnotherProfileIsAddedWithThePadAndBGoesBack)
{
    StartUp();
    ASSERT_TRUE(Game.Profiles.AddFirstProfile("Ann", Game.State.PlayerName));
    Game.LeaveState(ssLogo);
    Game.EnterState(ssAddProfile);
    RunFrames(1);
    Game.PadAdded(1);
    Pad(pbA); // the first press opens the grid; Enter with nothing typed does nothing
    ASSERT_EQ(StateId(), ssAddProfile);
    Pad(pbDPadRight);
    Pad(pbA); // B
    Pad(pbDPadDown, 3);
    Pad(pbDPadLeft, 2); // past the digit 4, round onto "done"
    EXPECT_EQ(CursorLabel(ProfilePages(Game).FGrid), "DONE");
    Pad(pbA);
    EXPECT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(Game.Profiles.FProfileCount, 2);

    // A second visit left with B: nothing is added.
    Game.LeaveState(ssChooseProfile);
    Game.EnterState(ssAddProfile);
    RunFrames(1);
    Pad(pbA);
    Pad(pbA);
    Pad(pbB);
    RunFrames(30);
    EXPECT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(Game.Profiles.FProfileCount, 2);
}

TEST_F(NameGridTest, OnTheOptionsPageTheGridOpensOnTheNameAndDoneGoesOnToApply)
{
    StartAt(ssOptions);
    RunFrames(1);
    Game.PadAdded(1);
    TMenuPagesState& Page = MenuPages(Game);
    const std::string Before = Page.FEdit->Text;
    Pad(pbDPadUp);
    EXPECT_FALSE(Page.FGrid->IsOpen()); // on the Apply button
    Pad(pbDPadUp);
    ASSERT_TRUE(Page.FGrid->IsOpen());
    EXPECT_EQ(Game.Gui.Focused(), Page.FGrid);
    Pad(pbDPadRight, 2);
    Pad(pbA); // C
    EXPECT_EQ(Page.FEdit->Text, (Before + "C").substr(0, MaxNameCharacters));
    // Up from the top row leaves the grid for Apply; the grid closes.
    Pad(pbDPadUp);
    EXPECT_EQ(Game.Gui.Focused(), Page.FButtons[0]);
    EXPECT_FALSE(Page.FGrid->IsOpen());
    // Back on the name: "done" ends it and the focus goes on to Apply, which keeps the name.
    Pad(pbDPadUp);
    ASSERT_TRUE(Page.FGrid->IsOpen());
    Page.FGrid->SetCursor(3, 9);
    Pad(pbA);
    EXPECT_FALSE(Page.FGrid->IsOpen());
    EXPECT_EQ(Game.Gui.Focused(), Page.FButtons[0]);
    Pad(pbA);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.State.OnlineName, (Before + "C").substr(0, MaxNameCharacters));
}

} // namespace
} // namespace vm::test
