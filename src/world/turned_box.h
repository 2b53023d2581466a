// A sprite's rectangle turned by its Angle about its centre: the outline that walls and the finish
// strip test cars against.
#pragma once

#include <array>
#include <cstdint>

namespace vm {

class TSprite;

struct TBoxCorner
{
    double X = 0.0, Y = 0.0;
};
using TBoxCorners = std::array<TBoxCorner, 4>;

// The corners' offsets from the centre for one angle, size and set of corner angles, kept so that
// a box that does not turn needs no trigonometry in the frames after.
struct TBoxTurn
{
    bool Known = false;
    std::uint32_t AngleBits = 0;
    std::int32_t Width = 0, Height = 0;
    std::array<double, 4> CornerAngles{};
    std::array<double, 4> Dx{}, Dy{};
};

// The corners' angles about the centre of a Width x Height box, relative to its Angle:
// 180 - t, t - 180, -t and t degrees, with t = atan(Height / Width).
std::array<double, 4> BoxCornerAngles(double Width, double Height);

// Corner k = the centre + r (cos, sin)(Angle + CornerAngles[k]), r being half the diagonal.
void UpdateBoxCorners(const TSprite& Sprite, const std::array<double, 4>& CornerAngles, TBoxCorners& Corners);
// The same corners, with the offsets taken from Turn while angle, size and corner angles are those
// it was worked out for (to the bit), else worked out and kept in it.
void UpdateBoxCorners(const TSprite& Sprite, const std::array<double, 4>& CornerAngles, TBoxCorners& Corners,
                      TBoxTurn& Turn);

} // namespace vm
