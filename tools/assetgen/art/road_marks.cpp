// Paint on the road: the grid marks, the chequered start and finish line, the finish sensor.
#include "art/road_marks.h"

#include "art/canvas.h"
#include "art/road_noise.h"
#include "art/style.h"

#include <cmath>

namespace vm::assetgen {

namespace {

constexpr int GridMarkWidth = 72;
constexpr int GridMarkHeight = 28;
constexpr double Square = 10; // chequer size

// Worn paint: mostly solid, thinner in patches, as paint on asphalt looks.
double PaintCover(double X, double Y, std::uint32_t Seed)
{
    return 0.86 + 0.14 * LatticeNoise(X / 3, Y / 3, 0, 0, Seed) -
           0.1 * SmoothStep(0.6, 0.8, LatticeNoise(X / 9, Y / 7, 0, 0, Seed + 1));
}

// A grid slot's mark: a white bar across the front of the slot with short legs running back
// towards the car, which stands just behind it.
void DrawGridMark(cairo_t* Cr)
{
    const double Thick = 6, Left = 4, Right = GridMarkWidth - 4, Top = 4, Bottom = GridMarkHeight - 3;
    cairo_move_to(Cr, Left, Bottom);
    cairo_line_to(Cr, Left, Top);
    cairo_line_to(Cr, Right, Top);
    cairo_line_to(Cr, Right, Bottom);
    cairo_line_to(Cr, Right - Thick, Bottom);
    cairo_line_to(Cr, Right - Thick, Top + Thick);
    cairo_line_to(Cr, Left + Thick, Top + Thick);
    cairo_line_to(Cr, Left + Thick, Bottom);
    cairo_close_path(Cr);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    SetColor(Cr, Rgb(0x15171c, 0.45));
    cairo_set_line_width(Cr, 2);
    cairo_stroke_preserve(Cr);
    SetColor(Cr, palette::KerbWhite.WithAlpha(0.93));
    cairo_fill(Cr);
    // A short centre tick on the bar for the driver to line up with.
    RoundedRect(Cr, GridMarkWidth / 2.0 - 2, Top + Thick - 1, 4, 6, 1.5);
    cairo_fill(Cr);
}

TColor StartLineAt(double X, double Y)
{
    const int Column = static_cast<int>(std::floor(X / Square));
    const int Row = static_cast<int>(std::floor(Y / Square));
    const bool Light = (Column + Row) % 2 == 0;
    const TColor Base = Light ? palette::KerbWhite : Rgb(0x1e2026);
    TColor Color = Shade(Base, (LatticeNoise(X / 1.5, Y / 1.5, 0, 0, 91) - 0.5) * 0.12);
    Color.A = PaintCover(X, Y, 92);
    return Color;
}

} // namespace

void AddRoadMarks(TArtList& Race)
{
    Race.push_back(DrawSingle("inplace", GridMarkWidth, GridMarkHeight, DrawGridMark));

    TCanvas Line(StartLineWidth, StartLineHeight);
    ShadeCanvas(Line, StartLineAt);
    Race.push_back(TArtImage{"startline", Line.Pixels(), 0, 0});

    // The finish sensor is never shown: every pixel is clear.
    TCanvas Strip(FinishStripWidth, FinishStripHeight);
    Race.push_back(TArtImage{"fline", Strip.Pixels(), 0, 0});
}

} // namespace vm::assetgen
