// The sports car of the menu scenes: a small faceted 3D model drawn through a TCamera.
#pragma once

#include "art/menu_back_camera.h"
#include "art/style.h"

#include <cairo.h>

namespace vm::assetgen {

struct TSceneCarPose
{
    double X = 0; // ground position of the car's centre
    double Z = 10;
    double Heading = 180; // degrees: 0 drives away from the viewer (+Z), 90 to the right (+X)
    TColor Body = palette::Orange;
};

// The two headlamps on the picture: the one farther from the viewer and the nearer one.
struct TSceneCarLamps
{
    TPoint2 Far;
    TPoint2 Near;
    double PixelsPerMetre = 0; // scale at the car, to size glows
};

TSceneCarLamps SceneCarLamps(const TCamera& Camera, const TSceneCarPose& Pose);
// The car's shadow and its headlight beams on the road; drawn before the car and before
// anything standing nearer to the viewer.
void DrawSceneCarGround(cairo_t* Cr, const TCamera& Camera, const TSceneCarPose& Pose);
// The car's body, glass, wheels and lamps.
void DrawSceneCar(cairo_t* Cr, const TCamera& Camera, const TSceneCarPose& Pose);

} // namespace vm::assetgen
