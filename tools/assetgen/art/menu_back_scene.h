// The dusk race scene of the menu pictures: sky, skyline, hills, a winding road, trees and a car.
#pragma once

#include "art/menu_back_car.h"

#include <cairo.h>
#include <cstdint>
#include <vector>

namespace vm::assetgen {

struct TDuskScene
{
    double CameraHeight = 5.5; // metres over the ground
    double CameraPitch = 13;   // degrees down
    double Focal = 430;        // pixels
    double SunX = 230;         // the setting sun's column on the picture
    // The road's centre line as (distance ahead, sideways) points, nearest first.
    std::vector<TPoint2> Road;
    double RoadHalfWidth = 3.6;
    TSceneCarPose Car;
    std::uint64_t Seed = 1;
    int TreeCount = 60;
    // Trees are kept out of these screen rectangles (x0, y0, x1, y1) so text and buttons stay calm.
    std::vector<std::vector<double>> KeepClear;
};

// Paints the whole Width x Height picture opaque and returns where the car's lamps are.
TSceneCarLamps DrawDuskScene(cairo_t* Cr, int Width, int Height, const TDuskScene& Scene);

// Blurs a Cairo ARGB32 surface in place (three box passes, close to a Gaussian).
void BlurSurface(cairo_surface_t* Surface, int Radius);

} // namespace vm::assetgen
