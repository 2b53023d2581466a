// Small emblems of the in-race pages: flag, trophy, stopwatch, warning sign, upload badge, send wheel.
#include "art/overlay_icons.h"

#include "art/hud_shapes.h"
#include "art/style.h"

#include <cmath>

namespace vm::assetgen::overlay {

namespace {

// A source lit from the top-left: Light at the top-left corner of the box, Dark at the bottom-right.
void SetLitSource(cairo_t* Cr, double X0, double Y0, double X1, double Y1, const TColor& Light,
                  const TColor& Dark)
{
    cairo_pattern_t* P = cairo_pattern_create_linear(X0, Y0, X1, Y1);
    cairo_pattern_add_color_stop_rgba(P, 0, Light.R, Light.G, Light.B, Light.A);
    cairo_pattern_add_color_stop_rgba(P, 1, Dark.R, Dark.G, Dark.B, Dark.A);
    cairo_set_source(Cr, P);
    cairo_pattern_destroy(P);
}

void Outline(cairo_t* Cr, double Width = 1.5)
{
    cairo_set_line_width(Cr, Width);
    SetColor(Cr, palette::Night);
    cairo_stroke(Cr);
}

} // namespace

void DrawFinishFlag(cairo_t* Cr, double X, double Y, double Size)
{
    const double S = Size / 100;
    const double PoleX = X - 40 * S, Top = Y - 44 * S;
    // Pole with a round knob, then the cloth waving from it.
    cairo_rectangle(Cr, PoleX - 2.5 * S, Top - 2 * S, 5 * S, 92 * S);
    SetLitSource(Cr, PoleX - 3 * S, 0, PoleX + 3 * S, 0, palette::Fog, palette::Steel.Darker(0.3));
    cairo_fill_preserve(Cr);
    Outline(Cr, 1);
    cairo_arc(Cr, PoleX, Top - 4 * S, 5 * S, 0, 2 * M_PI);
    SetLitSource(Cr, PoleX - 5 * S, Top - 9 * S, PoleX + 5 * S, Top + 1 * S, palette::Amber, palette::Orange);
    cairo_fill_preserve(Cr);
    Outline(Cr, 1);
    hud::DrawChequeredCloth(Cr, PoleX + 2.5 * S, Top, 7, 5, 11 * S, 4 * S);
}

void DrawTrophy(cairo_t* Cr, double X, double Y, double Size)
{
    const double S = Size / 100;
    const TColor Gold = palette::Amber, Deep = palette::Orange.Darker(0.25);
    // Handles behind the cup.
    for (int Side = -1; Side <= 1; Side += 2)
    {
        cairo_new_sub_path(Cr);
        cairo_arc(Cr, X + Side * 30 * S, Y - 22 * S, 12 * S, 0, 2 * M_PI);
        cairo_set_line_width(Cr, 6 * S);
        SetColor(Cr, palette::Night);
        cairo_stroke_preserve(Cr);
        cairo_set_line_width(Cr, 3.5 * S);
        SetColor(Cr, Deep);
        cairo_stroke(Cr);
    }
    // Cup.
    cairo_move_to(Cr, X - 32 * S, Y - 42 * S);
    cairo_line_to(Cr, X + 32 * S, Y - 42 * S);
    cairo_curve_to(Cr, X + 32 * S, Y - 6 * S, X + 16 * S, Y + 6 * S, X + 5 * S, Y + 8 * S);
    cairo_line_to(Cr, X + 5 * S, Y + 22 * S);
    cairo_line_to(Cr, X - 5 * S, Y + 22 * S);
    cairo_line_to(Cr, X - 5 * S, Y + 8 * S);
    cairo_curve_to(Cr, X - 16 * S, Y + 6 * S, X - 32 * S, Y - 6 * S, X - 32 * S, Y - 42 * S);
    cairo_close_path(Cr);
    SetLitSource(Cr, X - 32 * S, Y - 42 * S, X + 32 * S, Y + 22 * S, Gold.Lighter(0.35), Deep);
    cairo_fill_preserve(Cr);
    Outline(Cr);
    // Base.
    RoundedRect(Cr, X - 22 * S, Y + 22 * S, 44 * S, 20 * S, 3 * S);
    SetLitSource(Cr, X - 22 * S, Y + 22 * S, X + 22 * S, Y + 42 * S, palette::Slate.Lighter(0.2),
                 palette::Night);
    cairo_fill_preserve(Cr);
    Outline(Cr);
    cairo_rectangle(Cr, X - 12 * S, Y + 29 * S, 24 * S, 5 * S);
    SetColor(Cr, Gold);
    cairo_fill(Cr);
    // Shine and a star.
    cairo_move_to(Cr, X - 22 * S, Y - 36 * S);
    cairo_curve_to(Cr, X - 22 * S, Y - 20 * S, X - 16 * S, Y - 10 * S, X - 9 * S, Y - 4 * S);
    cairo_set_line_width(Cr, 3 * S);
    SetColor(Cr, Rgb(0xffffff, 0.55));
    cairo_stroke(Cr);
    for (int I = 0; I < 10; ++I)
    {
        const double A = -M_PI / 2 + I * M_PI / 5;
        const double R = (I % 2 == 0 ? 10 : 4.2) * S;
        cairo_line_to(Cr, X + 2 * S + R * std::cos(A), Y - 22 * S + R * std::sin(A));
    }
    cairo_close_path(Cr);
    SetColor(Cr, palette::Snow);
    cairo_fill(Cr);
}

void DrawStopwatch(cairo_t* Cr, double X, double Y, double Size)
{
    const double S = Size / 100, R = 38 * S, Cy = Y + 6 * S;
    // Crown and side button.
    RoundedRect(Cr, X - 7 * S, Cy - R - 14 * S, 14 * S, 10 * S, 2 * S);
    SetLitSource(Cr, X - 7 * S, 0, X + 7 * S, 0, palette::Fog, palette::Steel.Darker(0.3));
    cairo_fill_preserve(Cr);
    Outline(Cr, 1);
    cairo_save(Cr);
    cairo_translate(Cr, X, Cy);
    cairo_rotate(Cr, M_PI / 4);
    RoundedRect(Cr, -5 * S, -R - 10 * S, 10 * S, 12 * S, 2 * S);
    cairo_restore(Cr);
    SetColor(Cr, palette::Steel);
    cairo_fill_preserve(Cr);
    Outline(Cr, 1);
    // Case and face.
    cairo_arc(Cr, X, Cy, R, 0, 2 * M_PI);
    SetLitSource(Cr, X - R, Cy - R, X + R, Cy + R, palette::Orange.Lighter(0.3),
                 palette::Orange.Darker(0.35));
    cairo_fill_preserve(Cr);
    Outline(Cr);
    cairo_arc(Cr, X, Cy, R - 7 * S, 0, 2 * M_PI);
    SetLitSource(Cr, X - R, Cy - R, X + R, Cy + R, palette::Snow, palette::Fog);
    cairo_fill(Cr);
    for (int I = 0; I < 12; ++I)
    {
        const double A = I * M_PI / 6;
        const double In = (I % 3 == 0 ? 20 : 25) * S, Out = 29 * S;
        cairo_move_to(Cr, X + In * std::sin(A), Cy - In * std::cos(A));
        cairo_line_to(Cr, X + Out * std::sin(A), Cy - Out * std::cos(A));
    }
    cairo_set_line_width(Cr, 2 * S);
    SetColor(Cr, palette::Navy);
    cairo_stroke(Cr);
    // The time that ran out: a red sector and the hand at twelve.
    cairo_move_to(Cr, X, Cy);
    cairo_arc(Cr, X, Cy, 18 * S, -M_PI / 2 - 1.2, -M_PI / 2);
    cairo_close_path(Cr);
    SetColor(Cr, palette::Red.WithAlpha(0.75));
    cairo_fill(Cr);
    cairo_move_to(Cr, X, Cy);
    cairo_line_to(Cr, X, Cy - 24 * S);
    cairo_set_line_width(Cr, 3 * S);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    SetColor(Cr, palette::Night);
    cairo_stroke(Cr);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_BUTT);
    cairo_arc(Cr, X, Cy, 3.5 * S, 0, 2 * M_PI);
    SetColor(Cr, palette::Red);
    cairo_fill(Cr);
}

void DrawWarningSign(cairo_t* Cr, double X, double Y, double Size)
{
    const double S = Size / 100;
    cairo_move_to(Cr, X, Y - 42 * S);
    cairo_line_to(Cr, X + 46 * S, Y + 38 * S);
    cairo_line_to(Cr, X - 46 * S, Y + 38 * S);
    cairo_close_path(Cr);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(Cr, 9 * S);
    SetColor(Cr, palette::Night);
    cairo_stroke_preserve(Cr);
    cairo_set_line_width(Cr, 6 * S);
    SetColor(Cr, palette::Red);
    cairo_stroke_preserve(Cr);
    SetLitSource(Cr, X - 40 * S, Y - 40 * S, X + 40 * S, Y + 40 * S, palette::Amber.Lighter(0.2),
                 palette::Orange);
    cairo_fill(Cr);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_MITER);
    RoundedRect(Cr, X - 4.5 * S, Y - 18 * S, 9 * S, 34 * S, 4 * S);
    cairo_arc(Cr, X, Y + 26 * S, 5 * S, 0, 2 * M_PI);
    SetColor(Cr, palette::Night);
    cairo_fill(Cr);
}

void DrawUploadBadge(cairo_t* Cr, double X, double Y, double Size)
{
    const double S = Size / 100, R = 42 * S;
    cairo_arc(Cr, X, Y, R, 0, 2 * M_PI);
    SetLitSource(Cr, X - R, Y - R, X + R, Y + R, palette::Cyan.Lighter(0.25), palette::Cyan.Darker(0.45));
    cairo_fill_preserve(Cr);
    Outline(Cr, 2);
    // Globe lines.
    cairo_save(Cr);
    cairo_arc(Cr, X, Y, R - 1, 0, 2 * M_PI);
    cairo_clip(Cr);
    cairo_set_line_width(Cr, 1.5 * S);
    SetColor(Cr, Rgb(0xffffff, 0.35));
    for (double Lat = -24; Lat <= 24; Lat += 24)
    {
        cairo_move_to(Cr, X - R, Y + Lat * S);
        cairo_line_to(Cr, X + R, Y + Lat * S);
    }
    cairo_stroke(Cr);
    for (double Stretch : {0.45, 0.9})
    {
        cairo_save(Cr);
        cairo_translate(Cr, X, Y);
        cairo_scale(Cr, Stretch, 1.0);
        cairo_arc(Cr, 0, 0, R, 0, 2 * M_PI);
        cairo_restore(Cr);
        cairo_stroke(Cr);
    }
    cairo_restore(Cr);
    // The arrow going up.
    cairo_move_to(Cr, X, Y - 30 * S);
    cairo_line_to(Cr, X + 22 * S, Y - 6 * S);
    cairo_line_to(Cr, X + 9 * S, Y - 6 * S);
    cairo_line_to(Cr, X + 9 * S, Y + 26 * S);
    cairo_line_to(Cr, X - 9 * S, Y + 26 * S);
    cairo_line_to(Cr, X - 9 * S, Y - 6 * S);
    cairo_line_to(Cr, X - 22 * S, Y - 6 * S);
    cairo_close_path(Cr);
    SetLitSource(Cr, X - 22 * S, Y - 30 * S, X + 22 * S, Y + 26 * S, palette::Amber.Lighter(0.3),
                 palette::Orange.Darker(0.1));
    cairo_fill_preserve(Cr);
    Outline(Cr, 1.5);
}

void DrawExitSign(cairo_t* Cr, double X, double Y, double Size)
{
    const double S = Size / 100;
    // A road sign: rounded plate, a road running off to the right with an arrow.
    RoundedRect(Cr, X - 44 * S, Y - 40 * S, 88 * S, 80 * S, 10 * S);
    SetLitSource(Cr, X - 44 * S, Y - 40 * S, X + 44 * S, Y + 40 * S, palette::Green.Darker(0.25),
                 palette::Green.Darker(0.6));
    cairo_fill_preserve(Cr);
    Outline(Cr, 2);
    RoundedRect(Cr, X - 39 * S, Y - 35 * S, 78 * S, 70 * S, 7 * S);
    cairo_set_line_width(Cr, 2.5 * S);
    SetColor(Cr, palette::Snow);
    cairo_stroke(Cr);
    cairo_move_to(Cr, X - 12 * S, Y + 30 * S);
    cairo_line_to(Cr, X - 12 * S, Y - 2 * S);
    cairo_curve_to(Cr, X - 12 * S, Y - 14 * S, X - 4 * S, Y - 18 * S, X + 8 * S, Y - 18 * S);
    cairo_set_line_width(Cr, 8 * S);
    cairo_stroke(Cr);
    cairo_move_to(Cr, X + 26 * S, Y - 18 * S);
    cairo_line_to(Cr, X + 6 * S, Y - 32 * S);
    cairo_line_to(Cr, X + 6 * S, Y - 4 * S);
    cairo_close_path(Cr);
    cairo_fill(Cr);
}

void DrawSendWheel(cairo_t* Cr, double X, double Y, double Size)
{
    const double S = Size / 100, Outer = 49 * S, Lip = 34 * S, Rim = 31 * S, Hub = 10 * S;
    // The tyre, lit from the top-left, with blocks of tread around it that catch the light.
    cairo_arc(Cr, X, Y, Outer, 0, 2 * M_PI);
    SetLitSource(Cr, X - Outer, Y - Outer, X + Outer, Y + Outer, palette::Steel.Darker(0.2), palette::Night);
    cairo_fill_preserve(Cr);
    Outline(Cr, 1.5);
    cairo_set_line_width(Cr, 6 * S);
    SetColor(Cr, palette::Fog.WithAlpha(0.45));
    for (int I = 0; I < 12; ++I)
    {
        const double A = I * 2 * M_PI / 12;
        cairo_new_sub_path(Cr);
        cairo_arc(Cr, X, Y, Outer - 6 * S, A - 0.12, A + 0.12);
    }
    cairo_stroke(Cr);
    // The rim's orange lip, then the bright dish with five spokes cut out of it.
    cairo_arc(Cr, X, Y, Lip, 0, 2 * M_PI);
    SetColor(Cr, palette::Orange);
    cairo_fill(Cr);
    cairo_arc(Cr, X, Y, Rim, 0, 2 * M_PI);
    SetLitSource(Cr, X - Rim, Y - Rim, X + Rim, Y + Rim, palette::Snow, palette::Fog.Darker(0.25));
    cairo_fill(Cr);
    SetColor(Cr, palette::Navy);
    for (int I = 0; I < 5; ++I)
    {
        const double A = I * 2 * M_PI / 5 + M_PI / 5 - M_PI / 2, Half = M_PI / 5 - 0.3;
        cairo_new_sub_path(Cr);
        cairo_arc(Cr, X, Y, Rim - 5 * S, A - Half, A + Half);
        cairo_arc_negative(Cr, X, Y, Hub + 6 * S, A + Half * 0.5, A - Half * 0.5);
        cairo_close_path(Cr);
    }
    cairo_fill(Cr);
    // The hub, and the valve: a dark mark on the dish between two spokes' tops.
    cairo_arc(Cr, X, Y, Hub, 0, 2 * M_PI);
    SetLitSource(Cr, X - Hub, Y - Hub, X + Hub, Y + Hub, palette::Amber, palette::Orange.Darker(0.2));
    cairo_fill_preserve(Cr);
    Outline(Cr, 1);
    cairo_arc(Cr, X, Y - Rim + 5.5 * S, 4 * S, 0, 2 * M_PI);
    SetColor(Cr, palette::Red);
    cairo_fill_preserve(Cr);
    Outline(Cr, 1);
}

} // namespace vm::assetgen::overlay
