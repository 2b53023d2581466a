// Cairo drawing surfaces for the asset tool, and their conversion to image-list pixels.
#pragma once

#include "art/art_image.h"

#include <cairo.h>
#include <functional>
#include <string>

namespace vm::assetgen {

// An ARGB32 Cairo surface with its context, cleared to transparent. Owns both.
class TCanvas
{
public:
    TCanvas(int Width, int Height);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    cairo_t* Cr() const { return FCr; }
    cairo_surface_t* Surface() const { return FSurface; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The surface's pixels, un-premultiplied (Cairo keeps colour multiplied by alpha).
    TPixels Pixels() const;

private:
    int FWidth;
    int FHeight;
    cairo_surface_t* FSurface;
    cairo_t* FCr;
};

// Converts a Cairo ARGB32 surface to straight-alpha pixels.
TPixels SurfaceToPixels(cairo_surface_t* Surface);
// Paints straight-alpha pixels onto Cr with their top-left at (X, Y).
void PaintPixels(cairo_t* Cr, const TPixels& Pixels, double X, double Y, double Alpha = 1.0);

// Called with the origin moved to the tile's top-left and drawing clipped to the tile.
using TTileDrawer = std::function<void(cairo_t* Cr, int Index)>;

// Draws Count tiles of TileWidth x TileHeight, Columns to a row, into one picture.
TArtImage DrawTiles(const std::string& Key, int TileWidth, int TileHeight, int Count, int Columns,
                    const TTileDrawer& Draw);
// A one-tile picture.
TArtImage DrawSingle(const std::string& Key, int Width, int Height,
                     const std::function<void(cairo_t* Cr)>& Draw);

} // namespace vm::assetgen
