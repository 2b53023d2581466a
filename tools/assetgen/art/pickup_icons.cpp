// The ten pickup drawings, each centred on the origin in a 40-unit square, lit from the top-left.
#include "art/pickup_icons.h"

#include <cmath>
#include <string>

namespace vm::assetgen {

namespace {

const TColor Outline = Rgb(0x11131a);
const TColor Gold = palette::Amber;
const TColor GoldDeep = Rgb(0xc07a10);
const TColor GoldEdge = Rgb(0x6e3f05);

void Circle(cairo_t* Cr, double X, double Y, double R)
{
    cairo_new_sub_path(Cr);
    cairo_arc(Cr, X, Y, R, 0, 2 * M_PI);
}

// A radial light from Hot at the upper-left of a disc of radius R to Cool at its edge.
void SetBallGradient(cairo_t* Cr, double X, double Y, double R, const TColor& Hot, const TColor& Cool)
{
    cairo_pattern_t* P = cairo_pattern_create_radial(X - R * 0.4, Y - R * 0.45, R * 0.05, X, Y, R * 1.05);
    cairo_pattern_add_color_stop_rgba(P, 0, Hot.R, Hot.G, Hot.B, Hot.A);
    cairo_pattern_add_color_stop_rgba(P, 1, Cool.R, Cool.G, Cool.B, Cool.A);
    cairo_set_source(Cr, P);
    cairo_pattern_destroy(P);
}

void StrokeWith(cairo_t* Cr, const TColor& Color, double Width)
{
    SetColor(Cr, Color);
    cairo_set_line_width(Cr, Width);
    cairo_stroke(Cr);
}

// Text centred on X with its caps centred on Y, with a thin dark edge so it reads on anything.
void CentredLabel(cairo_t* Cr, const std::string& Text, double X, double Y, double Size, const TColor& Fill,
                  const TColor& Edge, double EdgeWidth)
{
    SelectFace(Cr, Size);
    cairo_text_extents_t Ext;
    cairo_text_extents(Cr, Text.c_str(), &Ext);
    cairo_move_to(Cr, X - Ext.x_bearing - Ext.width / 2, Y - Ext.y_bearing - Ext.height / 2);
    cairo_text_path(Cr, Text.c_str());
    if (EdgeWidth > 0)
    {
        SetColor(Cr, Edge);
        cairo_set_line_width(Cr, EdgeWidth);
        cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(Cr);
    }
    SetColor(Cr, Fill);
    cairo_fill(Cr);
}

// A four-pointed glint.
void Sparkle(cairo_t* Cr, double X, double Y, double R, double Alpha)
{
    cairo_move_to(Cr, X, Y - R);
    cairo_curve_to(Cr, X + R * 0.12, Y - R * 0.12, X + R * 0.12, Y - R * 0.12, X + R, Y);
    cairo_curve_to(Cr, X + R * 0.12, Y + R * 0.12, X + R * 0.12, Y + R * 0.12, X, Y + R);
    cairo_curve_to(Cr, X - R * 0.12, Y + R * 0.12, X - R * 0.12, Y + R * 0.12, X - R, Y);
    cairo_curve_to(Cr, X - R * 0.12, Y - R * 0.12, X - R * 0.12, Y - R * 0.12, X, Y - R);
    cairo_close_path(Cr);
    SetColor(Cr, Rgb(0xffffff, Alpha));
    cairo_fill(Cr);
}

// Coins of 10, 20 and 30: each tier larger, with a beaded rim from 20 and glints at 30.
void DrawCoin(cairo_t* Cr, int Tier)
{
    const double R = 12.5 + Tier * 1.6;
    Circle(Cr, 0, 0, R);
    SetBallGradient(Cr, 0, 0, R, Gold.Lighter(0.45), GoldDeep);
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, GoldEdge, 1.2);
    // The raised rim and the sunken face.
    const double Face = R * 0.74;
    Circle(Cr, 0, 0, Face);
    SetBallGradient(Cr, 0.8, 0.8, Face, GoldDeep.Lighter(0.1), Gold.Lighter(0.25));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, GoldEdge.WithAlpha(0.7), 0.7);
    if (Tier >= 1)
    {
        const int Beads = Tier == 1 ? 14 : 18;
        for (int K = 0; K < Beads; ++K)
        {
            const double A = 2 * M_PI * K / Beads;
            Circle(Cr, std::cos(A) * R * 0.87, std::sin(A) * R * 0.87, R * 0.055);
        }
        SetColor(Cr, Gold.Lighter(0.55));
        cairo_fill(Cr);
    }
    const std::string Value = std::to_string((Tier + 1) * 10);
    const double Size = Face * 1.08;
    CentredLabel(Cr, Value, 0.7, 0.9, Size, GoldEdge.WithAlpha(0.55), {}, 0);
    CentredLabel(Cr, Value, 0, 0, Size, Rgb(0x7a4306), {}, 0);
    // A sheen across the upper left.
    cairo_save(Cr);
    Circle(Cr, 0, 0, R);
    cairo_clip(Cr);
    cairo_arc(Cr, 0, 0, R * 0.93, M_PI * 1.05, M_PI * 1.45);
    StrokeWith(Cr, Rgb(0xffffff, 0.75), 1.3);
    cairo_restore(Cr);
    if (Tier == 2)
    {
        Sparkle(Cr, R * 0.62, -R * 0.72, 5.2, 0.95);
        Sparkle(Cr, -R * 0.78, R * 0.62, 3.2, 0.8);
    }
    else if (Tier == 1)
        Sparkle(Cr, R * 0.6, -R * 0.7, 3.8, 0.9);
}

// A black puddle of oil with a rainbow sheen and wet highlights.
void DrawOil(cairo_t* Cr)
{
    auto Puddle = [Cr]() {
        cairo_move_to(Cr, -15, 1);
        cairo_curve_to(Cr, -17, -7, -9, -11, -3, -9);
        cairo_curve_to(Cr, 2, -14, 11, -13, 13, -7);
        cairo_curve_to(Cr, 18, -5, 18, 4, 13, 7);
        cairo_curve_to(Cr, 11, 13, 2, 13, -2, 10);
        cairo_curve_to(Cr, -8, 14, -16, 9, -15, 1);
        cairo_close_path(Cr);
    };
    Puddle();
    SetColor(Cr, Rgb(0x0b0a10));
    cairo_fill(Cr);
    cairo_save(Cr);
    Puddle();
    cairo_clip(Cr);
    // Oil-film colours: soft blobs of violet, teal and amber.
    const struct
    {
        double X, Y, R;
        TColor C;
    } Sheen[] = {{-6, -3, 9, Rgb(0x8a4fff, 0.55)},
                 {4, -6, 8, Rgb(0x2fd3c0, 0.45)},
                 {7, 4, 7, Rgb(0xffb03a, 0.35)},
                 {-4, 6, 6, Rgb(0x3a7dff, 0.4)}};
    for (const auto& S : Sheen)
    {
        cairo_pattern_t* P = cairo_pattern_create_radial(S.X, S.Y, 0, S.X, S.Y, S.R);
        cairo_pattern_add_color_stop_rgba(P, 0, S.C.R, S.C.G, S.C.B, S.C.A);
        cairo_pattern_add_color_stop_rgba(P, 1, S.C.R, S.C.G, S.C.B, 0);
        cairo_set_source(Cr, P);
        cairo_paint(Cr);
        cairo_pattern_destroy(P);
    }
    cairo_restore(Cr);
    Puddle();
    StrokeWith(Cr, Rgb(0x000000, 0.9), 1.0);
    // Wet highlights.
    cairo_arc(Cr, -4, -1, 8, M_PI * 1.1, M_PI * 1.5);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    StrokeWith(Cr, Rgb(0xffffff, 0.7), 1.4);
    Circle(Cr, 8, -8, 1.2);
    Circle(Cr, 10, 3, 0.9);
    SetColor(Cr, Rgb(0xffffff, 0.75));
    cairo_fill(Cr);
    // Splashes beside the puddle.
    Circle(Cr, 15.5, 10, 2.0);
    Circle(Cr, -14, -10, 1.6);
    SetColor(Cr, Rgb(0x0b0a10));
    cairo_fill(Cr);
}

// A round black bomb with a metal cap, a fuse and a burning spark.
void DrawBomb(cairo_t* Cr)
{
    const double X = -1.5, Y = 2.5, R = 12;
    cairo_move_to(Cr, 5, -5);
    cairo_curve_to(Cr, 8, -9.5, 10, -10.5, 11.5, -12.5);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    StrokeWith(Cr, Rgb(0x8a6a40), 2.0);
    Circle(Cr, X, Y, R);
    SetBallGradient(Cr, X, Y, R, Rgb(0x5a6274), Rgb(0x0d0f15));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, Outline, 1.0);
    cairo_save(Cr);
    cairo_translate(Cr, 5.6, -4.6);
    cairo_rotate(Cr, M_PI / 4);
    RoundedRect(Cr, -3.6, -2.6, 7.2, 5.2, 1.2);
    SetVerticalGradient(Cr, -2.6, 2.6, Rgb(0xc9ced8), Rgb(0x5b6070));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, Outline, 0.8);
    cairo_restore(Cr);
    // Highlight.
    cairo_save(Cr);
    cairo_translate(Cr, X - 4.8, Y - 4.8);
    cairo_rotate(Cr, -M_PI / 4);
    cairo_scale(Cr, 3.6, 2.0);
    Circle(Cr, 0, 0, 1);
    cairo_restore(Cr);
    SetColor(Cr, Rgb(0xffffff, 0.55));
    cairo_fill(Cr);
    // Spark.
    const double SparkX = 12, SparkY = -13;
    cairo_pattern_t* Glow = cairo_pattern_create_radial(SparkX, SparkY, 0, SparkX, SparkY, 4.8);
    cairo_pattern_add_color_stop_rgba(Glow, 0, 1, 0.95, 0.6, 1);
    cairo_pattern_add_color_stop_rgba(Glow, 0.45, 1, 0.55, 0.1, 0.85);
    cairo_pattern_add_color_stop_rgba(Glow, 1, 1, 0.35, 0.0, 0);
    cairo_set_source(Cr, Glow);
    Circle(Cr, SparkX, SparkY, 4.8);
    cairo_fill(Cr);
    cairo_pattern_destroy(Glow);
    Sparkle(Cr, SparkX, SparkY, 3.8, 1.0);
}

// A red tool box with a chrome wrench laid across it.
void DrawRepair(cairo_t* Cr)
{
    // Handle, box, lid line and latch.
    RoundedRect(Cr, -6, -12, 12, 6, 2.5);
    StrokeWith(Cr, Rgb(0x2a2f3a), 2.2);
    RoundedRect(Cr, -14, -7, 28, 18, 2.5);
    SetVerticalGradient(Cr, -7, 11, palette::Red.Lighter(0.25), palette::Red.Darker(0.3));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, Outline, 1.0);
    cairo_rectangle(Cr, -14, -1.5, 28, 1.6);
    SetColor(Cr, palette::Red.Darker(0.55));
    cairo_fill(Cr);
    RoundedRect(Cr, -2.5, -2.6, 5, 3.6, 0.8);
    SetColor(Cr, Rgb(0xd8dce4));
    cairo_fill(Cr);
    cairo_rectangle(Cr, -13, -6, 26, 1.3);
    SetColor(Cr, Rgb(0xffffff, 0.3));
    cairo_fill(Cr);
    // The wrench: a shaft with an open jaw at the upper right and a ring at the lower left.
    cairo_save(Cr);
    cairo_translate(Cr, 1, 4);
    cairo_rotate(Cr, -M_PI / 4);
    auto Wrench = [Cr]() {
        RoundedRect(Cr, -11, -2, 22, 4, 2);
        Circle(Cr, -12.5, 0, 4.2);
        Circle(Cr, 12.5, 0, 4.6);
    };
    Wrench();
    cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
    SetColor(Cr, Outline);
    cairo_set_line_width(Cr, 2.0);
    cairo_stroke(Cr);
    Wrench();
    SetVerticalGradient(Cr, -4, 4, Rgb(0xf4f6fa), Rgb(0x7d8494));
    cairo_fill(Cr);
    // Jaw opening and ring hole.
    cairo_rectangle(Cr, 13, -1.9, 5, 3.8);
    Circle(Cr, -12.5, 0, 1.8);
    SetColor(Cr, Rgb(0x2a2f3a));
    cairo_fill(Cr);
    cairo_restore(Cr);
}

// A glossy red heart with "+1".
void DrawLife(cairo_t* Cr)
{
    auto Heart = [Cr]() {
        cairo_move_to(Cr, 0, 14);
        cairo_curve_to(Cr, -6, 9, -16, 3, -15.5, -5);
        cairo_curve_to(Cr, -15, -13, -4, -15, 0, -7.5);
        cairo_curve_to(Cr, 4, -15, 15, -13, 15.5, -5);
        cairo_curve_to(Cr, 16, 3, 6, 9, 0, 14);
        cairo_close_path(Cr);
    };
    Heart();
    SetBallGradient(Cr, 0, 0, 16, Rgb(0xff7a86), Rgb(0xa8101e));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, Rgb(0x4a0610), 1.2);
    cairo_save(Cr);
    cairo_translate(Cr, -8.5, -7.5);
    cairo_rotate(Cr, -0.6);
    cairo_scale(Cr, 4.0, 2.2);
    Circle(Cr, 0, 0, 1);
    cairo_restore(Cr);
    SetColor(Cr, Rgb(0xffffff, 0.6));
    cairo_fill(Cr);
    CentredLabel(Cr, "+1", 0.5, 0.5, 13, palette::Snow, Rgb(0x4a0610), 2.2);
}

// A stopwatch with "+5" on its face.
void DrawTime(cairo_t* Cr)
{
    const double Y = 2, R = 13.5;
    // Crown and side button.
    RoundedRect(Cr, -3, Y - R - 5, 6, 4.5, 1);
    SetVerticalGradient(Cr, Y - R - 5, Y - R, Rgb(0xd8dce4), Rgb(0x6d7384));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, Outline, 0.8);
    cairo_save(Cr);
    cairo_translate(Cr, 0, Y);
    cairo_rotate(Cr, M_PI / 4);
    RoundedRect(Cr, -2.2, -R - 3.2, 4.4, 4, 1);
    cairo_restore(Cr);
    SetColor(Cr, Rgb(0x9aa2b4));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, Outline, 0.8);
    // Case and face.
    Circle(Cr, 0, Y, R);
    SetBallGradient(Cr, 0, Y, R, Rgb(0x5bdcff), Rgb(0x15607a));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, Outline, 1.1);
    Circle(Cr, 0, Y, R - 2.6);
    SetBallGradient(Cr, 0, Y, R - 2.6, Rgb(0xffffff), Rgb(0xc8d2e2));
    cairo_fill(Cr);
    cairo_set_line_width(Cr, 0.9);
    SetColor(Cr, Rgb(0x59657f));
    for (int K = 0; K < 12; ++K)
    {
        const double A = 2 * M_PI * K / 12;
        const double In = K % 3 == 0 ? R - 5.6 : R - 4.6;
        cairo_move_to(Cr, std::cos(A) * In, Y + std::sin(A) * In);
        cairo_line_to(Cr, std::cos(A) * (R - 3.4), Y + std::sin(A) * (R - 3.4));
    }
    cairo_stroke(Cr);
    CentredLabel(Cr, "+5", 0.3, Y + 0.6, 11.5, palette::Green.Darker(0.35), {}, 0);
    // A hand sweeping from noon to one.
    cairo_move_to(Cr, 0, Y - R + 3.6);
    cairo_line_to(Cr, 3.2, Y - R + 5.8);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    StrokeWith(Cr, palette::Red, 1.2);
}

// A spike strip: a dark bar bristling with steel spikes, with hazard-striped ends.
void DrawSpikes(cairo_t* Cr)
{
    cairo_save(Cr);
    cairo_rotate(Cr, -0.22);
    const int Count = 5;
    const double Left = -14, Step = 28.0 / Count;
    auto Teeth = [Cr, Left, Step](double Base, double Tip) {
        for (int K = 0; K < Count; ++K)
        {
            const double X = Left + Step * (K + 0.5);
            cairo_move_to(Cr, X - Step * 0.42, Base);
            cairo_line_to(Cr, X, Tip);
            cairo_line_to(Cr, X + Step * 0.42, Base);
            cairo_close_path(Cr);
        }
    };
    for (int Pass = 0; Pass < 2; ++Pass)
    {
        Teeth(-3, -12);
        Teeth(3, 12);
        if (Pass == 0)
            StrokeWith(Cr, Outline, 1.6);
        else
        {
            cairo_pattern_t* Steel = cairo_pattern_create_linear(-16, -10, 16, 10);
            cairo_pattern_add_color_stop_rgb(Steel, 0, 0.95, 0.96, 0.98);
            cairo_pattern_add_color_stop_rgb(Steel, 1, 0.45, 0.48, 0.55);
            cairo_set_source(Cr, Steel);
            cairo_fill(Cr);
            cairo_pattern_destroy(Steel);
        }
    }
    RoundedRect(Cr, -17, -4, 34, 8, 2);
    SetVerticalGradient(Cr, -4, 4, Rgb(0x4a5060), Rgb(0x181b22));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, Outline, 1.0);
    // Hazard stripes on the two end caps.
    for (int Side = -1; Side <= 1; Side += 2)
    {
        cairo_save(Cr);
        RoundedRect(Cr, Side < 0 ? -17 : 11, -4, 6, 8, 2);
        cairo_clip_preserve(Cr);
        SetColor(Cr, palette::Amber);
        cairo_fill(Cr);
        SetColor(Cr, Outline);
        for (double X = -20; X < 20; X += 3.2)
        {
            cairo_move_to(Cr, X, 4);
            cairo_line_to(Cr, X + 1.6, 4);
            cairo_line_to(Cr, X + 1.6 + 8, -4);
            cairo_line_to(Cr, X + 8, -4);
            cairo_close_path(Cr);
        }
        cairo_fill(Cr);
        cairo_restore(Cr);
    }
    cairo_restore(Cr);
}

// A nitro bottle with a flame arrow pointing ahead (up the road).
void DrawNitro(cairo_t* Cr)
{
    // Flame trail from the nozzle, drawn under the bottle.
    cairo_move_to(Cr, -5, 13);
    cairo_curve_to(Cr, -6, 16, -3, 19, 0, 19.5);
    cairo_curve_to(Cr, 3, 19, 6, 16, 5, 13);
    cairo_close_path(Cr);
    SetColor(Cr, palette::Orange);
    cairo_fill(Cr);
    cairo_move_to(Cr, -2.6, 13);
    cairo_curve_to(Cr, -3, 15, -1.5, 17, 0, 17.5);
    cairo_curve_to(Cr, 1.5, 17, 3, 15, 2.6, 13);
    cairo_close_path(Cr);
    SetColor(Cr, Rgb(0xfff2a0));
    cairo_fill(Cr);
    // Bottle body with valve.
    RoundedRect(Cr, -3, -17.5, 6, 5, 1);
    SetVerticalGradient(Cr, -17.5, -12.5, Rgb(0xe0e4ec), Rgb(0x6d7384));
    cairo_fill_preserve(Cr);
    StrokeWith(Cr, Outline, 0.8);
    auto Body = [Cr]() { RoundedRect(Cr, -8, -13.5, 16, 28, 6); };
    Body();
    cairo_pattern_t* Metal = cairo_pattern_create_linear(-8, 0, 8, 0);
    cairo_pattern_add_color_stop_rgb(Metal, 0, 0.35, 0.75, 1.0);
    cairo_pattern_add_color_stop_rgb(Metal, 0.3, 0.62, 0.88, 1.0);
    cairo_pattern_add_color_stop_rgb(Metal, 1, 0.07, 0.28, 0.6);
    cairo_set_source(Cr, Metal);
    cairo_fill(Cr);
    cairo_pattern_destroy(Metal);
    // The flame arrow on the label.
    cairo_save(Cr);
    Body();
    cairo_clip(Cr);
    cairo_rectangle(Cr, -8, -6, 16, 14);
    SetColor(Cr, palette::Night.WithAlpha(0.85));
    cairo_fill(Cr);
    cairo_restore(Cr);
    cairo_move_to(Cr, 0, -5);
    cairo_line_to(Cr, 6, 1.5);
    cairo_line_to(Cr, 2.5, 1.5);
    cairo_curve_to(Cr, 3.5, 4, 2, 6.5, 0, 7.5);
    cairo_curve_to(Cr, -2, 6.5, -3.5, 4, -2.5, 1.5);
    cairo_line_to(Cr, -6, 1.5);
    cairo_close_path(Cr);
    cairo_pattern_t* Fire = cairo_pattern_create_linear(0, -5, 0, 7.5);
    cairo_pattern_add_color_stop_rgb(Fire, 0, 1, 0.95, 0.55);
    cairo_pattern_add_color_stop_rgb(Fire, 0.5, 1, 0.6, 0.12);
    cairo_pattern_add_color_stop_rgb(Fire, 1, 0.9, 0.2, 0.1);
    cairo_set_source(Cr, Fire);
    cairo_fill(Cr);
    cairo_pattern_destroy(Fire);
    Body();
    StrokeWith(Cr, Outline, 1.1);
    cairo_rectangle(Cr, -5.5, -11.5, 1.6, 22);
    SetColor(Cr, Rgb(0xffffff, 0.35));
    cairo_fill(Cr);
}

} // namespace

TColor PickupGlowColor(int Kind)
{
    switch (Kind)
    {
    case bkCoin10:
    case bkCoin20:
    case bkCoin30: return palette::Amber;
    case bkOil:
    case bkBomb:
    case bkSpikes: return palette::Red;
    case bkSpeedUp: return palette::Cyan;
    default: return palette::Green;
    }
}

void DrawPickupObject(cairo_t* Cr, int Kind)
{
    cairo_save(Cr);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    switch (Kind)
    {
    case bkCoin10:
    case bkCoin20:
    case bkCoin30: DrawCoin(Cr, Kind - bkCoin10); break;
    case bkOil: DrawOil(Cr); break;
    case bkBomb: DrawBomb(Cr); break;
    case bkRepair: DrawRepair(Cr); break;
    case bkLife: DrawLife(Cr); break;
    case bkTime: DrawTime(Cr); break;
    case bkSpikes: DrawSpikes(Cr); break;
    case bkSpeedUp: DrawNitro(Cr); break;
    default: break;
    }
    cairo_restore(Cr);
}

} // namespace vm::assetgen
