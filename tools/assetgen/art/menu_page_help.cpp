// The four help pages: controls, pickups, race rules and scoring. The game shows them at
// (180, 160) and puts its Previous / Back / Next buttons in a row at y 420, which stays empty.
#include "art/menu_page_kit.h"
#include "art/menu_page_parts.h"
#include "art/pickup_art.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace vm::assetgen {
namespace {

constexpr int PageX = 180, PageY = 160, PageWidth = 440, PageHeight = 302;
constexpr double Left = 200, Right = 600; // content edges
constexpr double TitleBaseline = 206;
constexpr double ContentTop = 222;

void DrawHelpFrame(cairo_t* Cr, const std::string& Title, int Page)
{
    DrawTitle(Cr, Title, 400, TitleBaseline, 26);
    DrawPageNumber(Cr, Page, 4, Right + 4, 186);
}

// The controls: a band per action, 24 pixels from y 224, with what the action does from x 400;
// the game writes the keys (or pad controls) bound to it from x 214, since the player picks them.
TArtImage ControlsPage()
{
    const std::vector<std::string> Rows = {
        "Accelerate",
        "Brake, then reverse",
        "Steer left",
        "Steer right",
        "Hand brake: slide into bends",
        "Sound the horn",
        "Pause the race",
        "Leave the race",
    };
    return DrawPage("scr_help", PageX, PageY, PageWidth, PageHeight, [&](cairo_t* Cr) {
        DrawHelpFrame(Cr, "Controls", 1);
        const double Step = 24;
        for (std::size_t I = 0; I < Rows.size(); ++I)
        {
            const double Top = ContentTop + 2 + Step * static_cast<double>(I);
            DrawRowBand(Cr, Left, Top, Right - Left, Step - 1, I % 2 == 1);
            DrawText(Cr, Rows[I], 400, Top + 16, 14, palette::Snow, TAlign::Left, false);
        }
    });
}

struct TPickupRow
{
    int Kind;
    std::string Name;
    std::string Effect;
};

TArtImage PickupsPage()
{
    // Helpful pickups on the left, hazards and boosts on the right.
    const std::vector<TPickupRow> Columns[2] = {
        {{bkCoin10, "Coin", "10 points"},
         {bkCoin20, "Coin", "20 points"},
         {bkCoin30, "Coin", "30 points"},
         {bkRepair, "Repair", "Mends 30 damage"},
         {bkLife, "Extra life", "One more life"}},
        {{bkTime, "Extra time", "5 seconds on the clock"},
         {bkSpeedUp, "Speed-up", "A burst of speed"},
         {bkOil, "Oil", "Sends you skidding"},
         {bkSpikes, "Spikes", "Slows you right down"},
         {bkBomb, "Bomb", "40 damage and a spin"}},
    };
    return DrawPage("scr_help2", PageX, PageY, PageWidth, PageHeight, [&](cairo_t* Cr) {
        DrawHelpFrame(Cr, "Pickups", 2);
        const double Step = 37;
        for (int Column = 0; Column < 2; ++Column)
        {
            const double X = Column == 0 ? Left : 402;
            for (std::size_t I = 0; I < Columns[Column].size(); ++I)
            {
                const TPickupRow& Row = Columns[Column][I];
                const double Top = ContentTop + Step * static_cast<double>(I);
                DrawRowBand(Cr, X, Top, 196, Step - 3, I % 2 == 1);
                DrawPickupIcon(Cr, Row.Kind, X + 19, Top + Step / 2 - 1.5, 32);
                DrawText(Cr, Row.Name, X + 42, Top + 14, 14, palette::Snow);
                DrawText(Cr, Row.Effect, X + 42, Top + 29, 12, palette::Fog, TAlign::Left, false);
            }
        }
    });
}

struct TTextRow
{
    std::function<void(cairo_t* Cr, double X, double Y)> Icon;
    std::string Text;
};

// Rows of an icon and a wrapped sentence, one after another from the top of the content.
void DrawTextRows(cairo_t* Cr, const std::vector<TTextRow>& Rows, double LineHeight, double Gap)
{
    double Top = ContentTop;
    for (std::size_t I = 0; I < Rows.size(); ++I)
    {
        // Measure first by drawing fully transparent, then draw the band and the text.
        const double Last = DrawWrappedText(Cr, Rows[I].Text, 244, Top + 16, Right - 252, 14, LineHeight,
                                            palette::Snow.WithAlpha(0), false);
        const double Height = Last - (Top + 16) + LineHeight + Gap;
        DrawRowBand(Cr, Left, Top, Right - Left, Height - 2, I % 2 == 1);
        Rows[I].Icon(Cr, 222, Top + (Height - 2) / 2);
        DrawWrappedText(Cr, Rows[I].Text, 244, Top + 16, Right - 252, 14, LineHeight, palette::Snow, false);
        Top += Height;
    }
}

std::function<void(cairo_t*, double, double)> Icon(TPageIcon Which)
{
    return [Which](cairo_t* Cr, double X, double Y) { DrawPageIcon(Cr, Which, X, Y, 20); };
}

TArtImage RulesPage()
{
    const std::vector<TTextRow> Rows = {
        {Icon(TPageIcon::Lights), "Wait for the green light, then go."},
        {Icon(TPageIcon::Clock), "Reach the finish before the clock runs out."},
        {Icon(TPageIcon::TurnBack), "Drive the wrong way and you are put back."},
        {Icon(TPageIcon::Wrench), "Walls and rival cars damage your car."},
        {Icon(TPageIcon::Heart), "A wreck costs a life; the last one ends the game."},
        {Icon(TPageIcon::Flag),
         "Finish in any place to race on: each race is longer, with more rivals and more time."},
    };
    return DrawPage("scr_help3", PageX, PageY, PageWidth, PageHeight, [&](cairo_t* Cr) {
        DrawHelpFrame(Cr, "Race rules", 3);
        DrawTextRows(Cr, Rows, 17, 10);
    });
}

TArtImage ScoringPage()
{
    const std::vector<TTextRow> Rows = {
        {[](cairo_t* Cr, double X, double Y) { DrawPickupIcon(Cr, 1, X, Y, 26); },
         "Coins are worth 10, 20 or 30 points."},
        {Icon(TPageIcon::Podium),
         "Each finish earns a bonus: 500 in the first race and 500 more in every race after."},
        {Icon(TPageIcon::Flag), "Your place divides it: 1st keeps it all, 2nd gets half, 3rd a third."},
        {Icon(TPageIcon::Lock), "Points open new tracks and cars."},
        {Icon(TPageIcon::Trophy),
         "The ten best scores enter the high-score table, and you can send yours online."},
    };
    return DrawPage("scr_help4", PageX, PageY, PageWidth, PageHeight, [&](cairo_t* Cr) {
        DrawHelpFrame(Cr, "Scoring", 4);
        DrawTextRows(Cr, Rows, 17, 9);
    });
}

} // namespace

void AddHelpPages(TArtList& Menu)
{
    Menu.push_back(ControlsPage());
    Menu.push_back(PickupsPage());
    Menu.push_back(RulesPage());
    Menu.push_back(ScoringPage());
}

} // namespace vm::assetgen
