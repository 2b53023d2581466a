// The screen's hidden state: the game's frames go on while nothing reaches the device.
#include "engine/screen.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

TEST(Screen, HiddenNothingReachesTheDeviceAndShownAgainItGetsTheBlendBack)
{
    test::TRecordingRenderDevice Device; // a device that draws
    test::TMessageRecorder Messages;
    TScreen Screen(Device, Messages);
    int Overlays = 0;
    Screen.BeforePresent = [&Overlays] { ++Overlays; };
    ASSERT_FALSE(Screen.DrawsNothing());
    TVertex Quad[4];

    Screen.SetHidden(true);
    EXPECT_TRUE(Screen.DrawsNothing());
    for (int Frame = 0; Frame < 3; ++Frame)
    {
        // The frame is begun as usual, so that the game's frame routines run whole.
        ASSERT_TRUE(Screen.BeginScene());
        Screen.Clear(1, 2, 3, 4);
        Screen.SetBlendMode(5);
        Screen.DrawQuad(1, Quad);
        Screen.CountQuad(1);
        Screen.EndScene();
        EXPECT_FALSE(Screen.InScene());
    }
    EXPECT_EQ(Device.FQuads, 0);
    EXPECT_EQ(Device.FPresents, 0);
    EXPECT_EQ(Overlays, 0);
    EXPECT_EQ(Screen.BlendMode(), 5);
    EXPECT_EQ(Device.FSource, TBlendFactor::SrcAlpha);
    EXPECT_EQ(Device.FDest, TBlendFactor::InvSrcAlpha);

    // What mode 5 gives a device when the screen is shown.
    test::TRecordingRenderDevice Shown;
    TScreen ShownScreen(Shown, Messages);
    ShownScreen.SetBlendMode(5);
    ASSERT_NE(Shown.FDest, TBlendFactor::InvSrcAlpha);

    Screen.SetHidden(false);
    EXPECT_FALSE(Screen.DrawsNothing());
    EXPECT_EQ(Device.FSource, Shown.FSource);
    EXPECT_EQ(Device.FDest, Shown.FDest);
    ASSERT_TRUE(Screen.BeginScene());
    Screen.DrawQuad(1, Quad);
    Screen.EndScene();
    EXPECT_EQ(Device.FQuads, 1);
    EXPECT_EQ(Device.FPresents, 1);
    EXPECT_EQ(Overlays, 1);
}

} // namespace
} // namespace vm
