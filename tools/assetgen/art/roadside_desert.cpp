// Roadside decorations on sand: cacti, agave, a palm, dry brush and rocks, seen from above.
#include "art/roadside_desert.h"

#include "art/canvas.h"
#include "art/roadside_shapes.h"

#include <cmath>
#include <vector>

namespace vm::assetgen {

namespace {

constexpr double Mid = DecorationSize / 2.0;
const TColor CactusGreen = Rgb(0x5f9450);

// A ribbed round cactus top: dome, rib lines from the middle, pale spines along the ribs.
void CactusTop(cairo_t* Cr, double X, double Y, double Radius, int Ribs, const TColor& Base)
{
    cairo_arc(Cr, X, Y, Radius, 0, 2 * M_PI);
    DomeFill(Cr, X, Y, Radius, Base, 0.25);
    SetColor(Cr, Base.Darker(0.55));
    cairo_set_line_width(Cr, 1.3);
    cairo_stroke(Cr);
    for (int I = 0; I < Ribs; ++I)
    {
        const double A = I * 2 * M_PI / Ribs;
        cairo_move_to(Cr, X + std::cos(A) * Radius * 0.2, Y + std::sin(A) * Radius * 0.2);
        cairo_line_to(Cr, X + std::cos(A) * Radius * 0.95, Y + std::sin(A) * Radius * 0.95);
    }
    SetColor(Cr, Base.Darker(0.4).WithAlpha(0.55));
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
    for (int I = 0; I < Ribs; ++I)
        for (double T : {0.45, 0.7, 0.92})
        {
            const double A = (I + 0.5) * 2 * M_PI / Ribs;
            cairo_arc(Cr, X + std::cos(A) * Radius * T, Y + std::sin(A) * Radius * T, 0.8, 0, 2 * M_PI);
            cairo_new_sub_path(Cr);
        }
    SetColor(Cr, Rgb(0xf1ead0, 0.85));
    cairo_fill(Cr);
}

void DrawSaguaro(cairo_t* Cr, TRandom& Random)
{
    SoftShadow(Cr, Mid, Mid, 40);
    const double Arms[3] = {Between(Random, 0, 1), Between(Random, 2, 3), Between(Random, 4, 5)};
    for (double A : Arms)
    {
        const double Ex = Mid + std::cos(A) * 30, Ey = Mid + std::sin(A) * 30;
        cairo_move_to(Cr, Mid, Mid);
        cairo_line_to(Cr, Ex, Ey);
        cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
        SetColor(Cr, CactusGreen.Darker(0.55));
        cairo_set_line_width(Cr, 14);
        cairo_stroke_preserve(Cr);
        SetColor(Cr, CactusGreen.Darker(0.15));
        cairo_set_line_width(Cr, 11.5);
        cairo_stroke(Cr);
        CactusTop(Cr, Ex, Ey, 10, 8, CactusGreen);
    }
    CactusTop(Cr, Mid, Mid, 17, 12, CactusGreen);
}

void DrawBarrelCacti(cairo_t* Cr, TRandom& Random)
{
    SoftShadow(Cr, Mid + 24, Mid + 22, 14);
    CactusTop(Cr, Mid + 24, Mid + 22, 12, 10, CactusGreen.Lighter(0.05));
    SoftShadow(Cr, Mid - 6, Mid - 4, 30);
    CactusTop(Cr, Mid - 6, Mid - 4, 26, 16, Rgb(0x6c9a52));
    // A crown of flowers on the big one.
    for (int I = 0; I < 7; ++I)
    {
        const double A = I * 2 * M_PI / 7 + Between(Random, -0.2, 0.2);
        DrawBlossom(Cr, Mid - 6 + std::cos(A) * 7, Mid - 4 + std::sin(A) * 7, 4.2,
                    I % 2 ? Rgb(0xf4d34a) : Rgb(0xf0904a), Rgb(0xb9412a));
    }
}

void DrawPricklyPear(cairo_t* Cr, TRandom& Random)
{
    SoftShadow(Cr, Mid, Mid, 44);
    struct TPad
    {
        double X, Y, Angle, Size;
    };
    const TPad Pads[] = {{-18, 14, 0.4, 1.0},  {16, 18, -0.5, 0.95}, {-4, -20, 1.6, 1.05},
                         {22, -12, 0.9, 0.85}, {-26, -8, 2.3, 0.8},  {2, 4, 0.1, 1.0},
                         {4, 30, 1.3, 0.8}};
    for (const TPad& Pad : Pads)
    {
        cairo_save(Cr);
        cairo_translate(Cr, Mid + Pad.X, Mid + Pad.Y);
        cairo_rotate(Cr, Pad.Angle);
        cairo_scale(Cr, 1, 0.68);
        cairo_arc(Cr, 0, 0, 16 * Pad.Size, 0, 2 * M_PI);
        cairo_restore(Cr);
        DomeFill(Cr, Mid + Pad.X, Mid + Pad.Y, 16 * Pad.Size, Rgb(0x6f9d4c), 0.25);
        SetColor(Cr, Rgb(0x2f4a22));
        cairo_set_line_width(Cr, 1.3);
        cairo_stroke(Cr);
        for (int I = 0; I < 7; ++I)
        {
            const double A = Between(Random, 0, 2 * M_PI), D = Between(Random, 2, 11) * Pad.Size;
            SetColor(Cr, Rgb(0xf2ecd2, 0.9));
            cairo_arc(Cr, Mid + Pad.X + std::cos(A) * D, Mid + Pad.Y + std::sin(A) * D * 0.7, 0.9, 0,
                      2 * M_PI);
            cairo_fill(Cr);
        }
    }
    for (int I = 0; I < 5; ++I)
    {
        const double A = Between(Random, 0, 2 * M_PI);
        const double X = Mid + std::cos(A) * 30, Y = Mid + std::sin(A) * 26;
        cairo_arc(Cr, X, Y, 3.6, 0, 2 * M_PI);
        DomeFill(Cr, X, Y, 3.6, Rgb(0xb0305a), 0.35);
        SetColor(Cr, Rgb(0x4a1426));
        cairo_set_line_width(Cr, 0.8);
        cairo_stroke(Cr);
    }
}

void DrawDryBrush(cairo_t* Cr, TRandom& Random)
{
    SoftShadow(Cr, Mid, Mid, 36, 0.3);
    // Tangled twigs: many thin arcs, darker underneath, lighter on top.
    for (int Pass = 0; Pass < 2; ++Pass)
        for (int I = 0; I < 55; ++I)
        {
            const double A = Between(Random, 0, 2 * M_PI), D = Between(Random, 0, 26);
            const double X = Mid + std::cos(A) * D, Y = Mid + std::sin(A) * D;
            const double R = Between(Random, 5, 14), Start = Between(Random, 0, 2 * M_PI);
            cairo_arc(Cr, X, Y, R, Start, Start + Between(Random, 1, 2.5));
            SetColor(Cr, Pass == 0 ? Rgb(0x5e4a2c, 0.9) : Rgb(0xb59a62, 0.9));
            cairo_set_line_width(Cr, Pass == 0 ? 1.6 : 1.0);
            cairo_stroke(Cr);
        }
    for (int I = 0; I < 12; ++I)
    {
        const double A = Between(Random, 0, 2 * M_PI), D = Between(Random, 4, 24);
        SetColor(Cr, Rgb(0x8c9050, 0.9)); // a few dry leaves left
        cairo_arc(Cr, Mid + std::cos(A) * D, Mid + std::sin(A) * D, 1.8, 0, 2 * M_PI);
        cairo_fill(Cr);
    }
}

void DrawRedRocks(cairo_t* Cr, TRandom& Random)
{
    DrawRock(Cr, Mid - 8, Mid + 4, 32, Rgb(0xb2694a), Random, true);
    DrawRock(Cr, Mid + 28, Mid - 20, 15, Rgb(0xbf7d56), Random, true);
    DrawRock(Cr, Mid + 24, Mid + 30, 9, Rgb(0xa05f42), Random);
    DrawRock(Cr, Mid - 36, Mid - 30, 7, Rgb(0xb77a58), Random);
}

void DrawAgave(cairo_t* Cr, TRandom& Random)
{
    SoftShadow(Cr, Mid, Mid, 44);
    const TColor Leaf = Rgb(0x6f9f92);
    for (int Ring = 0; Ring < 3; ++Ring)
    {
        const int Count = 9 - Ring * 2;
        const double Length = 48 - Ring * 13, Width = 13 - Ring * 2;
        const TColor Color = Leaf.Mix(Rgb(0x9cc4b2), Ring * 0.3);
        for (int I = 0; I < Count; ++I)
        {
            const double A = (I + Ring * 0.5) * 2 * M_PI / Count + Between(Random, -0.08, 0.08);
            LeafPath(Cr, Mid, Mid, A, Length, Width);
            DomeFill(Cr, Mid, Mid, Length, Color, 0.2);
            SetColor(Cr, Color.Darker(0.55));
            cairo_set_line_width(Cr, 1.1);
            cairo_stroke(Cr);
            // Pale midrib and the dark spine at the tip.
            cairo_move_to(Cr, Mid + std::cos(A) * 4, Mid + std::sin(A) * 4);
            cairo_line_to(Cr, Mid + std::cos(A) * Length * 0.85, Mid + std::sin(A) * Length * 0.85);
            SetColor(Cr, Color.Lighter(0.35).WithAlpha(0.6));
            cairo_set_line_width(Cr, 1.2);
            cairo_stroke(Cr);
            cairo_arc(Cr, Mid + std::cos(A) * Length, Mid + std::sin(A) * Length, 1.2, 0, 2 * M_PI);
            SetColor(Cr, Rgb(0x3a2a1c));
            cairo_fill(Cr);
        }
    }
}

void DrawPalm(cairo_t* Cr, TRandom& Random)
{
    SoftShadow(Cr, Mid, Mid, 48, 0.32);
    const int Fronds = 9;
    for (int I = 0; I < Fronds; ++I)
    {
        const double A = I * 2 * M_PI / Fronds + Between(Random, -0.12, 0.12);
        const double Length = Between(Random, 50, 58), Bend = Between(Random, -0.25, 0.25);
        const TColor Green = I % 2 ? Rgb(0x4e8c3e) : Rgb(0x5c9a44);
        // Leaflets either side of the curved stem.
        for (int K = 2; K <= 14; ++K)
        {
            const double T = K / 15.0;
            const double Along = A + Bend * T;
            const double Px = Mid + std::cos(Along) * Length * T, Py = Mid + std::sin(Along) * Length * T;
            const double Size = 11 * std::sin(M_PI * (0.15 + 0.85 * T)) + 3;
            for (int Side : {-1, 1})
            {
                LeafPath(Cr, Px, Py, Along + Side * 0.75, Size, 3.4);
                SetColor(Cr, Green);
                cairo_fill_preserve(Cr);
                SetColor(Cr, Green.Darker(0.5).WithAlpha(0.7));
                cairo_set_line_width(Cr, 0.6);
                cairo_stroke(Cr);
            }
        }
        cairo_move_to(Cr, Mid, Mid);
        for (int K = 1; K <= 15; ++K)
        {
            const double T = K / 15.0;
            cairo_line_to(Cr, Mid + std::cos(A + Bend * T) * Length * T,
                          Mid + std::sin(A + Bend * T) * Length * T);
        }
        SetColor(Cr, Rgb(0xb8a35a));
        cairo_set_line_width(Cr, 1.5);
        cairo_stroke(Cr);
    }
    for (int I = 0; I < 3; ++I)
    {
        const double A = I * 2.1 + 0.4, X = Mid + std::cos(A) * 5, Y = Mid + std::sin(A) * 5;
        cairo_arc(Cr, X, Y, 3.8, 0, 2 * M_PI);
        DomeFill(Cr, X, Y, 3.8, Rgb(0x7a5428), 0.3);
        cairo_new_path(Cr);
    }
}

void DrawDeadTree(cairo_t* Cr, TRandom& Random)
{
    SoftShadow(Cr, Mid, Mid, 20, 0.3);
    const TColor Wood = Rgb(0x8a7058);
    // Branches fork twice on their way out, thinning as they go.
    struct TBranch
    {
        double X, Y, Angle, Length, Width;
        int Depth;
    };
    std::vector<TBranch> Stack;
    for (int I = 0; I < 5; ++I)
        Stack.push_back(
            {Mid, Mid, I * 2 * M_PI / 5 + Between(Random, -0.3, 0.3), Between(Random, 20, 26), 5, 0});
    for (int Pass = 0; Pass < 2; ++Pass)
    {
        TRandom Shape(77);
        std::vector<TBranch> Work = Stack;
        while (!Work.empty())
        {
            const TBranch B = Work.back();
            Work.pop_back();
            const double Ex = B.X + std::cos(B.Angle) * B.Length, Ey = B.Y + std::sin(B.Angle) * B.Length;
            cairo_move_to(Cr, B.X, B.Y);
            cairo_line_to(Cr, Ex, Ey);
            cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
            SetColor(Cr, Pass == 0 ? Wood.Darker(0.6) : Wood.Lighter(0.1));
            cairo_set_line_width(Cr, Pass == 0 ? B.Width + 1.6 : B.Width);
            cairo_stroke(Cr);
            if (B.Depth < 2)
                for (int Side : {-1, 1})
                    Work.push_back({Ex, Ey, B.Angle + Side * Between(Shape, 0.3, 0.6), B.Length * 0.68,
                                    B.Width * 0.6, B.Depth + 1});
        }
    }
    cairo_arc(Cr, Mid, Mid, 6, 0, 2 * M_PI);
    DomeFill(Cr, Mid, Mid, 6, Wood, 0.3);
    cairo_new_path(Cr);
    DrawRock(Cr, Mid - 34, Mid + 34, 7, Rgb(0xd9cdb4), Random);
    DrawRock(Cr, Mid + 38, Mid + 26, 5, Rgb(0xcfc2a6), Random);
}

void DrawDesertThing(cairo_t* Cr, int Index)
{
    TRandom Random(2000 + Index);
    switch (Index)
    {
    case 0: DrawSaguaro(Cr, Random); break;
    case 1: DrawBarrelCacti(Cr, Random); break;
    case 2: DrawPricklyPear(Cr, Random); break;
    case 3: DrawDryBrush(Cr, Random); break;
    case 4: DrawRedRocks(Cr, Random); break;
    case 5: DrawAgave(Cr, Random); break;
    case 6: DrawPalm(Cr, Random); break;
    default: DrawDeadTree(Cr, Random); break;
    }
}

} // namespace

void AddRoadsideDesert(TArtList& Race)
{
    Race.push_back(DrawTiles("desert", DecorationSize, DecorationSize, 8, 4, DrawDesertThing));
}

} // namespace vm::assetgen
