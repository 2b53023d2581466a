// The menu's button faces: text, arrow, toggle, race and badge buttons in the shared button look.
#include "art/canvas.h"
#include "art/menu_widget_art.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen {
namespace {

constexpr int LookCount = 3;

TButtonLook LookOf(int Index) { return static_cast<TButtonLook>(Index); }

// The three looks stacked top to bottom, each drawn by Face.
TArtImage ThreeLooks(const std::string& Key, int Width, int Height,
                     const std::function<void(cairo_t*, TButtonLook)>& Face)
{
    return DrawTiles(Key, Width, Height, LookCount, 1,
                     [&Face](cairo_t* Cr, int Index) { Face(Cr, LookOf(Index)); });
}

// The caption size DrawButton picks for a face of this height.
double CaptionSize(int Height) { return std::max(10.0, std::min(Height * 0.55, 18.0)); }

// Baseline that puts the capitals in the middle of the face, as DrawButton does.
double CaptionBaseline(int Height, double Size) { return Height / 2.0 + Size * 0.36; }

// A small chequered flag on a pole, its top-left at (X, Y), Width x Height of cloth.
void DrawFlag(cairo_t* Cr, double X, double Y, double Width, double Height, TButtonLook Look)
{
    const TColor Dark = Look == TButtonLook::Inactive ? palette::Navy : palette::Night;
    const TColor Light = Look == TButtonLook::Inactive ? palette::Steel : palette::Snow;
    cairo_rectangle(Cr, X - 2, Y, 1.6, Height * 1.9);
    SetColor(Cr, ButtonInk(Look));
    cairo_fill(Cr);
    constexpr int Columns = 4, Rows = 3;
    const double Cell = Width / Columns, RowHeight = Height / Rows;
    for (int Row = 0; Row < Rows; ++Row)
        for (int Column = 0; Column < Columns; ++Column)
        {
            // A gentle wave: each column dips a little lower than the one before.
            const double Wave = std::sin(Column * 1.3) * 0.9;
            cairo_rectangle(Cr, X + Column * Cell, Y + Row * RowHeight + Wave, Cell, RowHeight);
            SetColor(Cr, (Row + Column) % 2 == 0 ? Dark : Light);
            cairo_fill(Cr);
        }
    cairo_rectangle(Cr, X - 0.5, Y - 0.5, Width + 1, Height + 1);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, Dark.WithAlpha(0.8));
    cairo_stroke(Cr);
}

// The studio emblem: a ring with a road chevron running through it, centred on (X, Y).
void DrawEmblem(cairo_t* Cr, double X, double Y, double Radius, TButtonLook Look)
{
    const bool Hover = Look == TButtonLook::Hover;
    const bool Inactive = Look == TButtonLook::Inactive;
    const TColor Ring = Inactive ? palette::Steel : Hover ? palette::Night : palette::Orange;
    const TColor Core = Inactive ? palette::Navy : Hover ? palette::Night.WithAlpha(0.85) : palette::Night;
    cairo_arc(Cr, X, Y, Radius, 0, 2 * M_PI);
    SetColor(Cr, Core);
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 2.5);
    SetColor(Cr, Ring);
    cairo_stroke(Cr);
    // The "V" of the road: two lanes converging towards the bottom of the ring.
    const TColor Lane = Inactive ? palette::Steel : Hover ? palette::Amber : palette::Amber;
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(Cr, X - Radius * 0.55, Y - Radius * 0.45);
    cairo_line_to(Cr, X, Y + Radius * 0.5);
    cairo_line_to(Cr, X + Radius * 0.55, Y - Radius * 0.45);
    cairo_set_line_width(Cr, Radius * 0.26);
    SetColor(Cr, Lane);
    cairo_stroke(Cr);
    // A speed streak across the top.
    cairo_move_to(Cr, X - Radius * 0.15, Y - Radius * 0.45);
    cairo_line_to(Cr, X + Radius * 0.2, Y - Radius * 0.45);
    cairo_set_line_width(Cr, Radius * 0.14);
    SetColor(Cr, Inactive ? palette::Steel : palette::Snow);
    cairo_stroke(Cr);
}

} // namespace

TColor ButtonInk(TButtonLook Look)
{
    switch (Look)
    {
    case TButtonLook::Hover: return palette::Night;
    case TButtonLook::Inactive: return palette::Steel;
    case TButtonLook::Normal: break;
    }
    return palette::Snow;
}

void DrawArrowSign(cairo_t* Cr, double X, double Y, double Size, TArrowWay Way, const TColor& Color)
{
    // Drawn pointing right, then turned; a round-joined stroke softens the corners.
    double Angle = 0;
    if (Way == TArrowWay::Left)
        Angle = M_PI;
    else if (Way == TArrowWay::Up)
        Angle = -M_PI / 2;
    else if (Way == TArrowWay::Down)
        Angle = M_PI / 2;
    const double Half = Size / 2;
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_rotate(Cr, Angle);
    cairo_move_to(Cr, Half * 0.85, 0);
    cairo_line_to(Cr, -Half * 0.6, -Half);
    cairo_line_to(Cr, -Half * 0.6, Half);
    cairo_close_path(Cr);
    SetColor(Cr, Color);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(Cr, std::max(1.0, Size * 0.12));
    cairo_fill_preserve(Cr);
    cairo_stroke(Cr);
    cairo_restore(Cr);
}

TArtImage MakeTextButton(const std::string& Key, int Width, int Height, const std::string& Caption,
                         double TextSize)
{
    return ThreeLooks(Key, Width, Height, [&](cairo_t* Cr, TButtonLook Look) {
        DrawButton(Cr, Width, Height, Caption, Look, TextSize);
    });
}

TArtImage MakeArrowButton(const std::string& Key, int Width, int Height, TArrowWay Way)
{
    return ThreeLooks(Key, Width, Height, [&](cairo_t* Cr, TButtonLook Look) {
        DrawButton(Cr, Width, Height, "", Look);
        const double Size = std::min(Width, Height) * 0.5;
        DrawArrowSign(Cr, Width / 2.0, Height / 2.0 + 0.5, Size, Way, ButtonInk(Look));
    });
}

TArtImage MakeStepButton(const std::string& Key, int Width, int Height, const std::string& Caption,
                         TArrowWay Way)
{
    return ThreeLooks(Key, Width, Height, [&](cairo_t* Cr, TButtonLook Look) {
        DrawButton(Cr, Width, Height, "", Look);
        const double Size = CaptionSize(Height);
        const double Sign = Size * 0.6;
        const double Gap = 5;
        const double TextW = TextWidth(Cr, Caption, Size);
        const double Left = (Width - TextW - Gap - Sign) / 2;
        const double Mid = Height / 2.0 + 0.5;
        const TColor Ink = ButtonInk(Look);
        if (Way == TArrowWay::Left)
        {
            DrawArrowSign(Cr, Left + Sign / 2, Mid, Sign, Way, Ink);
            DrawText(Cr, Caption, Left + Sign + Gap, CaptionBaseline(Height, Size), Size, Ink);
        }
        else
        {
            DrawText(Cr, Caption, Left, CaptionBaseline(Height, Size), Size, Ink);
            DrawArrowSign(Cr, Left + TextW + Gap + Sign / 2, Mid, Sign, Way, Ink);
        }
    });
}

TArtImage MakeToggleButton(const std::string& Key, int Width, int Height, const std::string& Caption, bool On)
{
    return ThreeLooks(Key, Width, Height, [&](cairo_t* Cr, TButtonLook Look) {
        DrawButton(Cr, Width, Height, "", Look);
        const double Size = CaptionSize(Height);
        const double LampX = 13, LampY = Height / 2.0, LampR = 4;
        TColor Lamp = On ? palette::Green : palette::Red.Darker(0.35);
        if (Look == TButtonLook::Inactive)
            Lamp = Lamp.Mix(palette::Navy, 0.6);
        if (On && Look != TButtonLook::Inactive)
        {
            // The lit lamp glows.
            cairo_pattern_t* Glow = cairo_pattern_create_radial(LampX, LampY, 0, LampX, LampY, LampR * 2.2);
            cairo_pattern_add_color_stop_rgba(Glow, 0, Lamp.R, Lamp.G, Lamp.B, 0.6);
            cairo_pattern_add_color_stop_rgba(Glow, 1, Lamp.R, Lamp.G, Lamp.B, 0);
            cairo_set_source(Cr, Glow);
            cairo_arc(Cr, LampX, LampY, LampR * 2.2, 0, 2 * M_PI);
            cairo_fill(Cr);
            cairo_pattern_destroy(Glow);
        }
        cairo_arc(Cr, LampX, LampY, LampR, 0, 2 * M_PI);
        SetColor(Cr, Lamp);
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Night.WithAlpha(0.7));
        cairo_stroke(Cr);
        cairo_arc(Cr, LampX - 1.2, LampY - 1.3, 1.3, 0, 2 * M_PI);
        SetColor(Cr, Rgb(0xffffff, On ? 0.7 : 0.25));
        cairo_fill(Cr);
        const double TextX = (LampX + LampR + Width) / 2;
        DrawText(Cr, Caption, TextX, CaptionBaseline(Height, Size), Size, ButtonInk(Look), TAlign::Center);
    });
}

TArtImage MakeRaceButton(const std::string& Key, int Width, int Height, const std::string& Caption)
{
    return ThreeLooks(Key, Width, Height, [&](cairo_t* Cr, TButtonLook Look) {
        DrawButton(Cr, Width, Height, "", Look);
        const double Size = CaptionSize(Height);
        const double FlagW = 14, FlagH = Height * 0.36, Gap = 8;
        const double TextW = TextWidth(Cr, Caption, Size);
        const double Left = (Width - FlagW - Gap - TextW) / 2;
        DrawFlag(Cr, Left, Height / 2.0 - FlagH * 0.75, FlagW, FlagH, Look);
        DrawText(Cr, Caption, Left + FlagW + Gap, CaptionBaseline(Height, Size), Size, ButtonInk(Look));
    });
}

TArtImage MakeBadgeButton(const std::string& Key, int Width, int Height)
{
    return ThreeLooks(Key, Width, Height, [&](cairo_t* Cr, TButtonLook Look) {
        DrawButton(Cr, Width, Height, "", Look);
        const double Radius = Height * 0.32;
        const double EmblemX = 8 + Radius;
        DrawEmblem(Cr, EmblemX, Height / 2.0, Radius, Look);
        const double TextX = EmblemX + Radius + 9;
        const TColor Ink = ButtonInk(Look);
        const TColor Second = Look == TButtonLook::Hover      ? palette::Night.WithAlpha(0.75)
                              : Look == TButtonLook::Inactive ? palette::Steel
                                                              : palette::Fog;
        DrawText(Cr, "VELOMARCH", TextX, Height * 0.5 + 1, Height * 0.3, Ink);
        DrawText(Cr, "TEAM WEBSITE", TextX + 1, Height * 0.5 + Height * 0.3, Height * 0.2, Second,
                 TAlign::Left, false);
    });
}

} // namespace vm::assetgen
