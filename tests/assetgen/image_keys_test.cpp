// Both generated image lists hold every key the game asks for, with enough patterns.
#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using TKeyNeed = std::pair<const char*, int>; // key, least number of patterns

const std::vector<TKeyNeed> MenuKeys = {
    {"mainback", 2},
    {"logo", 1},
    {"loading", 1},
    {"mousecursor", 8},
    {"light1", 1},
    {"light2", 1},
    {"chooseline", 1},
    {"groundpoint", 1},
    {"car1", 3},
    {"car2", 3},
    {"car3", 3},
    {"car4", 3},
    {"car5", 3},
    {"arrows", 3},
    {"dim", 5},
    {"b_stgame", 3},
    {"b_opt", 3},
    {"b_hiscr", 3},
    {"b_help", 3},
    {"b_visit", 3},
    {"b_exit", 3},
    {"b_logo", 3},
    {"b_presshere", 3},
    {"b_back", 3},
    {"b_next", 3},
    {"b_prev", 3},
    {"b_apply", 3},
    {"b_cancel", 3},
    {"b_on", 3},
    {"b_off", 3},
    {"b_menuleft", 3},
    {"b_menuright", 3},
    {"opt_bar", 2},
    {"Edit", 1},
    {"e_name", 1},
    {"b_yes", 3},
    {"b_no", 3},
    {"b_add", 3},
    {"b_up", 3},
    {"b_down", 3},
    {"b_delete", 3},
    {"b_back2", 3},
    {"b_select", 3},
    {"b_clrhiscr", 3},
    {"b_viewwhiscr", 3},
    {"bc_next", 3},
    {"bc_prev", 3},
    {"bc_race", 3},
    {"scr_help", 1},
    {"scr_help2", 1},
    {"scr_help3", 1},
    {"scr_help4", 1},
    {"scr_opt", 1},
    {"scr_controls", 1},
    {"b_controls", 3},
    {"b_reset", 3},
    {"scr_replays", 1},
    {"replay_panel", 1},
    {"b_replays", 3},
    {"replayline", 1},
    {"b_play", 3},
    {"b_keycell", 3},
    {"b_padcell", 3},
    {"scr_ExitTheGame", 1},
    {"scr_add", 1},
    {"scr_change", 1},
    {"scr_delete", 1},
    {"scr_hiscr", 1},
    {"scr_clearhiscr", 1},
    {"scr_choose", 1},
    {"scr_choosecar", 1},
    {"tr_track1", 1},
    {"tr_track2", 1},
    {"tr_track3", 1},
    {"tr_track4", 1},
    {"tr_track5", 1},
    {"tr_track6", 1},
    {"tr_track7", 1},
    {"tr_track8", 1},
    {"tr_track9", 1},
    {"tr_track10", 1},
    {"tr_track11", 1},
    {"tr_track12", 1},
    {"tr_notav", 1},
    {"c_car1", 1},
    {"c_car2", 1},
    {"c_car3", 1},
    {"c_car4", 1},
    {"c_car5", 1},
    {"bar", 1},
};

const std::vector<TKeyNeed> RaceKeys = {
    {"car1", 3},         {"car2", 3},         {"car3", 3},         {"car4", 3},          {"car5", 3},
    {"carten1", 1},      {"carten2", 1},      {"carten3", 1},      {"carten4", 1},       {"carten5", 1},
    {"r_str", 1},        {"r_left", 1},       {"r_right", 1},      {"r_str_right", 1},   {"r_str_left", 1},
    {"r_right_str", 1},  {"r_left_str", 1},   {"back1", 1},        {"back2", 1},         {"back3", 1},
    {"back4", 1},        {"trees", 8},        {"desert", 8},       {"wall1", 1},         {"wall2", 1},
    {"inplace", 1},      {"startline", 1},    {"fline", 1},        {"bonus1", 1},        {"bonus2", 1},
    {"bonus3", 1},       {"luga", 1},         {"bomb", 1},         {"repair", 1},        {"life", 1},
    {"time", 1},         {"shipi", 1},        {"speedup", 1},      {"exploid", 8},       {"exploid2", 8},
    {"exploid3", 8},     {"razzler", 1},      {"radar", 1},        {"healthbar", 1},     {"speedarrow", 1},
    {"backlight", 1},    {"radarcar1", 1},    {"radarcar2", 1},    {"begarrows", 1},     {"arrows", 3},
    {"dim", 5},          {"groundpoint", 1},  {"svetophor", 1},    {"redlight", 1},      {"yellowlight", 1},
    {"greenlight", 1},   {"scr_exitgame", 1}, {"scr_raceover", 1}, {"scr_yourscore", 1}, {"scr_send", 1},
    {"scr_gameover", 1}, {"scr_timesup", 1},  {"b_yes1", 3},       {"b_no1", 3},         {"bro_next", 3},
};

// Loads a list through the game's own reader and checks each key and its pattern count.
void ExpectKeys(const char* File, const std::vector<TKeyNeed>& Keys)
{
    vm::TImageListCollection List;
    const vm::TLoadResult Result = List.LoadFromFile(test::AssetPath(File));
    ASSERT_TRUE(Result.Ok) << File << ": " << Result.Error;
    for (const auto& [Key, Patterns] : Keys)
    {
        const vm::TImageListItem* Item = List.Find(Key);
        if (!Item)
        {
            ADD_FAILURE() << File << " lacks \"" << Key << "\"";
            continue;
        }
        EXPECT_FALSE(Item->Picture().Empty()) << Key;
        EXPECT_GE(Item->Columns() * Item->Rows(), Patterns) << File << " \"" << Key << "\"";
    }
}

TEST(ImageKeys, MenuListHoldsEveryKeyTheGameAsksFor) { ExpectKeys("Data/data1.vil", MenuKeys); }

TEST(ImageKeys, RaceListHoldsEveryKeyTheGameAsksFor) { ExpectKeys("Data/data2.vil", RaceKeys); }

TEST(ImageKeys, FontSheetIsTheMenuListsFirstPictureWithAGlyphForEveryCharacter)
{
    vm::TImageListCollection List;
    ASSERT_TRUE(List.LoadFromFile(test::AssetPath("Data/data1.vil")).Ok);
    ASSERT_GT(List.Count(), 0);
    const vm::TImageListItem* Sheet = List.Items(0);
    // The default set's 109 characters, then A-Z and a-z.
    EXPECT_GE(Sheet->Columns() * Sheet->Rows(), 109 + 52);
}

} // namespace
