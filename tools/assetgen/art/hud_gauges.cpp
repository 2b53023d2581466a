// The HUD's moving parts: health tube, speedometer needle, reverse lamp, progress strip and markers.
#include "art/canvas.h"
#include "art/hud_layout.h"
#include "art/hud_parts.h"
#include "art/hud_shapes.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen::hud {

namespace {

// A horizontal gradient across a glass tube: a bright streak left of the middle (light from the
// top-left) and darker edges, so the flat bar reads as a rounded tube.
void SetTubeSource(cairo_t* Cr, double X, double Width, const TColor& Base, double Shine)
{
    cairo_pattern_t* Tube = cairo_pattern_create_linear(X, 0, X + Width, 0);
    const TColor Edge = Base.Darker(0.45), Body = Base, Streak = Base.Lighter(Shine);
    cairo_pattern_add_color_stop_rgba(Tube, 0, Edge.R, Edge.G, Edge.B, Edge.A);
    cairo_pattern_add_color_stop_rgba(Tube, 0.18, Body.R, Body.G, Body.B, Body.A);
    cairo_pattern_add_color_stop_rgba(Tube, 0.32, Streak.R, Streak.G, Streak.B, Streak.A);
    cairo_pattern_add_color_stop_rgba(Tube, 0.5, Body.R, Body.G, Body.B, Body.A);
    cairo_pattern_add_color_stop_rgba(Tube, 1, Edge.R, Edge.G, Edge.B, Edge.A);
    cairo_set_source(Cr, Tube);
    cairo_pattern_destroy(Tube);
}

// Thin dark cuts every 10 rows (at the same screen rows in both looks of the tube).
void DrawSegmentCuts(cairo_t* Cr, double X, double Y, double Width, double Height, double Alpha)
{
    const double First = BarY + 1;
    for (double Cut = First + 10; Cut < Y + Height; Cut += 10)
        if (Cut >= Y)
            cairo_rectangle(Cr, X, Cut, Width, 1);
    SetColor(Cr, Rgb(0x000000, Alpha));
    cairo_fill(Cr);
}

// Top-view car shape (nose up) filling Width x Height from (0, 0), as a path.
void CarShape(cairo_t* Cr, double Width, double Height)
{
    const double W = Width, H = Height;
    cairo_new_path(Cr);
    cairo_move_to(Cr, W * 0.5, 0.5);
    cairo_curve_to(Cr, W * 0.86, 0.5, W - 1, H * 0.14, W - 1, H * 0.3);
    cairo_line_to(Cr, W - 1, H * 0.82);
    cairo_curve_to(Cr, W - 1, H - 1, W * 0.8, H - 0.5, W * 0.5, H - 0.5);
    cairo_curve_to(Cr, W * 0.2, H - 0.5, 1, H - 1, 1, H * 0.82);
    cairo_line_to(Cr, 1, H * 0.3);
    cairo_curve_to(Cr, 1, H * 0.14, W * 0.14, 0.5, W * 0.5, 0.5);
    cairo_close_path(Cr);
}

} // namespace

void PaintHealthFill(cairo_t* Cr, double X, double Y, double Width, double Height)
{
    cairo_rectangle(Cr, X, Y, Width, Height);
    SetTubeSource(Cr, X, Width, palette::Green, 0.55);
    cairo_fill(Cr);
    DrawSegmentCuts(Cr, X, Y, Width, Height, 0.28);
}

void PaintDrainedTube(cairo_t* Cr, double X, double Y, double Width, double Height)
{
    // Empty dark glass, warming to a deep red lower down: the more of it shows, the more urgent.
    cairo_rectangle(Cr, X, Y, Width, Height);
    SetTubeSource(Cr, X, Width, palette::Navy.Lighter(0.04), 0.16);
    cairo_fill(Cr);
    cairo_rectangle(Cr, X, Y, Width, Height);
    const double Top = BarY, Bottom = BarY + BarHeight;
    SetVerticalGradient(Cr, Top, Bottom, palette::Red.WithAlpha(0.0),
                        palette::Red.Darker(0.35).WithAlpha(0.45));
    cairo_fill(Cr);
    DrawSegmentCuts(Cr, X, Y, Width, Height, 0.35);
}

TArtImage MakeHealthBar()
{
    return DrawSingle("healthbar", BarWidth, BarHeight, [](cairo_t* Cr) {
        cairo_translate(Cr, -BarX, -BarY);
        PaintDrainedTube(Cr, BarX, BarY, BarWidth, BarHeight);
    });
}

TArtImage MakeSpeedNeedle()
{
    const double S = NeedleSize, Cx = S / 2, Pivot = S * 0.9, Tip = 5;
    return DrawSingle("speedarrow", NeedleSize, NeedleSize, [=](cairo_t* Cr) {
        // A tapered blade from the tip down past the pivot to a short counterweight.
        cairo_move_to(Cr, Cx, Tip);
        cairo_line_to(Cr, Cx + 1.2, Tip + 2);
        cairo_line_to(Cr, Cx + 3.2, Pivot);
        cairo_line_to(Cr, Cx + 2.6, S - 1.5);
        cairo_line_to(Cr, Cx - 2.6, S - 1.5);
        cairo_line_to(Cr, Cx - 3.2, Pivot);
        cairo_line_to(Cr, Cx - 1.2, Tip + 2);
        cairo_close_path(Cr);
        cairo_pattern_t* Blade = cairo_pattern_create_linear(Cx - 3.2, 0, Cx + 3.2, 0);
        const TColor Lit = palette::Amber.Lighter(0.3), Shade = palette::Orange.Darker(0.2);
        cairo_pattern_add_color_stop_rgb(Blade, 0, Lit.R, Lit.G, Lit.B);
        cairo_pattern_add_color_stop_rgb(Blade, 0.5, palette::Orange.R, palette::Orange.G, palette::Orange.B);
        cairo_pattern_add_color_stop_rgb(Blade, 1, Shade.R, Shade.G, Shade.B);
        cairo_set_source(Cr, Blade);
        cairo_fill_preserve(Cr);
        cairo_pattern_destroy(Blade);
        cairo_set_line_width(Cr, 0.9);
        SetColor(Cr, palette::Night.WithAlpha(0.85));
        cairo_stroke(Cr);
        // The hub cap over the pivot.
        cairo_arc(Cr, Cx, Pivot, 7, 0, 2 * M_PI);
        cairo_pattern_t* Cap = cairo_pattern_create_radial(Cx - 2.5, Pivot - 2.5, 0.5, Cx, Pivot, 7);
        const TColor Hi = palette::Fog, Lo = palette::Slate.Darker(0.2);
        cairo_pattern_add_color_stop_rgb(Cap, 0, Hi.R, Hi.G, Hi.B);
        cairo_pattern_add_color_stop_rgb(Cap, 1, Lo.R, Lo.G, Lo.B);
        cairo_set_source(Cr, Cap);
        cairo_fill_preserve(Cr);
        cairo_pattern_destroy(Cap);
        cairo_set_line_width(Cr, 1.2);
        SetColor(Cr, palette::Night);
        cairo_stroke(Cr);
        cairo_arc(Cr, Cx, Pivot, 2, 0, 2 * M_PI);
        SetColor(Cr, palette::Orange);
        cairo_fill(Cr);
    });
}

TArtImage MakeReverseLamp()
{
    return DrawSingle("backlight", LampWidth, LampHeight, [](cairo_t* Cr) {
        const double Cx = LampWidth / 2.0, Cy = LampHeight / 2.0;
        cairo_save(Cr);
        cairo_translate(Cr, Cx, Cy);
        cairo_scale(Cr, 1.0, 0.7);
        DrawGlow(Cr, 0, 0, 8, Cx, Rgb(0xeaf6ff, 0.75));
        cairo_restore(Cr);
        RoundedRect(Cr, Cx - 15, Cy - 8, 30, 16, 8);
        SetVerticalGradient(Cr, Cy - 8, Cy + 8, Rgb(0xffffff), Rgb(0xc9e9ff));
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 1.2);
        SetColor(Cr, palette::Steel.Darker(0.2));
        cairo_stroke(Cr);
        DrawText(Cr, "R", Cx, Cy + 4, 11, palette::Night, TAlign::Center);
    });
}

TArtImage MakeProgressMarker(bool Player)
{
    const int Width = Player ? PlayerMarkWidth : RivalMarkWidth;
    const int Height = Player ? PlayerMarkHeight : RivalMarkHeight;
    const TColor Paint = Player ? palette::Orange : palette::Cyan.Darker(0.1);
    return DrawSingle(Player ? "radarcar1" : "radarcar2", Width, Height, [=](cairo_t* Cr) {
        // Body with a light rim (the player's is white so it stands out), then the windscreen.
        CarShape(Cr, Width, Height);
        cairo_pattern_t* Body = cairo_pattern_create_linear(0, 0, Width, 0);
        const TColor Lit = Paint.Lighter(0.35), Shade = Paint.Darker(0.3);
        cairo_pattern_add_color_stop_rgb(Body, 0, Lit.R, Lit.G, Lit.B);
        cairo_pattern_add_color_stop_rgb(Body, 1, Shade.R, Shade.G, Shade.B);
        cairo_set_source(Cr, Body);
        cairo_fill_preserve(Cr);
        cairo_pattern_destroy(Body);
        cairo_set_line_width(Cr, Player ? 1.6 : 1.1);
        SetColor(Cr, Player ? palette::Snow : palette::Night);
        cairo_stroke(Cr);
        RoundedRect(Cr, Width * 0.24, Height * 0.3, Width * 0.52, Height * 0.2, 1.5);
        SetColor(Cr, palette::Night.WithAlpha(0.85));
        cairo_fill(Cr);
        RoundedRect(Cr, Width * 0.28, Height * 0.68, Width * 0.44, Height * 0.12, 1.2);
        SetColor(Cr, palette::Night.WithAlpha(0.6));
        cairo_fill(Cr);
    });
}

TArtImage MakeProgressPanel()
{
    return DrawSingle("radar", RadarWidth, RadarHeight, [](cairo_t* Cr) {
        cairo_translate(Cr, -RadarX, -RadarY);
        const double Right = 50, Top = RadarY + 6, Bottom = RadarY + RadarHeight - 8;
        // The panel, running off the left screen edge, lit from the top-left.
        RoundedRect(Cr, -20, Top, Right + 20, Bottom - Top, 14);
        cairo_set_line_width(Cr, 8);
        SetColor(Cr, Rgb(0x000000, 0.22));
        cairo_stroke_preserve(Cr);
        SetVerticalGradient(Cr, Top, Bottom, palette::Slate.Darker(0.05).WithAlpha(0.97),
                            palette::Night.WithAlpha(0.97));
        cairo_fill(Cr);
        RoundedRect(Cr, -20, Top + 4, Right + 16, Bottom - Top - 8, 11);
        cairo_set_line_width(Cr, 1.5);
        SetColor(Cr, palette::Orange);
        cairo_stroke(Cr);
        RoundedRect(Cr, -20, Top, Right + 20, Bottom - Top, 14);
        cairo_set_line_width(Cr, 2);
        SetColor(Cr, palette::Steel.Lighter(0.25));
        cairo_stroke(Cr);

        // The strip: marker tops run from StripStartY to StripFinishY, so their middles run
        // about 8-10 pixels lower.
        const double Half = 8, StripTop = StripFinishY - 10, StripBottom = StripStartY + 22;
        const double StartLine = StripStartY + 9.5, FinishLine = StripFinishY + 9.5;
        RoundedRect(Cr, StripX - Half - 3, StripTop - 3, 2 * Half + 6, StripBottom - StripTop + 6, 5);
        SetColor(Cr, palette::Night);
        cairo_fill(Cr);
        cairo_rectangle(Cr, StripX - Half, StripTop, 2 * Half, StripBottom - StripTop);
        SetTubeSource(Cr, StripX - Half, 2 * Half, palette::Asphalt, 0.12);
        cairo_fill(Cr);
        // Kerbs along both sides.
        for (double Y = StripTop; Y < StripBottom; Y += 4)
        {
            const bool Red = static_cast<int>((Y - StripTop) / 4) % 2 == 0;
            const double H = std::min(4.0, StripBottom - Y);
            cairo_rectangle(Cr, StripX - Half, Y, 2, H);
            cairo_rectangle(Cr, StripX + Half - 2, Y, 2, H);
            SetColor(Cr, Red ? palette::KerbRed : palette::KerbWhite);
            cairo_fill(Cr);
        }
        // Dashed centre line between the start and the finish.
        for (double Y = FinishLine + 10; Y < StartLine - 4; Y += 12)
            cairo_rectangle(Cr, StripX - 0.75, Y, 1.5, 6);
        SetColor(Cr, palette::KerbWhite.WithAlpha(0.7));
        cairo_fill(Cr);
        // Start line and chequered finish band.
        cairo_rectangle(Cr, StripX - Half + 2, StartLine - 1.5, 2 * Half - 4, 3);
        SetColor(Cr, palette::Snow);
        cairo_fill(Cr);
        for (int Row = 0; Row < 3; ++Row)
            for (int Col = 0; Col < 3; ++Col)
            {
                cairo_rectangle(Cr, StripX - 6 + Col * 4, FinishLine - 6 + Row * 4, 4, 4);
                SetColor(Cr, (Row + Col) % 2 == 0 ? palette::Snow : palette::Night);
                cairo_fill(Cr);
            }
        // Quarter marks on the right.
        for (int Q = 0; Q <= 4; ++Q)
        {
            const double Y = StartLine + (FinishLine - StartLine) * Q / 4.0;
            cairo_rectangle(Cr, StripX + Half + 4, Y - 0.75, Q % 2 == 0 ? 7 : 4, 1.5);
        }
        SetColor(Cr, palette::Fog);
        cairo_fill(Cr);

        // A chequered flag above the strip, on a short pole.
        const double PoleX = StripX - 9, FlagTop = Top + 14;
        cairo_rectangle(Cr, PoleX - 1, FlagTop - 2, 2, 30);
        SetColor(Cr, palette::Fog);
        cairo_fill(Cr);
        DrawChequeredCloth(Cr, PoleX + 1, FlagTop, 5, 4, 3.6, 1.2);
    });
}

} // namespace vm::assetgen::hud
