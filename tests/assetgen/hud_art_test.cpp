// The race HUD pictures fit where the game draws them: panels, health tube, needle, lamps, markers.
#include "assetgen/hud_test_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace {

using test::Blue;
using test::Green;
using test::LoadRacePicture;
using test::Luma;
using test::Red;
using test::THudPicture;

// Where the game draws the dashboard, the needle's pivot and the health bar.
constexpr int PanelX = 541;
constexpr double PivotX = 716, PivotY = 472;
constexpr int BarX = 750, BarY = 240;

bool IsGreen(std::uint32_t P) { return Green(P) > Red(P) + 40 && Green(P) > Blue(P) + 20; }

TEST(HudArt, DashboardLeavesTheRoadVisibleAndPutsALightPlateUnderEveryText)
{
    THudPicture Panel;
    ASSERT_TRUE(LoadRacePicture("razzler", Panel));
    // It reaches the right and bottom screen edges from (541, 0).
    EXPECT_EQ(Panel.Width(), 800 - PanelX);
    EXPECT_EQ(Panel.Height(), 600);

    // The road left of the strip shows through: beside the top block and the column, and left of
    // the dial down to the bottom strip.
    int Clear = 0, Total = 0;
    for (int Y = 0; Y < 528; ++Y)
        for (int X = PanelX; X < (Y < 380 ? 665 : 620); ++X, ++Total)
            Clear += Panel.Alpha(X - PanelX, Y) == 0;
    EXPECT_GT(Clear, Total * 99 / 100) << Clear << " of " << Total;

    // The race font is near-black, so each text box needs an opaque, light backing.
    struct TTextBox
    {
        const char* What;
        int Left, Top, Width;
    };
    const TTextBox Boxes[] = {
        {"place (left edge 750)", 750, 19, 42},
        {"clock (centred on 760)", 760 - 28, 51, 56},
        {"lives (centred on 763)", 763 - 8, 84, 16},
        {"score (centred on 598)", 598 - 30, 573, 60},
    };
    for (const TTextBox& Box : Boxes)
    {
        int Bad = 0;
        for (int Y = Box.Top; Y < Box.Top + 12; ++Y)
            for (int X = Box.Left; X < Box.Left + Box.Width; ++X)
            {
                const std::uint32_t P = Panel.At(X - PanelX, Y);
                Bad += (P >> 24) != 255 || Luma(P) < 170;
            }
        EXPECT_EQ(Bad, 0) << Box.What;
    }

    // The dial is solid round the pivot, and so is the reverse lamp's place.
    int Holes = 0;
    for (int Y = -70; Y <= 70; ++Y)
        for (int X = -70; X <= 70; ++X)
            if (X * X + Y * Y <= 70 * 70)
                Holes +=
                    Panel.Alpha(static_cast<int>(PivotX) + X - PanelX, static_cast<int>(PivotY) + Y) != 255;
    EXPECT_EQ(Holes, 0);
}

TEST(HudArt, HealthTubeDrainsFromTheTopAsTheBarGrowsDownward)
{
    THudPicture Panel, Bar;
    ASSERT_TRUE(LoadRacePicture("razzler", Panel));
    ASSERT_TRUE(LoadRacePicture("healthbar", Bar));
    const int H = Bar.Height();
    ASSERT_GE(H, 50);
    ASSERT_LE(BarX + Bar.Width(), 800);
    // The bar covers what it shows completely.
    int SeeThrough = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < Bar.Width(); ++X)
            SeeThrough += Bar.Alpha(X, Y) != 255;
    EXPECT_EQ(SeeThrough, 0);

    // The game shows round((1 - Health / 100) x (H - 1) + 1) rows of the bar over the dashboard;
    // what stays green below it must be the health left.
    for (int Health : {100, 75, 50, 25, 1, 0})
    {
        const int Rows = static_cast<int>(std::lround((1 - Health / 100.0) * (H - 1) + 1));
        for (int Column : {2, Bar.Width() / 2, Bar.Width() - 3})
        {
            int GreenRows = 0;
            for (int Y = 0; Y < H; ++Y)
            {
                const std::uint32_t P =
                    Y < Rows ? Bar.At(Column, Y) : Panel.At(BarX + Column - PanelX, BarY + Y);
                GreenRows += IsGreen(P);
            }
            EXPECT_EQ(GreenRows, H - Rows) << "health " << Health << ", column " << Column;
        }
    }
}

TEST(HudArt, NeedleTurnsAboutAPointOnItselfAndItsTipStaysOnTheDial)
{
    THudPicture Needle, Panel;
    ASSERT_TRUE(LoadRacePicture("speedarrow", Needle));
    ASSERT_TRUE(LoadRacePicture("razzler", Panel));
    const int W = Needle.Width(), H = Needle.Height();
    // The game places the needle 0.9 x its width above the pivot but turns it about 0.9 x its
    // height: only a square picture makes both the same point.
    EXPECT_EQ(W, H);
    const int Px = W / 2, Py = static_cast<int>(0.9 * H);
    EXPECT_EQ(Needle.Alpha(Px, Py), 255);
    EXPECT_EQ(Needle.Alpha(Px - 1, Py), 255);

    // The blade points up from the pivot: find its tip.
    int Tip = Py;
    while (Tip > 0 && Needle.Alpha(Px, Tip - 1) > 128)
        --Tip;
    const double Length = 0.9 * H - Tip;
    EXPECT_GT(Length, 0.6 * H);
    // A needle, not a disc: narrow halfway up.
    int Wide = 0;
    for (int X = 0; X < W; ++X)
        Wide += Needle.Alpha(X, (Tip + Py) / 2) > 128;
    EXPECT_LE(Wide, 8);

    // Over its whole sweep (rest -135 degrees, stop at 1.36 x 197 degrees later) the blade lies on
    // the dial.
    int Off = 0;
    for (double Angle = -135; Angle <= -135 + 1.36 * 197; Angle += 3)
        for (double D = 0; D <= Length; D += 2)
        {
            const double A = Angle * M_PI / 180;
            const int X = static_cast<int>(std::lround(PivotX + D * std::sin(A)));
            const int Y = static_cast<int>(std::lround(PivotY - D * std::cos(A)));
            Off += Panel.Alpha(X - PanelX, Y) != 255;
        }
    EXPECT_EQ(Off, 0);
}

TEST(HudArt, ReverseLampLightsUpOverItsDarkSocket)
{
    THudPicture Lamp, Panel;
    ASSERT_TRUE(LoadRacePicture("backlight", Lamp));
    ASSERT_TRUE(LoadRacePicture("razzler", Panel));
    // Drawn centred on (704, 526).
    const int Left = 704 - Lamp.Width() / 2, Top = 526 - Lamp.Height() / 2;
    int Off = 0;
    for (int Y = 0; Y < Lamp.Height(); ++Y)
        for (int X = 0; X < Lamp.Width(); ++X)
            if (Lamp.Alpha(X, Y) >= 128)
                Off += Panel.Alpha(Left + X - PanelX, Top + Y) != 255;
    EXPECT_EQ(Off, 0);
    const std::uint32_t Lit = Lamp.At(Lamp.Width() / 2 - 6, Lamp.Height() / 2);
    const std::uint32_t Unlit = Panel.At(704 - 6 - PanelX, 526);
    EXPECT_GT(Luma(Lit), 200);
    EXPECT_GT(Luma(Lit) - Luma(Unlit), 100);
}

TEST(HudArt, StartLampsSitExactlyOnTheHousingSockets)
{
    THudPicture Housing;
    ASSERT_TRUE(LoadRacePicture("svetophor", Housing));
    constexpr int HousingX = 300, HousingY = 50;
    struct TLamp
    {
        const char* Key;
        int X, Y;
        std::function<bool(std::uint32_t)> Tinted; // the glass colour of this lamp's socket
    };
    const TLamp Lamps[] = {
        {"redlight", 286, 37,
         [](std::uint32_t P) { return Red(P) > Green(P) + 25 && Red(P) > Blue(P) + 25; }},
        {"yellowlight", 360, 37,
         [](std::uint32_t P) {
             return Red(P) > Blue(P) + 35 && Green(P) > Blue(P) + 20 && Green(P) > Red(P) / 2;
         }},
        {"greenlight", 434, 38,
         [](std::uint32_t P) { return Green(P) > Red(P) + 20 && Green(P) > Blue(P) + 10; }},
    };
    for (const TLamp& Lamp : Lamps)
    {
        THudPicture Lit;
        ASSERT_TRUE(LoadRacePicture(Lamp.Key, Lit));
        // The lit glass: the fully opaque core, in screen coordinates.
        double Sx = 0, Sy = 0;
        int Core = 0, OffHousing = 0;
        for (int Y = 0; Y < Lit.Height(); ++Y)
            for (int X = 0; X < Lit.Width(); ++X)
                if (Lit.Alpha(X, Y) == 255)
                {
                    Sx += Lamp.X + X + 0.5;
                    Sy += Lamp.Y + Y + 0.5;
                    ++Core;
                    OffHousing += Housing.Alpha(Lamp.X + X - HousingX, Lamp.Y + Y - HousingY) != 255;
                }
        ASSERT_GT(Core, 300) << Lamp.Key;
        EXPECT_EQ(OffHousing, 0) << Lamp.Key;
        const double CoreX = Sx / Core, CoreY = Sy / Core;
        // The socket: this lamp's glass, unlit (dark) and tinted, in the housing round there.
        double Tx = 0, Ty = 0;
        int Socket = 0;
        for (int Y = -26; Y <= 26; ++Y)
            for (int X = -26; X <= 26; ++X)
            {
                const int Hx = static_cast<int>(CoreX) + X - HousingX,
                          Hy = static_cast<int>(CoreY) + Y - HousingY;
                const std::uint32_t P = Housing.At(Hx, Hy);
                const bool Dark = std::max({Red(P), Green(P), Blue(P)}) < 150;
                if (X * X + Y * Y <= 26 * 26 && Housing.Alpha(Hx, Hy) == 255 && Dark && Lamp.Tinted(P))
                {
                    Tx += HousingX + Hx + 0.5;
                    Ty += HousingY + Hy + 0.5;
                    ++Socket;
                }
            }
        ASSERT_GT(Socket, 300) << Lamp.Key;
        EXPECT_NEAR(Tx / Socket, CoreX, 1.0) << Lamp.Key;
        EXPECT_NEAR(Ty / Socket, CoreY, 1.0) << Lamp.Key;
    }
}

TEST(HudArt, ProgressMarkersTravelOnTheStripAndTellThePlayerFromRivals)
{
    THudPicture Radar, Player, Rival;
    ASSERT_TRUE(LoadRacePicture("radar", Radar));
    ASSERT_TRUE(LoadRacePicture("radarcar1", Player));
    ASSERT_TRUE(LoadRacePicture("radarcar2", Rival));
    constexpr int RadarY = 180;
    // Markers are centred on x 25..28 and their top runs from y 415 (start) to 245 (finish).
    for (const THudPicture* Marker : {&Player, &Rival})
    {
        int Off = 0;
        for (int Top = 245; Top <= 415; Top += 5)
            for (int X : {25 - Marker->Width() / 2, 27, 28 + Marker->Width() / 2})
                for (int Y : {Top, Top + Marker->Height() / 2, Top + Marker->Height() - 1})
                    Off += Radar.Alpha(X, Y - RadarY) != 255;
        EXPECT_EQ(Off, 0);
        EXPECT_LE(Marker->Width(), 20);
    }
    // The player's marker stands out from the rivals' by colour.
    auto MeanColour = [](const THudPicture& P, int Channel) {
        double Sum = 0;
        int Count = 0;
        for (int Y = 0; Y < P.Height(); ++Y)
            for (int X = 0; X < P.Width(); ++X)
                if (P.Alpha(X, Y) == 255)
                {
                    Sum += (P.At(X, Y) >> (16 - 8 * Channel)) & 255;
                    ++Count;
                }
        return Count ? Sum / Count : 0.0;
    };
    double Distance = 0;
    for (int Channel = 0; Channel < 3; ++Channel)
        Distance += std::abs(MeanColour(Player, Channel) - MeanColour(Rival, Channel));
    EXPECT_GT(Distance, 90);
}

} // namespace
