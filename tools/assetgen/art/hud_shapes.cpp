// Drawing pieces shared by the race HUD and the in-race pages: backlit plates, glows, the flag.
#include "art/hud_shapes.h"

#include <cmath>

namespace vm::assetgen::hud {

void DrawGlow(cairo_t* Cr, double X, double Y, double Inner, double Outer, const TColor& Color)
{
    cairo_pattern_t* Glow = cairo_pattern_create_radial(X, Y, Inner, X, Y, Outer);
    cairo_pattern_add_color_stop_rgba(Glow, 0, Color.R, Color.G, Color.B, Color.A);
    cairo_pattern_add_color_stop_rgba(Glow, 0.35, Color.R, Color.G, Color.B, Color.A * 0.45);
    cairo_pattern_add_color_stop_rgba(Glow, 1, Color.R, Color.G, Color.B, 0);
    cairo_set_source(Cr, Glow);
    cairo_arc(Cr, X, Y, Outer, 0, 2 * M_PI);
    cairo_fill(Cr);
    cairo_pattern_destroy(Glow);
}

void DrawChequeredCloth(cairo_t* Cr, double X, double Y, int Columns, int Rows, double Cell, double Wave)
{
    // Each column is shifted down by a sine of its position, so the cloth ripples; the light
    // falls on the crests (the columns whose slope faces up-left).
    const double Height = Rows * Cell;
    for (int C = 0; C < Columns; ++C)
    {
        const double Phase = C * 0.9;
        const double Shift = Wave * std::sin(Phase);
        const double NextShift = Wave * std::sin(Phase + 0.9);
        const double Left = X + C * Cell;
        const double Light = 0.5 + 0.5 * std::cos(Phase + 0.45);
        const TColor White = palette::Snow.Darker(0.22 * (1 - Light));
        const TColor Black = palette::Night.Lighter(0.10 * Light);
        for (int R = 0; R < Rows; ++R)
        {
            const double Top = Y + R * Cell;
            cairo_move_to(Cr, Left, Top + Shift);
            cairo_line_to(Cr, Left + Cell, Top + NextShift);
            cairo_line_to(Cr, Left + Cell, Top + Cell + NextShift + 0.02);
            cairo_line_to(Cr, Left, Top + Cell + Shift + 0.02);
            cairo_close_path(Cr);
            SetColor(Cr, (R + C) % 2 == 0 ? Black : White);
            cairo_fill(Cr);
        }
    }
    // Thin dark outline round the whole cloth.
    cairo_move_to(Cr, X, Y + Wave * std::sin(0.0));
    for (int C = 1; C <= Columns; ++C)
        cairo_line_to(Cr, X + C * Cell, Y + Wave * std::sin(C * 0.9));
    for (int C = Columns; C >= 0; --C)
        cairo_line_to(Cr, X + C * Cell, Y + Height + Wave * std::sin(C * 0.9));
    cairo_close_path(Cr);
    cairo_set_line_width(Cr, 1.2);
    SetColor(Cr, palette::Night.WithAlpha(0.9));
    cairo_stroke(Cr);
}

} // namespace vm::assetgen::hud
