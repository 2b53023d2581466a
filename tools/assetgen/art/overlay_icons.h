// Small emblems of the in-race pages: flag, trophy, stopwatch, warning sign, upload badge.
#pragma once

#include <cairo.h>

namespace vm::assetgen::overlay {

// Each emblem is drawn centred on (X, Y) and fits in a square of Size pixels.
void DrawFinishFlag(cairo_t* Cr, double X, double Y, double Size);
void DrawTrophy(cairo_t* Cr, double X, double Y, double Size);
void DrawStopwatch(cairo_t* Cr, double X, double Y, double Size);
void DrawWarningSign(cairo_t* Cr, double X, double Y, double Size);
void DrawUploadBadge(cairo_t* Cr, double X, double Y, double Size);
void DrawExitSign(cairo_t* Cr, double X, double Y, double Size);

} // namespace vm::assetgen::overlay
