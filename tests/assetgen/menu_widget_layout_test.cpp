// The menu widgets fit their pages: no two overlap, all stay on screen, and each look differs.
#include "art/menu_font_art.h"
#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// A widget where a page puts it. Width and height 0 take the picture's tile size.
struct TPlaced
{
    std::string Key;
    int X, Y;
    int Width = 0, Height = 0;
    bool Clickable = true;
};

struct TPage
{
    std::string Name;
    std::vector<TPlaced> Widgets;
};

// Every page with its widgets where they come to rest.
std::vector<TPage> Pages()
{
    std::vector<TPage> Result = {
        {"main menu",
         {{"b_stgame", 552, 252},
          {"b_opt", 552, 284},
          {"b_hiscr", 552, 316},
          {"b_help", 552, 348},
          {"b_visit", 552, 380},
          {"b_exit", 552, 412},
          {"b_logo", 548, 515},
          {"b_presshere", 292, 555}}},
        {"help", {{"b_prev", 218, 420}, {"b_back", 354, 420}, {"b_next", 488, 420}}},
        {"exit question", {{"b_yes", 278, 404}, {"b_no", 422, 404}}},
        {"first player / new player", {{"b_add", 480, 404}, {"e_name", 291, 324}}},
        {"delete player", {{"b_yes", 278, 410}, {"b_no", 422, 410}}},
        {"high scores",
         {{"b_clrhiscr", 452, 442},
          {"b_viewwhiscr", 386, 424},
          {"b_back", 234, 424},
          {"b_replays", 234, 456}}},
        // Replays: the selection bar on the last row and the two buttons under the list.
        {"replays", {{"replayline", 126, 390, 0, 0, false}, {"b_back2", 290, 478}, {"b_play", 410, 478}}},
        {"clear high scores", {{"b_yes", 422, 414}, {"b_no", 278, 414}}},
        {"track choice",
         {{"bc_next", 380, 131}, {"bc_prev", 234, 323}, {"b_back", 9, 524}, {"bc_race", 642, 524}}},
        {"car choice",
         {{"bc_next", 210, 240},
          {"bc_prev", 520, 240},
          {"b_back", 282, 443},
          {"bc_race", 425, 443},
          // The quality bars at their widest.
          {"bar", 386, 418, 180, 0, false}}},
    };
    // Options, with either toggle picture at either place.
    for (const char* Upper : {"b_on", "b_off"})
        for (const char* Lower : {"b_on", "b_off"})
            Result.push_back({std::string("options, ") + Upper + "/" + Lower,
                              {{"b_apply", 275, 417},
                               {"b_cancel", 420, 417},
                               {Upper, 517, 271},
                               {Lower, 517, 300},
                               {"b_menuleft", 467, 327},
                               {"b_menuright", 606, 327},
                               {"opt_bar", 486, 328, 120, 20, false},
                               {"Edit", 465, 354},
                               {"b_controls", 530, 236},
                               {"b_logo", 548, 515, 0, 0, false}}});
    // Controls: a keys cell and a pad cell per action, the rumble toggle, reset and back.
    TPage Controls{"controls", {{"b_on", 270, 424}, {"b_reset", 290, 478}, {"b_back2", 410, 478}}};
    for (int Row = 0; Row < 8; ++Row)
    {
        Controls.Widgets.push_back({"b_keycell", 270, 224 + 24 * Row});
        Controls.Widgets.push_back({"b_padcell", 430, 224 + 24 * Row});
    }
    Result.push_back(Controls);
    // Profile list, with the selection bar on its first and last row.
    TPage Profiles{"player list",
                   {{"b_up", 568, 269},
                    {"b_down", 568, 358},
                    {"b_add", 316, 420},
                    {"b_delete", 424, 420},
                    {"b_back2", 208, 420},
                    {"b_select", 532, 420}}};
    for (int Row : {0, 9})
        Profiles.Widgets.push_back({"chooseline", 248, 246 + 16 * Row, 0, 0, false});
    Result.push_back(Profiles);
    return Result;
}

const std::vector<std::string> ButtonKeys = {
    "b_stgame",   "b_opt",       "b_hiscr",      "b_help",     "b_visit",     "b_exit",
    "b_logo",     "b_presshere", "b_back",       "b_next",     "b_prev",      "b_apply",
    "b_cancel",   "b_on",        "b_off",        "b_menuleft", "b_menuright", "b_yes",
    "b_no",       "b_add",       "b_up",         "b_down",     "b_delete",    "b_back2",
    "b_select",   "b_clrhiscr",  "b_viewwhiscr", "bc_next",    "bc_prev",     "bc_race",
    "b_controls", "b_reset",     "b_keycell",    "b_padcell",  "b_replays",   "b_play",
};

class MenuWidgets : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        Menu = std::make_unique<vm::TImageListCollection>();
        const vm::TLoadResult Result = Menu->LoadFromFile(test::AssetPath("Data/data1.vil"));
        ASSERT_TRUE(Result.Ok) << Result.Error;
    }

    // Pattern Index of Item as rows of ARGB.
    static std::vector<std::uint32_t> Tile(const vm::TImageListItem& Item, int Index)
    {
        vm::TPixels Pixels;
        EXPECT_TRUE(Item.Picture().Decode(Pixels));
        std::vector<std::uint32_t> Out;
        const int X0 = (Index % Item.Columns()) * Item.TileWidth();
        const int Y0 = (Index / Item.Columns()) * Item.TileHeight();
        for (int Y = 0; Y < Item.TileHeight(); ++Y)
            for (int X = 0; X < Item.TileWidth(); ++X)
                Out.push_back(Pixels.Argb[(Y0 + Y) * Pixels.Width + X0 + X]);
        return Out;
    }

    static const vm::TImageListItem* Find(const std::string& Key) { return Menu->Find(Key); }

    static inline std::unique_ptr<vm::TImageListCollection> Menu;
};

TEST_F(MenuWidgets, NoTwoWidgetsOfAPageOverlapAndAllStayOnScreen)
{
    for (const TPage& Page : Pages())
    {
        struct TBox
        {
            const TPlaced* Widget;
            int Left, Top, Right, Bottom; // right and bottom exclusive
        };
        std::vector<TBox> Boxes;
        for (const TPlaced& Widget : Page.Widgets)
        {
            const vm::TImageListItem* Item = Find(Widget.Key);
            ASSERT_NE(Item, nullptr) << Widget.Key;
            const int Width = Widget.Width > 0 ? Widget.Width : Item->TileWidth();
            const int Height = Widget.Height > 0 ? Widget.Height : Item->TileHeight();
            Boxes.push_back({&Widget, Widget.X, Widget.Y, Widget.X + Width, Widget.Y + Height});
            EXPECT_TRUE(Widget.X >= 0 && Widget.Y >= 0 && Widget.X + Width <= 800 && Widget.Y + Height <= 600)
                << Page.Name << ": " << Widget.Key << " leaves the screen";
        }
        for (std::size_t I = 0; I < Boxes.size(); ++I)
            for (std::size_t J = I + 1; J < Boxes.size(); ++J)
            {
                const TBox& A = Boxes[I];
                const TBox& B = Boxes[J];
                // Buttons take clicks on their right and bottom edges too, so two buttons must
                // not even touch; other pictures only must not cover each other.
                const int Slack = A.Widget->Clickable && B.Widget->Clickable ? 1 : 0;
                const bool Apart = A.Right + Slack <= B.Left || B.Right + Slack <= A.Left ||
                                   A.Bottom + Slack <= B.Top || B.Bottom + Slack <= A.Top;
                EXPECT_TRUE(Apart) << Page.Name << ": " << A.Widget->Key << " and " << B.Widget->Key
                                   << " overlap";
            }
    }
}

TEST_F(MenuWidgets, EveryButtonHasThreeDifferentLooks)
{
    for (const std::string& Key : ButtonKeys)
    {
        const vm::TImageListItem* Item = Find(Key);
        ASSERT_NE(Item, nullptr) << Key;
        ASSERT_GE(Item->Columns() * Item->Rows(), 3) << Key;
        const auto Normal = Tile(*Item, 0), Hover = Tile(*Item, 1), Inactive = Tile(*Item, 2);
        EXPECT_NE(Normal, Hover) << Key;
        EXPECT_NE(Normal, Inactive) << Key;
        EXPECT_NE(Hover, Inactive) << Key;
    }
}

TEST_F(MenuWidgets, MainMenuColumnIsOneSizeThatFitsItsRoom)
{
    const vm::TImageListItem* First = Find("b_stgame");
    ASSERT_NE(First, nullptr);
    EXPECT_LE(First->TileHeight(), 30);
    EXPECT_LE(First->TileWidth(), 208);
    for (const char* Key : {"b_opt", "b_hiscr", "b_help", "b_visit", "b_exit"})
    {
        const vm::TImageListItem* Item = Find(Key);
        ASSERT_NE(Item, nullptr) << Key;
        EXPECT_EQ(Item->TileWidth(), First->TileWidth()) << Key;
        EXPECT_EQ(Item->TileHeight(), First->TileHeight()) << Key;
    }
}

TEST_F(MenuWidgets, EditBoxesHoldTwelveCharactersAndTheCaret)
{
    // Text starts 3 px in; twelve glyphs and the caret advance one tile each.
    constexpr int Needed = 3 + 13 * vm::assetgen::FontTileWidth;
    for (const char* Key : {"Edit", "e_name"})
    {
        const vm::TImageListItem* Item = Find(Key);
        ASSERT_NE(Item, nullptr) << Key;
        EXPECT_GE(Item->TileWidth(), Needed) << Key;
        EXPECT_GE(Item->TileHeight(), vm::assetgen::FontTileHeight + 6) << Key;
    }
}

TEST_F(MenuWidgets, PointerIsAnimatedWithItsTipAtTheTopLeft)
{
    const vm::TImageListItem* Item = Find("mousecursor");
    ASSERT_NE(Item, nullptr);
    ASSERT_GE(Item->Columns() * Item->Rows(), 8);
    std::set<std::vector<std::uint32_t>> Frames;
    for (int Frame = 0; Frame < 8; ++Frame)
    {
        const auto Pixels = Tile(*Item, Frame);
        Frames.insert(Pixels);
        // The hot spot is the top-left pixel: the tip must be drawn there, solid.
        int TipAlpha = 0;
        for (int Y = 0; Y < 3; ++Y)
            for (int X = 0; X < 3; ++X)
                TipAlpha = std::max<int>(TipAlpha, Pixels[Y * Item->TileWidth() + X] >> 24);
        EXPECT_GE(TipAlpha, 200) << "frame " << Frame;
    }
    EXPECT_GE(Frames.size(), 6u) << "the pointer barely animates";
}

TEST_F(MenuWidgets, VolumeThumbSurvivesBeingShrunkIntoOneCell)
{
    // The game draws the bar 120 px wide and stretches the thumb pattern from the whole tile into
    // one of its six 20 px cells, so the thumb's columns must come in alike runs of tile width / 20,
    // whichever column of a run the sampler picks.
    const vm::TImageListItem* Item = Find("opt_bar");
    ASSERT_NE(Item, nullptr);
    ASSERT_GE(Item->Columns() * Item->Rows(), 2);
    constexpr int CellWidth = 120 / 6;
    ASSERT_EQ(Item->TileWidth() % CellWidth, 0);
    const int Run = Item->TileWidth() / CellWidth;
    const auto Thumb = Tile(*Item, 0);
    int Solid = 0;
    for (int Y = 0; Y < Item->TileHeight(); ++Y)
        for (int X = 0; X < Item->TileWidth(); ++X)
        {
            const std::uint32_t Pixel = Thumb[Y * Item->TileWidth() + X];
            EXPECT_EQ(Pixel, Thumb[Y * Item->TileWidth() + X / Run * Run]) << "column " << X << " row " << Y;
            Solid += (Pixel >> 24) >= 200;
        }
    EXPECT_GT(Solid, Item->TileWidth() * Item->TileHeight() / 3) << "the thumb is too faint";
    EXPECT_NE(Tile(*Item, 1), Thumb);
}

} // namespace
