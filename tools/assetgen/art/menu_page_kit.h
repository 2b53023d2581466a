// Drawing pieces shared by the menu page pictures: page frames, key caps, small icons, text rows.
#pragma once

#include "art/art_image.h"
#include "art/style.h"

#include <cairo.h>
#include <functional>
#include <string>

namespace vm::assetgen {

// A page picture: a panel filling Width x Height that the game places with its top-left at
// (ScreenX, ScreenY). Draw receives a context in screen coordinates, so every piece of the page
// can be placed where the game puts its texts and buttons.
TArtImage DrawPage(const std::string& Key, int ScreenX, int ScreenY, int Width, int Height,
                   const std::function<void(cairo_t* Cr)>& Draw);

// A faint band behind a row of a table or form, alternating shades with Odd.
void DrawRowBand(cairo_t* Cr, double X, double Y, double Width, double Height, bool Odd);
// A thin divider line in the panel's rim colour.
void DrawDivider(cairo_t* Cr, double X0, double X1, double Y);

// A keyboard key with its legend, top-left at (X, Y). Returns the key's width.
double DrawKeyCap(cairo_t* Cr, const std::string& Legend, double X, double Y, double Height = 22);
enum class TKeyArrow
{
    Up,
    Down,
    Left,
    Right,
};
// A square key with an arrow on it. Returns its width.
double DrawArrowKey(cairo_t* Cr, TKeyArrow Arrow, double X, double Y, double Size = 22);

// Small flat icons for page rows, centred on (X, Y), Size pixels across.
enum class TPageIcon
{
    Clock,
    Flag,
    Road,
    Rivals,
    Heart,
    Wrench,
    Lights,
    TurnBack,
    Trophy,
    Lock,
    Podium,
    Player,
    Speaker,
    Monitor,
    Note,
};
void DrawPageIcon(cairo_t* Cr, TPageIcon Icon, double X, double Y, double Size);

// Text broken into lines no wider than Width, first baseline at Y, LineHeight apart.
// Returns the baseline of the last line.
double DrawWrappedText(cairo_t* Cr, const std::string& Text, double X, double Y, double Width, double Size,
                       double LineHeight, const TColor& Color, bool Bold = false);

// "n / 4" in the panel's top-right corner, for pages of a series.
void DrawPageNumber(cairo_t* Cr, int Page, int Pages, double RightX, double Y);

} // namespace vm::assetgen
