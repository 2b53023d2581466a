// The five car models: outlines, cabins, lamps, trim and three paint schemes each.
#include "art/car_models.h"

#include <algorithm>

namespace vm::assetgen {

namespace {

// Razzler: the all-rounder, a rounded sports coupe with twin stripes.
TCarModel MakeRazzler()
{
    TCarModel M;
    M.Name = "Razzler";
    M.Width = 40;
    M.Height = 70;
    M.Body = {{0, 1.0},   {12, 1.2},  {16.6, 2.6}, {17.7, 8},  {17.8, 15}, {17.3, 25}, {16.9, 34},
              {17.4, 44}, {17.7, 53}, {17.5, 61},  {16, 66.2}, {11, 68.6}, {0, 69.2}};
    M.Glass = {{0, 19}, {11, 19.4}, {13.6, 22}, {14.1, 30}, {14.2, 38}, {13.7, 44}, {11.8, 46.8}, {0, 47.6}};
    M.Roof = {{0, 24.6}, {11, 24.9}, {12.2, 27}, {12.3, 36}, {11.4, 39.6}, {0, 40}};
    M.RearAxle = 15;
    M.FrontAxle = 54;
    M.WheelLength = 12;
    M.WheelWidth = 5;
    M.WheelOuter = 19.8;
    M.HeadKind = TCarLamps::Round;
    M.Head = {12.2, 64.6, 3.4, 2.6, 20};
    M.Tail = {13.2, 3.0, 3.4, 1.7, -10};
    M.Stripes = TCarStripes::Twin;
    M.Wing = TCarWing::Lip;
    M.MirrorY = 45;
    M.Paints = {{{palette::Orange, palette::Snow},
                 {Rgb(0x2d7de0), palette::Snow},
                 {Rgb(0x6cc42c), palette::Night.Lighter(0.1)}}};
    return M;
}

// Turbo: the quick starter, a short boxy hot hatch with a bonnet scoop and a big wing.
TCarModel MakeTurbo()
{
    TCarModel M;
    M.Name = "Turbo";
    M.Width = 40;
    M.Height = 64;
    M.Body = {{0, 1.4},   {14, 1.5},  {17.4, 2.4}, {18.1, 6},    {18.0, 13},   {17.7, 22},
              {17.8, 35}, {18.1, 43}, {18.0, 52},  {17.7, 58.8}, {14.5, 62.4}, {0, 62.9}};
    M.Glass = {{0, 9.6}, {13, 9.9}, {15.1, 12}, {15.4, 22}, {15.1, 32.6}, {13.4, 36.6}, {0, 37.6}};
    M.Roof = {{0, 12.6}, {12.5, 12.9}, {13.4, 14.6}, {13.4, 27.6}, {12.6, 30.6}, {0, 31}};
    M.RearAxle = 13.5;
    M.FrontAxle = 48.5;
    M.WheelLength = 11.5;
    M.WheelWidth = 5;
    M.WheelOuter = 19.8;
    M.HeadKind = TCarLamps::Slim;
    M.Head = {12.6, 59.2, 4.2, 1.7, 8};
    M.Tail = {15.6, 6.2, 1.6, 3.4, 0};
    M.Stripes = TCarStripes::None;
    M.Wing = TCarWing::Big;
    M.HoodScoop = true;
    M.MirrorY = 35;
    M.Paints = {{{palette::Red, palette::Snow},
                 {palette::Amber, palette::Night.Lighter(0.1)},
                 {Rgb(0x1fb5a8), palette::Snow}}};
    return M;
}

// Volcano: the heavy cruiser, a wide muscle car with a long bonnet, bulge and broad stripes.
TCarModel MakeVolcano()
{
    TCarModel M;
    M.Name = "Volcano";
    M.Width = 42;
    M.Height = 74;
    M.Body = {{0, 1.2},   {15, 1.4},  {18.4, 3},  {18.9, 8},  {18.9, 16},   {18.6, 26},
              {18.5, 40}, {18.9, 50}, {18.9, 60}, {18.7, 68}, {16.2, 72.2}, {0, 72.8}};
    M.Glass = {{0, 15.6}, {12.6, 16}, {15, 18.6}, {15.4, 26.6}, {15.1, 34.6}, {13, 37.8}, {0, 38.8}};
    M.Roof = {{0, 20.8}, {12.3, 21.1}, {13.3, 23}, {13.3, 29.8}, {12.3, 32.4}, {0, 33}};
    M.RearAxle = 16;
    M.FrontAxle = 58.5;
    M.WheelLength = 13;
    M.WheelWidth = 5.5;
    M.WheelOuter = 20.8;
    M.HeadKind = TCarLamps::Quad;
    M.Head = {14.2, 69.8, 1.9, 1.9, 0};
    M.Tail = {14.5, 2.8, 4.2, 1.4, 0};
    M.TailBar = true;
    M.Stripes = TCarStripes::TwinWide;
    M.Wing = TCarWing::Lip;
    M.HoodBulge = true;
    M.HoodScoop = true;
    M.MirrorY = 37;
    M.Paints = {{{Rgb(0xd8432a), palette::Night.Lighter(0.12)},
                 {Rgb(0x7a4fd6), palette::Snow},
                 {palette::Cyan.Darker(0.08), palette::Night.Lighter(0.12)}}};
    return M;
}

// Viper: the handler, a narrow coke-bottle roadster with a canopy cabin set well back.
TCarModel MakeViper()
{
    TCarModel M;
    M.Name = "Viper";
    M.Width = 38;
    M.Height = 70;
    M.Body = {{0, 1.5}, {10, 1.6},  {14.6, 3},  {16.8, 8},    {17.1, 15},   {15.6, 24}, {14.3, 32},
              {15, 40}, {16.8, 48}, {17.1, 55}, {16.1, 61.6}, {11.6, 66.6}, {5, 69},    {0, 69.3}};
    M.Glass = {{0, 19.8}, {8.6, 20.3}, {10.8, 23.6}, {11.2, 30.6}, {10.6, 36.8}, {8.2, 40.4}, {0, 41.4}};
    M.Roof = {{0, 23.8}, {7.6, 24.1}, {8.7, 26.4}, {8.6, 31.8}, {7.2, 34.4}, {0, 35}};
    M.RearAxle = 15;
    M.FrontAxle = 55;
    M.WheelLength = 12;
    M.WheelWidth = 5;
    M.WheelOuter = 18.8;
    M.HeadKind = TCarLamps::Slim;
    M.Head = {11.2, 63.2, 3.8, 1.4, 34};
    M.Tail = {12.4, 3.4, 3.2, 1.3, -14};
    M.Stripes = TCarStripes::Centre;
    M.Wing = TCarWing::None;
    M.FenderVents = true;
    M.MirrorY = 38.5;
    M.Paints = {{{Rgb(0x2fbf5a), palette::Snow},
                 {Rgb(0xd63f9a), palette::Snow},
                 {Rgb(0x49a6ff), palette::Night.Lighter(0.12)}}};
    return M;
}

// Beast: the fastest, a wide mid-engine supercar with a forward cabin, intakes and a big wing.
TCarModel MakeBeast()
{
    TCarModel M;
    M.Name = "Beast";
    M.Width = 44;
    M.Height = 74;
    M.Body = {{0, 1.0},   {16, 1.2}, {19.6, 3},  {20.2, 10}, {20.3, 18}, {18.6, 27}, {17.6, 36},
              {18.6, 46}, {20, 54},  {20.2, 60}, {18.6, 67}, {13, 71.5}, {0, 72.6}};
    M.Glass = {{0, 30}, {12.5, 30.5}, {15, 34}, {15.5, 41}, {14.5, 48}, {11.5, 52}, {0, 53}};
    M.Roof = {{0, 33.6}, {12, 33.9}, {13, 36}, {12.8, 42}, {11.5, 45}, {0, 45.5}};
    M.RearAxle = 16;
    M.FrontAxle = 58.5;
    M.WheelLength = 14;
    M.WheelWidth = 6;
    M.WheelOuter = 21.8;
    M.HeadKind = TCarLamps::Slim;
    M.Head = {13.4, 66.6, 4.6, 1.3, 24};
    M.Tail = {15, 7.4, 3.6, 1.1, 0};
    M.TailBar = true;
    M.Stripes = TCarStripes::Centre;
    M.Wing = TCarWing::Big;
    M.SideIntakes = true;
    M.EngineSlats = true;
    M.MirrorY = 49.5;
    M.Paints = {{{Rgb(0xf0a818), palette::Night.Lighter(0.12)},
                 {Rgb(0xd0264e), palette::Night.Lighter(0.12)},
                 {Rgb(0x4f5fe0), palette::Amber}}};
    return M;
}

} // namespace

const TCarModel& CarModel(int Index)
{
    static const std::array<TCarModel, CarModelCount> Models = {MakeRazzler(), MakeTurbo(), MakeVolcano(),
                                                                MakeViper(), MakeBeast()};
    return Models[static_cast<std::size_t>(std::clamp(Index, 0, CarModelCount - 1))];
}

} // namespace vm::assetgen
