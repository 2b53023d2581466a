// The game's look: one palette, one type face ("Play") and the shared panel and button drawing.
#pragma once

#include <cairo.h>
#include <string>

namespace vm::assetgen {

struct TColor
{
    double R = 0, G = 0, B = 0, A = 1;

    TColor WithAlpha(double Alpha) const { return {R, G, B, Alpha}; }
    // Linear mix towards Other: 0 gives this colour, 1 gives Other.
    TColor Mix(const TColor& Other, double T) const;
    TColor Lighter(double T) const;
    TColor Darker(double T) const;
};

// Colour from 0xRRGGBB.
TColor Rgb(unsigned Hex, double Alpha = 1.0);

// Dusk-and-asphalt palette shared by every picture.
namespace palette {
inline const TColor Night = Rgb(0x10141f);     // deepest background
inline const TColor Navy = Rgb(0x1b2236);      // panels
inline const TColor Slate = Rgb(0x2f3a55);     // raised surfaces
inline const TColor Steel = Rgb(0x59657f);     // rims, inactive
inline const TColor Fog = Rgb(0xaab4c8);       // secondary text
inline const TColor Snow = Rgb(0xf3f5fa);      // main text
inline const TColor Orange = Rgb(0xff8a1f);    // the game's accent
inline const TColor Amber = Rgb(0xffc83d);     // highlights, coins
inline const TColor Cyan = Rgb(0x3ad3ff);      // cool highlight, glass
inline const TColor Red = Rgb(0xe8383d);       // danger, brake
inline const TColor Green = Rgb(0x3fd67e);     // go, health
inline const TColor Grass = Rgb(0x4f8a3c);     // terrain 0
inline const TColor Sand = Rgb(0xd8b878);      // terrain 1
inline const TColor Asphalt = Rgb(0x45484f);   // road
inline const TColor KerbRed = Rgb(0xd23a32);   // kerb stripes
inline const TColor KerbWhite = Rgb(0xf0ede6); // kerb stripes, road lines
} // namespace palette

void SetColor(cairo_t* Cr, const TColor& Color);
void RoundedRect(cairo_t* Cr, double X, double Y, double Width, double Height, double Radius);
// A vertical two-colour gradient from Y0 (Top) to Y1 (Bottom) as the source.
void SetVerticalGradient(cairo_t* Cr, double Y0, double Y1, const TColor& Top, const TColor& Bottom);

enum class TAlign
{
    Left,
    Center,
    Right,
};

// Selects the "Play" face at Size pixels (bold or regular).
void SelectFace(cairo_t* Cr, double Size, bool Bold = true);
double TextWidth(cairo_t* Cr, const std::string& Text, double Size, bool Bold = true);
// Draws Text (UTF-8) with its baseline at Y; X is the left edge, centre or right edge.
void DrawText(cairo_t* Cr, const std::string& Text, double X, double Y, double Size, const TColor& Color,
              TAlign Align = TAlign::Left, bool Bold = true);
// Text with a soft dark shadow under it, for text over busy pictures.
void DrawShadowedText(cairo_t* Cr, const std::string& Text, double X, double Y, double Size,
                      const TColor& Color, TAlign Align = TAlign::Left, bool Bold = true);

// The framed glass panel of pages and in-race overlays: dark translucent body, bright rim,
// orange accent line along the top.
void DrawPanel(cairo_t* Cr, double X, double Y, double Width, double Height);
// A page title centred on CenterX with its baseline at Y, with the accent underline.
void DrawTitle(cairo_t* Cr, const std::string& Text, double CenterX, double Y, double Size = 26);
// A label right-aligned at X with its baseline at Y (page labels left of a value).
void DrawLabel(cairo_t* Cr, const std::string& Text, double RightX, double Y, double Size = 15);
// A recessed slot where the game draws a value (an edit, a number).
void DrawSlot(cairo_t* Cr, double X, double Y, double Width, double Height);

// A warm backlit plate under a value the game writes in dark text, with a dark bezel around it.
void DrawValuePlate(cairo_t* Cr, double X, double Y, double Width, double Height, double Radius = 4);

// The three looks of every button: pattern 0 normal, 1 hover or pressed, 2 inactive.
enum class TButtonLook
{
    Normal = 0,
    Hover = 1,
    Inactive = 2,
};
// A button filling (0, 0)..(Width, Height) with its caption centred.
void DrawButton(cairo_t* Cr, double Width, double Height, const std::string& Caption, TButtonLook Look,
                double TextSize = 0);

} // namespace vm::assetgen
