// Periodic value noise and per-pixel shading for the procedural road, ground and roadside pictures.
#pragma once

#include "art/canvas.h"
#include "art/style.h"

#include <cstdint>
#include <functional>

namespace vm::assetgen {

// A repeatable value in 0..1 for an integer lattice point.
double Hash01(int X, int Y, std::uint32_t Seed);

// Smooth value noise in 0..1 on a unit lattice. The lattice repeats every PeriodX cells across
// and PeriodY cells down (0: it does not repeat), so a picture whose side spans a whole number of
// cells tiles without a seam.
double LatticeNoise(double X, double Y, int PeriodX, int PeriodY, std::uint32_t Seed);

// 0 below Edge0, 1 above Edge1, a smooth ramp between.
double SmoothStep(double Edge0, double Edge1, double X);

// Coverage (0..1) of a band From..To of a coordinate measured in pixels, anti-aliased over one pixel.
double Band(double Value, double From, double To);

// A colour channel by channel between A and B.
TColor MixColor(const TColor& A, const TColor& B, double T);
// The colour made lighter (Amount > 0) or darker (Amount < 0), keeping its alpha.
TColor Shade(const TColor& Color, double Amount);

// Colours every pixel of the canvas from Shader, called with the pixel's centre; the shader
// returns a straight (not premultiplied) colour. Cairo drawing may follow on the same canvas.
void ShadeCanvas(TCanvas& Canvas, const std::function<TColor(double X, double Y)>& Shader);

} // namespace vm::assetgen
