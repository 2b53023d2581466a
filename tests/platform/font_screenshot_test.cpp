// The game's faces and sizes drawn on the real offscreen renderer: ink where text goes, in its
// colour. With VM_SHOT_DIR set, the picture is saved there as fonts.png to be looked at.
#include "engine/bitmap_font.h"
#include "engine/game_constants.h"
#include "engine/screen.h"
#include "engine/system_font.h"
#include "engine/utf8.h"
#include "platform/sdl/sdl_text_rasterizer.h"
#include "platform/sdl/sdl_video.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

namespace vm {
namespace {

constexpr int ScreenW = PictureWidth, ScreenH = PictureHeight;
constexpr std::uint32_t Background = 0xFF282830u;
constexpr std::uint32_t Panel = 0xFFE6E1D2u; // the light strip under the greeting

struct TBox
{
    int X = 0, Y = 0, W = 0, H = 0;
};

class FontScreenshotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string Error;
        ASSERT_TRUE(Video.Open(true, Error)) << Error;
        Screen = std::make_unique<TScreen>(Video.Device(), Messages);
        Screen->Initialize();
        Screen->SetLinearFilter(true);
        const std::uint32_t White = 0xFFFFFFFFu;
        WhiteTexture = Video.Device().CreateTexture(1, 1, &White);
    }
    void TearDown() override
    {
        Bitmap.reset();
        Font.reset();
        Screen.reset();
    }

    std::uint32_t At(int X, int Y) const { return Picture[static_cast<std::size_t>(Y) * ScreenW + X]; }

    // Pixels of Box that differ from Back by more than a little in any channel.
    int Ink(const TBox& Box, std::uint32_t Back) const
    {
        int Count = 0;
        for (int Y = std::max(Box.Y, 0); Y < std::min(Box.Y + Box.H, ScreenH); ++Y)
            for (int X = std::max(Box.X, 0); X < std::min(Box.X + Box.W, ScreenW); ++X)
            {
                const std::uint32_t P = At(X, Y);
                for (int Shift = 0; Shift < 24; Shift += 8)
                    if (std::abs(int((P >> Shift) & 0xFF) - int((Back >> Shift) & 0xFF)) > 24)
                    {
                        ++Count;
                        break;
                    }
            }
        return Count;
    }

    // True when Box holds a pixel within Tolerance of Color in every channel (the glyph cores).
    bool HasColor(const TBox& Box, std::uint32_t Color, int Tolerance = 6) const
    {
        for (int Y = Box.Y; Y < Box.Y + Box.H; ++Y)
            for (int X = Box.X; X < Box.X + Box.W; ++X)
            {
                const std::uint32_t P = At(X, Y);
                bool Near = true;
                for (int Shift = 0; Shift < 24; Shift += 8)
                    Near = Near &&
                           std::abs(int((P >> Shift) & 0xFF) - int((Color >> Shift) & 0xFF)) <= Tolerance;
                if (Near)
                    return true;
            }
        return false;
    }

    void FillRect(int X, int Y, int W, int H, std::uint32_t Color)
    {
        TVertex Quad[4];
        const float L = X - 0.5f, T = Y - 0.5f, R = L + W, B = T + H;
        Quad[0] = {L, T, Color, 0, 0};
        Quad[1] = {R, T, Color, 1, 0};
        Quad[2] = {R, B, Color, 1, 1};
        Quad[3] = {L, B, Color, 0, 1};
        Screen->SetBlendMode(0);
        Screen->DrawQuad(WhiteTexture, Quad);
    }

    // Draws Text with the system font and remembers where it went.
    TBox Text(int X, int Y, const std::string& Line, bool Inverted = false)
    {
        if (Inverted)
            Font->TextOutInverted(X, Y, Line);
        else
            Font->TextOut(X, Y, Line);
        return {X, Y, Font->TextWidth(Line), Font->TextHeight(Line)};
    }

    void SaveIfAsked(const std::string& Name)
    {
        const char* Dir = std::getenv("VM_SHOT_DIR");
        if (Dir == nullptr || *Dir == 0)
            return;
        TPixels Pixels;
        Pixels.Width = ScreenW;
        Pixels.Height = ScreenH;
        Pixels.Argb = Picture;
        for (std::uint32_t& P : Pixels.Argb)
            P |= 0xFF000000u;
        std::vector<std::uint8_t> Bytes;
        ASSERT_TRUE(EncodePng(Pixels, Bytes));
        std::ofstream File(std::string(Dir) + "/" + Name, std::ios::binary);
        File.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
        ASSERT_TRUE(File.good()) << Dir;
    }

    test::TMessageRecorder Messages;
    TSdlVideo Video;
    std::unique_ptr<TScreen> Screen;
    TSdlTextRasterizer Rasterizer;
    std::unique_ptr<TSystemFont> Font;
    std::unique_ptr<TBitmapFont> Bitmap;
    TTextureId WhiteTexture = 0;
    std::vector<std::uint32_t> Picture;
};

TEST_F(FontScreenshotTest, GameFacesSizesAndColours)
{
    Font = std::make_unique<TSystemFont>(Screen.get(), &Rasterizer);
    Bitmap = std::make_unique<TBitmapFont>(Screen.get());
    ASSERT_TRUE(Bitmap->BuildFromSystemFont(Rasterizer, "MicrogrammaDBolExt", 12, true, U""));
    Bitmap->SetRed(250), Bitmap->SetGreen(250), Bitmap->SetBlue(250);

    Screen->Clear((Background >> 16) & 0xFF, (Background >> 8) & 0xFF, Background & 0xFF, 255);
    ASSERT_TRUE(Screen->BeginScene());

    // The sizes the game uses, bold, stepping down the left side in a few colours.
    const std::uint32_t Colors[] = {0xFFFFFFFFu, 0xFFFAFAFAu, 0xFFFF5656u, 0xFFFFDC78u, 0xFF60A0B0u};
    std::vector<TBox> Sizes;
    int Y = 8, LastHeight = 0;
    int Index = 0;
    for (int Points : {8, 10, 12, 14, 16, 18, 20, 23, 26, 30})
    {
        Font->SetFont("Micra", Points, 1);
        Font->SetColor(Colors[Index++ % 5]);
        const TBox Box = Text(10, Y, "Micra " + std::to_string(Points) + ": Level 3  1:23:45");
        EXPECT_GT(Box.H, LastHeight) << Points;
        LastHeight = Box.H;
        Sizes.push_back(Box);
        Y += Box.H + 2;
    }

    // Latin and Cyrillic lines, the red of "Wrong way!" and the inverted race colour.
    Font->SetFont("Micra", 16, 1);
    Font->SetColor(0xFFFF0000u);
    const TBox Latin = Text(10, Y + 6, "Wrong way! Pause");
    Font->SetColor(0xFFFAFAFAu);
    const TBox Cyrillic = Text(10, Y + 36, "Новый игрок: Жёлтая трасса 3");
    Font->SetFont("Micra", 30, 1);
    Font->SetRed(20), Font->SetGreen(20), Font->SetBlue(20);
    const TBox Inverted = Text(430, Y + 6, "Level 3", true);

    // The greeting on a light strip, regular weight.
    FillRect(0, 520, ScreenW, 40, Panel);
    Font->SetFont("Micra", 10, 0);
    Font->SetColor(0xFF7B1313u);
    const std::string Hello = "Hello, Player!";
    const TBox Greeting = Text(400 - Font->TextWidth(Hello) / 2, 530, Hello);

    // The bitmap font built from the options page's face: its whole set in three lines.
    const std::u32string& Set = TBitmapFont::DefaultCharacters();
    const int Third = static_cast<int>(Set.size() + 2) / 3;
    std::vector<TBox> BitmapLines;
    for (int Line = 0; Line < 3; ++Line)
    {
        const std::string Part = EncodeUtf8(Set.substr(static_cast<std::size_t>(Line * Third), Third));
        const int LineY = 410 + Line * (Bitmap->TextHeight(Part) + 4);
        Bitmap->TextOut(10, static_cast<float>(LineY), 0, Part);
        BitmapLines.push_back({10, LineY, Bitmap->TextWidth(Part), Bitmap->TextHeight(Part)});
    }

    int W = 0, H = 0;
    ASSERT_TRUE(Video.Device().ReadPixels(Picture, W, H));
    ASSERT_EQ(W, ScreenW);
    ASSERT_EQ(H, ScreenH);
    Screen->EndScene();
    SaveIfAsked("fonts.png");

    // Ink in every text's box, none right of the longest size line nor between lines.
    for (const TBox& Box : Sizes)
        EXPECT_GT(Ink(Box, Background), Box.W * Box.H / 20) << Box.Y;
    EXPECT_EQ(Ink({Sizes.back().X + Sizes.back().W + 2, Sizes.back().Y, 20, Sizes.back().H}, Background), 0);
    EXPECT_EQ(Ink({0, Sizes.front().Y - 8, ScreenW, 6}, Background), 0);
    EXPECT_GT(Ink(Latin, Background), 150);
    EXPECT_GT(Ink(Cyrillic, Background), 300);
    for (const TBox& Box : BitmapLines)
        EXPECT_GT(Ink(Box, Background), 300);

    // Colours: glyph cores come out in the font's colour.
    EXPECT_TRUE(HasColor(Latin, 0xFFFE0000u));
    EXPECT_TRUE(HasColor(Inverted, 0xFFEAEAEAu)); // 255 - 20, through the screen's white
    EXPECT_TRUE(HasColor(Greeting, 0xFF7A1212u));
    EXPECT_GT(Ink(Greeting, Panel), 100);
    EXPECT_FALSE(HasColor(Greeting, 0xFFFFFFFFu, 20)); // no stray white boxes on the light strip
}

} // namespace
} // namespace vm
