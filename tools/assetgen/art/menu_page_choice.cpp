// The track page (a whole-screen picture) and the car page. The game writes the track's name at
// the top and its facts below the preview (labels at x 335, values centred on x 480), and draws
// the car picture at (370, 230) with four quality bars from x 386; this art frames those places.
#include "art/canvas.h"
#include "art/menu_page_kit.h"
#include "art/menu_page_parts.h"

#include <cmath>

namespace vm::assetgen {
namespace {

constexpr int ScreenWidth = 800, ScreenHeight = 600;
// The track preview the game shows at (312, 156); the previews are drawn to this size.
constexpr double PreviewX = 312, PreviewY = 156, PreviewWidth = 214, PreviewHeight = 190;

void FillGlassBar(cairo_t* Cr, double Y, double Height)
{
    cairo_rectangle(Cr, 0, Y, ScreenWidth, Height);
    SetVerticalGradient(Cr, Y, Y + Height, palette::Slate.Darker(0.2), palette::Night);
    cairo_fill(Cr);
    cairo_rectangle(Cr, 0, Y, ScreenWidth, 2);
    SetColor(Cr, palette::Orange.WithAlpha(0.85));
    cairo_fill(Cr);
}

TArtImage TrackPage()
{
    return DrawSingle("scr_choose", ScreenWidth, ScreenHeight, [](cairo_t* Cr) {
        // Dim the key art, then a strip along the foot for Back and Race in the corners.
        cairo_rectangle(Cr, 0, 0, ScreenWidth, ScreenHeight);
        SetColor(Cr, palette::Night.WithAlpha(0.45));
        cairo_fill(Cr);
        FillGlassBar(Cr, 514, ScreenHeight - 514);
        // A dark backing keeps the key art from showing through the panel's glass.
        RoundedRect(Cr, 212, 46, 414, 488, 14);
        SetColor(Cr, palette::Night.WithAlpha(0.7));
        cairo_fill(Cr);
        DrawPanel(Cr, 212, 46, 414, 488);
        // A backlit plate for the track's name, which the game writes in a dark colour at y 68,
        // centred on x 419.
        DrawValuePlate(Cr, 279, 61, 280, 32, 5);
        cairo_rectangle(Cr, 349, 97, 140, 2);
        SetColor(Cr, palette::Orange);
        cairo_fill(Cr);
        DrawText(Cr, "Choose a track", 419, 120, 12, palette::Fog, TAlign::Center, false);
        // The preview's frame, with the picture's place recessed.
        RoundedRect(Cr, PreviewX - 7, PreviewY - 7, PreviewWidth + 14, PreviewHeight + 14, 9);
        SetVerticalGradient(Cr, PreviewY - 7, PreviewY + PreviewHeight + 7, palette::Steel.Lighter(0.1),
                            palette::Slate.Darker(0.3));
        cairo_fill(Cr);
        DrawSlot(Cr, PreviewX - 2, PreviewY - 2, PreviewWidth + 4, PreviewHeight + 4);
        DrawDivider(Cr, 250, 588, 368);
        // The facts: a band per row with an icon in front of the game's label.
        const struct
        {
            double Y;
            TPageIcon Icon;
        } Facts[] = {{385, TPageIcon::Clock},
                     {425, TPageIcon::Road},
                     {463, TPageIcon::Flag},
                     {501, TPageIcon::Rivals}};
        bool Odd = false;
        for (const auto& Fact : Facts)
        {
            DrawRowBand(Cr, 296, Fact.Y - 8, 300, 32, Odd);
            DrawPageIcon(Cr, Fact.Icon, 316, Fact.Y + 9, 20);
            Odd = !Odd;
        }
    });
}

TArtImage CarPage()
{
    return DrawPage("scr_choosecar", 180, 150, 440, 340, [](cairo_t* Cr) {
        DrawTitle(Cr, "Choose your car", 400, 194, 26);
        // The showroom stage behind the car picture (146 x 104 at (370, 230)).
        const double X0 = 364, Y0 = 220, X1 = 516, Y1 = 338;
        RoundedRect(Cr, X0, Y0, X1 - X0, Y1 - Y0, 10);
        SetVerticalGradient(Cr, Y0, Y1, palette::Night.WithAlpha(0.9), palette::Slate.Darker(0.2));
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Steel.WithAlpha(0.8));
        cairo_stroke(Cr);
        cairo_save(Cr);
        RoundedRect(Cr, X0, Y0, X1 - X0, Y1 - Y0, 10);
        cairo_clip(Cr);
        // Spotlight from above and its pool of light on the floor.
        cairo_pattern_t* Spot = cairo_pattern_create_radial(443, Y0 - 30, 10, 443, Y0 - 30, 150);
        cairo_pattern_add_color_stop_rgba(Spot, 0, 1, 0.85, 0.6, 0.35);
        cairo_pattern_add_color_stop_rgba(Spot, 1, 1, 0.85, 0.6, 0);
        cairo_set_source(Cr, Spot);
        cairo_paint(Cr);
        cairo_pattern_destroy(Spot);
        cairo_save(Cr);
        cairo_translate(Cr, 443, 312);
        cairo_scale(Cr, 70, 18);
        cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(Cr);
        cairo_pattern_t* Pool = cairo_pattern_create_radial(443, 312, 0, 443, 312, 70);
        cairo_pattern_add_color_stop_rgba(Pool, 0, 1, 0.9, 0.7, 0.22);
        cairo_pattern_add_color_stop_rgba(Pool, 1, 1, 0.9, 0.7, 0);
        cairo_set_source(Cr, Pool);
        cairo_fill(Cr);
        cairo_pattern_destroy(Pool);
        cairo_restore(Cr);
        // Quality bars: a label left of x 386 and a recessed track for the bar (200 x 14).
        const struct
        {
            double Y;
            const char* Label;
        } Bars[] = {{343, "Speed"}, {368, "Acceleration"}, {393, "Handling"}, {418, "Grip"}};
        for (const auto& Bar : Bars)
        {
            DrawLabel(Cr, Bar.Label, 376, Bar.Y + 12, 14);
            DrawSlot(Cr, 384, Bar.Y - 2, 204, 18);
        }
    });
}

} // namespace

void AddChoicePages(TArtList& Menu)
{
    Menu.push_back(TrackPage());
    Menu.push_back(CarPage());
}

} // namespace vm::assetgen
