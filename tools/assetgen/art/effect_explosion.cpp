// Explosion animations: a flash, a growing fireball and its smoke, as eight frames.
#include "art/effect_explosion.h"

#include "engine/random.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace vm::assetgen {

namespace {

struct TRgb
{
    double R, G, B;
};

// Colour of burning gas by heat: white-hot, yellow, orange, red, soot, smoke.
TRgb HeatColor(double Heat)
{
    static const std::array<std::pair<double, TRgb>, 8> Ramp = {{{0.00, {0.34, 0.34, 0.36}},
                                                                 {0.15, {0.24, 0.23, 0.25}},
                                                                 {0.28, {0.26, 0.15, 0.11}},
                                                                 {0.40, {0.58, 0.17, 0.07}},
                                                                 {0.55, {0.94, 0.34, 0.08}},
                                                                 {0.70, {1.00, 0.62, 0.15}},
                                                                 {0.85, {1.00, 0.88, 0.42}},
                                                                 {1.00, {1.00, 1.00, 0.88}}}};
    Heat = std::clamp(Heat, 0.0, 1.0);
    for (std::size_t I = 1; I < Ramp.size(); ++I)
        if (Heat <= Ramp[I].first)
        {
            const double T = (Heat - Ramp[I - 1].first) / (Ramp[I].first - Ramp[I - 1].first);
            const TRgb& A = Ramp[I - 1].second;
            const TRgb& B = Ramp[I].second;
            return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T};
        }
    return Ramp.back().second;
}

struct TPuff
{
    double Angle, Distance, Scale, HeatShift;
};

struct TStreak
{
    double Angle, Speed;
};

// Per-frame course of the whole explosion, frame 0 to 7.
constexpr std::array<double, ExplosionFrames> Spread = {0.10, 0.19, 0.24, 0.27, 0.29, 0.30, 0.31, 0.32};
constexpr std::array<double, ExplosionFrames> PuffSize = {0.12,  0.155, 0.175, 0.19,
                                                          0.205, 0.22,  0.235, 0.245};
constexpr std::array<double, ExplosionFrames> Heat = {1.00, 0.92, 0.80, 0.64, 0.47, 0.32, 0.20, 0.10};
constexpr std::array<double, ExplosionFrames> Opacity = {1.0, 1.0, 1.0, 0.95, 0.88, 0.72, 0.45, 0.16};

void DrawPuff(cairo_t* Cr, double X, double Y, double R, double H, double Alpha)
{
    const TRgb Core = HeatColor(H + 0.12);
    const TRgb Rim = HeatColor(H - 0.08);
    cairo_pattern_t* P = cairo_pattern_create_radial(X - R * 0.2, Y - R * 0.2, 0, X, Y, R);
    const TRgb Mid = HeatColor(H + 0.02);
    cairo_pattern_add_color_stop_rgba(P, 0.0, Core.R, Core.G, Core.B, Alpha);
    cairo_pattern_add_color_stop_rgba(P, 0.45, Mid.R, Mid.G, Mid.B, Alpha * 0.92);
    cairo_pattern_add_color_stop_rgba(P, 0.75, Rim.R, Rim.G, Rim.B, Alpha * 0.55);
    cairo_pattern_add_color_stop_rgba(P, 1.0, Rim.R, Rim.G, Rim.B, 0);
    cairo_set_source(Cr, P);
    cairo_arc(Cr, X, Y, R, 0, 2 * M_PI);
    cairo_fill(Cr);
    cairo_pattern_destroy(P);
}

// The first frames' white flash: a glow with a spiky star.
void DrawFlash(cairo_t* Cr, double C, double S, int Frame, vm::TRandom& Random)
{
    const double Strength = Frame == 0 ? 1.0 : 0.45;
    cairo_pattern_t* Glow = cairo_pattern_create_radial(C, C, 0, C, C, S * 0.44);
    cairo_pattern_add_color_stop_rgba(Glow, 0, 1, 0.95, 0.7, 0.85 * Strength);
    cairo_pattern_add_color_stop_rgba(Glow, 0.5, 1, 0.7, 0.25, 0.35 * Strength);
    cairo_pattern_add_color_stop_rgba(Glow, 1, 1, 0.5, 0.1, 0);
    cairo_set_source(Cr, Glow);
    cairo_paint(Cr);
    cairo_pattern_destroy(Glow);
    const int Points = 12;
    for (int K = 0; K < Points * 2; ++K)
    {
        const double A = M_PI * K / Points;
        const double R =
            K % 2 == 0 ? S * (0.26 + 0.14 * Random.Random(100) / 100.0) * (Frame == 0 ? 1 : 1.2) : S * 0.07;
        if (K == 0)
            cairo_move_to(Cr, C + std::cos(A) * R, C + std::sin(A) * R);
        else
            cairo_line_to(Cr, C + std::cos(A) * R, C + std::sin(A) * R);
    }
    cairo_close_path(Cr);
    cairo_pattern_t* Star = cairo_pattern_create_radial(C, C, 0, C, C, S * 0.4);
    cairo_pattern_add_color_stop_rgba(Star, 0, 1, 1, 0.95, Strength);
    cairo_pattern_add_color_stop_rgba(Star, 1, 1, 0.85, 0.4, 0);
    cairo_set_source(Cr, Star);
    cairo_fill(Cr);
    cairo_pattern_destroy(Star);
}

} // namespace

void DrawExplosionFrame(cairo_t* Cr, const TExplosionLook& Look, int Frame)
{
    Frame = std::clamp(Frame, 0, ExplosionFrames - 1);
    const auto F = static_cast<std::size_t>(Frame);
    const double S = Look.Size;
    const double C = S / 2;
    const double Limit = S * 0.47; // nothing reaches the frame's edge

    // The same layout in every frame, so the frames play as one explosion.
    vm::TRandom Random(Look.Seed);
    auto Unit = [&Random]() { return Random.Random(10000) / 10000.0; };
    std::vector<TPuff> Puffs(static_cast<std::size_t>(Look.Puffs));
    for (std::size_t I = 0; I < Puffs.size(); ++I)
        Puffs[I] = {2 * M_PI * (static_cast<double>(I) + Unit() * 0.8) / static_cast<double>(Puffs.size()),
                    0.15 + 0.85 * Unit(), 0.6 + 0.4 * Unit(), (Unit() - 0.5) * 0.2};
    std::vector<TStreak> Sparks(static_cast<std::size_t>(Look.Sparks));
    for (TStreak& Spark : Sparks)
        Spark = {2 * M_PI * Unit(), 0.6 + 0.4 * Unit()};
    std::vector<TStreak> Debris(static_cast<std::size_t>(Look.Debris));
    for (TStreak& Piece : Debris)
        Piece = {2 * M_PI * Unit(), 0.55 + 0.45 * Unit()};

    cairo_save(Cr);
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);

    if (Look.Shockwave && Frame <= 3)
    {
        const double R = S * (0.18 + 0.07 * Frame);
        cairo_arc(Cr, C, C, R, 0, 2 * M_PI);
        cairo_set_line_width(Cr, S * (0.05 - 0.01 * Frame));
        cairo_set_source_rgba(Cr, 1, 0.86, 0.6, 0.55 - 0.14 * Frame);
        cairo_stroke(Cr);
    }
    if (Frame <= 1)
        DrawFlash(Cr, C, S, Frame, Random);

    // Cooler puffs first, so the hot core burns on top.
    std::vector<std::size_t> Order(Puffs.size());
    for (std::size_t I = 0; I < Order.size(); ++I)
        Order[I] = I;
    std::sort(Order.begin(), Order.end(),
              [&Puffs](std::size_t A, std::size_t B) { return Puffs[A].Distance > Puffs[B].Distance; });
    for (std::size_t I : Order)
    {
        const TPuff& P = Puffs[I];
        const double R = std::min(P.Scale * PuffSize[F] * S, Limit * 0.5);
        // Smoke rises a little as it cools.
        const double Lift = Frame >= 4 ? S * 0.012 * (Frame - 3) : 0;
        const double D = std::min(P.Distance * Spread[F] * S, Limit - R - Lift);
        DrawPuff(Cr, C + std::cos(P.Angle) * D, C + std::sin(P.Angle) * D - Lift, R,
                 Heat[F] - P.Distance * 0.22 + P.HeatShift, Opacity[F]);
    }
    // The glowing heart of the fire, fading out as it burns down.
    if (Frame >= 1 && Frame <= 5)
        DrawPuff(Cr, C, C, S * PuffSize[F] * 0.9, Heat[F] + 0.1, Opacity[F] * (1.1 - Frame * 0.17));

    if (Frame <= 3)
        for (const TStreak& Spark : Sparks)
        {
            const double Far = std::min(Limit, S * Spark.Speed * (0.2 + 0.09 * Frame));
            const double Near = Far * (0.72 + 0.05 * Frame);
            cairo_move_to(Cr, C + std::cos(Spark.Angle) * Near, C + std::sin(Spark.Angle) * Near);
            cairo_line_to(Cr, C + std::cos(Spark.Angle) * Far, C + std::sin(Spark.Angle) * Far);
            cairo_set_line_width(Cr, std::max(1.0, S * 0.012));
            cairo_set_source_rgba(Cr, 1, 0.9 - 0.12 * Frame, 0.5 - 0.1 * Frame, 1.0 - 0.2 * Frame);
            cairo_stroke(Cr);
        }
    if (Frame >= 1 && Frame <= 5)
        for (std::size_t K = 0; K < Debris.size(); ++K)
        {
            const TStreak& Piece = Debris[K];
            const double D = std::min(Limit - 4, S * Piece.Speed * (0.12 + 0.065 * Frame));
            cairo_save(Cr);
            cairo_translate(Cr, C + std::cos(Piece.Angle) * D, C + std::sin(Piece.Angle) * D);
            cairo_rotate(Cr, Piece.Angle * 3 + Frame * 0.9);
            const double L = S * 0.026 * (1 + static_cast<double>(K % 3) * 0.3);
            cairo_move_to(Cr, -L, -L * 0.6);
            cairo_line_to(Cr, L * 0.8, -L * 0.9);
            cairo_line_to(Cr, L, L * 0.5);
            cairo_line_to(Cr, -L * 0.5, L * 0.8);
            cairo_close_path(Cr);
            cairo_set_source_rgba(Cr, 0.12, 0.11, 0.12, 1.0 - 0.12 * Frame);
            cairo_fill_preserve(Cr);
            cairo_set_line_width(Cr, 0.8);
            cairo_set_source_rgba(Cr, 1, 0.55, 0.15, 0.8 - 0.15 * Frame);
            cairo_stroke(Cr);
            cairo_restore(Cr);
        }
    cairo_restore(Cr);
}

} // namespace vm::assetgen
