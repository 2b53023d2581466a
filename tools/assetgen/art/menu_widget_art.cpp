// The menu pages' widgets: pointer, selection bar, every button, the edit boxes and the bars.
#include "art/menu_widget_art.h"

#include "art/art_modules.h"
#include "art/canvas.h"
#include "art/menu_font_art.h"

namespace vm::assetgen {
namespace {

// Button sizes, chosen so that no two buttons of a page overlap at the places the pages put them.
constexpr int RowHeight = 28;    // every text button
constexpr int ColumnWidth = 200; // the main menu column, x 552..752, 32 px apart
constexpr int HelpWidth = 92;    // the help row, 134 px apart and centred on the page
constexpr int DialogWidth = 100; // yes/no, apply/cancel and the profile row (108 px apart)
constexpr int ChoiceWidth = 64;  // previous/next on the track and car pages
constexpr int ChoiceHeight = 24; // the track page's "next" sits just above the preview
constexpr int EditHeight = 26;   // the glyph height with the edits' 3 px inset above and below
constexpr int VolumeCells = 6;   // volume levels 0..5

// Width of an edit that holds Characters glyphs plus the caret, with the 3 px text inset.
constexpr int EditWidth(int Characters) { return 3 + (Characters + 1) * FontTileWidth + 5; }

} // namespace

void AddMenuWidgets(TArtList& Menu)
{
    Menu.push_back(MakePointer("mousecursor", 24, 30));
    Menu.push_back(MakeSelectionBar("chooseline", 310, 16));

    // Main menu.
    Menu.push_back(MakeTextButton("b_stgame", ColumnWidth, RowHeight, "Start game"));
    Menu.push_back(MakeTextButton("b_opt", ColumnWidth, RowHeight, "Options"));
    Menu.push_back(MakeTextButton("b_hiscr", ColumnWidth, RowHeight, "High scores"));
    Menu.push_back(MakeTextButton("b_help", ColumnWidth, RowHeight, "Help"));
    Menu.push_back(MakeTextButton("b_visit", ColumnWidth, RowHeight, "Visit website"));
    Menu.push_back(MakeTextButton("b_exit", ColumnWidth, RowHeight, "Exit"));
    Menu.push_back(MakeBadgeButton("b_logo", 190, 52));
    Menu.push_back(MakeTextButton("b_presshere", 216, RowHeight, "Change player"));

    // Help row (b_back also serves the high-score, track and car pages).
    Menu.push_back(MakeTextButton("b_back", HelpWidth, RowHeight, "Back"));
    Menu.push_back(MakeStepButton("b_next", HelpWidth, RowHeight, "Next", TArrowWay::Right));
    Menu.push_back(MakeStepButton("b_prev", HelpWidth, RowHeight, "Previous", TArrowWay::Left));

    // Options.
    Menu.push_back(MakeTextButton("b_apply", DialogWidth, RowHeight, "Apply"));
    Menu.push_back(MakeTextButton("b_cancel", DialogWidth, RowHeight, "Cancel"));
    Menu.push_back(MakeToggleButton("b_on", 72, 24, "On", true));
    Menu.push_back(MakeToggleButton("b_off", 72, 24, "Off", false));
    Menu.push_back(MakeArrowButton("b_menuleft", 18, 22, TArrowWay::Left));
    Menu.push_back(MakeArrowButton("b_menuright", 18, 22, TArrowWay::Right));
    Menu.push_back(MakeVolumeBar("opt_bar", 120, 20, VolumeCells));
    Menu.push_back(MakeEditBox("Edit", EditWidth(12), EditHeight));
    Menu.push_back(MakeEditBox("e_name", 218, EditHeight));

    // Questions and profile pages.
    Menu.push_back(MakeTextButton("b_yes", DialogWidth, RowHeight, "Yes"));
    Menu.push_back(MakeTextButton("b_no", DialogWidth, RowHeight, "No"));
    Menu.push_back(MakeTextButton("b_add", DialogWidth, RowHeight, "Add"));
    Menu.push_back(MakeArrowButton("b_up", 30, 30, TArrowWay::Up));
    Menu.push_back(MakeArrowButton("b_down", 30, 30, TArrowWay::Down));
    Menu.push_back(MakeTextButton("b_delete", DialogWidth, RowHeight, "Delete"));
    Menu.push_back(MakeTextButton("b_back2", DialogWidth, RowHeight, "Back"));
    Menu.push_back(MakeTextButton("b_select", DialogWidth, RowHeight, "Select"));

    // High scores: "Online scores" is a slim bar above "Clear" (their places leave 18 px).
    Menu.push_back(MakeTextButton("b_clrhiscr", DialogWidth, RowHeight, "Clear"));
    Menu.push_back(MakeTextButton("b_viewwhiscr", 166, 17, "Online scores", 12));

    // Track and car choice.
    Menu.push_back(MakeStepButton("bc_next", ChoiceWidth, ChoiceHeight, "Next", TArrowWay::Right));
    Menu.push_back(MakeStepButton("bc_prev", ChoiceWidth, ChoiceHeight, "Prev", TArrowWay::Left));
    Menu.push_back(MakeRaceButton("bc_race", 120, RowHeight, "Race"));
    Menu.push_back(MakeQualityBar("bar", 200, 14));

    // Controls: the options page's way there, the cells that show and pick a binding, and reset.
    Menu.push_back(MakeTextButton("b_controls", DialogWidth, RowHeight, "Controls"));
    Menu.push_back(MakeTextButton("b_keycell", 150, 20, ""));
    Menu.push_back(MakeTextButton("b_padcell", 238, 20, ""));
    Menu.push_back(MakeTextButton("b_reset", DialogWidth, RowHeight, "Reset"));

    // Replays: the high-score page's way there (a slim bar like "Online scores"), the list's
    // selection bar and its Play button.
    Menu.push_back(MakeTextButton("b_replays", 166, 17, "Replays", 12));
    Menu.push_back(MakeSelectionBar("replayline", 548, 23));
    Menu.push_back(MakeTextButton("b_play", DialogWidth, RowHeight, "Play"));
}

} // namespace vm::assetgen
