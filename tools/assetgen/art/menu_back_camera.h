// A pinhole camera over a flat ground plane, for the perspective scenes of the menu pictures.
#pragma once

#include <algorithm>
#include <cmath>

namespace vm::assetgen {

struct TVec3
{
    double X = 0, Y = 0, Z = 0;
};

inline TVec3 operator+(const TVec3& A, const TVec3& B) { return {A.X + B.X, A.Y + B.Y, A.Z + B.Z}; }
inline TVec3 operator-(const TVec3& A, const TVec3& B) { return {A.X - B.X, A.Y - B.Y, A.Z - B.Z}; }
inline TVec3 operator*(const TVec3& A, double S) { return {A.X * S, A.Y * S, A.Z * S}; }
inline double Dot(const TVec3& A, const TVec3& B) { return A.X * B.X + A.Y * B.Y + A.Z * B.Z; }
inline TVec3 Cross(const TVec3& A, const TVec3& B)
{
    return {A.Y * B.Z - A.Z * B.Y, A.Z * B.X - A.X * B.Z, A.X * B.Y - A.Y * B.X};
}
inline TVec3 Normalized(const TVec3& A)
{
    const double Length = std::sqrt(Dot(A, A));
    return Length > 0 ? A * (1 / Length) : A;
}

struct TPoint2
{
    double X = 0, Y = 0;
};

// World axes: X to the right, Y up, Z away from the viewer; the ground is Y = 0. The camera
// stands at (0, Height, 0), looks along +Z and is tilted down by Pitch degrees.
class TCamera
{
public:
    TCamera(double Height, double PitchDegrees, double Focal, double CenterX, double CenterY)
        : FHeight(Height), FCos(std::cos(PitchDegrees * M_PI / 180)),
          FSin(std::sin(PitchDegrees * M_PI / 180)), FFocal(Focal), FCenterX(CenterX), FCenterY(CenterY)
    {}

    TVec3 Position() const { return {0, FHeight, 0}; }
    // Distance of P in front of the camera (along its view axis).
    double Depth(const TVec3& P) const { return (P.Y - FHeight) * -FSin + P.Z * FCos; }
    TPoint2 Project(const TVec3& P) const
    {
        const double Up = (P.Y - FHeight) * FCos + P.Z * FSin;
        const double Depth = std::max(0.05, this->Depth(P));
        return {FCenterX + FFocal * P.X / Depth, FCenterY - FFocal * Up / Depth};
    }
    // Pixels per world unit at the depth of P.
    double Scale(const TVec3& P) const { return FFocal / std::max(0.05, Depth(P)); }
    // Screen row of the horizon (the ground at infinite distance).
    double HorizonY() const { return FCenterY - FFocal * FSin / FCos; }

private:
    double FHeight;
    double FCos;
    double FSin;
    double FFocal;
    double FCenterX;
    double FCenterY;
};

} // namespace vm::assetgen
