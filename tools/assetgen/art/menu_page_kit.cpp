// Drawing pieces shared by the menu page pictures: page frames, key caps, small icons, text rows.
#include "art/menu_page_kit.h"

#include "art/canvas.h"

#include <cmath>
#include <sstream>
#include <vector>

namespace vm::assetgen {
namespace {

// Fill and a thin darker outline, the house look of every icon.
void FillOutlined(cairo_t* Cr, const TColor& Fill, double Line = 1.2)
{
    SetColor(Cr, Fill);
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, Line);
    SetColor(Cr, Fill.Darker(0.55));
    cairo_stroke(Cr);
}

void DrawArrowHead(cairo_t* Cr, double X, double Y, double Size, double Angle)
{
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_rotate(Cr, Angle);
    cairo_move_to(Cr, Size * 0.55, 0);
    cairo_line_to(Cr, -Size * 0.4, -Size * 0.5);
    cairo_line_to(Cr, -Size * 0.4, Size * 0.5);
    cairo_close_path(Cr);
    cairo_restore(Cr);
}

// Each icon is drawn in a 24-unit box centred on the origin.
void DrawIconShape(cairo_t* Cr, TPageIcon Icon)
{
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    switch (Icon)
    {
    case TPageIcon::Clock:
        cairo_arc(Cr, 0, 0, 10, 0, 2 * M_PI);
        FillOutlined(Cr, palette::Snow.Darker(0.08));
        cairo_arc(Cr, 0, 0, 7.8, 0, 2 * M_PI);
        SetColor(Cr, palette::Orange);
        cairo_set_line_width(Cr, 1.4);
        cairo_stroke(Cr);
        cairo_move_to(Cr, 0, 0);
        cairo_line_to(Cr, 0, -6);
        cairo_move_to(Cr, 0, 0);
        cairo_line_to(Cr, 4.5, 2);
        cairo_set_line_width(Cr, 2);
        SetColor(Cr, palette::Night);
        cairo_stroke(Cr);
        break;
    case TPageIcon::Flag:
        cairo_rectangle(Cr, -9, -11, 2, 22);
        FillOutlined(Cr, palette::Fog, 0.8);
        for (int Row = 0; Row < 3; ++Row)
            for (int Col = 0; Col < 4; ++Col)
            {
                cairo_rectangle(Cr, -7 + Col * 4.5, -10 + Row * 4, 4.5, 4);
                SetColor(Cr, (Row + Col) % 2 == 0 ? palette::Snow : palette::Night);
                cairo_fill(Cr);
            }
        cairo_rectangle(Cr, -7, -10, 18, 12);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Night);
        cairo_stroke(Cr);
        break;
    case TPageIcon::Road:
        cairo_move_to(Cr, -4, -11);
        cairo_line_to(Cr, 4, -11);
        cairo_line_to(Cr, 11, 11);
        cairo_line_to(Cr, -11, 11);
        cairo_close_path(Cr);
        FillOutlined(Cr, palette::Asphalt.Lighter(0.1));
        for (double Y : {-8.0, -1.0, 6.0})
        {
            cairo_rectangle(Cr, -0.8 - (Y + 11) * 0.04, Y, 1.6 + (Y + 11) * 0.08, 3.5);
            SetColor(Cr, palette::Amber);
            cairo_fill(Cr);
        }
        break;
    case TPageIcon::Rivals:
        for (int Car = 0; Car < 2; ++Car)
        {
            const double X = Car == 0 ? -5.5 : 5.5, Y = Car == 0 ? 2 : -2;
            RoundedRect(Cr, X - 4.5, Y - 9, 9, 18, 3);
            FillOutlined(Cr, Car == 0 ? palette::Cyan : palette::Red);
            RoundedRect(Cr, X - 3.2, Y - 4, 6.4, 5, 1.5);
            SetColor(Cr, palette::Night.WithAlpha(0.8));
            cairo_fill(Cr);
        }
        break;
    case TPageIcon::Heart:
        cairo_move_to(Cr, 0, 10);
        cairo_curve_to(Cr, -14, 0, -9, -13, 0, -5);
        cairo_curve_to(Cr, 9, -13, 14, 0, 0, 10);
        cairo_close_path(Cr);
        FillOutlined(Cr, palette::Red);
        cairo_arc(Cr, -4.5, -4, 2, 0, 2 * M_PI);
        SetColor(Cr, Rgb(0xffffff, 0.5));
        cairo_fill(Cr);
        break;
    case TPageIcon::Wrench:
        cairo_save(Cr);
        cairo_rotate(Cr, M_PI / 4);
        RoundedRect(Cr, -2.5, -4, 5, 15, 2);
        FillOutlined(Cr, palette::Fog);
        cairo_arc(Cr, 0, -6, 6, 0, 2 * M_PI);
        FillOutlined(Cr, palette::Fog);
        cairo_rectangle(Cr, -2, -13, 4, 7);
        SetColor(Cr, palette::Navy);
        cairo_fill(Cr);
        cairo_restore(Cr);
        break;
    case TPageIcon::Lights:
        RoundedRect(Cr, -6, -11.5, 12, 23, 3);
        FillOutlined(Cr, palette::Night.Lighter(0.1));
        for (int Lamp = 0; Lamp < 3; ++Lamp)
        {
            cairo_arc(Cr, 0, -7 + Lamp * 7, 2.6, 0, 2 * M_PI);
            SetColor(Cr, Lamp == 0 ? palette::Red.Darker(0.45)
                                   : (Lamp == 1 ? palette::Amber.Darker(0.55) : palette::Green));
            cairo_fill(Cr);
        }
        break;
    case TPageIcon::TurnBack:
        cairo_new_path(Cr);
        cairo_move_to(Cr, -5, 10);
        cairo_line_to(Cr, -5, -2);
        cairo_arc(Cr, 1, -2, 6, M_PI, 0);
        cairo_line_to(Cr, 7, 4);
        cairo_set_line_width(Cr, 3.2);
        SetColor(Cr, palette::Amber);
        cairo_stroke(Cr);
        DrawArrowHead(Cr, 7, 6.5, 7, M_PI / 2);
        SetColor(Cr, palette::Amber);
        cairo_fill(Cr);
        break;
    case TPageIcon::Trophy:
        cairo_move_to(Cr, -7, -10);
        cairo_line_to(Cr, 7, -10);
        cairo_curve_to(Cr, 7, 0, 4, 3, 0, 3);
        cairo_curve_to(Cr, -4, 3, -7, 0, -7, -10);
        cairo_close_path(Cr);
        FillOutlined(Cr, palette::Amber);
        for (double Side : {-1.0, 1.0})
        {
            cairo_new_path(Cr);
            cairo_arc(Cr, Side * 7.5, -6, 3.2, 0, 2 * M_PI);
            cairo_set_line_width(Cr, 1.6);
            SetColor(Cr, palette::Amber.Darker(0.2));
            cairo_stroke(Cr);
        }
        cairo_rectangle(Cr, -1.5, 3, 3, 4);
        cairo_rectangle(Cr, -6, 7, 12, 3.5);
        FillOutlined(Cr, palette::Amber.Darker(0.15), 0.8);
        break;
    case TPageIcon::Lock:
        cairo_new_path(Cr);
        cairo_arc(Cr, 0, -3, 6, M_PI, 2 * M_PI);
        cairo_line_to(Cr, 6, 0);
        cairo_move_to(Cr, -6, 0);
        cairo_line_to(Cr, -6, -3);
        cairo_set_line_width(Cr, 3);
        SetColor(Cr, palette::Fog);
        cairo_stroke(Cr);
        RoundedRect(Cr, -9, -1, 18, 13, 2.5);
        FillOutlined(Cr, palette::Amber);
        cairo_arc(Cr, 0, 4.5, 2, 0, 2 * M_PI);
        cairo_rectangle(Cr, -0.9, 4.5, 1.8, 4);
        SetColor(Cr, palette::Night);
        cairo_fill(Cr);
        break;
    case TPageIcon::Podium:
    {
        const double Heights[] = {12, 16, 9};
        const TColor Colors[] = {Rgb(0xc9d1de), palette::Amber, Rgb(0xd08a52)};
        for (int Step = 0; Step < 3; ++Step)
        {
            cairo_rectangle(Cr, -11.5 + Step * 7.7, 11 - Heights[Step], 7.3, Heights[Step]);
            FillOutlined(Cr, Colors[Step], 0.8);
        }
        break;
    }
    case TPageIcon::Player:
        cairo_arc(Cr, 0, -5, 5, 0, 2 * M_PI);
        FillOutlined(Cr, palette::Fog);
        cairo_new_path(Cr);
        cairo_arc(Cr, 0, 11, 10, M_PI, 2 * M_PI);
        cairo_close_path(Cr);
        FillOutlined(Cr, palette::Cyan.Darker(0.15));
        break;
    case TPageIcon::Speaker:
        cairo_move_to(Cr, -10, -4);
        cairo_line_to(Cr, -5, -4);
        cairo_line_to(Cr, 2, -10);
        cairo_line_to(Cr, 2, 10);
        cairo_line_to(Cr, -5, 4);
        cairo_line_to(Cr, -10, 4);
        cairo_close_path(Cr);
        FillOutlined(Cr, palette::Fog);
        for (double R : {5.0, 9.0})
        {
            cairo_new_path(Cr);
            cairo_arc(Cr, 2, 0, R, -0.8, 0.8);
            cairo_set_line_width(Cr, 1.8);
            SetColor(Cr, palette::Amber);
            cairo_stroke(Cr);
        }
        break;
    case TPageIcon::Monitor:
        RoundedRect(Cr, -11, -9, 22, 15, 2);
        FillOutlined(Cr, palette::Fog);
        cairo_rectangle(Cr, -9, -7, 18, 11);
        SetVerticalGradient(Cr, -7, 4, palette::Cyan, palette::Navy);
        cairo_fill(Cr);
        cairo_rectangle(Cr, -2, 6, 4, 3);
        cairo_rectangle(Cr, -6, 9, 12, 2);
        SetColor(Cr, palette::Fog);
        cairo_fill(Cr);
        break;
    case TPageIcon::Note:
        cairo_arc(Cr, -5, 7, 4, 0, 2 * M_PI);
        cairo_arc(Cr, 7, 5, 4, 0, 2 * M_PI);
        FillOutlined(Cr, palette::Amber);
        cairo_move_to(Cr, -1.5, 7);
        cairo_line_to(Cr, -1.5, -9);
        cairo_line_to(Cr, 10.5, -11);
        cairo_line_to(Cr, 10.5, 5);
        cairo_set_line_width(Cr, 2.2);
        SetColor(Cr, palette::Amber);
        cairo_stroke(Cr);
        break;
    }
    cairo_new_path(Cr);
}

} // namespace

TArtImage DrawPage(const std::string& Key, int ScreenX, int ScreenY, int Width, int Height,
                   const std::function<void(cairo_t* Cr)>& Draw)
{
    // Room for the panel's drop shadow on the right and below.
    return DrawSingle(Key, Width + 6, Height + 8, [&](cairo_t* Cr) {
        DrawPanel(Cr, 1, 1, Width - 2, Height - 2);
        cairo_translate(Cr, -ScreenX, -ScreenY);
        Draw(Cr);
    });
}

void DrawRowBand(cairo_t* Cr, double X, double Y, double Width, double Height, bool Odd)
{
    RoundedRect(Cr, X, Y, Width, Height, 4);
    SetColor(Cr, Odd ? Rgb(0xffffff, 0.045) : Rgb(0x000000, 0.16));
    cairo_fill(Cr);
}

void DrawDivider(cairo_t* Cr, double X0, double X1, double Y)
{
    cairo_pattern_t* Line = cairo_pattern_create_linear(X0, 0, X1, 0);
    const TColor C = palette::Steel.Lighter(0.2);
    cairo_pattern_add_color_stop_rgba(Line, 0, C.R, C.G, C.B, 0);
    cairo_pattern_add_color_stop_rgba(Line, 0.2, C.R, C.G, C.B, 0.7);
    cairo_pattern_add_color_stop_rgba(Line, 0.8, C.R, C.G, C.B, 0.7);
    cairo_pattern_add_color_stop_rgba(Line, 1, C.R, C.G, C.B, 0);
    cairo_rectangle(Cr, X0, Y, X1 - X0, 1);
    cairo_set_source(Cr, Line);
    cairo_fill(Cr);
    cairo_pattern_destroy(Line);
}

namespace {
void DrawKeyBody(cairo_t* Cr, double X, double Y, double Width, double Height)
{
    // Key top over a darker skirt, light from the top-left.
    RoundedRect(Cr, X, Y + 2, Width, Height - 2, 4);
    SetColor(Cr, palette::Night);
    cairo_fill(Cr);
    RoundedRect(Cr, X, Y, Width, Height - 3, 4);
    SetVerticalGradient(Cr, Y, Y + Height - 3, palette::Snow, palette::Fog);
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, palette::Steel.Darker(0.2));
    cairo_stroke(Cr);
}
} // namespace

double DrawKeyCap(cairo_t* Cr, const std::string& Legend, double X, double Y, double Height)
{
    const double Size = Height * 0.5;
    const double Width = std::max(Height, TextWidth(Cr, Legend, Size) + Height * 0.7);
    DrawKeyBody(Cr, X, Y, Width, Height);
    DrawText(Cr, Legend, X + Width / 2, Y + (Height - 3) / 2 + Size * 0.36, Size, palette::Night,
             TAlign::Center);
    return Width;
}

double DrawArrowKey(cairo_t* Cr, TKeyArrow Arrow, double X, double Y, double Size)
{
    DrawKeyBody(Cr, X, Y, Size, Size);
    const double Angle = Arrow == TKeyArrow::Up     ? -M_PI / 2
                         : Arrow == TKeyArrow::Down ? M_PI / 2
                         : Arrow == TKeyArrow::Left ? M_PI
                                                    : 0;
    DrawArrowHead(Cr, X + Size / 2, Y + (Size - 3) / 2, Size * 0.42, Angle);
    SetColor(Cr, palette::Night);
    cairo_fill(Cr);
    return Size;
}

void DrawPageIcon(cairo_t* Cr, TPageIcon Icon, double X, double Y, double Size)
{
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_scale(Cr, Size / 24, Size / 24);
    DrawIconShape(Cr, Icon);
    cairo_restore(Cr);
}

double DrawWrappedText(cairo_t* Cr, const std::string& Text, double X, double Y, double Width, double Size,
                       double LineHeight, const TColor& Color, bool Bold)
{
    std::istringstream Words(Text);
    std::string Word, Line;
    double Baseline = Y;
    bool First = true;
    while (Words >> Word)
    {
        const std::string Candidate = Line.empty() ? Word : Line + " " + Word;
        if (!Line.empty() && TextWidth(Cr, Candidate, Size, Bold) > Width)
        {
            DrawText(Cr, Line, X, Baseline, Size, Color, TAlign::Left, Bold);
            Baseline += LineHeight;
            Line = Word;
        }
        else
            Line = Candidate;
        First = false;
    }
    if (!First)
        DrawText(Cr, Line, X, Baseline, Size, Color, TAlign::Left, Bold);
    return Baseline;
}

void DrawPageNumber(cairo_t* Cr, int Page, int Pages, double RightX, double Y)
{
    const std::string Text = std::to_string(Page) + " / " + std::to_string(Pages);
    DrawText(Cr, Text, RightX, Y, 12, palette::Fog.WithAlpha(0.8), TAlign::Right);
}

} // namespace vm::assetgen
