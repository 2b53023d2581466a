// Roadside decorations on grass: trees, bushes, rocks and a stump, seen from above.
#include "art/roadside_trees.h"

#include "art/canvas.h"
#include "art/roadside_shapes.h"

#include <cmath>

namespace vm::assetgen {

namespace {

constexpr double Mid = DecorationSize / 2.0;

void DrawPine(cairo_t* Cr, TRandom& Random)
{
    SoftShadow(Cr, Mid, Mid, 50);
    const TColor Needles[4] = {Rgb(0x1d4a30), Rgb(0x265c38), Rgb(0x317043), Rgb(0x43874f)};
    const int Points = 12;
    for (int Layer = 0; Layer < 4; ++Layer)
    {
        const double Outer = 48 - Layer * 11, Inner = Outer * 0.66;
        const double Turn = Layer * 0.27 + Between(Random, 0, 0.1);
        for (int I = 0; I < Points * 2; ++I)
        {
            const double A = Turn + I * M_PI / Points;
            const double R = I % 2 == 0 ? Outer * Between(Random, 0.92, 1.0) : Inner;
            if (I == 0)
                cairo_move_to(Cr, Mid + std::cos(A) * R, Mid + std::sin(A) * R);
            else
                cairo_line_to(Cr, Mid + std::cos(A) * R, Mid + std::sin(A) * R);
        }
        cairo_close_path(Cr);
        cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
        DomeFill(Cr, Mid, Mid, Outer, Needles[Layer], 0.1);
        SetColor(Cr, Needles[0].Darker(0.5));
        cairo_set_line_width(Cr, 1.2);
        cairo_stroke(Cr);
        // Needle strokes along each point.
        for (int I = 0; I < Points; ++I)
        {
            const double A = Turn + I * 2 * M_PI / Points;
            cairo_move_to(Cr, Mid + std::cos(A) * Inner * 0.6, Mid + std::sin(A) * Inner * 0.6);
            cairo_line_to(Cr, Mid + std::cos(A) * Outer * 0.9, Mid + std::sin(A) * Outer * 0.9);
        }
        SetColor(Cr, Needles[3].Lighter(0.25).WithAlpha(0.45));
        cairo_set_line_width(Cr, 1);
        cairo_stroke(Cr);
    }
    cairo_arc(Cr, Mid, Mid, 4, 0, 2 * M_PI);
    DomeFill(Cr, Mid, Mid, 4, Rgb(0x5d9a52), 0.3);
    cairo_new_path(Cr);
}

void DrawBushes(cairo_t* Cr, TRandom& Random)
{
    DrawCanopy(Cr, Mid - 18, Mid + 12, 21, 5, Rgb(0x3c7a3a), Random);
    DrawCanopy(Cr, Mid + 20, Mid + 16, 17, 5, Rgb(0x467f36), Random);
    DrawCanopy(Cr, Mid + 2, Mid - 18, 24, 6, Rgb(0x35703a), Random);
}

void DrawFloweringShrub(cairo_t* Cr, TRandom& Random)
{
    DrawCanopy(Cr, Mid, Mid, 38, 7, Rgb(0x3f7a3e), Random);
    for (int I = 0; I < 26; ++I)
    {
        const double A = Between(Random, 0, 2 * M_PI);
        const double D = 36 * std::sqrt(Between(Random, 0.05, 1));
        const bool Pink = Random.Random(3) != 0;
        DrawBlossom(Cr, Mid + std::cos(A) * D, Mid + std::sin(A) * D, Between(Random, 3.2, 4.6),
                    Pink ? Rgb(0xf28bb0) : Rgb(0xf7f2ea), palette::Amber);
    }
}

void DrawBoulders(cairo_t* Cr, TRandom& Random)
{
    DrawRock(Cr, Mid + 14, Mid + 16, 20, Rgb(0x8a8d86), Random);
    DrawRock(Cr, Mid - 10, Mid - 6, 30, Rgb(0x979a92), Random);
    DrawRock(Cr, Mid + 26, Mid - 22, 11, Rgb(0x80837c), Random);
    // Moss on the big stone's shaded side.
    for (int I = 0; I < 30; ++I)
    {
        const double A = Between(Random, 0.6, 2.6);
        const double D = Between(Random, 12, 24);
        SetColor(Cr, Rgb(Random.Random(2) ? 0x5d8a3a : 0x7a9c45, 0.55));
        cairo_arc(Cr, Mid - 10 + std::cos(A) * D, Mid - 6 + std::sin(A) * D, Between(Random, 1.5, 3), 0,
                  2 * M_PI);
        cairo_fill(Cr);
    }
}

void DrawAutumnTree(cairo_t* Cr, TRandom& Random)
{
    // A few leaves already on the ground around it.
    for (int I = 0; I < 40; ++I)
    {
        const double A = Between(Random, 0, 2 * M_PI);
        const double D = Between(Random, 40, 58);
        SetColor(Cr, Rgb(Random.Random(2) ? 0xe0822e : 0xc4502c, 0.8));
        cairo_save(Cr);
        cairo_translate(Cr, Mid + std::cos(A) * D, Mid + std::sin(A) * D);
        cairo_rotate(Cr, A * 3);
        cairo_scale(Cr, 1, 0.55);
        cairo_arc(Cr, 0, 0, 2.4, 0, 2 * M_PI);
        cairo_restore(Cr);
        cairo_fill(Cr);
    }
    DrawCanopy(Cr, Mid, Mid, 42, 7, Rgb(0xd8782c), Random);
    for (int I = 0; I < 30; ++I)
    {
        const double A = Between(Random, 0, 2 * M_PI);
        const double D = 38 * std::sqrt(Between(Random, 0, 1));
        SetColor(Cr, Rgb(Random.Random(2) ? 0xf2b33d : 0xb9412a, 0.6));
        cairo_arc(Cr, Mid + std::cos(A) * D, Mid + std::sin(A) * D, Between(Random, 1.5, 3), 0, 2 * M_PI);
        cairo_fill(Cr);
    }
}

void DrawStumpAndFerns(cairo_t* Cr, TRandom& Random)
{
    // Ferns: curved fronds with leaflets either side.
    for (int I = 0; I < 7; ++I)
    {
        const double A = I * 2 * M_PI / 7 + Between(Random, -0.2, 0.2);
        const double Length = Between(Random, 36, 50);
        const double Bend = Between(Random, -0.35, 0.35);
        const TColor Green = Random.Random(2) ? Rgb(0x3f8d45) : Rgb(0x4f9a48);
        for (int K = 1; K <= 9; ++K)
        {
            const double T = K / 10.0;
            const double Along = A + Bend * T;
            const double Px = Mid + std::cos(Along) * Length * T, Py = Mid + std::sin(Along) * Length * T;
            const double Leaf = (1 - T) * 9 + 3;
            for (int Side : {-1, 1})
            {
                LeafPath(Cr, Px, Py, Along + Side * 1.05, Leaf, 3.2);
                SetColor(Cr, Green);
                cairo_fill_preserve(Cr);
                SetColor(Cr, Green.Darker(0.45).WithAlpha(0.7));
                cairo_set_line_width(Cr, 0.6);
                cairo_stroke(Cr);
            }
        }
        cairo_move_to(Cr, Mid, Mid);
        for (int K = 1; K <= 10; ++K)
        {
            const double T = K / 10.0;
            cairo_line_to(Cr, Mid + std::cos(A + Bend * T) * Length * T,
                          Mid + std::sin(A + Bend * T) * Length * T);
        }
        SetColor(Cr, Green.Darker(0.3));
        cairo_set_line_width(Cr, 1.2);
        cairo_stroke(Cr);
    }
    // The stump: bark ring, pale cut face with growth rings.
    SoftShadow(Cr, Mid, Mid, 17, 0.45);
    cairo_arc(Cr, Mid, Mid, 15, 0, 2 * M_PI);
    SetColor(Cr, Rgb(0x5a3a22));
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(0x2e1d12));
    cairo_set_line_width(Cr, 1.4);
    cairo_stroke(Cr);
    cairo_arc(Cr, Mid, Mid, 11.5, 0, 2 * M_PI);
    DomeFill(Cr, Mid, Mid, 12, Rgb(0xc99a62), 0.2);
    cairo_new_path(Cr);
    for (double R : {3.0, 5.5, 8.0, 10.0})
    {
        cairo_arc(Cr, Mid + 0.5, Mid + 0.3, R, 0, 2 * M_PI);
        SetColor(Cr, Rgb(0x8a5f36, 0.55));
        cairo_set_line_width(Cr, 0.8);
        cairo_stroke(Cr);
    }
    cairo_move_to(Cr, Mid + 1, Mid);
    cairo_line_to(Cr, Mid + 10, Mid - 4);
    SetColor(Cr, Rgb(0x5a3a22, 0.8));
    cairo_stroke(Cr);
}

void DrawTree(cairo_t* Cr, int Index)
{
    TRandom Random(1000 + Index);
    switch (Index)
    {
    case 0: DrawCanopy(Cr, Mid, Mid, 46, 8, Rgb(0x2f6e34), Random); break;
    case 1: DrawPine(Cr, Random); break;
    case 2: DrawBushes(Cr, Random); break;
    case 3: DrawFloweringShrub(Cr, Random); break;
    case 4: DrawBoulders(Cr, Random); break;
    case 5: DrawCanopy(Cr, Mid, Mid, 36, 6, Rgb(0x78a844), Random); break;
    case 6: DrawAutumnTree(Cr, Random); break;
    default: DrawStumpAndFerns(Cr, Random); break;
    }
}

} // namespace

void AddRoadsideTrees(TArtList& Race)
{
    Race.push_back(DrawTiles("trees", DecorationSize, DecorationSize, 8, 4, DrawTree));
}

} // namespace vm::assetgen
