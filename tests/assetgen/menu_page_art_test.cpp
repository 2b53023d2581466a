// The page pictures placed where the game shows them: on screen, under every widget the game puts
// on the page, with plain ground where the game writes values and labels beside them; and the
// track previews, one distinct map per track plus the locked one.
#include "assetgen/menu_page_test_pixels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test::MenuPicture;
using test::TRect;

struct TWidget
{
    std::string Key; // its image, for its size
    int X, Y;
};

struct TPageLayout
{
    std::string Key;
    int X, Y;                      // where the game places the picture
    std::vector<TWidget> Widgets;  // buttons, edits, bars and pictures the game draws on it
    std::vector<TRect> ValueAreas; // where the game writes texts: must be plain
    std::vector<TRect> LabelAreas; // where the page's own labels must be
};

std::vector<TRect> HighScoreCells()
{
    std::vector<TRect> Cells;
    for (int Row = 1; Row <= 10; ++Row)
    {
        const int Y = 256 + 14 * Row;
        Cells.push_back({257, Y, 293, Y + 11});
        Cells.push_back({320, Y, 460, Y + 11});
        Cells.push_back({502, Y, 562, Y + 11});
    }
    return Cells;
}

std::vector<TRect> ProfileRows()
{
    std::vector<TRect> Rows;
    for (int Row = 0; Row < 10; ++Row)
        Rows.push_back({305, 248 + 16 * Row, 505, 248 + 16 * Row + 12});
    return Rows;
}

std::vector<TWidget> ProfileSelection()
{
    std::vector<TWidget> Bars;
    for (int Row = 0; Row < 10; ++Row)
        Bars.push_back({"chooseline", 248, 246 + 16 * Row});
    return Bars;
}

const std::vector<TWidget> HelpButtons = {{"b_prev", 218, 420}, {"b_back", 354, 420}, {"b_next", 488, 420}};

std::vector<TPageLayout> Layouts()
{
    std::vector<TPageLayout> Pages;
    // The first help page: the game writes the bound keys in each row, left of the action.
    std::vector<TRect> HelpKeys = {{218, 420, 580, 448}};
    for (int Row = 0; Row < 8; ++Row)
        HelpKeys.push_back({206, 226 + 24 * Row, 396, 245 + 24 * Row});
    Pages.push_back({"scr_help", 180, 160, HelpButtons, HelpKeys, {{400, 225, 600, 400}}});
    for (const char* Key : {"scr_help2", "scr_help3", "scr_help4"})
        Pages.push_back({Key, 180, 160, HelpButtons, {{218, 420, 580, 448}}, {{200, 225, 600, 400}}});
    Pages.push_back(
        {"scr_opt",
         180,
         160,
         {{"b_on", 517, 271},
          {"b_off", 517, 300},
          {"b_menuleft", 467, 327},
          {"opt_bar", 486, 328},
          {"b_menuright", 606, 327},
          {"Edit", 465, 354},
          {"b_controls", 530, 236},
          {"b_apply", 275, 417},
          {"b_cancel", 420, 417}},
         {},
         {{330, 271, 456, 295}, {330, 300, 456, 324}, {330, 327, 456, 351}, {330, 354, 456, 378}}});
    // Controls: the cells, the toggle and the buttons on the panel; the game writes the actions'
    // names left of the cells and its message under the rumble row.
    std::vector<TWidget> ControlWidgets = {{"b_on", 270, 424}, {"b_reset", 290, 478}, {"b_back2", 410, 478}};
    std::vector<TRect> ActionNames = {{150, 456, 650, 474}};
    for (int Row = 0; Row < 8; ++Row)
    {
        ControlWidgets.push_back({"b_keycell", 270, 224 + 24 * Row});
        ControlWidgets.push_back({"b_padcell", 430, 224 + 24 * Row});
        ActionNames.push_back({132, 225 + 24 * Row, 266, 243 + 24 * Row});
    }
    Pages.push_back(
        {"scr_controls",
         110,
         140,
         ControlWidgets,
         ActionNames,
         {{340, 153, 460, 186}, {134, 198, 190, 214}, {325, 198, 365, 214}, {530, 198, 568, 214}}});
    Pages.push_back(
        {"scr_ExitTheGame", 180, 184, {{"b_yes", 278, 404}, {"b_no", 422, 404}}, {}, {{250, 205, 550, 245}}});
    Pages.push_back({"scr_add",
                     180,
                     184,
                     {{"e_name", 291, 324}, {"b_add", 480, 404}},
                     {{296, 328, 504, 346}},
                     {{250, 205, 550, 245}}});
    std::vector<TWidget> ChangeWidgets = {{"b_up", 568, 269},    {"b_down", 568, 358},
                                          {"b_add", 316, 420},   {"b_delete", 424, 420},
                                          {"b_back2", 208, 420}, {"b_select", 532, 420}};
    for (const TWidget& Bar : ProfileSelection())
        ChangeWidgets.push_back(Bar);
    Pages.push_back({"scr_change", 180, 160, ChangeWidgets, ProfileRows(), {{330, 180, 480, 215}}});
    Pages.push_back({"scr_delete",
                     180,
                     184,
                     {{"b_yes", 278, 410}, {"b_no", 422, 410}},
                     {{317, 258, 517, 279}},
                     {{230, 205, 570, 242}}});
    Pages.push_back({"scr_hiscr",
                     180,
                     160,
                     {{"b_back", 234, 424}, {"b_viewwhiscr", 386, 424}, {"b_clrhiscr", 452, 442}},
                     HighScoreCells(),
                     {{250, 238, 300, 254}, {365, 238, 415, 254}, {505, 238, 560, 254}}});
    Pages.push_back(
        {"scr_clearhiscr", 180, 193, {{"b_yes", 422, 414}, {"b_no", 278, 414}}, {}, {{230, 215, 570, 252}}});
    Pages.push_back({"scr_choose",
                     0,
                     0,
                     {{"tr_track1", 312, 156},
                      {"bc_next", 380, 131},
                      {"bc_prev", 234, 323},
                      {"b_back", 9, 524},
                      {"bc_race", 642, 524}},
                     // The name plate, then the game's labels (x 335) and values (centred on x 480).
                     {{329, 68, 509, 88},
                      {335, 385, 445, 403},
                      {435, 385, 525, 403},
                      {335, 425, 445, 443},
                      {435, 425, 525, 443},
                      {335, 463, 445, 481},
                      {435, 463, 525, 481},
                      {335, 501, 445, 519},
                      {435, 501, 525, 519}},
                     {}});
    Pages.push_back(
        {"scr_choosecar",
         180,
         150,
         {{"c_car1", 370, 230},
          {"bar", 386, 343},
          {"bar", 386, 368},
          {"bar", 386, 393},
          {"bar", 386, 418},
          {"bc_next", 210, 240},
          {"bc_prev", 520, 240},
          {"b_back", 282, 443},
          {"bc_race", 425, 443}},
         {},
         {{300, 341, 384, 359}, {280, 366, 384, 384}, {300, 391, 384, 409}, {300, 416, 384, 434}}});
    return Pages;
}

TEST(MenuPageArt, EveryPageStaysOnScreenAndLiesUnderItsWidgets)
{
    for (const TPageLayout& Layout : Layouts())
    {
        SCOPED_TRACE(Layout.Key);
        const test::TMenuPicture Page = MenuPicture(Layout.Key);
        ASSERT_FALSE(Page.Empty());
        EXPECT_EQ(Page.Patterns, 1);
        EXPECT_LE(Layout.X + Page.Pixels.Width, 800);
        EXPECT_LE(Layout.Y + Page.Pixels.Height, 600);
        for (const TWidget& Widget : Layout.Widgets)
        {
            const vm::TImageListItem* Item = test::MenuList().Find(Widget.Key);
            ASSERT_NE(Item, nullptr) << Widget.Key;
            const int X0 = Widget.X - Layout.X, Y0 = Widget.Y - Layout.Y;
            const int X1 = X0 + Item->TileWidth(), Y1 = Y0 + Item->TileHeight();
            ASSERT_TRUE(X0 >= 0 && Y0 >= 0 && X1 <= Page.Pixels.Width && Y1 <= Page.Pixels.Height)
                << Widget.Key << " at (" << Widget.X << ", " << Widget.Y << ") is off the picture";
            // The panel (or the track page's bar) is solid under the whole widget.
            int Thin = 0;
            for (int Y = Y0 + 1; Y < Y1 - 1; Y += 3)
                for (int X = X0 + 1; X < X1 - 1; X += 3)
                    Thin += Page.Alpha(X, Y) < 200;
            EXPECT_EQ(Thin, 0) << Widget.Key << " at (" << Widget.X << ", " << Widget.Y << ")";
        }
    }
}

TEST(MenuPageArt, ValuesFallOnPlainGroundAndLabelsSitBesideThem)
{
    for (const TPageLayout& Layout : Layouts())
    {
        SCOPED_TRACE(Layout.Key);
        const test::TMenuPicture Page = MenuPicture(Layout.Key);
        ASSERT_FALSE(Page.Empty());
        auto Local = [&](const TRect& R) {
            return TRect{R.X0 - Layout.X, R.Y0 - Layout.Y, R.X1 - Layout.X, R.Y1 - Layout.Y};
        };
        for (const TRect& Area : Layout.ValueAreas)
        {
            const TRect R = Local(Area);
            int Thin = 0;
            for (int Y = R.Y0; Y < R.Y1; ++Y)
                for (int X = R.X0; X < R.X1; ++X)
                    Thin += Page.Alpha(X, Y) < 200;
            EXPECT_EQ(Thin, 0) << "value area at (" << Area.X0 << ", " << Area.Y0 << ") is not on the panel";
            const test::TLumaStats Stats = test::LumaStats(Page, R);
            EXPECT_LT(Stats.Deviation, 8) << "value area at (" << Area.X0 << ", " << Area.Y0 << ") is busy";
            EXPECT_LT(Stats.Max - Stats.Min, 40) << "value area at (" << Area.X0 << ", " << Area.Y0 << ")";
        }
        for (const TRect& Area : Layout.LabelAreas)
        {
            const test::TLumaStats Stats = test::LumaStats(Page, Local(Area));
            EXPECT_GT(Stats.Max - Stats.Min, 90) << "no label at (" << Area.X0 << ", " << Area.Y0 << ")";
        }
    }
}

TEST(MenuPageArt, TrackPreviewsFitTheFrameAndEachTrackLooksItsOwn)
{
    std::vector<std::string> Keys;
    for (int Track = 1; Track <= 12; ++Track)
        Keys.push_back("tr_track" + std::to_string(Track));
    Keys.push_back("tr_notav");
    std::vector<test::TMenuPicture> Previews;
    for (const std::string& Key : Keys)
    {
        Previews.push_back(MenuPicture(Key));
        ASSERT_FALSE(Previews.back().Empty()) << Key;
    }
    const int Width = Previews[0].Pixels.Width, Height = Previews[0].Pixels.Height;
    // The track page frames the preview between x 312 and its panel's right edge, and above the facts.
    EXPECT_LE(312 + Width, 600);
    EXPECT_LE(156 + Height, 370);
    for (std::size_t I = 0; I < Previews.size(); ++I)
    {
        EXPECT_EQ(Previews[I].Pixels.Width, Width) << Keys[I];
        EXPECT_EQ(Previews[I].Pixels.Height, Height) << Keys[I];
        EXPECT_EQ(Previews[I].Alpha(Width / 2, Height / 2), 255) << Keys[I];
    }
    for (std::size_t A = 0; A < Previews.size(); ++A)
        for (std::size_t B = A + 1; B < Previews.size(); ++B)
        {
            double Difference = 0;
            for (int Y = 0; Y < Height; Y += 2)
                for (int X = 0; X < Width; X += 2)
                    Difference += std::abs(Previews[A].Luma(X, Y) - Previews[B].Luma(X, Y));
            Difference /= (Width / 2.0) * (Height / 2.0);
            EXPECT_GT(Difference, 8) << Keys[A] << " and " << Keys[B] << " look alike";
        }
    // The locked preview is dimmed next to the open ones.
    double OpenMean = 0;
    for (std::size_t I = 0; I + 1 < Previews.size(); ++I)
        OpenMean += test::LumaStats(Previews[I], {0, 0, Width, Height}).Mean / 12;
    EXPECT_LT(test::LumaStats(Previews.back(), {0, 0, Width, Height}).Mean, OpenMean * 0.6);
}

} // namespace
