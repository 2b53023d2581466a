// The ground beside the road: grass, sand and the two tiles between them.
//
// Tiles lie side by side 800 px apart, so everything repeats every 800 px across. Rows of tiles
// follow the road, so a row sits sideways against the row below by whatever the road turned;
// the top and bottom edges therefore hold only fine grain (which repeats top to bottom) and the
// larger patches fade out towards them. Grass and sand are the same functions in every tile,
// so a transition tile's grass edge is the grass tile's edge and its sand edge the sand tile's.
#include "art/ground_tiles.h"

#include "art/canvas.h"
#include "art/road_noise.h"
#include "art/style.h"
#include "engine/random.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vm::assetgen {

namespace {

constexpr double W = GroundTileWidth;
constexpr double H = GroundTileHeight;

enum class TTerrain
{
    Grass,
    Sand,
};

// 1 in the middle of the tile, falling to 0 at the top and bottom edges.
double EdgeFade(double Y) { return SmoothStep(0, 60, std::min(Y, H - Y)); }

// Grain that repeats both across and down the tile (cells fit the tile a whole number of times).
double Grain(double X, double Y, double Cell, std::uint32_t Seed)
{
    const int Across = static_cast<int>(std::lround(W / Cell));
    const int Down = static_cast<int>(std::lround(H / Cell));
    return LatticeNoise(X * Across / W, Y * Down / H, Across, Down, Seed) - 0.5;
}

// Noise that repeats across; Cell is rounded so the tile width holds whole cells.
double Across(double X, double Y, double Cell, std::uint32_t Seed)
{
    const int Cells = static_cast<int>(std::lround(W / Cell));
    return LatticeNoise(X * Cells / W, Y / Cell, Cells, 0, Seed) - 0.5;
}

TColor GrassAt(double X, double Y)
{
    const double Fade = EdgeFade(Y);
    const double Broad = Across(X, Y, 110, 21) * Fade;
    const double Mid = Across(X, Y, 26, 22) * Fade;
    const double Tint = Across(X, Y, 70, 23) * Fade;
    TColor Color = Tint > 0 ? MixColor(palette::Grass, Rgb(0x7a9d3f), Tint * 1.1)
                            : MixColor(palette::Grass, Rgb(0x2f6f3c), -Tint * 1.1);
    const double Tone = Broad * 0.16 + Mid * 0.09 + Grain(X, Y, 3, 24) * 0.12 + Grain(X, Y, 1.5, 25) * 0.08;
    return Shade(Color, Tone);
}

TColor SandAt(double X, double Y)
{
    const double Fade = EdgeFade(Y);
    const double Broad = Across(X, Y, 120, 31) * Fade;
    const double Tint = Across(X, Y, 80, 32) * Fade;
    TColor Color = Tint > 0 ? MixColor(palette::Sand, Rgb(0xecd7a4), Tint * 1.2)
                            : MixColor(palette::Sand, Rgb(0xc49558), -Tint * 1.2);
    // Wind ripples in patches: crests catch the light on their upper side.
    const double Wave = Y + 9 * std::sin(2 * M_PI * X / W * 3 + 1) + 40 * Across(X, Y, 100, 33);
    const double Patch = SmoothStep(-0.1, 0.15, Across(X, Y, 160, 34)) * Fade;
    const double Phase = Wave / 13;
    const double Ripple = std::sin(2 * M_PI * Phase) + 0.35 * std::sin(4 * M_PI * Phase);
    const double Tone =
        Broad * 0.12 + Ripple * 0.035 * Patch + Grain(X, Y, 3, 35) * 0.09 + Grain(X, Y, 1.5, 36) * 0.07;
    return Shade(Color, Tone);
}

// Where a transition tile shows sand: 0 grass, 1 sand. SandOnTop for the tile entering the sand.
double SandShare(double X, double Y, bool SandOnTop)
{
    const std::uint32_t Seed = SandOnTop ? 41 : 51;
    const double Line = H / 2 + 26 * std::sin(2 * M_PI * X / W * 2 + (SandOnTop ? 0.7 : 2.3)) +
                        14 * std::sin(2 * M_PI * X / W * 5 + (SandOnTop ? 2.1 : 0.4)) +
                        30 * Across(X, 0, 50, Seed);
    const double Ragged = 34 * Across(X, Y, 22, Seed + 1) + 12 * Across(X, Y, 7, Seed + 2);
    const double Beyond = SandOnTop ? Line - Y + Ragged : Y - Line + Ragged; // > 0 on the sand side
    return SmoothStep(-2.5, 2.5, Beyond);
}

// Grass and sand blended; the grass grows dry near the sand, and its raised edge casts a thin
// shadow onto the sand (light from the upper left).
TColor TransitionAt(double X, double Y, bool SandOnTop)
{
    const double Sand = SandShare(X, Y, SandOnTop);
    const double Near = SandShare(X, Y + (SandOnTop ? -18 : 18), SandOnTop);
    const TColor GrassColor = MixColor(GrassAt(X, Y), Rgb(0x8f9a4e), 0.45 * Near);
    const double Shadow = Sand * (1 - SandShare(X - 2, Y - 3, SandOnTop));
    return MixColor(GrassColor, Shade(SandAt(X, Y), -0.22 * Shadow), Sand);
}

// Small things scattered over the ground, drawn with Cairo over the shaded base. Each is drawn
// again one tile over wherever it crosses an edge, so the tile still repeats.
struct TSpeck
{
    double X, Y, Size, Angle;
    int Kind;
};

std::vector<TSpeck> Scatter(std::uint64_t Seed, int Count, int Kinds, double Margin)
{
    TRandom Random(Seed);
    std::vector<TSpeck> Specks;
    for (int I = 0; I < Count; ++I)
    {
        TSpeck S;
        S.X = Random.Random(8000) / 10.0;
        S.Y = Margin + Random.Random(static_cast<int>((H - 2 * Margin) * 10)) / 10.0;
        S.Size = 0.6 + Random.Random(1000) / 1000.0 * 0.8;
        S.Angle = Random.Random(3600) / 3600.0 * 2 * M_PI;
        S.Kind = Random.Random(Kinds);
        Specks.push_back(S);
    }
    return Specks;
}

template <typename TDraw> void DrawWrapped(cairo_t* Cr, const TSpeck& S, double Reach, TDraw Draw)
{
    for (double Dx : {-W, 0.0, W})
        for (double Dy : {-H, 0.0, H})
        {
            const double X = S.X + Dx, Y = S.Y + Dy;
            if (X < -Reach || X > W + Reach || Y < -Reach || Y > H + Reach)
                continue;
            Draw(Cr, X, Y);
        }
}

void DrawGrassBlade(cairo_t* Cr, const TSpeck& S, double X, double Y)
{
    const double Lean = (S.Angle - M_PI) * 0.22; // mostly upright, leaning either way
    const double Length = 3 + 3 * S.Size;
    cairo_move_to(Cr, X, Y);
    cairo_line_to(Cr, X + std::sin(Lean) * Length, Y - std::cos(Lean) * Length);
    SetColor(Cr, S.Kind == 0 ? Shade(palette::Grass, 0.22).WithAlpha(0.55)
                             : Shade(palette::Grass, -0.32).WithAlpha(0.5));
    cairo_set_line_width(Cr, 1.1);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(Cr);
}

void DrawClump(cairo_t* Cr, const TSpeck& S, double X, double Y)
{
    const double R = 7 + 7 * S.Size;
    cairo_pattern_t* P = cairo_pattern_create_radial(X, Y, 0, X, Y, R);
    const TColor Dark = Shade(palette::Grass, -0.3);
    cairo_pattern_add_color_stop_rgba(P, 0, Dark.R, Dark.G, Dark.B, 0.4);
    cairo_pattern_add_color_stop_rgba(P, 1, Dark.R, Dark.G, Dark.B, 0);
    cairo_set_source(Cr, P);
    cairo_arc(Cr, X, Y, R, 0, 2 * M_PI);
    cairo_fill(Cr);
    cairo_pattern_destroy(P);
    // A few light blades on top, lit from the upper left.
    for (int I = 0; I < 7; ++I)
    {
        const double A = -M_PI / 2 + (I - 3) * 0.28 + (S.Angle - M_PI) * 0.1;
        cairo_move_to(Cr, X + (I - 3) * 1.2, Y + 2);
        cairo_line_to(Cr, X + (I - 3) * 1.2 + std::cos(A) * R * 0.8, Y + 2 + std::sin(A) * R * 0.8);
    }
    SetColor(Cr, Shade(palette::Grass, 0.18).WithAlpha(0.55));
    cairo_set_line_width(Cr, 1.2);
    cairo_stroke(Cr);
}

void DrawFlower(cairo_t* Cr, const TSpeck& S, double X, double Y)
{
    static const unsigned Colors[] = {0xf4f1e4, 0xf6d94a, 0xd9a8e6};
    for (int I = 0; I < 4; ++I)
    {
        const double A = S.Angle + I * 1.7;
        SetColor(Cr, Rgb(Colors[S.Kind], 0.85));
        cairo_arc(Cr, X + std::cos(A) * 3.5 * S.Size, Y + std::sin(A) * 3.5 * S.Size, 1.1, 0, 2 * M_PI);
        cairo_fill(Cr);
    }
}

void DrawPebble(cairo_t* Cr, const TSpeck& S, double X, double Y)
{
    const double R = 1.4 + 2.2 * S.Size * (S.Kind == 0 ? 1 : 0.6);
    const TColor Stone = S.Kind == 2 ? Rgb(0x9c8a72) : Rgb(0xa7784a);
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_rotate(Cr, S.Angle);
    cairo_scale(Cr, 1, 0.7);
    SetColor(Cr, Rgb(0x5a4128, 0.35)); // shadow towards the lower right
    cairo_arc(Cr, 0.8, 1.2, R, 0, 2 * M_PI);
    cairo_fill(Cr);
    SetColor(Cr, Stone);
    cairo_arc(Cr, 0, 0, R, 0, 2 * M_PI);
    cairo_fill(Cr);
    cairo_restore(Cr);
    SetColor(Cr, Shade(Stone, 0.35).WithAlpha(0.8));
    cairo_arc(Cr, X - R * 0.3, Y - R * 0.3, R * 0.4, 0, 2 * M_PI);
    cairo_fill(Cr);
}

void DrawDryTuft(cairo_t* Cr, const TSpeck& S, double X, double Y)
{
    SetColor(Cr, Rgb(0x6b5a32, 0.3));
    cairo_arc(Cr, X + 1, Y + 1, 5 + 3 * S.Size, 0, 2 * M_PI);
    cairo_fill(Cr);
    for (int I = 0; I < 9; ++I)
    {
        const double A = S.Angle + I * 2 * M_PI / 9;
        const double L = (6 + 4 * S.Size) * (0.7 + 0.3 * ((I * 37) % 5) / 4.0);
        cairo_move_to(Cr, X, Y);
        cairo_line_to(Cr, X + std::cos(A) * L, Y + std::sin(A) * L);
    }
    SetColor(Cr, Rgb(S.Kind == 0 ? 0x9a8a4c : 0x7f8a45, 0.85));
    cairo_set_line_width(Cr, 1.1);
    cairo_stroke(Cr);
}

// The scattered details of one terrain, where the tile shows that terrain.
void DrawDetails(cairo_t* Cr, TTerrain Terrain, const std::function<double(double, double)>& Share)
{
    auto Shows = [&](double X, double Y) { return Share(X, Y) > 0.85; };
    if (Terrain == TTerrain::Grass)
    {
        for (const TSpeck& S : Scatter(71, 2600, 2, 8))
            DrawWrapped(Cr, S, 8, [&](cairo_t* C, double X, double Y) {
                if (Shows(X, Y))
                    DrawGrassBlade(C, S, X, Y);
            });
        for (const TSpeck& S : Scatter(72, 34, 1, 24))
            if (Shows(S.X, S.Y))
                DrawWrapped(Cr, S, 16, [&](cairo_t* C, double X, double Y) { DrawClump(C, S, X, Y); });
        for (const TSpeck& S : Scatter(73, 45, 3, 10))
            if (Shows(S.X, S.Y))
                DrawWrapped(Cr, S, 6, [&](cairo_t* C, double X, double Y) { DrawFlower(C, S, X, Y); });
        return;
    }
    for (const TSpeck& S : Scatter(81, 320, 3, 7))
        DrawWrapped(Cr, S, 6, [&](cairo_t* C, double X, double Y) {
            if (Shows(X, Y))
                DrawPebble(C, S, X, Y);
        });
    for (const TSpeck& S : Scatter(82, 10, 2, 26))
        if (Shows(S.X, S.Y))
            DrawWrapped(Cr, S, 14, [&](cairo_t* C, double X, double Y) { DrawDryTuft(C, S, X, Y); });
}

TArtImage MakeTile(const char* Key, const std::function<TColor(double, double)>& Base,
                   const std::function<double(double, double)>& SandShareAt)
{
    TCanvas Canvas(GroundTileWidth, GroundTileHeight);
    ShadeCanvas(Canvas, Base);
    cairo_t* Cr = Canvas.Cr();
    DrawDetails(Cr, TTerrain::Grass, [&](double X, double Y) { return 1 - SandShareAt(X, Y); });
    DrawDetails(Cr, TTerrain::Sand, SandShareAt);
    return TArtImage{Key, Canvas.Pixels(), 0, 0};
}

} // namespace

void AddGroundTiles(TArtList& Race)
{
    // Details drawn again beyond an edge are judged where they land: clamped into the tile
    // down, wrapped across.
    auto Clamp = [](double V) { return std::clamp(V, 0.0, H - 1); };
    Race.push_back(MakeTile("back1", GrassAt, [](double, double) { return 0.0; }));
    Race.push_back(MakeTile("back2", SandAt, [](double, double) { return 1.0; }));
    Race.push_back(MakeTile(
        "back3", [](double X, double Y) { return TransitionAt(X, Y, false); },
        [Clamp](double X, double Y) { return SandShare(X - W * std::floor(X / W), Clamp(Y), false); }));
    Race.push_back(MakeTile(
        "back4", [](double X, double Y) { return TransitionAt(X, Y, true); },
        [Clamp](double X, double Y) { return SandShare(X - W * std::floor(X / W), Clamp(Y), true); }));
}

} // namespace vm::assetgen
