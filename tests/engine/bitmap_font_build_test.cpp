// Bitmap fonts built from a system font: texture side, glyph sizes and places, failures, resets.
#include "engine/bitmap_font.h"
#include "engine/screen.h"
#include "fake_text_rasterizer.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vm {
namespace {

// A recording device with a chosen largest texture side.
class TSmallTextureDevice : public test::TRecordingRenderDevice
{
public:
    int MaxTextureSide() const override { return MaxSide; }
    int MaxSide = 8192;
};

class BitmapFontBuildTest : public ::testing::Test
{
protected:
    BitmapFontBuildTest() : Screen(Device, Messages)
    {
        Screen.Initialize();
        Screen.BeginScene();
    }

    // Side of the one texture the font owns (0 when there is none or more than one).
    int OnlySide() const
    {
        if (Device.Textures.size() != 1)
            return 0;
        const auto& Texture = Device.Textures.begin()->second;
        return Texture.Width == Texture.Height ? Texture.Width : -1;
    }

    test::TMessageRecorder Messages;
    TSmallTextureDevice Device;
    TScreen Screen;
    test::TFakeTextRasterizer Rasterizer;
};

TEST_F(BitmapFontBuildTest, TextureSideFollowsThePointSize)
{
    const std::u32string Digits = U"0123456789";
    const std::pair<int, int> Cases[] = {{8, 256}, {20, 256}, {21, 512}, {40, 512}, {41, 1024}, {60, 1024}};
    for (auto [Points, Side] : Cases)
    {
        TBitmapFont Font(&Screen);
        ASSERT_TRUE(Font.BuildFromSystemFont(Rasterizer, "MicrogrammaDBolExt", Points, true, Digits));
        EXPECT_EQ(OnlySide(), Side) << Points << " points";
    }
    EXPECT_TRUE(Device.Textures.empty()); // each font released its texture
}

TEST_F(BitmapFontBuildTest, PackedTextureIsTheSmallestPowerOfTwoThatHoldsTheEstimate)
{
    {
        // sqrt(10 x 2 x 11^2) = 49.2 -> 64.
        TBitmapFont Font(&Screen);
        ASSERT_TRUE(Font.BuildFromSystemFont(Rasterizer, "Play", 10, false, U"0123456789", true));
        EXPECT_EQ(OnlySide(), 64);
    }
    {
        // The default set (161 characters) at 12 points: sqrt(161 x 2 x 13^2) = 233.3 -> 256.
        TBitmapFont Font(&Screen);
        ASSERT_TRUE(Font.BuildFromSystemFont(Rasterizer, "Play", 12, false, U"", true));
        EXPECT_EQ(OnlySide(), 256);
        EXPECT_EQ(Font.Characters(), TBitmapFont::DefaultCharacters());
    }
}

TEST_F(BitmapFontBuildTest, GlyphsThatDoNotFitTheSizesSideGetALargerTexture)
{
    // 161 glyphs of about 18 x 27 pixels need more than 256 x 256.
    Rasterizer.Widen = 10;
    TBitmapFont Font(&Screen);
    ASSERT_TRUE(Font.BuildFromSystemFont(Rasterizer, "Play", 20, false, U""));
    EXPECT_EQ(OnlySide(), 512);
}

TEST_F(BitmapFontBuildTest, SideBeyondTheDevicesLargestIsCutAndTheSizeFactorShrinks)
{
    Device.MaxSide = 128;
    TBitmapFont Font(&Screen);
    ASSERT_TRUE(Font.BuildFromSystemFont(Rasterizer, "Play", 30, false, U"W0"));
    EXPECT_EQ(OnlySide(), 128);
    // 512 cut to 128: a quarter, so the glyphs are rendered at 7 points (7.5 in whole points).
    ASSERT_FALSE(Rasterizer.Rendered.empty());
    EXPECT_EQ(Rasterizer.Rendered.back().PointSize, 7);
    // Drawn and measured text shrinks with the size factor: the texture's glyphs come out 1:1.
    int W = 0, H = 0;
    Rasterizer.MeasureText({"Play", 30, false}, "W", W, H);
    EXPECT_EQ(Font.TextWidth("W"), std::lround(W * 7.0 / 30.0));
    EXPECT_EQ(Font.TextHeight("W"), std::lround(H * 7.0 / 30.0));
}

TEST_F(BitmapFontBuildTest, GlyphsAreMeasuredOneByOneAndPlacedOnTheTexture)
{
    TBitmapFont Font(&Screen);
    Font.Spacing = 0;
    ASSERT_TRUE(Font.BuildFromSystemFont(Rasterizer, "Play", 24, false, U"iW"));
    EXPECT_EQ(Font.TextWidth("i"), 24 / 3);
    EXPECT_EQ(Font.TextWidth("W"), 24);
    EXPECT_EQ(Font.TextWidth("iWx"), 24 / 3 + 24); // 'x' has no glyph
    EXPECT_EQ(Font.TextHeight("i"), 32);
    EXPECT_EQ(Font.FontName, "Play");

    // The glyphs sit in a row from the top-left corner, one free column between them; their
    // pixels are white with the rasterizer's coverage, the rest clear.
    ASSERT_EQ(Device.Textures.size(), 1u);
    const auto& T = Device.Textures.begin()->second;
    auto Texel = [&](int X, int Y) { return T.Argb[static_cast<std::size_t>(Y) * T.Width + X]; };
    EXPECT_EQ(Texel(0, 0), 0x00FFFFFFu);  // the fake's clear first row
    EXPECT_EQ(Texel(0, 1), 0xFFFFFFFFu);  // 'i' from x 0
    EXPECT_EQ(Texel(7, 31), 0xFFFFFFFFu); // 'i' ends at x 7, y 31
    EXPECT_EQ(Texel(8, 5), 0x00FFFFFFu);  // the gap
    EXPECT_EQ(Texel(9, 5), 0xFFFFFFFFu);  // 'W' from x 9
    EXPECT_EQ(Texel(32, 5), 0xFFFFFFFFu);
    EXPECT_EQ(Texel(33, 5), 0x00FFFFFFu);
    EXPECT_EQ(Texel(0, 32), 0x00FFFFFFu);

    // Drawing maps each glyph's quad onto its own rectangle of the texture.
    Font.TextOut(100, 100, 0, "W");
    const TVertex* Q = Device.LastQuad;
    EXPECT_NEAR(Q[0].U * T.Width, 9.0f, 1e-3);
    EXPECT_NEAR(Q[2].U * T.Width, 33.0f, 1e-3);
    EXPECT_NEAR(Q[0].V * T.Height, 0.0f, 1e-3);
    EXPECT_NEAR(Q[2].V * T.Height, 32.0f, 1e-3);
}

TEST_F(BitmapFontBuildTest, AFailedBuildLeavesTheFontAsItWas)
{
    TBitmapFont Font(&Screen);
    ASSERT_TRUE(Font.BuildFromSystemFont(Rasterizer, "Play", 12, true, U"AB"));
    const TTextureId Texture = Device.Textures.begin()->first;
    const int Width = Font.TextWidth("AB");

    EXPECT_FALSE(Font.BuildFromSystemFont(Rasterizer, "Missing", 20, false, U"xyz"));
    Device.FailCreate = true;
    EXPECT_FALSE(Font.BuildFromSystemFont(Rasterizer, "Play", 20, false, U"xyz"));
    Device.FailCreate = false;
    EXPECT_FALSE(Font.BuildFromSystemFont(Rasterizer, "Play", 0, false, U"xyz"));
    EXPECT_FALSE(Font.BuildFromSystemFont(Rasterizer, "", 12, false, U"xyz"));

    EXPECT_EQ(Font.FontName, "Play");
    EXPECT_EQ(Font.Characters(), U"AB");
    EXPECT_EQ(Font.TextWidth("AB"), Width);
    ASSERT_EQ(Device.Textures.size(), 1u);
    EXPECT_EQ(Device.Textures.begin()->first, Texture);

    TBitmapFont NoScreen(nullptr);
    EXPECT_FALSE(NoScreen.BuildFromSystemFont(Rasterizer, "Play", 12, true, U"AB"));
}

TEST_F(BitmapFontBuildTest, RebuildingReplacesTheTextureAndDeviceResetMakesItAgain)
{
    TBitmapFont Font(&Screen);
    ASSERT_TRUE(Font.BuildFromSystemFont(Rasterizer, "Play", 12, true, U"AB"));
    ASSERT_TRUE(Font.BuildFromSystemFont(Rasterizer, "Play", 30, true, U"AB"));
    ASSERT_EQ(Device.Textures.size(), 1u);
    const TTextureId Before = Device.Textures.begin()->first;
    const std::vector<std::uint32_t> Pixels = Device.Textures.begin()->second.Argb;

    Font.DeviceReset();
    ASSERT_EQ(Device.Textures.size(), 1u);
    EXPECT_NE(Device.Textures.begin()->first, Before);
    EXPECT_EQ(Device.Textures.begin()->second.Argb, Pixels);
    Font.TextOut(0, 0, 0, "A");
    EXPECT_EQ(Device.LastTexture, Device.Textures.begin()->first);
}

} // namespace
} // namespace vm
