// A sprite's rectangle turned by its Angle about its centre.
#include "world/turned_box.h"

#include "engine/sprite.h"

#include <bit>
#include <cmath>
#include <numbers>

namespace vm {
namespace {
constexpr double DegToRad = std::numbers::pi / 180.0;

bool SameBits(const std::array<double, 4>& A, const std::array<double, 4>& B)
{
    for (std::size_t K = 0; K < 4; ++K)
        if (std::bit_cast<std::uint64_t>(A[K]) != std::bit_cast<std::uint64_t>(B[K]))
            return false;
    return true;
}

} // namespace

std::array<double, 4> BoxCornerAngles(double Width, double Height)
{
    const double Theta = std::atan(Height / Width) / DegToRad;
    return {180.0 - Theta, Theta - 180.0, -Theta, Theta};
}

void UpdateBoxCorners(const TSprite& Sprite, const std::array<double, 4>& CornerAngles, TBoxCorners& Corners)
{
    TBoxTurn Turn;
    UpdateBoxCorners(Sprite, CornerAngles, Corners, Turn);
}

void UpdateBoxCorners(const TSprite& Sprite, const std::array<double, 4>& CornerAngles, TBoxCorners& Corners,
                      TBoxTurn& Turn)
{
    const double HalfWidth = Sprite.Width() / 2.0, HalfHeight = Sprite.Height() / 2.0;
    const std::uint32_t AngleBits = std::bit_cast<std::uint32_t>(Sprite.Angle);
    if (!Turn.Known || Turn.AngleBits != AngleBits || Turn.Width != Sprite.Width() ||
        Turn.Height != Sprite.Height() || !SameBits(Turn.CornerAngles, CornerAngles))
    {
        const double R = std::sqrt(HalfHeight * HalfHeight + HalfWidth * HalfWidth);
        for (std::size_t K = 0; K < 4; ++K)
        {
            const double A = (Sprite.Angle + CornerAngles[K]) * DegToRad;
            Turn.Dx[K] = R * std::cos(A);
            Turn.Dy[K] = R * std::sin(A);
        }
        Turn.Known = true;
        Turn.AngleBits = AngleBits;
        Turn.Width = Sprite.Width();
        Turn.Height = Sprite.Height();
        Turn.CornerAngles = CornerAngles;
    }
    for (std::size_t K = 0; K < 4; ++K)
    {
        Corners[K].X = Sprite.X() + HalfWidth + Turn.Dx[K];
        Corners[K].Y = Sprite.Y() + HalfHeight + Turn.Dy[K];
    }
}

} // namespace vm
