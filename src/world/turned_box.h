// A sprite's rectangle turned by its Angle about its centre: the outline that walls and the finish
// strip test cars against.
#pragma once

#include <array>

namespace vm {

class TSprite;

struct TBoxCorner
{
    double X = 0.0, Y = 0.0;
};
using TBoxCorners = std::array<TBoxCorner, 4>;

// The corners' angles about the centre of a Width x Height box, relative to its Angle:
// 180 - t, t - 180, -t and t degrees, with t = atan(Height / Width).
std::array<double, 4> BoxCornerAngles(double Width, double Height);

// Corner k = the centre + r (cos, sin)(Angle + CornerAngles[k]), r being half the diagonal.
void UpdateBoxCorners(const TSprite& Sprite, const std::array<double, 4>& CornerAngles, TBoxCorners& Corners);

} // namespace vm
