// The seven road pieces: their centre line, drawn width and the asphalt, kerb and line painting.
//
// Each piece is painted pixel by pixel from two road coordinates: the signed distance across the
// road from its centre line (measured square to the road) and the distance along it. The
// distance along is tied to the picture's height (one piece = 300 units), and everything that
// repeats along the road (kerb stripes, centre dashes, texture) repeats a whole number of times
// per 300, so any piece meets any other in phase. Everything across the road depends only on the
// distance from the centre, so pieces also meet across the seam wherever their centre lines and
// slopes agree, which they do at every join a course can make.
//
// The transition pieces are real curves. Their centre line leaves the lower edge at the lower
// neighbour's slope and meets the upper edge at the upper neighbour's slope, through the entry
// and exit offsets, and it has no curvature at either edge, like the straights and diagonals it
// meets. The drawn horizontal half-width follows the slope (150 where the road runs straight
// up, 184 on the 35 degree diagonal), so the road keeps one width across; with no curvature at
// the joins, the edges too meet their neighbours' edges without a kink. The race's own road
// outline for these pieces is the straight-sided quadrilateral between the entry and exit
// (half-width 170): 20 px wider than the drawn road at the straight end; in the bend its outer
// side lies up to 25 px inside the drawn edge (on the kerb) and its inner side up to 50 px out
// on the verge.
#include "art/road_pieces.h"

#include "art/canvas.h"
#include "art/road_noise.h"
#include "art/style.h"

#include <cmath>

namespace vm::assetgen {

namespace {

constexpr double PieceLength = RoadPieceHeight;
constexpr double DiagonalSlope = 210.0 / PieceLength; // the 35 degree diagonals
constexpr double StraightHalfWidth = 150;
constexpr double DiagonalHalfWidth = 184;

// Painting measures, in pixels square to the road, inwards from the road's edge.
constexpr double KerbWidth = 14;
constexpr double EdgeLineFrom = 17;
constexpr double EdgeLineTo = 22;
constexpr double CentreLineHalf = 3;
// Along the road: these periods divide the piece length.
constexpr double KerbPeriod = 50;
constexpr double DashPeriod = 75;
constexpr double DashLength = 40;

struct TPieceKind
{
    const char* Key;
    TRoadPieceShape Shape;
};

const TPieceKind PieceKinds[7] = {
    {"r_str", {150, 150, 0, 0}},
    {"r_left", {394, 184, -DiagonalSlope, -DiagonalSlope}},
    {"r_right", {184, 394, DiagonalSlope, DiagonalSlope}},
    {"r_str_right", {150, 221, 0, DiagonalSlope}},
    {"r_str_left", {254, 184, 0, -DiagonalSlope}},
    {"r_right_str", {184, 254, DiagonalSlope, 0}},
    {"r_left_str", {221, 150, -DiagonalSlope, 0}},
};

double PositiveMod(double Value, double Period) { return Value - Period * std::floor(Value / Period); }

// Coverage of the first Length pixels of every Period along Pos, anti-aliased over a pixel.
double Repeating(double Pos, double Period, double Length)
{
    const double P = PositiveMod(Pos, Period);
    return Band(P, 0, Length) + Band(P - Period, 0, Length);
}

TColor PaintRoad(const TRoadPieceShape& Shape, double X, double Y)
{
    const double Up = PieceLength - Y;
    const double Centre = Shape.Centre(Up);
    const double Slope = Shape.Slope(Up);
    const double Stretch = std::sqrt(1 + Slope * Slope);
    // The point of the centre line whose square cross-section passes through this pixel.
    const double Sideways = (X - Centre) / (1 + Slope * Slope);
    const double Along = Up + Sideways * Slope;
    const double Across = (X - Centre) / Stretch;
    const double HalfWidth = RoadHalfWidth(Slope) / Stretch;
    const double Inside = HalfWidth - std::fabs(Across); // distance in from the nearer edge
    if (Inside < -0.5)
        return {0, 0, 0, 0};

    // Asphalt: broad patches, finer mottling, grain and light aggregate, all repeating along
    // the road every 300 units, with darker lanes where the tyres run.
    const double Patches = LatticeNoise(Across / 45, Along / 50, 0, 6, 11) - 0.5;
    const double Mottle = LatticeNoise(Across / 9, Along / 10, 0, 30, 12) - 0.5;
    const double Grain = LatticeNoise(Across / 1.6, Along / 1.5, 0, 200, 13) - 0.5;
    const double Stones = LatticeNoise(Across / 2.2, Along / 2.0, 0, 150, 14);
    const double Lanes = std::exp(-std::pow((std::fabs(Across) - 62) / 20, 2));
    double Tone = Patches * 0.08 + Mottle * 0.06 + Grain * 0.12 - Lanes * 0.06;
    if (Stones > 0.76)
        Tone += (Stones - 0.76) * 1.1;
    TColor Color = Shade(palette::Asphalt, Tone);

    // Centre dashes and the white edge line, slightly worn.
    const double Wear = LatticeNoise(Across / 4, Along / 5, 0, 60, 15);
    const double Dash = Band(Across, -CentreLineHalf, CentreLineHalf) *
                        Repeating(Along - (DashPeriod - DashLength) / 2, DashPeriod, DashLength);
    const double EdgeLine = Band(Inside, EdgeLineFrom, EdgeLineTo);
    const TColor Paint = Shade(palette::KerbWhite, -0.05 + Grain * 0.06);
    Color = MixColor(Color, Paint, std::max(Dash, EdgeLine) * (0.80 + 0.18 * Wear));

    // Red and white kerb, raised (darker towards both of its sides), with a dark seam inside
    // and a thin dark outline along the road's edge.
    const double Kerb = Band(Inside, 0, KerbWidth);
    if (Kerb > 0)
    {
        const double Red = Repeating(Along - KerbPeriod / 4, KerbPeriod, KerbPeriod / 2);
        const double Profile = std::sin(M_PI * std::clamp(Inside / KerbWidth, 0.0, 1.0));
        TColor KerbColor = MixColor(palette::KerbWhite, palette::KerbRed, Red);
        KerbColor = Shade(KerbColor, -0.16 * (1 - Profile) + Grain * 0.05);
        Color = MixColor(Color, KerbColor, Kerb);
    }
    Color = MixColor(Color, Shade(palette::Asphalt, -0.45), Band(Inside, KerbWidth, KerbWidth + 1) * 0.7);
    Color = MixColor(Color, Shade(palette::KerbRed, -0.6), Band(Inside, -1, 1.2) * 0.55);
    Color.A = std::clamp(Inside + 0.5, 0.0, 1.0);
    return Color;
}

} // namespace

double TRoadPieceShape::Centre(double Up) const
{
    // Quintic Hermite between the entry and exit offsets with the given end slopes and no
    // curvature at either end (see above).
    const double T = Up / PieceLength;
    const double T3 = T * T * T, T4 = T3 * T, T5 = T4 * T;
    return (1 - 10 * T3 + 15 * T4 - 6 * T5) * EntryOffset +
           (T - 6 * T3 + 8 * T4 - 3 * T5) * EntrySlope * PieceLength +
           (10 * T3 - 15 * T4 + 6 * T5) * ExitOffset + (-4 * T3 + 7 * T4 - 3 * T5) * ExitSlope * PieceLength;
}

double TRoadPieceShape::Slope(double Up) const
{
    const double T = Up / PieceLength;
    const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
    const double PerT = (-30 * T2 + 60 * T3 - 30 * T4) * EntryOffset +
                        (1 - 18 * T2 + 32 * T3 - 15 * T4) * EntrySlope * PieceLength +
                        (30 * T2 - 60 * T3 + 30 * T4) * ExitOffset +
                        (-12 * T2 + 28 * T3 - 15 * T4) * ExitSlope * PieceLength;
    return PerT / PieceLength;
}

TRoadPieceShape RoadPieceShape(int Kind)
{
    return Kind >= 0 && Kind < 7 ? PieceKinds[Kind].Shape : PieceKinds[0].Shape;
}

double RoadHalfWidth(double Slope)
{
    // Grows with the length of a horizontal cut through the road, pinned at both ends.
    const double Diagonal = std::sqrt(1 + DiagonalSlope * DiagonalSlope);
    return StraightHalfWidth +
           (DiagonalHalfWidth - StraightHalfWidth) * (std::sqrt(1 + Slope * Slope) - 1) / (Diagonal - 1);
}

void AddRoadPieces(TArtList& Race)
{
    for (const TPieceKind& Kind : PieceKinds)
    {
        TCanvas Canvas(RoadPieceWidth, RoadPieceHeight);
        ShadeCanvas(Canvas, [&Kind](double X, double Y) { return PaintRoad(Kind.Shape, X, Y); });
        Race.push_back(TArtImage{Kind.Key, Canvas.Pixels(), 0, 0});
    }
}

} // namespace vm::assetgen
