// The menu pages without a mouse: arrows and Tab reach the widgets, Enter and Space press them,
// the keys a page keeps still do their work, and a pressed key does not act twice.
#include "screen_game_fixture.h"

#include "engine/gui_bar.h"
#include "engine/gui_edit.h"
#include "pages/menu_pages_state.h"

namespace vm::test {
namespace {

class PageFocusTest : public ScreenGameTest
{
protected:
    std::string FocusName() const
    {
        const TGuiComponent* Widget = Game.Gui.Focused();
        return Widget != nullptr ? Widget->Name : "-";
    }
    // Taps Key and draws a frame, as a player's press between frames.
    void Press(int Key)
    {
        Tap(Key);
        RunFrames(1);
    }
};

TEST_F(PageFocusTest, TheMainMenuIsWalkedWithArrowsAndTabAndPressedWithEnter)
{
    StartAt(ssMainMenu);
    RunFrames(2);
    Press(vkDown); // the first press focuses "Start game" rather than moving
    EXPECT_EQ(FocusName(), "b_stgame");
    Press(vkDown);
    Press(vkDown);
    EXPECT_EQ(FocusName(), "b_hiscr");
    Press(vkUp);
    EXPECT_EQ(FocusName(), "b_opt");
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssOptions);
    // Enter went to the button alone: the page it opened saw no Enter.
    EXPECT_EQ(Game.State.KeyReleased[vkReturn], 0);

    Press(vkEscape);
    ASSERT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(FocusName(), "-"); // a new page starts without focus
    for (int I = 0; I < 6; ++I)
        Press(vkTab);
    EXPECT_EQ(FocusName(), "b_exit");
    Press(vkSpace);
    EXPECT_EQ(StateId(), ssExitQuestion);
}

TEST_F(PageFocusTest, QuestionsStartOnTheirDefaultAndTheOtherAnswerIsOneKeyAway)
{
    StartAt(ssExitQuestion);
    RunFrames(25); // the buttons have slid in
    Press(vkRight);
    EXPECT_EQ(FocusName(), "b_yes");
    Press(vkRight);
    EXPECT_EQ(FocusName(), "b_no");
    Press(vkReturn); // "no", not the page's Enter that says yes
    EXPECT_EQ(StateId(), ssMainMenu);
}

// A game object starts once: the second question has a test of its own.
TEST_F(PageFocusTest, TheDeleteQuestionStartsOnTheSafeAnswer)
{
    StartAt(ssDeleteProfile);
    RunFrames(1);
    Press(vkTab);
    EXPECT_EQ(FocusName(), "b_no"); // the safe answer
}

TEST_F(PageFocusTest, TheTrackPageKeepsLeftAndRightForTheTracks)
{
    StartAt(ssChooseTrack);
    RunFrames(30);
    const std::int32_t Track = Game.Catalogues.FTrackIndex;
    Press(vkRight);
    EXPECT_NE(Game.Catalogues.FTrackIndex, Track); // stepped, not focused
    EXPECT_EQ(FocusName(), "-");
    Press(vkLeft);
    EXPECT_EQ(Game.Catalogues.FTrackIndex, Track);
    Press(vkDown);
    EXPECT_EQ(FocusName(), "bc_race");
    Press(vkTab);
    Press(vkTab);
    EXPECT_EQ(FocusName(), "bc_prev");
    Press(vkSpace);
    const std::int32_t Stepped = Game.Catalogues.FTrackIndex;
    EXPECT_NE(Stepped, Track);
    Press(vkReturn); // the focused arrow again, not the car page
    EXPECT_EQ(StateId(), ssChooseTrack);
    EXPECT_NE(Game.Catalogues.FTrackIndex, Stepped);
    Press(vkDown);
    EXPECT_EQ(FocusName(), "b_back");
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssMainMenu);
}

TEST_F(PageFocusTest, TheOptionsBarTakesLeftAndRightAndApplyKeepsTheLevel)
{
    StartAt(ssOptions);
    RunFrames(1);
    const int Level = Game.State.VolumeLevel;
    Press(vkUp);
    EXPECT_EQ(FocusName(), "b_apply");
    Press(vkUp); // the name edit above it
    Press(vkUp);
    ASSERT_EQ(FocusName(), "opt_bar");
    const int Expected = Level > 0 ? Level - 1 : Level + 1;
    Press(Level > 0 ? vkLeft : vkRight);
    EXPECT_EQ(Game.State.VolumeLevel, Expected);
    for (int I = 0; I < 6; ++I)
        Press(vkDown);
    Press(vkLeft);
    EXPECT_EQ(FocusName(), "b_apply");
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.State.VolumeLevel, Expected);
}

TEST_F(PageFocusTest, TheProfileListKeepsUpAndDownWhileTheButtonsTakeLeftAndRight)
{
    StartUp();
    Game.Profiles.AddFirstProfile("Anna", Game.State.PlayerName);
    Game.Profiles.AddProfile("Bert", Game.State.PlayerName);
    Game.LeaveState(ssLogo);
    Game.EnterState(ssChooseProfile);
    RunFrames(1);
    const int Cursor = Game.Profiles.FProfileCursor;
    Press(Cursor == 0 ? vkDown : vkUp);
    EXPECT_NE(Game.Profiles.FProfileCursor, Cursor);
    EXPECT_EQ(FocusName(), "-");
    Press(vkLeft);
    EXPECT_EQ(FocusName(), "b_select");
    Press(vkLeft);
    EXPECT_EQ(FocusName(), "b_delete");
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssDeleteProfile);
}

TEST_F(PageFocusTest, AFirstPlayerIsAddedWithKeysAloneWhileTheMouseRestsOnTheButton)
{
    StartAt(ssAddPlayer);
    RunFrames(90); // slid in
    Game.TextInput("Ann");
    Press(vkDown);
    EXPECT_EQ(FocusName(), "b_add");
    // Typing goes on into the name, a blank included, though the button has the focus.
    Game.FormKeyDown(vkSpace);
    Game.TextInput(" ");
    Game.FormKeyUp(vkSpace);
    Game.TextInput("Lee");
    RunFrames(1);
    EXPECT_EQ(StateId(), ssAddPlayer);
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.State.PlayerName, "Ann Lee");
}

} // namespace
} // namespace vm::test
