// The five car models as shapes and paint schemes, seen from above with the nose at the bottom.
#pragma once

#include "art/style.h"

#include <array>
#include <string>
#include <vector>

namespace vm::assetgen {

// A point of a symmetric outline: X is the distance from the centre line, Y from the top (tail) edge.
struct TCarPoint
{
    double X = 0;
    double Y = 0;
};

// A body colour and the colour of its stripes and trim.
struct TCarPaint
{
    TColor Body;
    TColor Stripe;
};

enum class TCarStripes
{
    None,
    Twin,     // two narrow stripes either side of the centre line
    TwinWide, // two broad muscle-car stripes
    Centre,   // one slim centre stripe
};

enum class TCarLamps
{
    Round, // one round lamp a side
    Slim,  // a slanted slim lamp a side
    Quad,  // two round lamps a side
};

enum class TCarWing
{
    None,
    Lip, // a small spoiler lip on the tail
    Big, // a rear wing with end plates
};

// A lamp: an ellipse either side of the centre line, clipped to the body.
struct TCarLamp
{
    double X = 0;     // centre's distance from the centre line
    double Y = 0;     // centre from the top edge
    double Rx = 0;    // half-width
    double Ry = 0;    // half-height
    double Slant = 0; // degrees, turned towards the centre line on the right side
};

struct TCarModel
{
    std::string Name;
    int Width = 40;
    int Height = 70;
    // Right half of the body outline, from the tail's centre to the nose's centre.
    std::vector<TCarPoint> Body;
    // Right half of the glass area (all windows) and of the roof drawn over it.
    std::vector<TCarPoint> Glass;
    std::vector<TCarPoint> Roof;
    double RearAxle = 15; // wheel centres, from the top edge
    double FrontAxle = 54;
    double WheelLength = 12;
    double WheelWidth = 5;
    double WheelOuter = 19.5; // wheel's outer side from the centre line
    TCarLamps HeadKind = TCarLamps::Round;
    TCarLamp Head;        // headlamps (near the bottom edge)
    TCarLamp Tail;        // tail lamps (near the top edge)
    bool TailBar = false; // a red light bar joins the tail lamps
    TCarStripes Stripes = TCarStripes::None;
    TCarWing Wing = TCarWing::None;
    bool HoodScoop = false;   // an air scoop on the bonnet
    bool HoodBulge = false;   // a raised power bulge along the bonnet
    bool FenderVents = false; // vents behind the front wheels
    bool SideIntakes = false; // big air intakes ahead of the rear wheels
    bool EngineSlats = false; // a slatted engine cover behind the cabin
    double MirrorY = 46;      // where the mirrors stand, from the top edge
    std::array<TCarPaint, 3> Paints;
};

constexpr int CarModelCount = 5;

// The model of catalogue car Index (0..4): Razzler, Turbo, Volcano, Viper, Beast.
const TCarModel& CarModel(int Index);

} // namespace vm::assetgen
