// The start lights: the housing with three sockets and the three lit lamps that sit on them.
#include "art/canvas.h"
#include "art/hud_layout.h"
#include "art/hud_parts.h"
#include "art/hud_shapes.h"

#include <cmath>

namespace vm::assetgen::hud {

namespace {

struct TLampPlace
{
    double X, Y;  // the lamp picture's top-left on screen
    TColor Lit;   // the glass when lit
    TColor Unlit; // the same glass dark, as the housing shows it
};

TLampPlace LampPlace(int Lamp)
{
    switch (Lamp)
    {
    case 0: return {RedLampX, RedLampY, Rgb(0xff3b30), Rgb(0x5a1216)};
    case 1: return {YellowLampX, YellowLampY, Rgb(0xffc21f), Rgb(0x5c420c)};
    default: return {GreenLampX, GreenLampY, Rgb(0x36e07a), Rgb(0x0f4a2a)};
    }
}

// Centre of a lamp's glass relative to the housing's top-left: the lamps are drawn by the game at
// fixed corners, so the sockets follow from them.
void SocketCentre(int Lamp, double& X, double& Y)
{
    const TLampPlace Place = LampPlace(Lamp);
    X = Place.X + LampGlowSize / 2.0 - LightsX;
    Y = Place.Y + LampGlowSize / 2.0 - LightsY;
}

// A glass disc of radius R at (X, Y): a radial gradient from a hot centre to the rim colour, and a
// highlight at the top-left.
void DrawGlass(cairo_t* Cr, double X, double Y, double R, const TColor& Color, double Heat)
{
    cairo_pattern_t* Glass = cairo_pattern_create_radial(X - R * 0.25, Y - R * 0.25, R * 0.1, X, Y, R);
    const TColor Hot = Color.Lighter(Heat), Rim = Color.Darker(0.3);
    cairo_pattern_add_color_stop_rgb(Glass, 0, Hot.R, Hot.G, Hot.B);
    cairo_pattern_add_color_stop_rgb(Glass, 0.55, Color.R, Color.G, Color.B);
    cairo_pattern_add_color_stop_rgb(Glass, 1, Rim.R, Rim.G, Rim.B);
    cairo_arc(Cr, X, Y, R, 0, 2 * M_PI);
    cairo_set_source(Cr, Glass);
    cairo_fill(Cr);
    cairo_pattern_destroy(Glass);
    // Lens rings.
    for (double Ring = R * 0.45; Ring < R; Ring += R * 0.25)
    {
        cairo_arc(Cr, X, Y, Ring, 0, 2 * M_PI);
        cairo_set_line_width(Cr, 0.8);
        SetColor(Cr, Rgb(0x000000, 0.10));
        cairo_stroke(Cr);
    }
    cairo_save(Cr);
    cairo_translate(Cr, X - R * 0.35, Y - R * 0.42);
    cairo_scale(Cr, 1.0, 0.6);
    cairo_arc(Cr, 0, 0, R * 0.38, 0, 2 * M_PI);
    cairo_restore(Cr);
    SetColor(Cr, Rgb(0xffffff, Heat > 0.3 ? 0.55 : 0.18));
    cairo_fill(Cr);
}

} // namespace

TArtImage MakeStartLightHousing()
{
    return DrawSingle("svetophor", LightsWidth, LightsHeight, [](cairo_t* Cr) {
        const double W = LightsWidth, H = LightsHeight;
        // Body: a dark rounded box lit from the top-left, with the orange pin line.
        RoundedRect(Cr, 1, 1, W - 2, H - 2, 12);
        SetVerticalGradient(Cr, 0, H, palette::Slate, palette::Night);
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 2);
        SetColor(Cr, palette::Steel.Lighter(0.2));
        cairo_stroke(Cr);
        cairo_rectangle(Cr, 18, 2, W - 36, 2.5);
        SetColor(Cr, palette::Orange);
        cairo_fill(Cr);
        // Bolts in the corners.
        const double Bolts[4][2] = {{7, 7}, {W - 7, 7}, {7, H - 7}, {W - 7, H - 7}};
        for (const auto& Bolt : Bolts)
        {
            cairo_arc(Cr, Bolt[0], Bolt[1], 2, 0, 2 * M_PI);
            SetColor(Cr, palette::Steel);
            cairo_fill(Cr);
        }
        for (int Lamp = 0; Lamp < 3; ++Lamp)
        {
            double X, Y;
            SocketCentre(Lamp, X, Y);
            const double Socket = LampGlass + 3;
            // Recessed ring, dark glass, and a hood shading its top.
            cairo_arc(Cr, X, Y, Socket, 0, 2 * M_PI);
            cairo_pattern_t* Ring =
                cairo_pattern_create_linear(X - Socket, Y - Socket, X + Socket, Y + Socket);
            cairo_pattern_add_color_stop_rgb(Ring, 0, 0.02, 0.03, 0.05);
            cairo_pattern_add_color_stop_rgb(Ring, 1, palette::Steel.R, palette::Steel.G, palette::Steel.B);
            cairo_set_source(Cr, Ring);
            cairo_fill(Cr);
            cairo_pattern_destroy(Ring);
            DrawGlass(Cr, X, Y, LampGlass, LampPlace(Lamp).Unlit, 0.12);
            cairo_arc(Cr, X, Y, LampGlass, M_PI * 1.08, M_PI * 1.92);
            cairo_arc_negative(Cr, X, Y - 3, LampGlass - 1, M_PI * 1.9, M_PI * 1.1);
            cairo_close_path(Cr);
            SetColor(Cr, Rgb(0x000000, 0.45));
            cairo_fill(Cr);
        }
    });
}

TArtImage MakeStartLamp(int Lamp)
{
    static const char* const Keys[] = {"redlight", "yellowlight", "greenlight"};
    const TLampPlace Place = LampPlace(Lamp);
    return DrawSingle(Keys[Lamp], LampGlowSize, LampGlowSize, [Place](cairo_t* Cr) {
        const double C = LampGlowSize / 2.0;
        DrawGlow(Cr, C, C, LampGlass - 2, C, Place.Lit.WithAlpha(0.7));
        DrawGlass(Cr, C, C, LampGlass, Place.Lit, 0.7);
    });
}

} // namespace vm::assetgen::hud
