// The menu's bars and fields: profile selection bar, volume bar, edit boxes and the quality gauge.
#include "art/canvas.h"
#include "art/menu_widget_art.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen {
namespace {

// A horizontal gradient whose alpha rises from 0 at both ends to Alpha over Fade pixels.
void SetFadingSource(cairo_t* Cr, double Width, double Fade, const TColor& Color, double Alpha)
{
    cairo_pattern_t* Source = cairo_pattern_create_linear(0, 0, Width, 0);
    const double Edge = Fade / Width;
    cairo_pattern_add_color_stop_rgba(Source, 0, Color.R, Color.G, Color.B, 0);
    cairo_pattern_add_color_stop_rgba(Source, Edge, Color.R, Color.G, Color.B, Alpha);
    cairo_pattern_add_color_stop_rgba(Source, 1 - Edge, Color.R, Color.G, Color.B, Alpha);
    cairo_pattern_add_color_stop_rgba(Source, 1, Color.R, Color.G, Color.B, 0);
    cairo_set_source(Cr, Source);
    cairo_pattern_destroy(Source);
}

// The volume thumb as the player sees it: a round amber knob filling a Size x Size cell.
void DrawKnob(cairo_t* Cr, double Size)
{
    const double Mid = Size / 2, Radius = Size / 2 - 1.5;
    cairo_arc(Cr, Mid + 0.8, Mid + 1.2, Radius, 0, 2 * M_PI);
    SetColor(Cr, Rgb(0x000000, 0.4));
    cairo_fill(Cr);
    cairo_pattern_t* Body =
        cairo_pattern_create_radial(Mid - Radius * 0.35, Mid - Radius * 0.4, 0, Mid, Mid, Radius * 1.1);
    cairo_pattern_add_color_stop_rgb(Body, 0, palette::Amber.Lighter(0.45).R, palette::Amber.Lighter(0.45).G,
                                     palette::Amber.Lighter(0.45).B);
    cairo_pattern_add_color_stop_rgb(Body, 0.45, palette::Amber.R, palette::Amber.G, palette::Amber.B);
    cairo_pattern_add_color_stop_rgb(Body, 1, palette::Orange.Darker(0.15).R, palette::Orange.Darker(0.15).G,
                                     palette::Orange.Darker(0.15).B);
    cairo_arc(Cr, Mid, Mid, Radius, 0, 2 * M_PI);
    cairo_set_source(Cr, Body);
    cairo_fill_preserve(Cr);
    cairo_pattern_destroy(Body);
    cairo_set_line_width(Cr, 1.2);
    SetColor(Cr, palette::Night.WithAlpha(0.85));
    cairo_stroke(Cr);
    // A grip line across the middle.
    cairo_move_to(Cr, Mid, Mid - Radius * 0.45);
    cairo_line_to(Cr, Mid, Mid + Radius * 0.45);
    cairo_set_line_width(Cr, 1.5);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    SetColor(Cr, palette::Orange.Darker(0.45).WithAlpha(0.8));
    cairo_stroke(Cr);
}

// The volume track: a recessed groove with one rising level step per cell.
void DrawVolumeTrack(cairo_t* Cr, int Width, int Height, int Cells)
{
    RoundedRect(Cr, 0.5, 2.5, Width - 1, Height - 5, 5);
    SetColor(Cr, Rgb(0x05070c, 0.8));
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, palette::Steel.WithAlpha(0.85));
    cairo_stroke(Cr);
    // Inner shadow along the top edge: the groove is sunk into the panel.
    RoundedRect(Cr, 1.5, 3.5, Width - 3, 3, 2);
    SetColor(Cr, Rgb(0x000000, 0.35));
    cairo_fill(Cr);
    const double Cell = static_cast<double>(Width) / Cells;
    const double Floor = Height - 4.5;
    for (int Index = 0; Index < Cells; ++Index)
    {
        // Louder steps stand taller and warmer.
        const double T = Cells > 1 ? Index / static_cast<double>(Cells - 1) : 1;
        const double StepHeight = 3 + T * (Height - 11);
        const double X = Index * Cell + Cell * 0.15;
        const TColor Top = palette::Steel.Mix(palette::Orange, T);
        RoundedRect(Cr, X, Floor - StepHeight, Cell * 0.7, StepHeight, 1.2);
        SetVerticalGradient(Cr, Floor - StepHeight, Floor, Top, Top.Darker(0.4));
        cairo_fill(Cr);
    }
}

} // namespace

TArtImage MakeSelectionBar(const std::string& Key, int Width, int Height)
{
    return DrawSingle(Key, Width, Height, [&](cairo_t* Cr) {
        const double Fade = Width * 0.12;
        // Body: a soft glow strongest at the middle line.
        cairo_rectangle(Cr, 0, 1, Width, Height - 2);
        SetFadingSource(Cr, Width, Fade, palette::Orange, 0.34);
        cairo_fill(Cr);
        cairo_rectangle(Cr, 0, 1, Width, Height * 0.45);
        SetFadingSource(Cr, Width, Fade, palette::Amber, 0.16);
        cairo_fill(Cr);
        // Bright hairlines along the top and bottom edges.
        cairo_rectangle(Cr, 0, 0, Width, 1);
        cairo_rectangle(Cr, 0, Height - 1, Width, 1);
        SetFadingSource(Cr, Width, Fade, palette::Amber, 0.85);
        cairo_fill(Cr);
        // Small markers at either end pointing at the chosen name.
        const double Mid = Height / 2.0;
        const double Size = Height * 0.5;
        DrawArrowSign(Cr, Fade * 0.55, Mid, Size, TArrowWay::Right, palette::Amber.WithAlpha(0.9));
        DrawArrowSign(Cr, Width - Fade * 0.55, Mid, Size, TArrowWay::Left, palette::Amber.WithAlpha(0.9));
    });
}

TArtImage MakeVolumeBar(const std::string& Key, int Width, int Height, int Cells)
{
    // The game stretches both patterns from the same tile size: the track over the whole bar
    // (Width x Height, drawn 1:1) and the thumb into one cell (Width / Cells wide). The thumb is
    // therefore drawn at cell size and widened pixel by pixel, so that the game's shrinking
    // gives back exactly the small knob.
    const int CellWidth = Width / Cells;
    TCanvas Knob(CellWidth, Height);
    DrawKnob(Knob.Cr(), std::min(CellWidth, Height));
    const TPixels Small = Knob.Pixels();
    const TArtImage Track =
        DrawSingle(Key, Width, Height, [&](cairo_t* Cr) { DrawVolumeTrack(Cr, Width, Height, Cells); });
    TArtImage Bar{Key, TPixels{Width, 2 * Height, {}}, Width, Height};
    Bar.Pixels.Argb.reserve(static_cast<std::size_t>(Width) * 2 * Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            Bar.Pixels.Argb.push_back(
                Small.Argb[static_cast<std::size_t>(Y) * CellWidth + X * CellWidth / Width]);
    Bar.Pixels.Argb.insert(Bar.Pixels.Argb.end(), Track.Pixels.Argb.begin(), Track.Pixels.Argb.end());
    return Bar;
}

TArtImage MakeEditBox(const std::string& Key, int Width, int Height)
{
    return DrawSingle(Key, Width, Height, [&](cairo_t* Cr) {
        RoundedRect(Cr, 0.5, 0.5, Width - 1, Height - 1, 4);
        SetVerticalGradient(Cr, 0, Height, Rgb(0x05070c, 0.9), palette::Night.WithAlpha(0.85));
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Steel);
        cairo_stroke(Cr);
        // Inner shadow under the top edge, a faint light on the lower one.
        RoundedRect(Cr, 1.5, 1.5, Width - 3, 4, 3);
        SetColor(Cr, Rgb(0x000000, 0.45));
        cairo_fill(Cr);
        cairo_rectangle(Cr, 4, Height - 1.5, Width - 8, 1);
        SetColor(Cr, Rgb(0xffffff, 0.1));
        cairo_fill(Cr);
        // The accent underline marks it as the place to type.
        cairo_rectangle(Cr, 3, Height - 3.5, Width - 6, 1.5);
        SetFadingSource(Cr, Width, Width * 0.08, palette::Orange, 0.85);
        cairo_fill(Cr);
    });
}

TArtImage MakeQualityBar(const std::string& Key, int Width, int Height)
{
    return DrawSingle(Key, Width, Height, [&](cairo_t* Cr) {
        const double Radius = std::min(3.5, Height / 3.0);
        RoundedRect(Cr, 0.5, 0.5, Width - 1, Height - 1, Radius);
        cairo_pattern_t* Fill = cairo_pattern_create_linear(0, 0, Width, 0);
        cairo_pattern_add_color_stop_rgb(Fill, 0, palette::Orange.Darker(0.2).R,
                                         palette::Orange.Darker(0.2).G, palette::Orange.Darker(0.2).B);
        cairo_pattern_add_color_stop_rgb(Fill, 0.6, palette::Orange.R, palette::Orange.G, palette::Orange.B);
        cairo_pattern_add_color_stop_rgb(Fill, 1, palette::Amber.R, palette::Amber.G, palette::Amber.B);
        cairo_set_source(Cr, Fill);
        cairo_fill_preserve(Cr);
        cairo_pattern_destroy(Fill);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Night.WithAlpha(0.9));
        cairo_stroke(Cr);
        // Gauge notches every tenth of the length.
        for (int Notch = 1; Notch < 10; ++Notch)
        {
            cairo_rectangle(Cr, Width * Notch / 10.0 - 0.5, 2, 1, Height - 4);
            SetColor(Cr, palette::Night.WithAlpha(0.28));
            cairo_fill(Cr);
        }
        // Gloss on the upper half, light from above.
        RoundedRect(Cr, 2, 1.5, Width - 4, Height * 0.42, Radius - 1);
        SetColor(Cr, Rgb(0xffffff, 0.3));
        cairo_fill(Cr);
    });
}

} // namespace vm::assetgen
