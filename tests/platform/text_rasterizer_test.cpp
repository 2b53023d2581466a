// The SDL2_ttf text rasterizer with fontconfig on this machine's installed fonts.
#include "platform/sdl/sdl_text_rasterizer.h"

#include <gtest/gtest.h>

#include <memory>

namespace vm {
namespace {

// Pixels with at least half coverage.
int Ink(const TPixels& P)
{
    int Count = 0;
    for (std::uint32_t Px : P.Argb)
        Count += (Px >> 24) >= 128 ? 1 : 0;
    return Count;
}

bool AllWhite(const TPixels& P)
{
    for (std::uint32_t Px : P.Argb)
        if ((Px & 0x00FFFFFFu) != 0x00FFFFFFu)
            return false;
    return true;
}

class TextRasterizerTest : public ::testing::Test
{
protected:
    TPixels Render(const std::string& Face, int Points, bool Bold, const std::string& Text)
    {
        TPixels Out;
        EXPECT_TRUE(Rasterizer.RenderText({Face, Points, Bold}, Text, Out)) << Face << " " << Points;
        return Out;
    }
    TSdlTextRasterizer Rasterizer;
};

TEST_F(TextRasterizerTest, GameFacesAndUnknownFacesComeOutAsPlay)
{
    for (bool Bold : {false, true})
    {
        const TPixels Play = Render("Play", 14, Bold, "Velomarch 1:23:45");
        ASSERT_GT(Ink(Play), 50);
        for (const char* Face : {"Micra", "MicrogrammaDBolExt", "NoSuchFaceAnywhere", "micra"})
        {
            const TPixels Other = Render(Face, 14, Bold, "Velomarch 1:23:45");
            EXPECT_EQ(Other.Width, Play.Width) << Face;
            EXPECT_EQ(Other.Height, Play.Height) << Face;
            EXPECT_TRUE(Other.Argb == Play.Argb) << Face;
        }
        const std::string File = Rasterizer.FontFile({"Micra", 14, Bold});
        EXPECT_NE(File.find(Bold ? "Play-Bold" : "Play-Regular"), std::string::npos) << File;
    }
}

TEST_F(TextRasterizerTest, AnInstalledFamilyIsUsedAsItself)
{
    const std::string File = Rasterizer.FontFile({"DejaVu Sans", 12, false});
    if (File.find("DejaVu") == std::string::npos)
        GTEST_SKIP() << "DejaVu Sans is not installed";
    EXPECT_EQ(Rasterizer.FontFile({"dejavu sans", 12, false}), File); // case does not matter
    EXPECT_FALSE(Render("DejaVu Sans", 12, false, "Velomarch").Argb ==
                 Render("Play", 12, false, "Velomarch").Argb);
}

TEST_F(TextRasterizerTest, SizesGrowWithThePointSizeAndMatchTheMeasure)
{
    int LastWidth = 0, LastHeight = 0;
    for (int Points : {8, 10, 12, 14, 16, 18, 20, 23, 26, 30})
    {
        int W = 0, H = 0;
        ASSERT_TRUE(Rasterizer.MeasureText({"Micra", Points, true}, "Hello, Player!", W, H));
        EXPECT_GT(W, LastWidth) << Points;
        EXPECT_GT(H, LastHeight) << Points;
        const TPixels P = Render("Micra", Points, true, "Hello, Player!");
        // The picture is the line; a row more when ink hangs out of it (26 points here).
        EXPECT_EQ(P.Width, W);
        EXPECT_GE(P.Height, H);
        EXPECT_LE(P.Height, H + 2);
        LastWidth = W;
        LastHeight = H;
    }
    // 96 DPI: 30 points are 40 pixels of em, so the line is a little taller than that.
    EXPECT_GE(LastHeight, 40);
    EXPECT_LE(LastHeight, 60);
}

TEST_F(TextRasterizerTest, BoldIsWiderThanRegular)
{
    int Regular = 0, Bold = 0, H = 0;
    ASSERT_TRUE(Rasterizer.MeasureText({"Micra", 20, false}, "Hello, Player!", Regular, H));
    ASSERT_TRUE(Rasterizer.MeasureText({"Micra", 20, true}, "Hello, Player!", Bold, H));
    EXPECT_GT(Bold, Regular);
    EXPECT_GT(Ink(Render("Micra", 20, true, "Hello")), Ink(Render("Micra", 20, false, "Hello")));
}

TEST_F(TextRasterizerTest, LatinAndCyrillicRenderWhiteInk)
{
    const TPixels Latin = Render("Micra", 16, true, "Wrong way!");
    const TPixels Cyrillic = Render("Micra", 16, true, "Уровень ЖЭЮЯ");
    EXPECT_GT(Ink(Latin), 100);
    EXPECT_GT(Ink(Cyrillic), 100);
    EXPECT_TRUE(AllWhite(Latin));
    EXPECT_TRUE(AllWhite(Cyrillic));
    // Some pixels are clear and some are partly covered: blended, not a solid block.
    int Clear = 0, Partial = 0;
    for (std::uint32_t Px : Cyrillic.Argb)
    {
        const unsigned A = Px >> 24;
        Clear += A == 0 ? 1 : 0;
        Partial += A > 0 && A < 255 ? 1 : 0;
    }
    EXPECT_GT(Clear, Ink(Cyrillic));
    EXPECT_GT(Partial, 20);
    // 'i' is narrower than 'W' in this proportional face.
    EXPECT_LT(Render("Micra", 16, true, "i").Width, Render("Micra", 16, true, "W").Width);
}

TEST_F(TextRasterizerTest, BadRequestsReturnFalseWithoutCrashing)
{
    TPixels Out;
    EXPECT_FALSE(Rasterizer.RenderText({"Micra", 12, true}, "", Out));
    EXPECT_TRUE(Out.Argb.empty());
    int W = -1, H = -1;
    EXPECT_TRUE(Rasterizer.MeasureText({"Micra", 12, true}, "", W, H));
    EXPECT_EQ(W, 0);
    EXPECT_GT(H, 0);
    for (int Points : {0, -5, 100000})
    {
        EXPECT_FALSE(Rasterizer.RenderText({"Micra", Points, true}, "Text", Out)) << Points;
        EXPECT_FALSE(Rasterizer.MeasureText({"Micra", Points, true}, "Text", W, H)) << Points;
    }
    // Broken UTF-8 still draws what it can.
    EXPECT_TRUE(Rasterizer.RenderText({"Micra", 12, true},
                                      std::string("ab\xC3\x28\xFF"
                                                  "cd"),
                                      Out));
    EXPECT_GT(Out.Width, 0);
}

TEST(TextRasterizerLifetime, SeveralRasterizersMayLiveAtOnce)
{
    TPixels Out;
    auto First = std::make_unique<TSdlTextRasterizer>();
    {
        TSdlTextRasterizer Second;
        EXPECT_TRUE(Second.RenderText({"Play", 12, false}, "one", Out));
    }
    // The second one's end must not have stopped the library under the first.
    EXPECT_TRUE(First->RenderText({"Play", 12, false}, "two", Out));
    EXPECT_GT(Ink(Out), 10);
}

} // namespace
} // namespace vm
