// The in-race pages leave the game's values room and carry their buttons without overlaps.
#include "assetgen/hud_test_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using test::LoadRacePicture;
using test::Luma;
using test::THudPicture;

// Every page is drawn with its top-left here.
constexpr int PageX = 160, PageY = 159;
// The pages are dark glass: the frozen race may glimmer through, but only just.
constexpr int SolidAlpha = 230;

struct TRect
{
    int Left, Top, Width, Height;
    bool Overlaps(const TRect& O) const
    {
        return Left < O.Left + O.Width && O.Left < Left + Width && Top < O.Top + O.Height &&
               O.Top < Top + Height;
    }
};

// True when the page has nothing drawn in Area (screen coordinates): every pixel row is even,
// with no two pixels of a row more than Tolerance apart in any channel.
bool IsPlain(const THudPicture& Page, const TRect& Area, int Tolerance, std::string& Why)
{
    for (int Y = Area.Top; Y < Area.Top + Area.Height; ++Y)
    {
        const std::uint32_t First = Page.At(Area.Left - PageX, Y - PageY);
        for (int X = Area.Left; X < Area.Left + Area.Width; ++X)
        {
            const std::uint32_t P = Page.At(X - PageX, Y - PageY);
            for (int Shift : {24, 16, 8, 0})
                if (std::abs(static_cast<int>((P >> Shift) & 255) -
                             static_cast<int>((First >> Shift) & 255)) > Tolerance)
                {
                    Why = "uneven at (" + std::to_string(X) + ", " + std::to_string(Y) + ")";
                    return false;
                }
        }
    }
    return true;
}

// The smallest luma over an area: light enough for the game's near-black value text?
double DarkestLuma(const THudPicture& Page, const TRect& Area)
{
    double Darkest = 255;
    for (int Y = Area.Top; Y < Area.Top + Area.Height; ++Y)
        for (int X = Area.Left; X < Area.Left + Area.Width; ++X)
            Darkest = std::min(Darkest, Luma(Page.At(X - PageX, Y - PageY)));
    return Darkest;
}

TEST(OverlayArt, EveryPageFitsTheScreenAndStartsOffScreenWhenItSlidesIn)
{
    for (const char* Key :
         {"scr_exitgame", "scr_raceover", "scr_yourscore", "scr_send", "scr_gameover", "scr_timesup"})
    {
        THudPicture Page;
        ASSERT_TRUE(LoadRacePicture(Key, Page));
        EXPECT_LE(PageX + Page.Width(), 800) << Key;
        EXPECT_LE(PageY + Page.Height(), 600) << Key;
        // The leave-the-race page starts at x -640 and slides 800 to the right.
        EXPECT_LE(Page.Width(), 640) << Key;
        // A page, not a frame: (nearly) solid in the middle.
        EXPECT_GE(Page.Alpha(Page.Width() / 2, Page.Height() / 2), SolidAlpha) << Key;
    }
    // Its buttons start at x -550 and -380.
    for (const char* Key : {"b_yes1", "b_no1"})
    {
        THudPicture Button;
        ASSERT_TRUE(LoadRacePicture(Key, Button));
        EXPECT_LE(Button.TileWidth, 380) << Key;
    }
}

TEST(OverlayArt, ValueAreasArePlainAndLightWithALabelToTheirLeft)
{
    THudPicture RaceOver, YourScore;
    ASSERT_TRUE(LoadRacePicture("scr_raceover", RaceOver));
    ASSERT_TRUE(LoadRacePicture("scr_yourscore", YourScore));
    std::string Why;
    // Race over: place, time, bonus and score centred on x 532, tops at these rows (size-13 text).
    for (int Row : {279, 309, 338, 367})
    {
        const TRect Value{532 - 48, Row + 1, 96, 16};
        EXPECT_TRUE(IsPlain(RaceOver, Value, 14, Why)) << "row " << Row << ": " << Why;
        EXPECT_GT(DarkestLuma(RaceOver, Value), 170) << "row " << Row;
        // A label on the same row, left of the value: some light text over the dark page.
        const TRect Label{PageX + 150, Row + 2, 532 - 70 - (PageX + 150), 14};
        EXPECT_FALSE(IsPlain(RaceOver, Label, 60, Why)) << "no label on row " << Row;
    }
    // Your score: centred on x 398, top at 279, size-20 text.
    const TRect Score{398 - 70, 281, 140, 24};
    EXPECT_TRUE(IsPlain(YourScore, Score, 14, Why)) << Why;
    EXPECT_GT(DarkestLuma(YourScore, Score), 170);
}

TEST(OverlayArt, ButtonsLieOnTheirPagesOverNothingAndApartFromEachOther)
{
    struct TPlaced
    {
        const char* Key;
        int X, Y;
    };
    struct TPage
    {
        const char* Key;
        std::vector<TPlaced> Buttons;
        std::vector<TRect> Values; // where the game writes on this page
    };
    const std::vector<TPage> Pages = {
        {"scr_exitgame", {{"b_yes1", 250, 371}, {"b_no1", 420, 371}}, {}},
        {"scr_send", {{"b_yes1", 250, 371}, {"b_no1", 420, 371}}, {}},
        {"scr_raceover",
         {{"bro_next", 462, 412}},
         {{480, 279, 104, 20}, {480, 309, 104, 20}, {480, 338, 104, 20}, {480, 367, 104, 20}}},
        {"scr_yourscore", {{"bro_next", 420, 374}}, {{398 - 80, 279, 160, 30}}},
    };
    for (const TPage& Want : Pages)
    {
        THudPicture Page;
        ASSERT_TRUE(LoadRacePicture(Want.Key, Page));
        std::vector<TRect> Placed;
        for (const TPlaced& Button : Want.Buttons)
        {
            THudPicture Picture;
            ASSERT_TRUE(LoadRacePicture(Button.Key, Picture));
            const TRect Rect{Button.X, Button.Y, Picture.TileWidth, Picture.TileHeight};
            const std::string Where = std::string(Button.Key) + " on " + Want.Key;
            // On the page's solid body, over a part of it with nothing drawn (no label hidden).
            for (int Cx : {Rect.Left, Rect.Left + Rect.Width - 1})
                for (int Cy : {Rect.Top, Rect.Top + Rect.Height - 1})
                    EXPECT_GE(Page.Alpha(Cx - PageX, Cy - PageY), SolidAlpha) << Where;
            std::string Why;
            EXPECT_TRUE(IsPlain(Page, Rect, 24, Why)) << Where << ": " << Why;
            for (const TRect& Other : Placed)
                EXPECT_FALSE(Rect.Overlaps(Other)) << Where;
            for (const TRect& Value : Want.Values)
                EXPECT_FALSE(Rect.Overlaps(Value)) << Where;
            Placed.push_back(Rect);
        }
    }
}

TEST(OverlayArt, EachButtonHasThreeDistinctLooks)
{
    for (const char* Key : {"b_yes1", "b_no1", "bro_next"})
    {
        THudPicture Button;
        ASSERT_TRUE(LoadRacePicture(Key, Button));
        ASSERT_GT(Button.TileWidth, 0);
        ASSERT_GT(Button.TileHeight, 0);
        const int Columns = Button.Width() / Button.TileWidth;
        ASSERT_GE(Columns * (Button.Height() / Button.TileHeight), 3) << Key;
        auto Pixel = [&](int Tile, int X, int Y) {
            return Button.At((Tile % Columns) * Button.TileWidth + X,
                             (Tile / Columns) * Button.TileHeight + Y);
        };
        for (int A = 0; A < 3; ++A)
            for (int B = A + 1; B < 3; ++B)
            {
                int Different = 0;
                for (int Y = 0; Y < Button.TileHeight; ++Y)
                    for (int X = 0; X < Button.TileWidth; ++X)
                        Different += Pixel(A, X, Y) != Pixel(B, X, Y);
                EXPECT_GT(Different, Button.TileWidth * Button.TileHeight / 3)
                    << Key << " patterns " << A << " and " << B;
            }
    }
}

} // namespace
