// Drawing helpers for the roadside decorations: soft shadows, leafy canopies, rocks, fronds.
#include "art/roadside_shapes.h"

#include <cmath>
#include <vector>

namespace vm::assetgen {

double Between(TRandom& Random, double Low, double High)
{
    return Low + (High - Low) * Random.Random(10000) / 10000.0;
}

void SoftShadow(cairo_t* Cr, double X, double Y, double Radius, double Alpha)
{
    cairo_pattern_t* P = cairo_pattern_create_radial(X, Y, Radius * 0.55, X, Y, Radius * 1.18);
    cairo_pattern_add_color_stop_rgba(P, 0, 0.02, 0.04, 0.02, Alpha);
    cairo_pattern_add_color_stop_rgba(P, 1, 0.02, 0.04, 0.02, 0);
    cairo_set_source(Cr, P);
    cairo_arc(Cr, X, Y, Radius * 1.18, 0, 2 * M_PI);
    cairo_fill(Cr);
    cairo_pattern_destroy(P);
}

void DomeFill(cairo_t* Cr, double X, double Y, double Radius, const TColor& Base, double Light)
{
    const TColor Top = Base.Lighter(Light), Rim = Base.Darker(0.28);
    cairo_pattern_t* P = cairo_pattern_create_radial(X, Y, 0, X, Y, Radius);
    cairo_pattern_add_color_stop_rgba(P, 0, Top.R, Top.G, Top.B, Top.A);
    cairo_pattern_add_color_stop_rgba(P, 0.6, Base.R, Base.G, Base.B, Base.A);
    cairo_pattern_add_color_stop_rgba(P, 1, Rim.R, Rim.G, Rim.B, Rim.A);
    cairo_set_source(Cr, P);
    cairo_fill_preserve(Cr);
    cairo_pattern_destroy(P);
}

void DrawCanopy(cairo_t* Cr, double X, double Y, double Radius, int Lobes, const TColor& Base,
                TRandom& Random)
{
    struct TLobe
    {
        double X, Y, R;
    };
    std::vector<TLobe> Parts{{X, Y, Radius * 0.62}};
    const double Turn = Between(Random, 0, 2 * M_PI);
    for (int I = 0; I < Lobes; ++I)
    {
        const double A = Turn + I * 2 * M_PI / Lobes + Between(Random, -0.25, 0.25);
        const double D = Radius * Between(Random, 0.48, 0.56);
        Parts.push_back({X + std::cos(A) * D, Y + std::sin(A) * D, Radius * Between(Random, 0.40, 0.48)});
    }
    SoftShadow(Cr, X, Y, Radius * 1.05);

    auto Union = [&](double Grow) {
        for (const TLobe& L : Parts)
        {
            cairo_new_sub_path(Cr);
            cairo_arc(Cr, L.X, L.Y, L.R + Grow, 0, 2 * M_PI);
        }
    };
    // Outline: the union of the lobes, a little larger, in a deep shade.
    Union(1.4);
    SetColor(Cr, Base.Darker(0.6));
    cairo_fill(Cr);
    // Outer lobes first, each a small dome, then the middle one over them.
    for (std::size_t I = Parts.size(); I-- > 0;)
    {
        const TLobe& L = Parts[I];
        cairo_arc(Cr, L.X, L.Y, L.R, 0, 2 * M_PI);
        DomeFill(Cr, L.X, L.Y, L.R, Base, 0.12);
        cairo_new_path(Cr);
    }
    // The crown as a whole catches the light at its top.
    cairo_save(Cr);
    Union(0);
    cairo_clip(Cr);
    cairo_pattern_t* P = cairo_pattern_create_radial(X, Y, 0, X, Y, Radius);
    cairo_pattern_add_color_stop_rgba(P, 0, 1, 1, 0.85, 0.16);
    cairo_pattern_add_color_stop_rgba(P, 1, 1, 1, 0.85, 0);
    cairo_set_source(Cr, P);
    cairo_paint(Cr);
    cairo_pattern_destroy(P);
    // Leaf clusters: small darker and lighter dabs.
    for (int I = 0; I < static_cast<int>(Radius * 3); ++I)
    {
        const double A = Between(Random, 0, 2 * M_PI);
        const double D = Radius * std::sqrt(Between(Random, 0, 1)) * 0.95;
        const bool Light = Random.Random(2) == 0;
        SetColor(Cr, (Light ? Base.Lighter(0.28) : Base.Darker(0.32)).WithAlpha(0.45));
        cairo_arc(Cr, X + std::cos(A) * D, Y + std::sin(A) * D, Between(Random, 1.4, 3.2), 0, 2 * M_PI);
        cairo_fill(Cr);
    }
    cairo_restore(Cr);
}

void DrawRock(cairo_t* Cr, double X, double Y, double Radius, const TColor& Base, TRandom& Random,
              bool Strata)
{
    const int Corners = 9;
    std::vector<std::pair<double, double>> Points;
    const double Turn = Between(Random, 0, 2 * M_PI);
    for (int I = 0; I < Corners; ++I)
    {
        const double A = Turn + I * 2 * M_PI / Corners;
        const double R = Radius * Between(Random, 0.78, 1.0);
        Points.push_back({X + std::cos(A) * R, Y + std::sin(A) * R * 0.86});
    }
    SoftShadow(Cr, X, Y, Radius * 1.05, 0.32);
    // Rounded outline through the midpoints of the corners' edges.
    auto Path = [&]() {
        for (int I = 0; I < Corners; ++I)
        {
            const auto& A = Points[I];
            const auto& B = Points[(I + 1) % Corners];
            const double Mx = (A.first + B.first) / 2, My = (A.second + B.second) / 2;
            if (I == 0)
                cairo_move_to(Cr, Mx, My);
            const auto& C = Points[(I + 2) % Corners];
            cairo_curve_to(Cr, B.first, B.second, B.first, B.second, (B.first + C.first) / 2,
                           (B.second + C.second) / 2);
        }
        cairo_close_path(Cr);
    };
    Path();
    DomeFill(Cr, X - Radius * 0.1, Y - Radius * 0.1, Radius * 1.1, Base, 0.42);
    SetColor(Cr, Base.Darker(0.6));
    cairo_set_line_width(Cr, 1.4);
    cairo_stroke(Cr);
    cairo_save(Cr);
    Path();
    cairo_clip(Cr);
    if (Strata)
    {
        // Weathered layers: a few uneven bands, darker below each ledge, lighter above it.
        for (int I = -2; I <= 2; ++I)
        {
            const double Off = I * Radius * 0.36 + Between(Random, -2, 2);
            cairo_move_to(Cr, X - Radius, Y + Off);
            for (int K = 1; K <= 8; ++K)
                cairo_line_to(Cr, X - Radius + K * Radius / 4, Y + Off + Between(Random, -1.6, 1.6));
            SetColor(Cr, Base.Darker(0.45).WithAlpha(0.38));
            cairo_set_line_width(Cr, 1.3);
            cairo_stroke_preserve(Cr);
            cairo_translate(Cr, 0, -1.3);
            SetColor(Cr, Base.Lighter(0.3).WithAlpha(0.3));
            cairo_set_line_width(Cr, 0.9);
            cairo_stroke(Cr);
            cairo_translate(Cr, 0, 1.3);
        }
    }
    else
    {
        // A crack or two.
        const double A = Between(Random, 0, 2 * M_PI);
        cairo_move_to(Cr, X + std::cos(A) * Radius * 0.15, Y + std::sin(A) * Radius * 0.15);
        cairo_line_to(Cr, X + std::cos(A + 0.3) * Radius * 0.55, Y + std::sin(A + 0.3) * Radius * 0.55);
        cairo_line_to(Cr, X + std::cos(A + 0.1) * Radius * 0.95, Y + std::sin(A + 0.1) * Radius * 0.95);
        SetColor(Cr, Base.Darker(0.5).WithAlpha(0.6));
        cairo_set_line_width(Cr, 1);
        cairo_stroke(Cr);
    }
    cairo_restore(Cr);
}

void LeafPath(cairo_t* Cr, double X, double Y, double Angle, double Length, double Width)
{
    const double C = std::cos(Angle), S = std::sin(Angle);
    auto P = [&](double Along, double Side, double& Px, double& Py) {
        Px = X + C * Along - S * Side;
        Py = Y + S * Along + C * Side;
    };
    double Ax, Ay, Bx, By, Tx, Ty, Cx, Cy, Dx, Dy;
    P(Length * 0.35, Width / 2, Ax, Ay);
    P(Length * 0.75, Width * 0.4, Bx, By);
    P(Length, 0, Tx, Ty);
    P(Length * 0.75, -Width * 0.4, Cx, Cy);
    P(Length * 0.35, -Width / 2, Dx, Dy);
    cairo_move_to(Cr, X, Y);
    cairo_curve_to(Cr, Ax, Ay, Bx, By, Tx, Ty);
    cairo_curve_to(Cr, Cx, Cy, Dx, Dy, X, Y);
    cairo_close_path(Cr);
}

void DrawBlossom(cairo_t* Cr, double X, double Y, double Size, const TColor& Petal, const TColor& Heart)
{
    for (int I = 0; I < 5; ++I)
    {
        const double A = I * 2 * M_PI / 5;
        cairo_arc(Cr, X + std::cos(A) * Size * 0.55, Y + std::sin(A) * Size * 0.55, Size * 0.5, 0, 2 * M_PI);
        cairo_new_sub_path(Cr);
    }
    SetColor(Cr, Petal);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Petal.Darker(0.4).WithAlpha(0.6));
    cairo_set_line_width(Cr, 0.6);
    cairo_stroke(Cr);
    SetColor(Cr, Heart);
    cairo_arc(Cr, X, Y, Size * 0.35, 0, 2 * M_PI);
    cairo_fill(Cr);
}

} // namespace vm::assetgen
