// The game object hands the window's mouse, keys and typed text to its GUI, builds its fonts and
// opens its catalogues at start-up.
#include "assetgen/asset_test_support.h"
#include "engine/clock.h"
#include "engine/gui_button.h"
#include "engine/gui_edit.h"
#include "engine/gui_list.h"
#include "engine/null_render_device.h"
#include "pages/page_rows.h"
#include "shell/game.h"
#include "support/recording_audio_device.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vm {
namespace {

class GameGuiTest : public ::testing::Test
{
protected:
    GameGuiTest()
        : Game(TGamePlatform{Device, Clock, Sound, Messages, std::string(VM_ASSET_DIR)}, GamePages())
    {
        Game.FormCreate(1);
        List = Game.Gui.CreateList("GUI2");
    }

    TNullRenderDevice Device;
    TManualClock Clock{90000};
    test::TRecordingAudioDevice Sound;
    test::TMessageRecorder Messages;
    TGame Game;
    TGuiList* List = nullptr;
};

TEST_F(GameGuiTest, StartUpMakesTheGlyphSheetTheGuiFontAndSetsTheTitleFont)
{
    EXPECT_EQ(Game.BitmapFont.ImageIndex(), 0);
    EXPECT_EQ(Game.BitmapFont.FontName, "font");
    // Latin letters follow the 109 characters of the default set.
    EXPECT_EQ(Game.BitmapFont.GlyphOf(U'A'), 109);
    EXPECT_EQ(Game.BitmapFont.GlyphOf(U'z'), 160);
    EXPECT_EQ(Game.BitmapFont.TextWidth("Ivan"), 4 * 12);
    EXPECT_EQ(Game.Font1.Face(), "Micra");
    EXPECT_EQ(Game.Font1.Size(), 30);
    EXPECT_EQ(Game.Font1.Style(), 1);
}

TEST_F(GameGuiTest, StartUpOpensTheFirstThreeTracksAndEveryCar)
{
    for (int Track = 0; Track < 12; ++Track)
        EXPECT_EQ(Game.Catalogues.FTracks[static_cast<std::size_t>(Track)].Available, Track < 3) << Track;
    for (const TCarInfo& Car : Game.Catalogues.FCars)
        EXPECT_TRUE(Car.Available);
}

TEST_F(GameGuiTest, WindowClicksReachAButtonOnlyWhenPressedAndReleasedOnIt)
{
    const TImageListItem* Image = Game.MenuImageList.Find("b_opt");
    ASSERT_NE(Image, nullptr);
    int Clicks = 0;
    List->CreateButton(Image, 552, 284, [&Clicks](TGuiComponent*, int) { ++Clicks; });
    Clock.Advance(90000);
    Game.MouseMove(560, 290);
    Game.MouseButton(true, 560, 290);
    Game.MouseButton(false, 560, 290);
    EXPECT_EQ(Clicks, 1);
    // Pressed on the button, released off it: no click.
    Clock.Advance(90000);
    Game.MouseButton(true, 560, 290);
    Clock.Advance(90000);
    Game.MouseMove(100, 100);
    Game.MouseButton(false, 100, 100);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(GameGuiTest, MouseMovesAreThinnedByTheGamesFramesNotByRealTime)
{
    Game.FormShow();
    const TGuiButton* Button = List->CreateButton(Game.MenuImageList.Find("b_opt"), 552, 284, {});
    Game.MouseMove(560, 290);
    EXPECT_EQ(Game.Gui.HoverId(), Button->Id());
    // A second later in real time, but in the same frame of the game: kept for later, as a
    // playback of the same calls at any speed keeps it.
    Clock.Advance(90000);
    Game.MouseMove(100, 100);
    EXPECT_EQ(Game.Gui.HoverId(), Button->Id());
    EXPECT_EQ(Game.Gui.MouseX(), 560);
    // One frame on, however little real time passed, a move is taken at once.
    Game.FrameTimerTick();
    Game.MouseMove(561, 291);
    EXPECT_EQ(Game.Gui.MouseX(), 561);
    EXPECT_EQ(Game.Gui.HoverId(), Button->Id());
}

TEST_F(GameGuiTest, TypedTextAndBackspaceReachTheFocusedEdit)
{
    auto* Edit = List->Create<TGuiEdit>();
    Edit->SetLeft(291);
    Edit->SetTop(324);
    Edit->SetWidth(218);
    Edit->SetHeight(26);
    Edit->MaxLength = 12;
    Game.Gui.SetFocus(Edit);
    Game.TextInput("Ива");
    Game.TextInput("n!");
    EXPECT_EQ(Edit->Text, "Иваn!");
    Game.FormKeyDown(vkBack);
    Game.FormKeyUp(vkBack);
    EXPECT_EQ(Edit->Text, "Иваn");
}

} // namespace
} // namespace vm
