// Periodic value noise and per-pixel shading for the procedural road, ground and roadside pictures.
#include "art/road_noise.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen {

namespace {

int Wrap(int Value, int Period)
{
    if (Period <= 0)
        return Value;
    const int M = Value % Period;
    return M < 0 ? M + Period : M;
}

std::uint8_t ToByte(double Channel)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(Channel, 0.0, 1.0) * 255.0));
}

} // namespace

double Hash01(int X, int Y, std::uint32_t Seed)
{
    std::uint32_t H = static_cast<std::uint32_t>(X) * 0x8da6b343u ^
                      static_cast<std::uint32_t>(Y) * 0xd8163841u ^ Seed * 0xcb1ab31fu;
    H ^= H >> 16;
    H *= 0x7feb352du;
    H ^= H >> 15;
    H *= 0x846ca68bu;
    H ^= H >> 16;
    return (H & 0xffffffu) / 16777216.0;
}

double LatticeNoise(double X, double Y, int PeriodX, int PeriodY, std::uint32_t Seed)
{
    const double FloorX = std::floor(X);
    const double FloorY = std::floor(Y);
    const int X0 = static_cast<int>(FloorX);
    const int Y0 = static_cast<int>(FloorY);
    const double Fx = X - FloorX;
    const double Fy = Y - FloorY;
    // Quintic fade: the noise has no visible creases along the lattice lines.
    const double Sx = Fx * Fx * Fx * (Fx * (Fx * 6 - 15) + 10);
    const double Sy = Fy * Fy * Fy * (Fy * (Fy * 6 - 15) + 10);
    const int Xa = Wrap(X0, PeriodX), Xb = Wrap(X0 + 1, PeriodX);
    const int Ya = Wrap(Y0, PeriodY), Yb = Wrap(Y0 + 1, PeriodY);
    const double Top = Hash01(Xa, Ya, Seed) + (Hash01(Xb, Ya, Seed) - Hash01(Xa, Ya, Seed)) * Sx;
    const double Bottom = Hash01(Xa, Yb, Seed) + (Hash01(Xb, Yb, Seed) - Hash01(Xa, Yb, Seed)) * Sx;
    return Top + (Bottom - Top) * Sy;
}

double SmoothStep(double Edge0, double Edge1, double X)
{
    const double T = std::clamp((X - Edge0) / (Edge1 - Edge0), 0.0, 1.0);
    return T * T * (3 - 2 * T);
}

double Band(double Value, double From, double To)
{
    return std::clamp(Value - From + 0.5, 0.0, 1.0) * std::clamp(To - Value + 0.5, 0.0, 1.0);
}

TColor MixColor(const TColor& A, const TColor& B, double T)
{
    return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T, A.A + (B.A - A.A) * T};
}

TColor Shade(const TColor& Color, double Amount)
{
    return Amount >= 0 ? Color.Lighter(Amount) : Color.Darker(-Amount);
}

void ShadeCanvas(TCanvas& Canvas, const std::function<TColor(double X, double Y)>& Shader)
{
    cairo_surface_t* Surface = Canvas.Surface();
    cairo_surface_flush(Surface);
    const int Stride = cairo_image_surface_get_stride(Surface);
    unsigned char* Data = cairo_image_surface_get_data(Surface);
    for (int Y = 0; Y < Canvas.Height(); ++Y)
    {
        auto* Row = reinterpret_cast<std::uint32_t*>(Data + static_cast<std::ptrdiff_t>(Y) * Stride);
        for (int X = 0; X < Canvas.Width(); ++X)
        {
            const TColor C = Shader(X + 0.5, Y + 0.5);
            const double A = std::clamp(C.A, 0.0, 1.0);
            // Cairo keeps colour multiplied by alpha.
            Row[X] = (std::uint32_t(ToByte(A)) << 24) | (std::uint32_t(ToByte(C.R * A)) << 16) |
                     (std::uint32_t(ToByte(C.G * A)) << 8) | std::uint32_t(ToByte(C.B * A));
        }
    }
    cairo_surface_mark_dirty(Surface);
}

} // namespace vm::assetgen
