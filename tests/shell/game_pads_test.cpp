// The game's controller input: pads drive the race's actions beside the keys, act as keys on
// pages, and pause a race when they come or go.
#include "engine/clock.h"
#include "engine/null_render_device.h"
#include "engine/pad_input.h"
#include "pages/page_rows.h"
#include "shell/game.h"
#include "support/recording_audio_device.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

class GamePadsTest : public ::testing::Test
{
protected:
    GamePadsTest() : Game(TGamePlatform{Device, Clock, Sound, Messages, Data.Path().string()}, GamePages())
    {
        Game.State.ScreenState = ssRace;
    }

    test::TTempDir Data;
    TNullRenderDevice Device;
    TManualClock Clock{90000};
    test::TRecordingAudioDevice Sound;
    test::TMessageRecorder Messages;
    TGame Game;
    TGameState& State = Game.State;
};

TEST_F(GamePadsTest, PadsAndKeysDriveTheSameActionsAndEveryPadCounts)
{
    Game.PadAdded(1);
    Game.PadAdded(2);
    State.ClearLatches();
    Game.PadAxis(1, paRightTrigger, 30000);
    EXPECT_TRUE(State.Held(acAccelerate));
    Game.PadButton(2, pbA, true);
    Game.PadAxis(1, paRightTrigger, 0);
    // One pad let go while the other still holds: still accelerating, and the release is latched.
    EXPECT_TRUE(State.Held(acAccelerate));
    EXPECT_TRUE(State.TakeAction(acAccelerate));
    EXPECT_FALSE(State.TakeAction(acAccelerate));
    Game.PadButton(2, pbA, false);
    EXPECT_FALSE(State.Held(acAccelerate));
    // The keys still drive beside the pads; in a race the pad presses no page keys.
    Game.FormKeyDown(vkUp);
    EXPECT_TRUE(State.Held(acAccelerate));
    EXPECT_EQ(State.KeyReleased[vkReturn], 0);
    Game.PadButton(1, pbDPadLeft, true);
    Game.PadButton(1, pbX, true);
    EXPECT_TRUE(State.Held(acSteerLeft));
    EXPECT_TRUE(State.Held(acHandBrake));
    EXPECT_EQ(State.KeyHeld[vkLeft], 0);
    // A rebound key drives its action, and the old one no longer does.
    int Conflict = -1;
    ASSERT_EQ(State.Controls.BindKey(acBrake, 'S', Conflict), TBindResult::Bound);
    Game.FormKeyDown('S');
    EXPECT_TRUE(State.Held(acBrake));
    Game.FormKeyUp('S');
    Game.FormKeyDown(vkDown);
    EXPECT_FALSE(State.Held(acBrake));
}

TEST_F(GamePadsTest, SticksAndTriggersHaveADeadZoneAndDoNotChatterAtTheEdge)
{
    Game.PadAdded(7);
    Game.PadAxis(7, paLeftX, -StickOn + 1);
    EXPECT_FALSE(State.Held(acSteerLeft));
    Game.PadAxis(7, paLeftX, -StickOn);
    EXPECT_TRUE(State.Held(acSteerLeft));
    // Back towards the middle but not past the release point: still held, no release latched.
    Game.PadAxis(7, paLeftX, -StickOff - 1);
    EXPECT_TRUE(State.Held(acSteerLeft));
    EXPECT_FALSE(State.TakeAction(acSteerLeft));
    Game.PadAxis(7, paLeftX, -StickOff);
    EXPECT_FALSE(State.Held(acSteerLeft));
    // Straight across to the other side.
    Game.PadAxis(7, paLeftX, 32767);
    EXPECT_TRUE(State.Held(acSteerRight));
    EXPECT_FALSE(State.Held(acSteerLeft));
    Game.PadAxis(7, paLeftTrigger, TriggerOn - 1);
    EXPECT_FALSE(State.Held(acBrake));
    Game.PadAxis(7, paLeftTrigger, 32767);
    EXPECT_TRUE(State.Held(acBrake));
    // The right stick does nothing in a race.
    Game.PadAxis(7, paRightX, -32768);
    Game.PadAxis(7, paRightY, 32767);
    EXPECT_FALSE(State.Held(acSteerLeft));
    EXPECT_FALSE(State.Held(acAccelerate));
}

TEST_F(GamePadsTest, OnPagesThePadPressesKeysButNotWithAButtonHeldFromTheRace)
{
    Game.PadAdded(3);
    State.ScreenState = ssRaceOver;
    Game.PadButton(3, pbA, true);
    EXPECT_TRUE(State.LastInputPad);
    Game.PadButton(3, pbA, false);
    EXPECT_TRUE(State.TakeReleased(vkReturn));
    Game.PadAxis(3, paLeftY, 32767);
    Game.PadAxis(3, paLeftY, 0);
    EXPECT_TRUE(State.TakeReleased(vkDown));
    Game.PadButton(3, pbB, true);
    Game.PadButton(3, pbB, false);
    EXPECT_TRUE(State.TakeReleased(vkEscape));
    // A key on the keyboard makes the keyboard the last input again.
    Game.FormKeyDown('Q');
    EXPECT_FALSE(State.LastInputPad);
    // A held from the race, let go on the page that follows: no Enter there.
    State.ScreenState = ssRace;
    Game.PadButton(3, pbA, true);
    State.ScreenState = ssRaceOver;
    Game.PadButton(3, pbA, false);
    EXPECT_FALSE(State.TakeReleased(vkReturn));
}

TEST_F(GamePadsTest, APadComingOrGoingPausesARaceAndLetsGoOfWhatItHeld)
{
    Game.PadAdded(4);
    EXPECT_TRUE(State.PauseRequested);
    State.ClearLatches();
    Game.PadAxis(4, paRightTrigger, 32767);
    Game.PadButton(4, pbDPadRight, true);
    Game.PadRemoved(4);
    EXPECT_TRUE(State.PauseRequested);
    EXPECT_FALSE(State.Held(acAccelerate));
    EXPECT_FALSE(State.Held(acSteerRight));
    EXPECT_EQ(Game.PadCount(), 0);
    // Off the race nothing pauses; events of pads never added, or of unknown buttons and axes,
    // are ignored.
    State.ScreenState = ssMainMenu;
    State.ClearLatches();
    State.LastInputPad = false;
    Game.PadAdded(5);
    Game.PadRemoved(5);
    Game.PadRemoved(5);
    EXPECT_FALSE(State.PauseRequested);
    Game.PadButton(9, pbA, true);
    Game.PadAdded(6);
    Game.PadButton(6, PadButtonCount, true);
    Game.PadButton(6, -1, true);
    Game.PadAxis(6, PadAxisCount, 32767);
    Game.PadAxis(6, -3, 32767);
    EXPECT_EQ(State.KeyHeld[vkReturn], 0);
    EXPECT_FALSE(State.LastInputPad);
}

} // namespace
} // namespace vm
