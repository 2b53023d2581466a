// The game's look: one palette, one type face ("Play") and the shared panel and button drawing.
#include "art/style.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen {

TColor TColor::Mix(const TColor& Other, double T) const
{
    return {R + (Other.R - R) * T, G + (Other.G - G) * T, B + (Other.B - B) * T, A + (Other.A - A) * T};
}
TColor TColor::Lighter(double T) const { return Mix({1, 1, 1, A}, T); }
TColor TColor::Darker(double T) const { return Mix({0, 0, 0, A}, T); }

TColor Rgb(unsigned Hex, double Alpha)
{
    return {((Hex >> 16) & 255) / 255.0, ((Hex >> 8) & 255) / 255.0, (Hex & 255) / 255.0, Alpha};
}

void SetColor(cairo_t* Cr, const TColor& Color)
{
    cairo_set_source_rgba(Cr, Color.R, Color.G, Color.B, Color.A);
}

void RoundedRect(cairo_t* Cr, double X, double Y, double Width, double Height, double Radius)
{
    Radius = std::min({Radius, Width / 2, Height / 2});
    cairo_new_sub_path(Cr);
    cairo_arc(Cr, X + Width - Radius, Y + Radius, Radius, -M_PI / 2, 0);
    cairo_arc(Cr, X + Width - Radius, Y + Height - Radius, Radius, 0, M_PI / 2);
    cairo_arc(Cr, X + Radius, Y + Height - Radius, Radius, M_PI / 2, M_PI);
    cairo_arc(Cr, X + Radius, Y + Radius, Radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(Cr);
}

void SetVerticalGradient(cairo_t* Cr, double Y0, double Y1, const TColor& Top, const TColor& Bottom)
{
    cairo_pattern_t* Gradient = cairo_pattern_create_linear(0, Y0, 0, Y1);
    cairo_pattern_add_color_stop_rgba(Gradient, 0, Top.R, Top.G, Top.B, Top.A);
    cairo_pattern_add_color_stop_rgba(Gradient, 1, Bottom.R, Bottom.G, Bottom.B, Bottom.A);
    cairo_set_source(Cr, Gradient);
    cairo_pattern_destroy(Gradient);
}

void SelectFace(cairo_t* Cr, double Size, bool Bold)
{
    cairo_select_font_face(Cr, "Play", CAIRO_FONT_SLANT_NORMAL,
                           Bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(Cr, Size);
}

double TextWidth(cairo_t* Cr, const std::string& Text, double Size, bool Bold)
{
    SelectFace(Cr, Size, Bold);
    cairo_text_extents_t Extents;
    cairo_text_extents(Cr, Text.c_str(), &Extents);
    return Extents.x_advance;
}

void DrawText(cairo_t* Cr, const std::string& Text, double X, double Y, double Size, const TColor& Color,
              TAlign Align, bool Bold)
{
    const double Width = TextWidth(Cr, Text, Size, Bold);
    if (Align == TAlign::Center)
        X -= Width / 2;
    else if (Align == TAlign::Right)
        X -= Width;
    SetColor(Cr, Color);
    cairo_move_to(Cr, X, Y);
    cairo_show_text(Cr, Text.c_str());
    cairo_new_path(Cr);
}

void DrawShadowedText(cairo_t* Cr, const std::string& Text, double X, double Y, double Size,
                      const TColor& Color, TAlign Align, bool Bold)
{
    const TColor Shadow = Rgb(0x000000, 0.55 * Color.A);
    DrawText(Cr, Text, X + 1.5, Y + 2, Size, Shadow, Align, Bold);
    DrawText(Cr, Text, X, Y, Size, Color, Align, Bold);
}

void DrawPanel(cairo_t* Cr, double X, double Y, double Width, double Height)
{
    // Drop shadow, then the glass body, then the rim and the accent line.
    RoundedRect(Cr, X + 4, Y + 6, Width, Height, 14);
    SetColor(Cr, Rgb(0x000000, 0.35));
    cairo_fill(Cr);
    RoundedRect(Cr, X, Y, Width, Height, 14);
    SetVerticalGradient(Cr, Y, Y + Height, palette::Slate.WithAlpha(0.94), palette::Night.WithAlpha(0.96));
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 2);
    SetColor(Cr, palette::Steel.Lighter(0.15));
    cairo_stroke(Cr);
    RoundedRect(Cr, X + 5, Y + 5, Width - 10, Height - 10, 10);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, Rgb(0xffffff, 0.08));
    cairo_stroke(Cr);
    cairo_rectangle(Cr, X + 24, Y + 1, Width - 48, 3);
    SetColor(Cr, palette::Orange);
    cairo_fill(Cr);
}

void DrawTitle(cairo_t* Cr, const std::string& Text, double CenterX, double Y, double Size)
{
    DrawShadowedText(Cr, Text, CenterX, Y, Size, palette::Snow, TAlign::Center);
    const double Width = TextWidth(Cr, Text, Size);
    cairo_rectangle(Cr, CenterX - Width / 2, Y + 7, Width, 2);
    SetColor(Cr, palette::Orange);
    cairo_fill(Cr);
}

void DrawLabel(cairo_t* Cr, const std::string& Text, double RightX, double Y, double Size)
{
    DrawText(Cr, Text, RightX, Y, Size, palette::Fog, TAlign::Right);
}

void DrawSlot(cairo_t* Cr, double X, double Y, double Width, double Height)
{
    RoundedRect(Cr, X, Y, Width, Height, 4);
    SetColor(Cr, Rgb(0x05070c, 0.75));
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, palette::Steel.WithAlpha(0.8));
    cairo_stroke(Cr);
}

void DrawValuePlate(cairo_t* Cr, double X, double Y, double Width, double Height, double Radius)
{
    RoundedRect(Cr, X - 2, Y - 2, Width + 4, Height + 4, Radius + 2);
    SetColor(Cr, palette::Night.WithAlpha(0.95));
    cairo_fill(Cr);
    RoundedRect(Cr, X, Y, Width, Height, Radius);
    SetVerticalGradient(Cr, Y, Y + Height, Rgb(0xfff3d9), Rgb(0xf2cf91));
    cairo_fill(Cr);
    // Shade under the bezel's upper lip, and a thin warm rim.
    cairo_rectangle(Cr, X + 3, Y + 1, Width - 6, 1.5);
    SetColor(Cr, Rgb(0x000000, 0.18));
    cairo_fill(Cr);
    RoundedRect(Cr, X + 0.5, Y + 0.5, Width - 1, Height - 1, Radius - 0.5);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, palette::Orange.Darker(0.35).WithAlpha(0.55));
    cairo_stroke(Cr);
}

void DrawButton(cairo_t* Cr, double Width, double Height, const std::string& Caption, TButtonLook Look,
                double TextSize)
{
    if (TextSize <= 0)
        TextSize = std::max(10.0, std::min(Height * 0.55, 18.0));
    TColor Top = palette::Slate.Lighter(0.08);
    TColor Bottom = palette::Navy;
    TColor Rim = palette::Steel;
    TColor Text = palette::Snow;
    if (Look == TButtonLook::Hover)
    {
        Top = palette::Amber;
        Bottom = palette::Orange;
        Rim = palette::Amber.Lighter(0.4);
        Text = palette::Night;
    }
    else if (Look == TButtonLook::Inactive)
    {
        Top = palette::Navy.Lighter(0.05);
        Bottom = palette::Night;
        Rim = palette::Slate;
        Text = palette::Steel;
    }
    const double Radius = std::min(8.0, Height / 3);
    RoundedRect(Cr, 1, 1, Width - 2, Height - 2, Radius);
    SetVerticalGradient(Cr, 1, Height - 1, Top, Bottom);
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 1.5);
    SetColor(Cr, Rim);
    cairo_stroke(Cr);
    // A thin gloss along the upper edge.
    RoundedRect(Cr, 3, 2.5, Width - 6, Height * 0.4, Radius - 1);
    SetColor(Cr, Rgb(0xffffff, Look == TButtonLook::Inactive ? 0.03 : 0.10));
    cairo_fill(Cr);
    // Baseline placed so the caps sit in the middle.
    DrawText(Cr, Caption, Width / 2, Height / 2 + TextSize * 0.36, TextSize, Text, TAlign::Center);
}

} // namespace vm::assetgen
