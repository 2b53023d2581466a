// Small markers of both lists: the cars' direction arrows and the tyre-smoke puff.
#include "art/art_modules.h"
#include "art/canvas.h"
#include "art/style.h"

#include <array>
#include <cmath>

namespace vm::assetgen {

namespace {

// The direction arrows turn about their left middle: each points right from there. Pattern 0
// heading, 1 course, 2 an opponent's target.
constexpr int ArrowWidth = 36;
constexpr int ArrowHeight = 12;

void DrawArrow(cairo_t* Cr, int Pattern)
{
    static const std::array<TColor, 3> Colors = {palette::Green, palette::Amber, palette::Cyan};
    const TColor& Color = Colors[static_cast<std::size_t>(Pattern)];
    const double Mid = ArrowHeight / 2.0;
    cairo_move_to(Cr, 1, Mid - 1.6);
    cairo_line_to(Cr, ArrowWidth - 11, Mid - 1.6);
    cairo_line_to(Cr, ArrowWidth - 12, 1);
    cairo_line_to(Cr, ArrowWidth - 1, Mid);
    cairo_line_to(Cr, ArrowWidth - 12, ArrowHeight - 1);
    cairo_line_to(Cr, ArrowWidth - 11, Mid + 1.6);
    cairo_line_to(Cr, 1, Mid + 1.6);
    cairo_close_path(Cr);
    SetVerticalGradient(Cr, 1, ArrowHeight - 1, Color.Lighter(0.3), Color.Darker(0.2));
    cairo_fill_preserve(Cr);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, Color.Darker(0.6));
    cairo_stroke(Cr);
}

// The tyre-smoke puff: a small cloud that swells while it thins out over five steps.
constexpr int PuffSide = 32;
constexpr int PuffSteps = 5;

void DrawPuff(cairo_t* Cr, int Step)
{
    static const std::array<double, PuffSteps> Radius = {7.5, 8.3, 9.1, 10.0, 11.0};
    static const std::array<double, PuffSteps> Opacity = {0.9, 0.48, 0.3, 0.18, 0.1};
    const double R = Radius[static_cast<std::size_t>(Step)];
    const double A = Opacity[static_cast<std::size_t>(Step)];
    const double C = PuffSide / 2.0;
    // Four lobes round the middle, each lit from the top-left.
    static const std::array<std::array<double, 3>, 4> Lobes = {
        {{-0.28, 0.10, 0.66}, {0.22, -0.22, 0.62}, {0.25, 0.24, 0.58}, {-0.05, -0.05, 0.8}}};
    for (const auto& L : Lobes)
    {
        const double X = C + L[0] * R, Y = C + L[1] * R, Lr = L[2] * R;
        cairo_pattern_t* P = cairo_pattern_create_radial(X - Lr * 0.3, Y - Lr * 0.3, 0, X, Y, Lr);
        cairo_pattern_add_color_stop_rgba(P, 0, 0.96, 0.96, 0.97, A);
        cairo_pattern_add_color_stop_rgba(P, 0.6, 0.78, 0.79, 0.82, A * 0.75);
        cairo_pattern_add_color_stop_rgba(P, 1, 0.70, 0.71, 0.74, 0);
        cairo_set_source(Cr, P);
        cairo_arc(Cr, X, Y, Lr, 0, 2 * M_PI);
        cairo_fill(Cr);
        cairo_pattern_destroy(P);
    }
}

} // namespace

void AddMarkerImages(TArtList& List)
{
    List.push_back(DrawTiles("arrows", ArrowWidth, ArrowHeight, 3, 3, DrawArrow));
    List.push_back(DrawTiles("dim", PuffSide, PuffSide, PuffSteps, PuffSteps, DrawPuff));
    // The cars' surface probes: tiny and never shown; both lists carry it because a car takes its
    // probes from the list its own picture comes from.
    List.push_back(DrawSingle("groundpoint", 2, 2, [](cairo_t* Cr) {
        cairo_rectangle(Cr, 0, 0, 2, 2);
        SetColor(Cr, palette::Snow.WithAlpha(0.5));
        cairo_fill(Cr);
    }));
}

} // namespace vm::assetgen
