// Drawing helpers of the menu widgets: button faces, arrows, the pointer, bars and edit boxes.
#pragma once

#include "art/art_image.h"
#include "art/style.h"

#include <cairo.h>
#include <string>

namespace vm::assetgen {

// Which way an arrow points.
enum class TArrowWay
{
    Left,
    Right,
    Up,
    Down,
};

// The colour of captions and signs on a button face of the given look (as DrawButton uses).
TColor ButtonInk(TButtonLook Look);
// A filled, slightly rounded triangle centred on (X, Y), Size across, pointing Way.
void DrawArrowSign(cairo_t* Cr, double X, double Y, double Size, TArrowWay Way, const TColor& Color);

// Three-pattern buttons, stacked as tiles top to bottom: 0 normal, 1 hover, 2 inactive.
// TextSize 0 lets DrawButton pick the caption size from the height.
TArtImage MakeTextButton(const std::string& Key, int Width, int Height, const std::string& Caption,
                         double TextSize = 0);
TArtImage MakeArrowButton(const std::string& Key, int Width, int Height, TArrowWay Way);
// A caption with an arrow before (Left) or after (Right) it.
TArtImage MakeStepButton(const std::string& Key, int Width, int Height, const std::string& Caption,
                         TArrowWay Way);
// "On"/"Off" toggles with a lamp that is lit when On is true.
TArtImage MakeToggleButton(const std::string& Key, int Width, int Height, const std::string& Caption,
                           bool On);
// The race button: a chequered flag beside the caption.
TArtImage MakeRaceButton(const std::string& Key, int Width, int Height, const std::string& Caption);
// The studio badge that links to the web site.
TArtImage MakeBadgeButton(const std::string& Key, int Width, int Height);

// Eight frames of the animated mouse pointer; its tip is the top-left pixel.
TArtImage MakePointer(const std::string& Key, int Width, int Height);
// The profile list's translucent selection bar.
TArtImage MakeSelectionBar(const std::string& Key, int Width, int Height);
// The volume bar: pattern 0 the thumb, pattern 1 the track, both drawn from Width x Height tiles.
TArtImage MakeVolumeBar(const std::string& Key, int Width, int Height, int Cells);
// A recessed text field.
TArtImage MakeEditBox(const std::string& Key, int Width, int Height);
// The car page's quality gauge (stretched horizontally by the game).
TArtImage MakeQualityBar(const std::string& Key, int Width, int Height);

} // namespace vm::assetgen
