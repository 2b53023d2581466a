// Small emblems of the in-race pages: flag, trophy, stopwatch, warning sign, upload badge, and the
// wheel that turns while a score is sent.
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
// A racing wheel seen from the side (tread, rim, five spokes, an orange valve mark), drawn to be
// turned about its centre: the mark and the tread notches make the turning visible.
void DrawSendWheel(cairo_t* Cr, double X, double Y, double Size);

} // namespace vm::assetgen::overlay
