// The barriers that line the road: a straight piece and a longer one for the diagonals.
//
// A wall is a run of concrete blocks painted red and white, seen from above. The game turns the
// walls on the left side of the road by 180 degrees, so the shading is the same on both long
// sides (rounded shoulders, a flat lit top) and a wall looks right either way round. Each wall
// holds an even number of painted stripes, so the colours keep alternating from wall to wall.
// The picture is the wall's collision box, so it is filled almost to its edges.
#include "art/roadside_walls.h"

#include "art/canvas.h"
#include "art/road_noise.h"
#include "art/style.h"

#include <cmath>

namespace vm::assetgen {

namespace {

constexpr int StripesPerWall = 6;
constexpr int BlocksPerWall = 3;

void DrawWall(cairo_t* Cr, double Length)
{
    const double Left = 1.5, Right = WallWidth - 1.5, Top = 0.5, Bottom = Length - 0.5;
    const double Stripe = (Bottom - Top) / StripesPerWall;

    // A faint shadow at the foot of the wall, on both sides.
    RoundedRect(Cr, 0, 0, WallWidth, Length, 4);
    SetColor(Cr, Rgb(0x000000, 0.22));
    cairo_fill(Cr);

    for (int I = 0; I < StripesPerWall; ++I)
    {
        cairo_rectangle(Cr, Left, Top + I * Stripe, Right - Left, Stripe);
        SetColor(Cr, I % 2 == 0 ? palette::KerbRed : palette::KerbWhite);
        cairo_fill(Cr);
    }

    // Rounded shoulders: darker towards both long sides, a lit flat top between.
    cairo_pattern_t* Shoulders = cairo_pattern_create_linear(Left, 0, Right, 0);
    cairo_pattern_add_color_stop_rgba(Shoulders, 0, 0, 0, 0, 0.42);
    cairo_pattern_add_color_stop_rgba(Shoulders, 0.28, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(Shoulders, 0.36, 1, 1, 1, 0.16);
    cairo_pattern_add_color_stop_rgba(Shoulders, 0.64, 1, 1, 1, 0.16);
    cairo_pattern_add_color_stop_rgba(Shoulders, 0.72, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(Shoulders, 1, 0, 0, 0, 0.42);
    cairo_rectangle(Cr, Left, Top, Right - Left, Bottom - Top);
    cairo_set_source(Cr, Shoulders);
    cairo_fill(Cr);
    cairo_pattern_destroy(Shoulders);

    // Edges of the flat top.
    for (double X : {Left + (Right - Left) * 0.3, Left + (Right - Left) * 0.7})
    {
        cairo_move_to(Cr, X, Top + 1);
        cairo_line_to(Cr, X, Bottom - 1);
    }
    SetColor(Cr, Rgb(0x000000, 0.12));
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);

    // Joints between the blocks, and a small reflector on each block.
    const double Block = (Bottom - Top) / BlocksPerWall;
    for (int I = 1; I < BlocksPerWall; ++I)
    {
        cairo_move_to(Cr, Left, Top + I * Block);
        cairo_line_to(Cr, Right, Top + I * Block);
    }
    SetColor(Cr, Shade(palette::Night, 0.1).WithAlpha(0.7));
    cairo_set_line_width(Cr, 1.4);
    cairo_stroke(Cr);
    for (int I = 0; I < BlocksPerWall; ++I)
    {
        const double Y = Top + (I + 0.5) * Block;
        RoundedRect(Cr, WallWidth / 2.0 - 2, Y - 4, 4, 8, 1.5);
        SetColor(Cr, palette::Amber);
        cairo_fill_preserve(Cr);
        SetColor(Cr, Shade(palette::Amber, -0.5));
        cairo_set_line_width(Cr, 0.8);
        cairo_stroke(Cr);
    }

    // The thin dark outline of every object in the game.
    RoundedRect(Cr, Left, Top, Right - Left, Bottom - Top, 2.5);
    SetColor(Cr, Shade(palette::Night, 0.05).WithAlpha(0.9));
    cairo_set_line_width(Cr, 1.3);
    cairo_stroke(Cr);
}

} // namespace

void AddRoadsideWalls(TArtList& Race)
{
    Race.push_back(DrawSingle("wall1", WallWidth, StraightWallLength,
                              [](cairo_t* Cr) { DrawWall(Cr, StraightWallLength); }));
    Race.push_back(DrawSingle("wall2", WallWidth, DiagonalWallLength,
                              [](cairo_t* Cr) { DrawWall(Cr, DiagonalWallLength); }));
}

} // namespace vm::assetgen
