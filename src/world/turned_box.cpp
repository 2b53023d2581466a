// A sprite's rectangle turned by its Angle about its centre.
#include "world/turned_box.h"

#include "engine/sprite.h"

#include <cmath>
#include <numbers>

namespace vm {
namespace {
constexpr double DegToRad = std::numbers::pi / 180.0;
} // namespace

std::array<double, 4> BoxCornerAngles(double Width, double Height)
{
    const double Theta = std::atan(Height / Width) / DegToRad;
    return {180.0 - Theta, Theta - 180.0, -Theta, Theta};
}

void UpdateBoxCorners(const TSprite& Sprite, const std::array<double, 4>& CornerAngles, TBoxCorners& Corners)
{
    const double HalfWidth = Sprite.Width() / 2.0, HalfHeight = Sprite.Height() / 2.0;
    const double R = std::sqrt(HalfHeight * HalfHeight + HalfWidth * HalfWidth);
    for (std::size_t K = 0; K < 4; ++K)
    {
        const double A = (Sprite.Angle + CornerAngles[K]) * DegToRad;
        Corners[K].X = Sprite.X() + HalfWidth + R * std::cos(A);
        Corners[K].Y = Sprite.Y() + HalfHeight + R * std::sin(A);
    }
}

} // namespace vm
