// The track previews of the track page: a map of each course seen from above, its road winding
// up from the start grid to the finish over grass, sand or both, with the track's number; and
// the "locked" preview shown for tracks not yet open.
#include "art/canvas.h"
#include "art/menu_page_kit.h"
#include "art/menu_page_parts.h"
#include "engine/random.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace vm::assetgen {
namespace {

constexpr int Width = 214, Height = 190;

enum class TTerrain
{
    Grass,
    Sand,
    GrassToSand, // grass near the start, sand towards the finish
};

struct TTrackLook
{
    int Number; // the track's place in the list, 1..12
    TTerrain Terrain;
    double Swing;   // how far the road swings from side to side
    int Bends;      // control points between start and finish
    int Difficulty; // 1..4 speed chevrons
    bool Water;     // a pond beside the road (grass only)
};

// The preview key tr_trackK belongs to the track listed as DisplayOfKey[K - 1].
constexpr int DisplayOfKey[12] = {4, 10, 1, 3, 8, 7, 6, 9, 12, 11, 5, 2};
// Each listed track's length and number of opponents, which set how twisty its map is.
constexpr double TrackLength[12] = {540.4, 662.7, 470.3, 710.4, 785.1, 992.4,
                                    692.4, 643.2, 812.8, 910.4, 952.7, 856.2};
constexpr int TrackOpponents[12] = {4, 4, 5, 5, 6, 6, 7, 7, 7, 7, 7, 7};

TTrackLook LookOf(int Number)
{
    static const TTerrain Terrains[12] = {TTerrain::Grass,       TTerrain::Sand, TTerrain::Grass,
                                          TTerrain::GrassToSand, TTerrain::Sand, TTerrain::Grass,
                                          TTerrain::GrassToSand, TTerrain::Sand, TTerrain::Grass,
                                          TTerrain::GrassToSand, TTerrain::Sand, TTerrain::GrassToSand};
    TTrackLook Look;
    Look.Number = Number;
    Look.Terrain = Terrains[Number - 1];
    Look.Bends = 2 + static_cast<int>(std::lround((TrackLength[Number - 1] - 470) / 130));
    Look.Swing = 38 + 9 * (TrackOpponents[Number - 1] - 4);
    Look.Difficulty = std::clamp(TrackOpponents[Number - 1] - 3, 1, 4);
    Look.Water = Look.Terrain != TTerrain::Sand && Number % 2 == 0;
    return Look;
}

double Uniform(TRandom& Random, double Low, double High)
{
    return Low + (High - Low) * Random.Random(10000) / 10000.0;
}

struct TPt
{
    double X, Y;
};

// The road's centre line from below the bottom edge to above the top edge.
std::vector<TPt> RoadLine(const TTrackLook& Look, TRandom& Random)
{
    std::vector<TPt> Points = {{Width / 2.0 + Uniform(Random, -12, 12), Height + 16.0}};
    double Side = Random.Random(2) == 0 ? -1 : 1;
    const double Spacing = (Height + 32.0) / (Look.Bends + 1);
    for (int I = 1; I <= Look.Bends; ++I)
    {
        const double Y = Height + 16 - Spacing * I + Uniform(Random, -0.2, 0.2) * Spacing;
        const double X = Width / 2.0 + Side * Uniform(Random, Look.Swing * 0.35, Look.Swing);
        Points.push_back({std::clamp(X, 26.0, Width - 26.0), Y});
        // Mostly alternating bends, now and then a long sweep to one side.
        if (Random.Random(4) != 0)
            Side = -Side;
    }
    Points.push_back({Width / 2.0 + Uniform(Random, -20, 20), -16});
    return Points;
}

// A smooth path through the points (Catmull-Rom as Bézier curves).
void RoadPath(cairo_t* Cr, const std::vector<TPt>& P)
{
    cairo_new_path(Cr);
    cairo_move_to(Cr, P[0].X, P[0].Y);
    for (std::size_t I = 0; I + 1 < P.size(); ++I)
    {
        const TPt& P0 = P[I == 0 ? 0 : I - 1];
        const TPt& P1 = P[I];
        const TPt& P2 = P[I + 1];
        const TPt& P3 = P[std::min(P.size() - 1, I + 2)];
        cairo_curve_to(Cr, P1.X + (P2.X - P0.X) / 6, P1.Y + (P2.Y - P0.Y) / 6, P2.X - (P3.X - P1.X) / 6,
                       P2.Y - (P3.Y - P1.Y) / 6, P2.X, P2.Y);
    }
}

void DrawGround(cairo_t* Cr, const TTrackLook& Look, TRandom& Random)
{
    const TColor Grass = palette::Grass, Sand = palette::Sand;
    if (Look.Terrain == TTerrain::GrassToSand)
    {
        cairo_rectangle(Cr, 0, 0, Width, Height);
        SetColor(Cr, Grass);
        cairo_fill(Cr);
        // Sand over the upper part, with a wavy edge.
        const double Edge = Uniform(Random, 70, 110), Phase = Uniform(Random, 0, 6);
        cairo_new_path(Cr);
        cairo_move_to(Cr, 0, 0);
        for (int X = 0; X <= Width; X += 6)
            cairo_line_to(Cr, X, Edge + 9 * std::sin(X * 0.05 + Phase) + 4 * std::sin(X * 0.13));
        cairo_line_to(Cr, Width, 0);
        cairo_close_path(Cr);
        SetColor(Cr, Sand);
        cairo_fill(Cr);
    }
    else
    {
        cairo_rectangle(Cr, 0, 0, Width, Height);
        SetColor(Cr, Look.Terrain == TTerrain::Grass ? Grass : Sand);
        cairo_fill(Cr);
    }
    // Wind ripples over the sand.
    if (Look.Terrain != TTerrain::Grass)
    {
        const double Bottom = Look.Terrain == TTerrain::Sand ? Height : 70;
        for (double Y = 8; Y < Bottom; Y += Uniform(Random, 9, 15))
        {
            const double Phase = Uniform(Random, 0, 6), X0 = Uniform(Random, -20, 120);
            cairo_new_path(Cr);
            for (double X = X0; X < X0 + Uniform(Random, 50, 110); X += 4)
                cairo_line_to(Cr, X, Y + 3 * std::sin(X * 0.07 + Phase));
            cairo_set_line_width(Cr, 1.2);
            SetColor(Cr, palette::Sand.Darker(0.18).WithAlpha(0.5));
            cairo_stroke(Cr);
        }
    }
    // Mottling: soft lighter and darker patches.
    for (int I = 0; I < 60; ++I)
    {
        const double X = Uniform(Random, 0, Width), Y = Uniform(Random, 0, Height),
                     R = Uniform(Random, 6, 20);
        cairo_arc(Cr, X, Y, R, 0, 2 * M_PI);
        SetColor(Cr, (Random.Random(2) == 0 ? Rgb(0xffffff) : Rgb(0x000000)).WithAlpha(0.05));
        cairo_fill(Cr);
    }
}

bool IsSandAt(const TTrackLook& Look, double Y)
{
    return Look.Terrain == TTerrain::Sand || (Look.Terrain == TTerrain::GrassToSand && Y < 90);
}

// Trees on grass, cacti and stones on sand, kept off the road.
void DrawDecorations(cairo_t* Cr, const TTrackLook& Look, TRandom& Random, const std::vector<TPt>& Line)
{
    TCanvas RoadMask(Width, Height);
    RoadPath(RoadMask.Cr(), Line);
    // A pond where the road leaves the most room.
    TPt Pond{-100, -100};
    if (Look.Water)
    {
        cairo_set_line_width(RoadMask.Cr(), 80);
        for (int Try = 0; Try < 40; ++Try)
        {
            const TPt P{Uniform(Random, 30, Width - 30), Uniform(Random, 40, Height - 40)};
            if (!cairo_in_stroke(RoadMask.Cr(), P.X, P.Y))
            {
                Pond = P;
                break;
            }
        }
        if (Pond.X > 0)
        {
            cairo_save(Cr);
            cairo_translate(Cr, Pond.X, Pond.Y);
            cairo_scale(Cr, 24, 16);
            cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(Cr);
            SetColor(Cr, palette::Sand.Darker(0.1));
            cairo_fill(Cr);
            cairo_save(Cr);
            cairo_translate(Cr, Pond.X, Pond.Y);
            cairo_scale(Cr, 21, 13.5);
            cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(Cr);
            SetVerticalGradient(Cr, Pond.Y - 14, Pond.Y + 14, palette::Cyan.Mix(palette::Navy, 0.35),
                                palette::Navy.Mix(palette::Cyan, 0.2));
            cairo_fill(Cr);
            cairo_move_to(Cr, Pond.X - 10, Pond.Y - 5);
            cairo_line_to(Cr, Pond.X + 2, Pond.Y - 5);
            cairo_move_to(Cr, Pond.X - 4, Pond.Y + 2);
            cairo_line_to(Cr, Pond.X + 9, Pond.Y + 2);
            cairo_set_line_width(Cr, 1.2);
            SetColor(Cr, palette::Snow.WithAlpha(0.45));
            cairo_stroke(Cr);
        }
    }
    cairo_set_line_width(RoadMask.Cr(), 36);
    for (int I = 0; I < 34; ++I)
    {
        const double X = Uniform(Random, 6, Width - 6), Y = Uniform(Random, 6, Height - 6);
        if (cairo_in_stroke(RoadMask.Cr(), X, Y) || std::hypot((X - Pond.X) / 30, (Y - Pond.Y) / 22) < 1)
            continue;
        const double R = Uniform(Random, 4, 8);
        // Shadow to the lower right, light from the top-left.
        cairo_arc(Cr, X + R * 0.35, Y + R * 0.4, R, 0, 2 * M_PI);
        SetColor(Cr, Rgb(0x000000, 0.25));
        cairo_fill(Cr);
        if (IsSandAt(Look, Y))
        {
            if (Random.Random(2) == 0)
            {
                // A cactus from above: a green star of arms.
                for (int Arm = 0; Arm < 4; ++Arm)
                {
                    const double A = Arm * M_PI / 2 + 0.4;
                    cairo_move_to(Cr, X, Y);
                    cairo_line_to(Cr, X + std::cos(A) * R, Y + std::sin(A) * R);
                }
                cairo_set_line_width(Cr, 3);
                cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
                SetColor(Cr, Rgb(0x4f7a3a));
                cairo_stroke(Cr);
                continue;
            }
            cairo_arc(Cr, X, Y, R * 0.8, 0, 2 * M_PI);
            SetColor(Cr, Rgb(0xb09a78));
            cairo_fill_preserve(Cr);
            cairo_set_line_width(Cr, 1);
            SetColor(Cr, Rgb(0x6b5a44));
            cairo_stroke(Cr);
            continue;
        }
        cairo_arc(Cr, X, Y, R, 0, 2 * M_PI);
        SetColor(Cr, palette::Grass.Darker(0.35));
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Grass.Darker(0.6));
        cairo_stroke(Cr);
        cairo_arc(Cr, X - R * 0.3, Y - R * 0.3, R * 0.45, 0, 2 * M_PI);
        SetColor(Cr, palette::Grass.Lighter(0.2).WithAlpha(0.6));
        cairo_fill(Cr);
    }
}

void DrawRoad(cairo_t* Cr, const std::vector<TPt>& Line)
{
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_BUTT);
    RoadPath(Cr, Line);
    cairo_set_line_width(Cr, 24);
    SetColor(Cr, Rgb(0x000000, 0.28));
    cairo_stroke_preserve(Cr);
    // Kerbs: white under red dashes, then the tarmac.
    cairo_set_line_width(Cr, 21);
    SetColor(Cr, palette::KerbWhite);
    cairo_stroke_preserve(Cr);
    const double Dashes[] = {5, 5};
    cairo_set_dash(Cr, Dashes, 2, 0);
    SetColor(Cr, palette::KerbRed);
    cairo_stroke_preserve(Cr);
    cairo_set_dash(Cr, nullptr, 0, 0);
    cairo_set_line_width(Cr, 16);
    SetColor(Cr, palette::Asphalt);
    cairo_stroke_preserve(Cr);
    // Centre line.
    const double CentreDashes[] = {6, 6};
    cairo_set_dash(Cr, CentreDashes, 2, 0);
    cairo_set_line_width(Cr, 1.6);
    SetColor(Cr, palette::Amber.WithAlpha(0.85));
    cairo_stroke(Cr);
    cairo_set_dash(Cr, nullptr, 0, 0);
}

// A chequered band across the road at a height, square to the road's direction there.
void DrawChequer(cairo_t* Cr, const std::vector<TPt>& Line, double Y)
{
    // Find where the centre line crosses Y and its direction, by sampling the path.
    TCanvas Probe(Width, Height);
    RoadPath(Probe.Cr(), Line);
    cairo_path_t* Flat = cairo_copy_path_flat(Probe.Cr());
    TPt Last{0, 0}, Hit{Width / 2.0, Y}, Direction{0, -1};
    bool HaveLast = false;
    for (int I = 0; I < Flat->num_data; I += Flat->data[I].header.length)
    {
        const cairo_path_data_t* Data = &Flat->data[I];
        if (Data->header.type != CAIRO_PATH_MOVE_TO && Data->header.type != CAIRO_PATH_LINE_TO)
            continue;
        const TPt P{Data[1].point.x, Data[1].point.y};
        if (HaveLast && (Last.Y - Y) * (P.Y - Y) <= 0 && Last.Y != P.Y)
        {
            const double T = (Y - Last.Y) / (P.Y - Last.Y);
            Hit = {Last.X + (P.X - Last.X) * T, Y};
            const double Length = std::hypot(P.X - Last.X, P.Y - Last.Y);
            Direction = {(P.X - Last.X) / Length, (P.Y - Last.Y) / Length};
            break;
        }
        Last = P;
        HaveLast = true;
    }
    cairo_path_destroy(Flat);
    cairo_save(Cr);
    cairo_translate(Cr, Hit.X, Hit.Y);
    cairo_rotate(Cr, std::atan2(Direction.Y, Direction.X) + M_PI / 2);
    for (int Row = 0; Row < 2; ++Row)
        for (int Col = 0; Col < 6; ++Col)
        {
            cairo_rectangle(Cr, -8 + Col * 16 / 6.0, -2.7 + Row * 2.7, 16 / 6.0, 2.7);
            SetColor(Cr, (Row + Col) % 2 == 0 ? palette::Snow : palette::Night);
            cairo_fill(Cr);
        }
    cairo_restore(Cr);
}

void DrawFrameAndBadge(cairo_t* Cr, const std::string& Badge, int Chevrons)
{
    // Vignette and rim so the map sits in its frame.
    cairo_pattern_t* Vignette =
        cairo_pattern_create_radial(Width / 2.0, Height / 2.0, 60, Width / 2.0, Height / 2.0, 150);
    cairo_pattern_add_color_stop_rgba(Vignette, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(Vignette, 1, 0, 0, 0, 0.35);
    cairo_set_source(Cr, Vignette);
    cairo_paint(Cr);
    cairo_pattern_destroy(Vignette);
    cairo_rectangle(Cr, 0.5, 0.5, Width - 1, Height - 1);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, palette::Night.WithAlpha(0.8));
    cairo_stroke(Cr);
    if (!Badge.empty())
    {
        const double W = std::max(26.0, TextWidth(Cr, Badge, 16) + 14);
        RoundedRect(Cr, 7, 7, W, 24, 6);
        SetVerticalGradient(Cr, 7, 31, palette::Amber, palette::Orange);
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Orange.Darker(0.45));
        cairo_stroke(Cr);
        DrawText(Cr, Badge, 7 + W / 2, 25, 16, palette::Night, TAlign::Center);
    }
    // Difficulty: speed chevrons in the lower right.
    for (int I = 0; I < Chevrons; ++I)
    {
        const double X = Width - 14 - (Chevrons - 1 - I) * 9, Y = Height - 14;
        cairo_move_to(Cr, X - 4, Y - 6);
        cairo_line_to(Cr, X + 2, Y);
        cairo_line_to(Cr, X - 4, Y + 6);
        cairo_set_line_width(Cr, 3);
        cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
        SetColor(Cr, palette::Night.WithAlpha(0.5));
        cairo_stroke_preserve(Cr);
        cairo_set_line_width(Cr, 2);
        SetColor(Cr, palette::Amber);
        cairo_stroke(Cr);
    }
}

void DrawTrackMap(cairo_t* Cr, const TTrackLook& Look, std::uint64_t Seed)
{
    TRandom Random(Seed);
    DrawGround(Cr, Look, Random);
    const std::vector<TPt> Line = RoadLine(Look, Random);
    DrawDecorations(Cr, Look, Random, Line);
    DrawRoad(Cr, Line);
    DrawChequer(Cr, Line, Height - 28);
    DrawChequer(Cr, Line, 22);
}

TArtImage TrackPreview(int Key)
{
    const TTrackLook Look = LookOf(DisplayOfKey[Key - 1]);
    return DrawSingle("tr_track" + std::to_string(Key), Width, Height, [&](cairo_t* Cr) {
        DrawTrackMap(Cr, Look, 1000 + static_cast<std::uint64_t>(Look.Number) * 7919);
        DrawFrameAndBadge(Cr, std::to_string(Look.Number), Look.Difficulty);
    });
}

// The locked preview: a greyed, darkened course under a padlock.
TArtImage LockedPreview()
{
    return DrawSingle("tr_notav", Width, Height, [](cairo_t* Cr) {
        TTrackLook Look = LookOf(6);
        DrawTrackMap(Cr, Look, 4242);
        cairo_set_operator(Cr, CAIRO_OPERATOR_HSL_SATURATION);
        cairo_set_source_rgb(Cr, 0.5, 0.5, 0.5);
        cairo_paint(Cr);
        cairo_set_operator(Cr, CAIRO_OPERATOR_OVER);
        SetColor(Cr, palette::Night.WithAlpha(0.62));
        cairo_paint(Cr);
        DrawFrameAndBadge(Cr, "", 0);
        cairo_arc(Cr, Width / 2.0, 84, 38, 0, 2 * M_PI);
        SetColor(Cr, Rgb(0x000000, 0.35));
        cairo_fill(Cr);
        DrawPageIcon(Cr, TPageIcon::Lock, Width / 2.0, 84, 54);
        DrawShadowedText(Cr, "Locked", Width / 2.0, 146, 20, palette::Snow, TAlign::Center);
        DrawText(Cr, "Score points to open it", Width / 2.0, 166, 12, palette::Fog, TAlign::Center, false);
    });
}

} // namespace

void AddTrackPreviews(TArtList& Menu)
{
    for (int Key = 1; Key <= 12; ++Key)
        Menu.push_back(TrackPreview(Key));
    Menu.push_back(LockedPreview());
}

} // namespace vm::assetgen
