// Drawing helpers for the roadside decorations: soft shadows, leafy canopies, rocks, fronds.
//
// Decorations are seen from straight above and the game turns each one by a random angle, so
// these shapes are lit from the centre outwards (domes) rather than from one side.
#pragma once

#include "art/style.h"
#include "engine/random.h"

#include <cairo.h>

namespace vm::assetgen {

// Size of one decoration pattern.
inline constexpr int DecorationSize = 128;

// A soft round shadow on the ground under an object of radius Radius.
void SoftShadow(cairo_t* Cr, double X, double Y, double Radius, double Alpha = 0.38);

// Fills the current path with a dome: Base lighter in the middle at (X, Y), darker at Radius.
void DomeFill(cairo_t* Cr, double X, double Y, double Radius, const TColor& Base, double Light = 0.22);

// A leafy crown of overlapping lobes, outlined, with leaf texture over it.
void DrawCanopy(cairo_t* Cr, double X, double Y, double Radius, int Lobes, const TColor& Base,
                TRandom& Random);

// An irregular rounded stone with a dark outline; Strata draws layered lines across it.
void DrawRock(cairo_t* Cr, double X, double Y, double Radius, const TColor& Base, TRandom& Random,
              bool Strata = false);

// A leaf from (X, Y) at Angle (radians), Length long and Width wide at its widest, pointed.
void LeafPath(cairo_t* Cr, double X, double Y, double Angle, double Length, double Width);

// A small five-petal flower.
void DrawBlossom(cairo_t* Cr, double X, double Y, double Size, const TColor& Petal, const TColor& Heart);

// A random value Low..High.
double Between(TRandom& Random, double Low, double High);

} // namespace vm::assetgen
