// The game's name as a wordmark: slanted letters in the accent colours over a road swoosh.
#include "art/menu_back_wordmark.h"

#include "art/style.h"

#include <cmath>

namespace vm::assetgen {
namespace {

constexpr const char* Name = "VELOMARCH";
constexpr double Slant = 0.22; // forward lean of the letters, as a shear

// The road swoosh under the name: a tapering band curving up to the right, with a dashed line.
void DrawSwoosh(cairo_t* Cr, double Left, double Right, double Y, double Size)
{
    const double Span = Right - Left;
    auto Edge = [&](double T, double Offset) {
        // A gentle S from low on the left to a lift on the right.
        const double X = Left + Span * T;
        const double Lift = Size * 0.16 * std::sin(T * M_PI * 1.1 - 0.3);
        const double Half = Size * (0.05 + 0.11 * T);
        return std::pair<double, double>{X, Y - Lift + Offset * Half};
    };
    cairo_new_path(Cr);
    for (int I = 0; I <= 40; ++I)
    {
        const auto [X, Yp] = Edge(I / 40.0, -1);
        cairo_line_to(Cr, X, Yp);
    }
    for (int I = 40; I >= 0; --I)
    {
        const auto [X, Yp] = Edge(I / 40.0, 1);
        cairo_line_to(Cr, X, Yp);
    }
    cairo_close_path(Cr);
    cairo_pattern_t* Fade = cairo_pattern_create_linear(Left, 0, Right, 0);
    const TColor Road = palette::Asphalt.Lighter(0.05);
    cairo_pattern_add_color_stop_rgba(Fade, 0, Road.R, Road.G, Road.B, 0);
    cairo_pattern_add_color_stop_rgba(Fade, 0.3, Road.R, Road.G, Road.B, 0.95);
    cairo_pattern_add_color_stop_rgba(Fade, 1, Road.R, Road.G, Road.B, 1);
    cairo_set_source(Cr, Fade);
    cairo_fill_preserve(Cr);
    cairo_pattern_destroy(Fade);
    cairo_set_line_width(Cr, std::max(1.0, Size * 0.025));
    SetColor(Cr, palette::Orange.WithAlpha(0.9));
    cairo_stroke(Cr);
    // Dashes growing towards the near (right) end.
    for (double T = 0.2; T < 0.98; T += 0.085)
    {
        const double T1 = T + 0.035 + 0.015 * T;
        const auto [X0, Y0] = Edge(T, 0);
        const auto [X1, Y1] = Edge(T1, 0);
        cairo_move_to(Cr, X0, Y0);
        cairo_line_to(Cr, X1, Y1);
        cairo_set_line_width(Cr, Size * (0.012 + 0.03 * T));
        SetColor(Cr, palette::Amber.WithAlpha(std::min(1.0, T * 1.6)));
        cairo_stroke(Cr);
    }
}

} // namespace

void DrawWordmark(cairo_t* Cr, double CenterX, double BaselineY, double Size, bool Road)
{
    cairo_save(Cr);
    const double Width = TextWidth(Cr, Name, Size, true);
    if (Road)
        DrawSwoosh(Cr, CenterX - Width * 0.62, CenterX + Width * 0.56, BaselineY + Size * 0.16, Size);
    // Speed streaks trailing from the left of the name.
    for (int I = 0; I < 3; ++I)
    {
        const double Y = BaselineY - Size * (0.55 - I * 0.17);
        const double X1 = CenterX - Width / 2 - Size * 0.12 + I * Size * 0.04;
        const double X0 = X1 - Size * (1.3 - I * 0.3);
        cairo_pattern_t* Streak = cairo_pattern_create_linear(X0, 0, X1, 0);
        const TColor C = I == 1 ? palette::Amber : palette::Orange;
        cairo_pattern_add_color_stop_rgba(Streak, 0, C.R, C.G, C.B, 0);
        cairo_pattern_add_color_stop_rgba(Streak, 1, C.R, C.G, C.B, 0.9);
        cairo_set_source(Cr, Streak);
        RoundedRect(Cr, X0, Y, X1 - X0, Size * 0.07, Size * 0.035);
        cairo_fill(Cr);
        cairo_pattern_destroy(Streak);
    }
    // The letters: leaning forward, dark outline and drop shadow, amber-to-orange fill, a gloss.
    cairo_matrix_t Shear;
    cairo_matrix_init(&Shear, 1, 0, -Slant, 1, Slant * BaselineY, 0);
    cairo_transform(Cr, &Shear);
    SelectFace(Cr, Size, true);
    const double Left = CenterX - Width / 2 + Slant * Size * 0.35;
    cairo_new_path(Cr);
    cairo_move_to(Cr, Left + Size * 0.04, BaselineY + Size * 0.06);
    cairo_text_path(Cr, Name);
    SetColor(Cr, Rgb(0x000000, 0.55));
    cairo_fill(Cr);
    cairo_move_to(Cr, Left, BaselineY);
    cairo_text_path(Cr, Name);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(Cr, Size * 0.09);
    SetColor(Cr, palette::Night);
    cairo_stroke_preserve(Cr);
    SetVerticalGradient(Cr, BaselineY - Size * 0.72, BaselineY, palette::Amber.Lighter(0.35),
                        palette::Orange.Darker(0.08));
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, Size * 0.018);
    SetColor(Cr, palette::Orange.Darker(0.45));
    cairo_stroke(Cr);
    // Gloss across the upper half of the letters.
    cairo_move_to(Cr, Left, BaselineY);
    cairo_text_path(Cr, Name);
    cairo_clip(Cr);
    cairo_rectangle(Cr, Left - Size, BaselineY - Size, Width + 2 * Size, Size * 0.62);
    SetVerticalGradient(Cr, BaselineY - Size * 0.75, BaselineY - Size * 0.38, Rgb(0xffffff, 0.45),
                        Rgb(0xffffff, 0.05));
    cairo_fill(Cr);
    cairo_restore(Cr);
}

} // namespace vm::assetgen
