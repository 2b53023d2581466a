// The options page, the yes/no questions, the profile pages and the high-score table. Each is
// laid out in screen coordinates round the places where the game draws its widgets and texts:
// those places are left plain (a recessed slot or an even band), labels sit beside them.
#include "art/menu_page_kit.h"
#include "art/menu_page_parts.h"

#include <cmath>
#include <string>

namespace vm::assetgen {
namespace {

// Options: the game puts the full-screen and music toggles at x 517, the volume arrows and bar
// from x 467 to 624 and the online-name edit at (465, 354), 164 wide; Apply and Cancel at y 417.
TArtImage OptionsPage()
{
    return DrawPage("scr_opt", 180, 160, 470, 302, [](cairo_t* Cr) {
        DrawTitle(Cr, "Options", 415, 206, 26);
        const struct
        {
            double Y;
            const char* Label;
        } Rows[] = {{271, "Full screen"}, {300, "Music"}, {327, "Volume"}, {354, "Online name"}};
        bool Odd = false;
        for (const auto& Row : Rows)
        {
            DrawRowBand(Cr, 198, Row.Y - 1, 436, 26, Odd);
            DrawLabel(Cr, Row.Label, 452, Row.Y + 17, 15);
            Odd = !Odd;
        }
        DrawText(Cr, "Screen and sound", 210, 252, 13, palette::Amber);
        DrawDivider(Cr, 210, 620, 259);
        const TPageIcon Icons[] = {TPageIcon::Monitor, TPageIcon::Note, TPageIcon::Speaker,
                                   TPageIcon::Player};
        for (int Row = 0; Row < 4; ++Row)
            DrawPageIcon(Cr, Icons[Row], 222, Rows[Row].Y + 12, 18);
        DrawText(Cr, "Your name in the online high scores", 629, 398, 11, palette::Fog.WithAlpha(0.8),
                 TAlign::Right, false);
        DrawDivider(Cr, 210, 620, 408);
    });
}

// A question page: the title, a line of explanation and an emblem above the yes/no row.
TArtImage QuestionPage(const std::string& Key, int Y, int Height, const std::string& Title,
                       const std::string& Line, TPageIcon Emblem, double EmblemY)
{
    return DrawPage(Key, 180, Y, 440, Height, [&](cairo_t* Cr) {
        DrawTitle(Cr, Title, 400, Y + 52, 25);
        DrawText(Cr, Line, 400, Y + 108, 15, palette::Fog, TAlign::Center, false);
        cairo_arc(Cr, 400, EmblemY, 27, 0, 2 * M_PI);
        SetColor(Cr, Rgb(0x000000, 0.22));
        cairo_fill(Cr);
        DrawPageIcon(Cr, Emblem, 400, EmblemY, 36);
    });
}

// New player: the name edit (218 x 26) at (291, 324), "Add" at (480, 404).
TArtImage AddPage()
{
    return DrawPage("scr_add", 180, 184, 440, 272, [](cairo_t* Cr) {
        DrawTitle(Cr, "New player", 400, 236, 26);
        DrawText(Cr, "Type your name", 400, 305, 15, palette::Fog, TAlign::Center, false);
        DrawSlot(Cr, 285, 319, 230, 36);
        DrawPageIcon(Cr, TPageIcon::Player, 258, 337, 26);
        DrawText(Cr, "Up to 12 letters", 400, 377, 12, palette::Fog.WithAlpha(0.8), TAlign::Center, false);
    });
}

// The profile list: names centred on x 405 from y 248, 16 apart, under the selection bar at
// (248, 246 + 16 x row); up and down arrows at x 568; a row of four buttons at y 420.
TArtImage ChangePage()
{
    return DrawPage("scr_change", 180, 160, 470, 305, [](cairo_t* Cr) {
        DrawTitle(Cr, "Players", 405, 203, 26);
        DrawText(Cr, "Pick who is driving", 405, 229, 12, palette::Fog, TAlign::Center, false);
        DrawSlot(Cr, 240, 240, 322, 172);
        for (int Row = 0; Row < 10; ++Row)
            if (Row % 2 == 1)
            {
                cairo_rectangle(Cr, 244, 246 + 16 * Row, 314, 16);
                SetColor(Cr, Rgb(0xffffff, 0.03));
                cairo_fill(Cr);
            }
        // A track between the up and down arrows.
        RoundedRect(Cr, 580.5, 304, 5, 50, 2.5);
        SetColor(Cr, Rgb(0x000000, 0.35));
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Steel.WithAlpha(0.7));
        cairo_stroke(Cr);
    });
}

// Delete question: the player's name is written centred on x 417 at y 258; yes/no at y 410.
TArtImage DeletePage()
{
    return DrawPage("scr_delete", 180, 184, 440, 272, [](cairo_t* Cr) {
        DrawTitle(Cr, "Delete this player?", 400, 234, 24);
        DrawSlot(Cr, 292, 252, 250, 30);
        DrawText(Cr, "The name leaves the player list for good.", 400, 318, 14, palette::Fog, TAlign::Center,
                 false);
        cairo_arc(Cr, 400, 362, 24, 0, 2 * M_PI);
        SetColor(Cr, Rgb(0x000000, 0.22));
        cairo_fill(Cr);
        DrawPageIcon(Cr, TPageIcon::Player, 400, 362, 30);
        // A red cross badge on the emblem.
        cairo_arc(Cr, 414, 374, 7.5, 0, 2 * M_PI);
        SetColor(Cr, palette::Red);
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Red.Darker(0.5));
        cairo_stroke(Cr);
        cairo_move_to(Cr, 411, 371);
        cairo_line_to(Cr, 417, 377);
        cairo_move_to(Cr, 417, 371);
        cairo_line_to(Cr, 411, 377);
        cairo_set_line_width(Cr, 2);
        SetColor(Cr, palette::Snow);
        cairo_stroke(Cr);
    });
}

// The table: row i (1..10) at y 256 + 14 i, place centred on x 275, name on 390, score on 532.
TArtImage HighScorePage()
{
    return DrawPage("scr_hiscr", 180, 160, 440, 325, [](cairo_t* Cr) {
        DrawTitle(Cr, "High scores", 400, 204, 26);
        DrawPageIcon(Cr, TPageIcon::Trophy, 312, 195, 22);
        DrawPageIcon(Cr, TPageIcon::Trophy, 488, 195, 22);
        DrawText(Cr, "Place", 275, 250, 13, palette::Amber, TAlign::Center);
        DrawText(Cr, "Name", 390, 250, 13, palette::Amber, TAlign::Center);
        DrawText(Cr, "Score", 532, 250, 13, palette::Amber, TAlign::Center);
        DrawDivider(Cr, 200, 600, 258);
        for (int Row = 1; Row <= 10; ++Row)
        {
            const double Top = 256 + 14 * Row - 1;
            cairo_rectangle(Cr, 204, Top, 392, 14);
            SetColor(Cr, Row % 2 == 1 ? Rgb(0xffffff, 0.04) : Rgb(0x000000, 0.14));
            cairo_fill(Cr);
        }
        // Medals beside the first three places.
        const TColor Medals[] = {palette::Amber, Rgb(0xc9d1de), Rgb(0xd08a52)};
        for (int Row = 1; Row <= 3; ++Row)
        {
            cairo_arc(Cr, 226, 256 + 14 * Row + 6, 4.5, 0, 2 * M_PI);
            SetColor(Cr, Medals[Row - 1]);
            cairo_fill_preserve(Cr);
            cairo_set_line_width(Cr, 1);
            SetColor(Cr, Medals[Row - 1].Darker(0.5));
            cairo_stroke(Cr);
        }
        DrawDivider(Cr, 200, 600, 412);
    });
}

// Controls: a row of 24 pixels per action from y 222 (the game writes the action at x 134 and
// puts its keys cell, 150 x 20, at x 270 and its pad cell, 238 x 20, at x 430), the rumble
// toggle at (270, 424), a message line at y 458 and Reset / Back at y 478.
TArtImage ControlsPage()
{
    return DrawPage("scr_controls", 110, 140, 580, 378, [](cairo_t* Cr) {
        DrawTitle(Cr, "Controls", 400, 182, 26);
        DrawText(Cr, "Action", 134, 212, 13, palette::Amber);
        DrawText(Cr, "Keys", 345, 212, 13, palette::Amber, TAlign::Center);
        DrawText(Cr, "Pad", 549, 212, 13, palette::Amber, TAlign::Center);
        DrawDivider(Cr, 126, 674, 218);
        for (int Row = 0; Row < 8; ++Row)
            DrawRowBand(Cr, 126, 222 + 24 * Row, 548, 23, Row % 2 == 1);
        DrawDivider(Cr, 126, 674, 418);
        DrawRowBand(Cr, 126, 423, 548, 26, false);
        DrawText(Cr, "On wall hits, bombs and wrecks", 666, 441, 11, palette::Fog.WithAlpha(0.8),
                 TAlign::Right, false);
    });
}

// Replays: the kept runs in rows of 24 pixels from y 222 (the game writes the player at x 172,
// the date at x 300, the score centred on x 530 and the races on x 606, inside the selection
// bar's end marks), a message line at y 428
// and Back / Play at y 478.
TArtImage ReplaysPage()
{
    return DrawPage("scr_replays", 110, 140, 580, 378, [](cairo_t* Cr) {
        DrawTitle(Cr, "Replays", 400, 182, 26);
        DrawPageIcon(Cr, TPageIcon::Flag, 322, 173, 22);
        DrawPageIcon(Cr, TPageIcon::Flag, 478, 173, 22);
        DrawText(Cr, "Player", 172, 212, 13, palette::Amber);
        DrawText(Cr, "Date", 300, 212, 13, palette::Amber);
        DrawText(Cr, "Score", 530, 212, 13, palette::Amber, TAlign::Center);
        DrawText(Cr, "Races", 606, 212, 13, palette::Amber, TAlign::Center);
        DrawDivider(Cr, 126, 674, 218);
        for (int Row = 0; Row < 8; ++Row)
            DrawRowBand(Cr, 126, 222 + 24 * Row, 548, 23, Row % 2 == 1);
        DrawDivider(Cr, 126, 674, 418);
    });
}

// The playback panel at the foot of the race, clear of the start lights and the gauges: the game
// writes the speed and the frame on it and draws the progress bar across its foot.
TArtImage ReplayPanel()
{
    return DrawPage("replay_panel", 250, 534, 300, 58, [](cairo_t* Cr) {
        DrawPageIcon(Cr, TPageIcon::Flag, 270, 552, 16);
        DrawText(Cr, "Replay", 284, 557, 12, palette::Amber);
    });
}

} // namespace

void AddDialogPages(TArtList& Menu)
{
    Menu.push_back(OptionsPage());
    Menu.push_back(QuestionPage("scr_ExitTheGame", 184, 272, "Exit the game?",
                                "Your progress and settings are saved.", TPageIcon::Flag, 350));
    Menu.push_back(AddPage());
    Menu.push_back(ChangePage());
    Menu.push_back(DeletePage());
    Menu.push_back(HighScorePage());
    Menu.push_back(QuestionPage("scr_clearhiscr", 193, 266, "Clear the high scores?",
                                "All ten places go back to the starting table.", TPageIcon::Trophy, 358));
    Menu.push_back(ControlsPage());
    Menu.push_back(ReplaysPage());
    Menu.push_back(ReplayPanel());
}

} // namespace vm::assetgen
