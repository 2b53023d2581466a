// The menu backgrounds as the game uses them: full-screen opaque key art with a calm menu column,
// lamps under the two blinking glows, a plate for the greeting, the logo and the loading picture.
#include "assetgen/menu_page_test_pixels.h"

#include <gtest/gtest.h>

namespace {

using test::MenuPicture;
using test::TRect;

constexpr int Sharp = 1; // behind the main menu
constexpr int Soft = 0;  // behind the options, profile and high-score pages

TEST(MenuBackArt, MainbackIsTwoOpaqueScreens)
{
    const test::TMenuPicture Back = MenuPicture("mainback");
    ASSERT_FALSE(Back.Empty());
    EXPECT_EQ(Back.TileWidth, 800);
    EXPECT_EQ(Back.TileHeight, 600);
    ASSERT_EQ(Back.Patterns, 2);
    int SeeThrough = 0;
    for (int Pattern = 0; Pattern < 2; ++Pattern)
        for (int Y = 0; Y < 600; ++Y)
            for (int X = 0; X < 800; ++X)
                SeeThrough += Back.Alpha(X, Y, Pattern) != 255;
    EXPECT_EQ(SeeThrough, 0);
    // The two patterns are different pictures (the soft one is not a copy).
    EXPECT_GT(std::abs(test::Busyness(Back, {0, 0, 800, 600}, Sharp) -
                       test::Busyness(Back, {0, 0, 800, 600}, Soft)),
              0.5);
}

TEST(MenuBackArt, MenuColumnIsDarkerAndCalmerThanTheKeyArt)
{
    const test::TMenuPicture Back = MenuPicture("mainback");
    ASSERT_EQ(Back.Patterns, 2);
    const TRect Column = {552, 252, 760, 444};
    // The left two thirds of the picture, where the scene itself is.
    const TRect Scene = {0, 0, 540, 600};
    const test::TLumaStats InColumn = test::LumaStats(Back, Column, Sharp);
    const test::TLumaStats InScene = test::LumaStats(Back, Scene, Sharp);
    EXPECT_LT(InColumn.Mean, InScene.Mean * 0.8);
    EXPECT_LT(InColumn.Deviation, InScene.Deviation * 0.6);
    EXPECT_LT(test::Busyness(Back, Column, Sharp), test::Busyness(Back, Scene, Sharp) * 0.6);
}

TEST(MenuBackArt, GlowsAreCentredOnLitLampsOfBothPatterns)
{
    const test::TMenuPicture Back = MenuPicture("mainback");
    ASSERT_EQ(Back.Patterns, 2);
    const struct
    {
        const char* Key;
        int X, Y; // where the game puts the glow's top-left
    } Glows[] = {{"light1", 376, 353}, {"light2", 403, 370}};
    for (const auto& Glow : Glows)
    {
        SCOPED_TRACE(Glow.Key);
        const test::TMenuPicture Light = MenuPicture(Glow.Key);
        ASSERT_FALSE(Light.Empty());
        const int W = Light.TileWidth, H = Light.TileHeight;
        EXPECT_GE(W, 12);
        EXPECT_GE(H, 12);
        EXPECT_LE(W, 96);
        EXPECT_LE(H, 96);
        // A soft glow: bright, opaque middle, fading to nothing at the corners.
        EXPECT_GT(Light.Alpha(W / 2, H / 2), 230);
        EXPECT_GT(Light.Luma(W / 2, H / 2), 230);
        EXPECT_LT(Light.Alpha(0, 0), 10);
        EXPECT_LT(Light.Alpha(W - 1, H - 1), 10);
        // Under the glow's centre the key art has a lit lamp, much brighter than its surroundings.
        const int Cx = Glow.X + W / 2, Cy = Glow.Y + H / 2;
        for (int Pattern : {Sharp, Soft})
        {
            SCOPED_TRACE(Pattern);
            EXPECT_GT(Back.Luma(Cx, Cy, Pattern), 215);
            const test::TLumaStats Around =
                test::LumaStats(Back, {Cx - 40, Cy - 40, Cx + 40, Cy + 40}, Pattern);
            EXPECT_GT(Back.Luma(Cx, Cy, Pattern), Around.Mean + 80);
        }
    }
    // The two lamps are separate: between them the art is darker than at either.
    const test::TMenuPicture Light1 = MenuPicture("light1"), Light2 = MenuPicture("light2");
    const int X1 = 376 + Light1.TileWidth / 2, Y1 = 353 + Light1.TileHeight / 2;
    const int X2 = 403 + Light2.TileWidth / 2, Y2 = 370 + Light2.TileHeight / 2;
    EXPECT_LT(Back.Luma((X1 + X2) / 2, (Y1 + Y2) / 2, Sharp), Back.Luma(X1, Y1, Sharp) - 40);
}

TEST(MenuBackArt, GreetingHasAPlainPaleGroundForItsDarkText)
{
    // The main menu writes "Hello, <name>!" in a dark red, centred on x 400 from y 530.
    const test::TMenuPicture Back = MenuPicture("mainback");
    ASSERT_EQ(Back.Patterns, 2);
    const test::TLumaStats Plate = test::LumaStats(Back, {296, 529, 504, 546}, Sharp);
    EXPECT_GT(Plate.Min, 170);
    EXPECT_LT(Plate.Deviation, 12);
}

TEST(MenuBackArt, LogoFitsTheScreenAroundItsCentreAndLoadingFillsIt)
{
    const test::TMenuPicture Logo = MenuPicture("logo");
    ASSERT_FALSE(Logo.Empty());
    EXPECT_LE(Logo.Pixels.Width, 800);
    EXPECT_LE(Logo.Pixels.Height, 600);
    // Shown on black with a fading alpha: the background is see-through, the name is solid.
    // Nothing of the name is cut off by the picture's edges.
    int EdgeInk = 0;
    for (int X = 0; X < Logo.Pixels.Width; ++X)
        EdgeInk += Logo.Alpha(X, 0) + Logo.Alpha(X, Logo.Pixels.Height - 1);
    for (int Y = 0; Y < Logo.Pixels.Height; ++Y)
        EdgeInk += Logo.Alpha(0, Y) + Logo.Alpha(Logo.Pixels.Width - 1, Y);
    EXPECT_EQ(EdgeInk, 0);
    int Solid = 0;
    for (int Y = 0; Y < Logo.Pixels.Height; ++Y)
        for (int X = 0; X < Logo.Pixels.Width; ++X)
            Solid += Logo.Alpha(X, Y) == 255;
    EXPECT_GT(Solid, Logo.Pixels.Width * Logo.Pixels.Height / 16);

    const test::TMenuPicture Loading = MenuPicture("loading");
    ASSERT_FALSE(Loading.Empty());
    EXPECT_EQ(Loading.Pixels.Width, 800);
    EXPECT_EQ(Loading.Pixels.Height, 600);
    int SeeThrough = 0;
    for (int Y = 0; Y < 600; ++Y)
        for (int X = 0; X < 800; ++X)
            SeeThrough += Loading.Alpha(X, Y) != 255;
    EXPECT_EQ(SeeThrough, 0);
    // "Loading..." stands out in the lower middle.
    EXPECT_GT(test::LumaStats(Loading, {300, 500, 500, 535}).Max, 230);
}

} // namespace
