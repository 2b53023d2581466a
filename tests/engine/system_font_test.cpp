// System font: cached text textures, colours on the quad, measuring, and drawing nothing when it cannot.
#include "engine/screen.h"
#include "engine/system_font.h"
#include "fake_text_rasterizer.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vm {
namespace {

// What the screen does to a vertex colour with its white global colour: each channel x 255 / 256.
std::uint32_t ThroughScreen(std::uint32_t Argb)
{
    std::uint32_t Out = 0;
    for (int Shift = 0; Shift < 32; Shift += 8)
        Out |= ((((Argb >> Shift) & 0xFFu) * 255u) >> 8) << Shift;
    return Out;
}

class SystemFontTest : public ::testing::Test
{
protected:
    SystemFontTest() : Screen(Device, Messages), Font(&Screen, &Rasterizer)
    {
        Screen.Initialize();
        Screen.BeginScene();
        Font.SetFont("Micra", 12, 1);
    }

    test::TMessageRecorder Messages;
    test::TRecordingRenderDevice Device;
    TScreen Screen;
    test::TFakeTextRasterizer Rasterizer;
    TSystemFont Font;
};

TEST_F(SystemFontTest, TextDrawnEveryFrameIsRasterisedOnceAndCoversItsPixels)
{
    for (int Frame = 0; Frame < 10; ++Frame)
    {
        Font.TextOut(100, 50, "Wrong way!");
        Screen.EndScene();
        Screen.BeginScene();
    }
    EXPECT_EQ(Rasterizer.Renders, 1);
    EXPECT_EQ(Device.FQuads, 10);
    ASSERT_EQ(Device.Textures.size(), 1u);
    const auto& Texture = Device.Textures.begin()->second;
    int W = 0, H = 0;
    Rasterizer.MeasureText({"Micra", 12, true}, "Wrong way!", W, H);
    EXPECT_EQ(Texture.Width, W);
    EXPECT_EQ(Texture.Height, H);

    // The quad spans exactly the text's pixels (pixel edges half a pixel off the centres) and
    // the whole texture.
    const TVertex* Q = Device.LastQuad;
    EXPECT_FLOAT_EQ(Q[1].X - Q[0].X, static_cast<float>(W));
    EXPECT_FLOAT_EQ(Q[2].Y - Q[1].Y, static_cast<float>(H));
    EXPECT_NEAR(Q[0].X, 100.0f, 0.05f);
    EXPECT_NEAR(Q[0].Y, 50.0f, 0.05f);
    EXPECT_FLOAT_EQ(Q[0].U, 0.0f);
    EXPECT_FLOAT_EQ(Q[2].U, 1.0f);
    EXPECT_FLOAT_EQ(Q[2].V, 1.0f);
    EXPECT_EQ(Rasterizer.Rendered.front().PointSize, 12);
    EXPECT_TRUE(Rasterizer.Rendered.front().Bold);
}

TEST_F(SystemFontTest, ChangingTheFontDropsTheCacheButTheSameFontKeepsIt)
{
    Font.TextOut(0, 0, "Pause");
    Font.TextOut(0, 0, "Level 1");
    ASSERT_EQ(Device.Textures.size(), 2u);

    // The same face, size and style: the textures stay, only the colour goes back to white.
    Font.SetColor(0xFF102030u);
    Font.SetFont("Micra", 12, 1);
    EXPECT_EQ(Font.Color(), 0xFFFFFFFFu);
    Font.TextOut(0, 0, "Pause");
    EXPECT_EQ(Rasterizer.Renders, 2);
    EXPECT_EQ(Device.Textures.size(), 2u);

    // Size, style and face each count as a change.
    Font.SetFont("Micra", 20, 1);
    EXPECT_TRUE(Device.Textures.empty());
    Font.TextOut(0, 0, "Pause");
    EXPECT_EQ(Rasterizer.Renders, 3);
    EXPECT_EQ(Rasterizer.Rendered.back().PointSize, 20);
    Font.SetFont("Micra", 20, 0);
    EXPECT_TRUE(Device.Textures.empty());
    Font.TextOut(0, 0, "Pause");
    EXPECT_FALSE(Rasterizer.Rendered.back().Bold);
    Font.SetFont("Other", 20, 0);
    EXPECT_TRUE(Device.Textures.empty());
    EXPECT_EQ(Font.CachedTexts(), 0u);
}

TEST_F(SystemFontTest, ColourBytesAndInvertedColourReachTheVertices)
{
    Font.SetColor(0xFF141414u); // the race font's (20, 20, 20)
    Font.TextOut(10, 10, "Level 3");
    for (const TVertex& V : Device.LastQuad)
        EXPECT_EQ(V.Color, ThroughScreen(0xFF141414u));

    Font.TextOutInverted(10, 10, "Level 3");
    for (const TVertex& V : Device.LastQuad)
        EXPECT_EQ(V.Color, ThroughScreen(0xFFEBEBEBu)); // 255 - 20 = 235, alpha kept

    // The game sets single bytes directly; the packed colour follows.
    Font.SetRed(123);
    Font.SetGreen(19);
    Font.SetBlue(19);
    Font.SetAlpha(128);
    EXPECT_EQ(Font.Color(), 0x807B1313u);
    Font.TextOut(10, 10, "Hello, Player!");
    EXPECT_EQ(Device.LastQuad[2].Color, ThroughScreen(0x807B1313u));
    Font.TextOutInverted(10, 10, "Hello, Player!");
    EXPECT_EQ(Device.LastQuad[2].Color, ThroughScreen(0x8084ECECu));
    EXPECT_EQ(Font.Red(), 123); // drawing inverted leaves the font's colour alone
}

TEST_F(SystemFontTest, TextBlendsByCoverageWhateverTheScreenModeWas)
{
    Screen.SetBlendMode(1); // additive
    Font.TextOut(0, 0, "Score");
    EXPECT_EQ(Device.FSource, TBlendFactor::SrcAlpha);
    EXPECT_EQ(Device.FDest, TBlendFactor::InvSrcAlpha);
    EXPECT_EQ(Screen.BlendMode(), 0);
}

TEST_F(SystemFontTest, NothingIsDrawnWithoutRasterizerFaceDeviceOrScene)
{
    TSystemFont NoRasterizer(&Screen, nullptr);
    NoRasterizer.SetFont("Micra", 12, 1);
    NoRasterizer.TextOut(0, 0, "Pause");
    EXPECT_EQ(NoRasterizer.TextWidth("Pause"), 0);

    TSystemFont NoFace(&Screen, &Rasterizer); // SetFont never called
    NoFace.TextOut(0, 0, "Pause");
    EXPECT_EQ(NoFace.TextHeight("Pause"), 0);

    TSystemFont NoScreen(nullptr, &Rasterizer);
    NoScreen.SetFont("Micra", 12, 1);
    NoScreen.TextOut(0, 0, "Pause");

    Font.SetFont("Missing", 12, 1); // a face the rasterizer cannot open
    Font.TextOut(0, 0, "Pause");
    EXPECT_EQ(Font.TextWidth("Pause"), 0);
    Font.SetFont("Micra", 12, 1);
    Font.TextOut(0, 0, ""); // an empty text

    Device.FReady = false; // lost device
    Font.TextOut(0, 0, "Pause");
    Device.FReady = true;
    Screen.EndScene(); // outside a scene
    Font.TextOut(0, 0, "Pause");

    EXPECT_EQ(Device.FQuads, 0);
    EXPECT_TRUE(Device.Textures.empty());
}

TEST_F(SystemFontTest, CacheIsBoundedAndDropsTheLeastRecentlyDrawn)
{
    const int Count = static_cast<int>(TSystemFont::CacheLimit) + 20;
    for (int I = 0; I < Count; ++I)
    {
        Font.TextOut(0, 0, std::to_string(I));
        Font.TextOut(0, 0, "0"); // drawn every frame: stays
    }
    EXPECT_EQ(Device.Textures.size(), TSystemFont::CacheLimit);
    EXPECT_EQ(Font.CachedTexts(), TSystemFont::CacheLimit);
    const int Renders = Rasterizer.Renders;
    EXPECT_EQ(Renders, Count);
    Font.TextOut(0, 0, "0");
    Font.TextOut(0, 0, std::to_string(Count - 1));
    EXPECT_EQ(Rasterizer.Renders, Renders);
    Font.TextOut(0, 0, "1"); // dropped long ago
    EXPECT_EQ(Rasterizer.Renders, Renders + 1);
    EXPECT_EQ(Device.Textures.size(), TSystemFont::CacheLimit);
}

TEST_F(SystemFontTest, DeviceResetMakesTheTexturesAgainAndDestructionReleasesThem)
{
    Font.TextOut(0, 0, "Pause");
    const TTextureId Before = Device.LastTexture;
    Font.DeviceReset();
    EXPECT_TRUE(Device.Textures.empty());
    Font.TextOut(0, 0, "Pause");
    EXPECT_EQ(Rasterizer.Renders, 2);
    EXPECT_NE(Device.LastTexture, Before);
    EXPECT_EQ(Device.Textures.size(), 1u);
    {
        TSystemFont Other(&Screen, &Rasterizer);
        Other.SetFont("Micra", 8, 0);
        Other.TextOut(0, 0, "1:23:45");
        EXPECT_EQ(Device.Textures.size(), 2u);
    }
    EXPECT_EQ(Device.Textures.size(), 1u);
}

TEST_F(SystemFontTest, MeasuresWithTheFontsFaceSizeAndStyle)
{
    int W = 0, H = 0;
    Rasterizer.MeasureText({"Micra", 12, true}, "Wim", W, H);
    EXPECT_EQ(Font.TextWidth("Wim"), W);
    EXPECT_EQ(Font.TextHeight("Wim"), H);
    Font.SetFont("Micra", 30, 0);
    EXPECT_GT(Font.TextWidth("Wim"), W);
    EXPECT_GT(Font.TextHeight("Wim"), H);
    EXPECT_EQ(Font.TextWidth(""), 0);
}

TEST_F(SystemFontTest, TextMeasuredEveryFrameIsShapedOnceForEachFont)
{
    const int Before = Rasterizer.Measures;
    const int Width = Font.TextWidth("0:12.34");
    for (int Frame = 0; Frame < 10; ++Frame)
    {
        EXPECT_EQ(Font.TextWidth("0:12.34"), Width);
        EXPECT_GT(Font.TextHeight("0:12.34"), 0);
    }
    EXPECT_EQ(Rasterizer.Measures - Before, 1);
    // Another size measures again and answers for that size; coming back measures afresh too.
    Font.SetFont("Micra", 30, 1);
    EXPECT_GT(Font.TextWidth("0:12.34"), Width);
    Font.SetFont("Micra", 12, 1);
    EXPECT_EQ(Font.TextWidth("0:12.34"), Width);
    EXPECT_EQ(Rasterizer.Measures - Before, 3);
    // More texts than it remembers: every answer is still right.
    for (int I = 0; I < static_cast<int>(TSystemFont::MeasureLimit) + 10; ++I)
        Font.TextWidth(std::to_string(I));
    EXPECT_EQ(Font.TextWidth("0:12.34"), Width);
}

// Draws texts that make quads and texts that cannot; notes the quads, blend factors and
// rasterisations after each.
template <typename TDevice>
std::vector<long> DrawTexts(TDevice& Device, test::TFakeTextRasterizer& Rasterizer, bool Rasterise = true)
{
    test::TMessageRecorder Messages;
    TScreen Screen(Device, Messages);
    Screen.RasteriseUnseenText = Rasterise;
    Screen.Initialize();
    TSystemFont Font(&Screen, &Rasterizer);
    Font.SetFont("Micra", 12, 1);
    std::vector<long> Trace;
    auto Note = [&] {
        Trace.push_back(Device.FQuads);
        Trace.push_back(static_cast<long>(Device.FSource));
        Trace.push_back(static_cast<long>(Device.FDest));
    };
    Font.TextOut(0, 0, "Pause"); // outside a scene
    Note();
    Screen.BeginScene();
    for (int Frame = 0; Frame < 3; ++Frame)
    {
        Screen.SetBlendMode(1); // text puts the blend back to ordinary alpha
        Font.TextOut(10, 10, "0:01:0" + std::to_string(Frame));
        Note();
        Font.TextOutInverted(10, 30, "Level 1");
        Note();
    }
    Font.TextOut(0, 0, "");
    Note();
    Font.SetFont("Micra", 1, 0); // 'i' is 0 pixels wide at this size: no quad
    Font.TextOut(0, 0, "iii");
    Note();
    Font.SetFont("Missing", 12, 1);
    Font.TextOut(0, 0, "Pause");
    Note();
    return Trace;
}

TEST(SystemFontOnANullDevice, CountsTheQuadsOfADeviceThatDrawsAndRasterisesOnlyWhenAsked)
{
    test::TRecordingRenderDevice Recording;
    test::TFakeTextRasterizer DrawingRasterizer;
    const std::vector<long> Expected = DrawTexts(Recording, DrawingRasterizer);
    TNullRenderDevice Null;
    test::TFakeTextRasterizer NullRasterizer;
    EXPECT_EQ(DrawTexts(Null, NullRasterizer, false), Expected);
    EXPECT_EQ(Recording.FQuads, 6);
    EXPECT_GT(DrawingRasterizer.Renders, 0);
    EXPECT_EQ(NullRasterizer.Renders, 0);
    EXPECT_EQ(Null.FLastTexture, 0u); // no texture made either
    // By default the null device still gets its texts rasterised, as a drawing device does.
    TNullRenderDevice Watched;
    test::TFakeTextRasterizer WatchedRasterizer;
    EXPECT_EQ(DrawTexts(Watched, WatchedRasterizer), Expected);
    EXPECT_EQ(WatchedRasterizer.Texts, DrawingRasterizer.Texts);
}

} // namespace
} // namespace vm
