// The animated mouse pointer: a bevelled arrow with a pulsing halo and a glint that sweeps along it.
#include "art/canvas.h"
#include "art/menu_widget_art.h"

#include <cmath>

namespace vm::assetgen {
namespace {

constexpr int FrameCount = 8;

// The arrow's outline, its tip at (Tip, Tip) so the hot spot is the picture's top-left corner.
void ArrowPath(cairo_t* Cr, double Dx = 0, double Dy = 0)
{
    constexpr double Tip = 1.2;
    const double Points[][2] = {
        {Tip, Tip}, {Tip, 21.5}, {6.2, 16.8}, {9.8, 25.2}, {13.4, 23.6}, {9.9, 15.6}, {16.4, 15.2},
    };
    cairo_new_path(Cr);
    for (const auto& Point : Points)
        cairo_line_to(Cr, Point[0] + Dx, Point[1] + Dy);
    cairo_close_path(Cr);
}

void DrawFrame(cairo_t* Cr, int Frame)
{
    const double Phase = Frame / static_cast<double>(FrameCount);
    const double Pulse = 0.5 - 0.5 * std::cos(2 * M_PI * Phase); // 0 at frame 0, 1 half-way

    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    // Soft shadow down and to the right, away from the light.
    ArrowPath(Cr, 1.8, 2.2);
    SetColor(Cr, Rgb(0x000000, 0.35));
    cairo_set_line_width(Cr, 2.5);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(0x000000, 0.15));
    cairo_stroke(Cr);

    // The pulse: a warm halo round the arrow that swells and fades once per cycle.
    for (int Layer = 0; Layer < 3; ++Layer)
    {
        ArrowPath(Cr);
        cairo_set_line_width(Cr, (2.5 + 1.6 * Layer) * (0.6 + 0.4 * Pulse));
        SetColor(Cr, palette::Amber.WithAlpha(0.2 * Pulse));
        cairo_stroke(Cr);
    }

    // Body: lit from the top-left, a touch cooler towards the tail.
    ArrowPath(Cr);
    cairo_pattern_t* Body = cairo_pattern_create_linear(0, 0, 12, 24);
    cairo_pattern_add_color_stop_rgb(Body, 0, 1, 1, 1);
    const TColor Tail = palette::Snow.Mix(palette::Fog, 0.55);
    cairo_pattern_add_color_stop_rgb(Body, 1, Tail.R, Tail.G, Tail.B);
    cairo_set_source(Cr, Body);
    cairo_fill_preserve(Cr);
    cairo_pattern_destroy(Body);

    // The right-hand facet a shade darker, for a bevel along the arrow's spine.
    cairo_save(Cr);
    cairo_clip(Cr);
    cairo_move_to(Cr, 1.2, 1.2);
    cairo_line_to(Cr, 24, 20);
    cairo_line_to(Cr, 24, 30);
    cairo_line_to(Cr, 8.5, 30);
    cairo_line_to(Cr, 8.2, 15.8);
    cairo_close_path(Cr);
    SetColor(Cr, palette::Steel.WithAlpha(0.22));
    cairo_fill(Cr);

    // The glint: a bright band across the arrow that runs from the tip to the tail, then rests.
    if (Frame < FrameCount - 2)
    {
        // Along the arrow's axis, from the tip towards the end of the tail.
        const double AxisX = 0.42, AxisY = 0.91;
        const double Along = -2 + Frame * 5.5;
        const double CX = AxisX * Along, CY = AxisY * Along;
        cairo_pattern_t* Glint =
            cairo_pattern_create_linear(CX - AxisX * 4, CY - AxisY * 4, CX + AxisX * 4, CY + AxisY * 4);
        cairo_pattern_add_color_stop_rgba(Glint, 0, 1, 0.85, 0.5, 0);
        cairo_pattern_add_color_stop_rgba(Glint, 0.5, 1, 0.86, 0.45, 0.85);
        cairo_pattern_add_color_stop_rgba(Glint, 1, 1, 0.85, 0.5, 0);
        cairo_set_source(Cr, Glint);
        cairo_paint(Cr);
        cairo_pattern_destroy(Glint);
    }
    // The accent along the left edge.
    cairo_move_to(Cr, 1.2, 3);
    cairo_line_to(Cr, 1.2, 19.5);
    cairo_set_line_width(Cr, 2.8);
    SetColor(Cr, palette::Orange.Mix(palette::Amber, Pulse));
    cairo_stroke(Cr);
    cairo_restore(Cr);

    // Thin dark outline.
    ArrowPath(Cr);
    cairo_set_line_width(Cr, 1.1);
    SetColor(Cr, palette::Night);
    cairo_stroke(Cr);
}

} // namespace

TArtImage MakePointer(const std::string& Key, int Width, int Height)
{
    return DrawTiles(Key, Width, Height, FrameCount, FrameCount, DrawFrame);
}

} // namespace vm::assetgen
