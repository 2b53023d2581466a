// The dusk race scene of the menu pictures: sky, skyline, hills, a winding road, trees and a car.
#include "art/menu_back_scene.h"

#include "engine/random.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vm::assetgen {
namespace {

// Evening haze: what far things fade into.
const TColor Haze = Rgb(0x6a3f5c);

double Uniform(TRandom& Random, double Low, double High)
{
    return Low + (High - Low) * Random.Random(10000) / 10000.0;
}

// The road's centre line: sideways position at a distance, Catmull-Rom through the points.
class TRoadLine
{
public:
    explicit TRoadLine(const std::vector<TPoint2>& Points) : FPoints(Points) {}

    double SideAt(double Ahead) const
    {
        const int Count = static_cast<int>(FPoints.size());
        if (Count == 0)
            return 0;
        if (Ahead <= FPoints.front().X)
            return FPoints.front().Y;
        if (Ahead >= FPoints.back().X)
            return FPoints.back().Y;
        int I = 0;
        while (I + 2 < Count && FPoints[I + 1].X < Ahead)
            ++I;
        const TPoint2& P1 = FPoints[I];
        const TPoint2& P2 = FPoints[I + 1];
        const TPoint2& P0 = FPoints[std::max(0, I - 1)];
        const TPoint2& P3 = FPoints[std::min(Count - 1, I + 2)];
        const double T = (Ahead - P1.X) / (P2.X - P1.X);
        // Tangents scaled to the span so uneven spacing does not overshoot.
        const double Span = P2.X - P1.X;
        const double M1 = (P2.Y - P0.Y) / std::max(1e-6, P2.X - P0.X) * Span;
        const double M2 = (P3.Y - P1.Y) / std::max(1e-6, P3.X - P1.X) * Span;
        const double T2 = T * T;
        const double T3 = T2 * T;
        return (2 * T3 - 3 * T2 + 1) * P1.Y + (T3 - 2 * T2 + T) * M1 + (-2 * T3 + 3 * T2) * P2.Y +
               (T3 - T2) * M2;
    }
    // Ground point Offset metres to the right of the centre line at a distance.
    TVec3 Point(double Ahead, double Offset) const
    {
        const double Slope = (SideAt(Ahead + 0.25) - SideAt(Ahead - 0.25)) / 0.5;
        const double Norm = std::sqrt(1 + Slope * Slope);
        return {SideAt(Ahead) + Offset / Norm, 0, Ahead - Offset * Slope / Norm};
    }

private:
    std::vector<TPoint2> FPoints;
};

// Distances along the road sampled densely near the viewer and sparsely far away.
std::vector<double> RoadSamples(double From, double To)
{
    std::vector<double> Samples;
    for (double Z = From; Z < To; Z *= 1.025)
        Samples.push_back(Z);
    Samples.push_back(To);
    return Samples;
}

// Fills the band of the road between two sideways offsets over a stretch of distance.
void FillRoadBand(cairo_t* Cr, const TCamera& Camera, const TRoadLine& Line, double OffsetA, double OffsetB,
                  double From, double To)
{
    const std::vector<double> Samples = RoadSamples(From, To);
    cairo_new_path(Cr);
    for (double Z : Samples)
    {
        const TPoint2 P = Camera.Project(Line.Point(Z, OffsetA));
        cairo_line_to(Cr, P.X, P.Y);
    }
    for (auto It = Samples.rbegin(); It != Samples.rend(); ++It)
    {
        const TPoint2 P = Camera.Project(Line.Point(*It, OffsetB));
        cairo_line_to(Cr, P.X, P.Y);
    }
    cairo_close_path(Cr);
    cairo_fill(Cr);
}

// How much a thing at this distance has faded into the haze.
double Fade(double Ahead) { return std::clamp((Ahead - 8) / 260, 0.0, 0.85); }

void DrawSky(cairo_t* Cr, int Width, double Horizon, double SunX, TRandom& Random)
{
    cairo_pattern_t* Sky = cairo_pattern_create_linear(0, 0, 0, Horizon);
    const std::pair<double, unsigned> Stops[] = {{0, 0x0b0f1e},    {0.32, 0x1c2144}, {0.58, 0x43305d},
                                                 {0.78, 0x9c4461}, {0.91, 0xe8703c}, {1, 0xffb14a}};
    for (const auto& [At, Hex] : Stops)
    {
        const TColor C = Rgb(Hex);
        cairo_pattern_add_color_stop_rgb(Sky, At, C.R, C.G, C.B);
    }
    cairo_rectangle(Cr, 0, 0, Width, Horizon + 2);
    cairo_set_source(Cr, Sky);
    cairo_fill(Cr);
    cairo_pattern_destroy(Sky);
    // A few early stars in the dark upper sky.
    for (int I = 0; I < 70; ++I)
    {
        const double X = Uniform(Random, 0, Width);
        const double Y = Uniform(Random, 4, Horizon * 0.45);
        const double Size = Uniform(Random, 0.5, 1.3);
        cairo_arc(Cr, X, Y, Size, 0, 2 * M_PI);
        SetColor(Cr, palette::Snow.WithAlpha(Uniform(Random, 0.25, 0.75) * (1 - Y / (Horizon * 0.5))));
        cairo_fill(Cr);
    }
    // The sun's glow low over the horizon, and the sun itself half set.
    cairo_pattern_t* Glow = cairo_pattern_create_radial(SunX, Horizon, 10, SunX, Horizon, 330);
    cairo_pattern_add_color_stop_rgba(Glow, 0, 1, 0.85, 0.45, 0.75);
    cairo_pattern_add_color_stop_rgba(Glow, 0.35, 1, 0.55, 0.22, 0.3);
    cairo_pattern_add_color_stop_rgba(Glow, 1, 1, 0.45, 0.2, 0);
    cairo_rectangle(Cr, 0, 0, Width, Horizon + 2);
    cairo_set_source(Cr, Glow);
    cairo_fill(Cr);
    cairo_pattern_destroy(Glow);
    cairo_arc(Cr, SunX, Horizon - 6, 24, 0, 2 * M_PI);
    SetColor(Cr, Rgb(0xffe2a0));
    cairo_fill(Cr);
    // Long thin clouds lit from below by the sun.
    for (int I = 0; I < 7; ++I)
    {
        const double CloudY = Uniform(Random, Horizon * 0.5, Horizon * 0.86);
        const double CloudX = Uniform(Random, -80, Width);
        const double Length = Uniform(Random, 120, 300);
        const double Thick = Uniform(Random, 2.5, 5.5) * (0.6 + CloudY / Horizon);
        const double Warm = std::clamp(1 - std::abs(CloudX + Length / 2 - SunX) / 600, 0.2, 1.0);
        for (int Layer = 0; Layer < 2; ++Layer)
        {
            cairo_save(Cr);
            cairo_translate(Cr, CloudX + Length / 2, CloudY + (Layer == 0 ? 2.5 : 0));
            cairo_scale(Cr, Length / 2, Thick);
            cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(Cr);
            if (Layer == 0)
                SetColor(Cr, Rgb(0xffa060, 0.55 * Warm));
            else
                SetColor(Cr, Rgb(0x4c3260, 0.85).Mix(Rgb(0x8a4a68), CloudY / Horizon * 0.6));
            cairo_fill(Cr);
        }
    }
}

// The city on the horizon behind the sun: towers in silhouette with lit windows.
void DrawSkyline(cairo_t* Cr, double Horizon, double FromX, double ToX, TRandom& Random)
{
    const TColor Building = Rgb(0x2c2143);
    double X = FromX;
    while (X < ToX)
    {
        const double W = Uniform(Random, 7, 20);
        const double Middle = 1 - std::abs((X - (FromX + ToX) / 2) / ((ToX - FromX) / 2));
        const double H = Uniform(Random, 6, 20) + Middle * Uniform(Random, 10, 42);
        cairo_rectangle(Cr, X, Horizon - H, W, H + 1);
        SetColor(Cr, Building.Mix(Haze, Uniform(Random, 0, 0.25)));
        cairo_fill(Cr);
        for (double WY = Horizon - H + 3; WY < Horizon - 3; WY += 4)
            for (double WX = X + 2; WX < X + W - 2; WX += 3.5)
                if (Random.Random(100) < 22)
                {
                    cairo_rectangle(Cr, WX, WY, 1.4, 1.6);
                    SetColor(Cr, palette::Amber.WithAlpha(Uniform(Random, 0.35, 0.9)));
                    cairo_fill(Cr);
                }
        if (H > 40 && Random.Random(3) == 0)
        {
            cairo_rectangle(Cr, X + W / 2 - 0.6, Horizon - H - 9, 1.2, 9);
            SetColor(Cr, Building);
            cairo_fill(Cr);
            cairo_arc(Cr, X + W / 2, Horizon - H - 9, 1.4, 0, 2 * M_PI);
            SetColor(Cr, palette::Red);
            cairo_fill(Cr);
        }
        X += W + Uniform(Random, -2, 2);
    }
}

// A ridge of hills: a smooth random outline from Low (its height at the sides) down to the horizon.
void DrawHills(cairo_t* Cr, int Width, double Horizon, double LeftHeight, double RightHeight, double Dip,
               const TColor& Color, TRandom& Random)
{
    double Phase1 = Uniform(Random, 0, 6.28), Phase2 = Uniform(Random, 0, 6.28);
    cairo_new_path(Cr);
    cairo_move_to(Cr, 0, Horizon + 2);
    for (int X = 0; X <= Width; X += 4)
    {
        const double T = static_cast<double>(X) / Width;
        // High at the sides, low in the middle where the city shows.
        const double Side =
            T < 0.5 ? LeftHeight * std::pow(1 - T / 0.5, 1.6) : RightHeight * std::pow((T - 0.5) / 0.5, 1.6);
        const double Wave = 7 * std::sin(T * 11 + Phase1) + 4 * std::sin(T * 27 + Phase2);
        cairo_line_to(Cr, X, Horizon - std::max(0.0, Side + Dip + Wave));
    }
    cairo_line_to(Cr, Width, Horizon + 2);
    cairo_close_path(Cr);
    SetColor(Cr, Color);
    cairo_fill(Cr);
}

void DrawGround(cairo_t* Cr, const TCamera& Camera, int Width, int Height, TRandom& Random)
{
    const double Horizon = Camera.HorizonY();
    cairo_pattern_t* Ground = cairo_pattern_create_linear(0, Horizon, 0, Height);
    const std::pair<double, unsigned> Stops[] = {
        {0, 0x6a3f5c}, {0.06, 0x3d3a4a}, {0.2, 0x263a2e}, {0.6, 0x1b2e22}, {1, 0x101a14}};
    for (const auto& [At, Hex] : Stops)
    {
        const TColor C = Rgb(Hex);
        cairo_pattern_add_color_stop_rgb(Ground, At, C.R, C.G, C.B);
    }
    cairo_rectangle(Cr, 0, Horizon, Width, Height - Horizon);
    cairo_set_source(Cr, Ground);
    cairo_fill(Cr);
    cairo_pattern_destroy(Ground);
    // Fields: large patches of lighter and darker grass lying on the ground.
    for (int I = 0; I < 90; ++I)
    {
        const double Z = 6 * std::pow(60, Uniform(Random, 0, 1));
        const double X = Uniform(Random, -1.2, 1.2) * Z + Uniform(Random, -20, 20);
        const double W = Uniform(Random, 6, 26) * (0.5 + Z / 80);
        const double D = Uniform(Random, 4, 14) * (0.5 + Z / 80);
        const TPoint2 Corners[] = {Camera.Project({X, 0, Z}), Camera.Project({X + W, 0, Z}),
                                   Camera.Project({X + W, 0, Z + D}), Camera.Project({X, 0, Z + D})};
        cairo_new_path(Cr);
        for (const TPoint2& P : Corners)
            cairo_line_to(Cr, P.X, P.Y);
        cairo_close_path(Cr);
        const bool Light = Random.Random(2) == 0;
        SetColor(Cr, (Light ? Rgb(0x4a6a3a) : Rgb(0x0c160f)).Mix(Haze, Fade(Z)).WithAlpha(0.22));
        cairo_fill(Cr);
    }
}

void DrawRoad(cairo_t* Cr, const TCamera& Camera, const TRoadLine& Line, double HalfWidth, double Height)
{
    const double Horizon = Camera.HorizonY();
    const double Far = 900;
    // Verge, then tarmac fading into the haze towards the horizon.
    SetColor(Cr, Rgb(0x2a2a22, 0.8));
    FillRoadBand(Cr, Camera, Line, -HalfWidth - 1.4, HalfWidth + 1.4, 0.8, Far);
    cairo_pattern_t* Tarmac = cairo_pattern_create_linear(0, Horizon, 0, Height);
    const TColor Near = palette::Asphalt.Darker(0.35);
    const TColor Mid = palette::Asphalt.Mix(Haze, 0.25);
    cairo_pattern_add_color_stop_rgb(Tarmac, 0, Haze.R, Haze.G, Haze.B);
    cairo_pattern_add_color_stop_rgb(Tarmac, 0.12, Mid.R, Mid.G, Mid.B);
    cairo_pattern_add_color_stop_rgb(Tarmac, 1, Near.R, Near.G, Near.B);
    cairo_set_source(Cr, Tarmac);
    FillRoadBand(Cr, Camera, Line, -HalfWidth, HalfWidth, 0.8, Far);
    cairo_pattern_destroy(Tarmac);
    // Kerbs in red and white blocks, fading with distance.
    for (double Z = 0.8; Z < 140; Z += 2.2)
    {
        const bool Red = static_cast<int>(std::lround(Z / 2.2)) % 2 == 0;
        const TColor Base = Red ? palette::KerbRed : palette::KerbWhite;
        SetColor(Cr, Base.Darker(0.25).Mix(Haze, Fade(Z)));
        FillRoadBand(Cr, Camera, Line, -HalfWidth - 0.55, -HalfWidth, Z, Z + 2.2);
        FillRoadBand(Cr, Camera, Line, HalfWidth, HalfWidth + 0.55, Z, Z + 2.2);
    }
    // Edge lines and the dashed centre line.
    for (double Z = 0.8; Z < Far; Z *= 1.2)
    {
        SetColor(Cr, palette::KerbWhite.Darker(0.2).Mix(Haze, Fade(Z)).WithAlpha(0.9));
        FillRoadBand(Cr, Camera, Line, -HalfWidth + 0.25, -HalfWidth + 0.38, Z, Z * 1.2);
        FillRoadBand(Cr, Camera, Line, HalfWidth - 0.38, HalfWidth - 0.25, Z, Z * 1.2);
    }
    for (double Z = 1; Z < 260; Z += 7)
    {
        SetColor(Cr, palette::Amber.Darker(0.1).Mix(Haze, Fade(Z)).WithAlpha(0.9));
        FillRoadBand(Cr, Camera, Line, -0.09, 0.09, Z, Z + 3.2);
    }
}

struct TTree
{
    TVec3 Base;
    double Height;
    bool Poplar;
    double Shade;
};

void DrawTree(cairo_t* Cr, const TCamera& Camera, const TTree& Tree, double SunX)
{
    const TPoint2 Foot = Camera.Project(Tree.Base);
    const double Scale = Camera.Scale(Tree.Base);
    const double H = Tree.Height * Scale;
    const double Fog = Fade(Tree.Base.Z);
    const TColor Body = Rgb(0x16281c).Mix(Rgb(0x203a26), Tree.Shade).Mix(Haze, Fog);
    const TColor Rim = Rgb(0xe08850).Mix(Haze, Fog).WithAlpha(0.5);
    // Lit from the sun's side.
    const double LightSide = SunX < Foot.X ? -1 : 1;
    // Trunk.
    cairo_rectangle(Cr, Foot.X - 0.12 * Scale, Foot.Y - H * 0.45, 0.24 * Scale, H * 0.45);
    SetColor(Cr, Rgb(0x1a1410).Mix(Haze, Fog));
    cairo_fill(Cr);
    auto Crown = [&](double Dx, double Dy) {
        cairo_save(Cr);
        if (Tree.Poplar)
        {
            cairo_translate(Cr, Foot.X + Dx, Foot.Y - H * 0.58 + Dy);
            cairo_scale(Cr, H * 0.16, H * 0.44);
            cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
        }
        else
        {
            const double R = H * 0.27;
            cairo_translate(Cr, Foot.X + Dx, Foot.Y - H * 0.66 + Dy);
            cairo_new_sub_path(Cr);
            cairo_arc(Cr, 0, 0, R, 0, 2 * M_PI);
            cairo_new_sub_path(Cr);
            cairo_arc(Cr, -R * 0.7, R * 0.35, R * 0.72, 0, 2 * M_PI);
            cairo_new_sub_path(Cr);
            cairo_arc(Cr, R * 0.7, R * 0.4, R * 0.68, 0, 2 * M_PI);
        }
        cairo_restore(Cr);
    };
    Crown(0, 0);
    SetColor(Cr, Rim);
    cairo_fill(Cr);
    Crown(-LightSide * std::min(2.5, H * 0.03), std::min(1.5, H * 0.015));
    SetColor(Cr, Body);
    cairo_fill(Cr);
}

bool Overlaps(const std::vector<double>& Box, double X0, double Y0, double X1, double Y1)
{
    return X1 > Box[0] && X0 < Box[2] && Y1 > Box[1] && Y0 < Box[3];
}

std::vector<TTree> PlaceTrees(const TCamera& Camera, const TRoadLine& Line, const TDuskScene& Scene,
                              TRandom& Random, int Width, int Height)
{
    std::vector<TTree> Trees;
    for (int Try = 0; Try < Scene.TreeCount * 8 && static_cast<int>(Trees.size()) < Scene.TreeCount; ++Try)
    {
        const double Z = 7 * std::pow(40, Uniform(Random, 0, 1));
        const double Side = Random.Random(2) == 0 ? -1 : 1;
        const double Offset = Side * (Scene.RoadHalfWidth + Uniform(Random, 3, 26));
        TTree Tree;
        Tree.Base = Line.Point(Z, Offset);
        Tree.Height = Uniform(Random, 5, 9);
        Tree.Poplar = Random.Random(3) == 0;
        Tree.Shade = Uniform(Random, 0, 1);
        // Keep off the road itself.
        bool OnRoad = false;
        for (double Ahead = Z - 4; Ahead <= Z + 4; Ahead += 1)
            if (std::abs(Line.SideAt(Ahead) - Tree.Base.X) < Scene.RoadHalfWidth + 2.5)
                OnRoad = true;
        if (OnRoad || Tree.Base.Z < 4)
            continue;
        const TPoint2 Foot = Camera.Project(Tree.Base);
        const double H = Tree.Height * Camera.Scale(Tree.Base);
        const double X0 = Foot.X - H * 0.5, X1 = Foot.X + H * 0.5, Y0 = Foot.Y - H, Y1 = Foot.Y;
        if (X1 < 0 || X0 > Width || Y0 > Height)
            continue;
        bool Clear = true;
        for (const std::vector<double>& Box : Scene.KeepClear)
            if (Box.size() == 4 && Overlaps(Box, X0, Y0, X1, Y1))
                Clear = false;
        if (Clear)
            Trees.push_back(Tree);
    }
    std::sort(Trees.begin(), Trees.end(), [](const TTree& A, const TTree& B) { return A.Base.Z > B.Base.Z; });
    return Trees;
}

} // namespace

TSceneCarLamps DrawDuskScene(cairo_t* Cr, int Width, int Height, const TDuskScene& Scene)
{
    const TCamera Camera(Scene.CameraHeight, Scene.CameraPitch, Scene.Focal, Width / 2.0, Height / 2.0);
    const TRoadLine Line(Scene.Road);
    TRandom Random(Scene.Seed);
    const double Horizon = Camera.HorizonY();
    cairo_save(Cr);
    DrawSky(Cr, Width, Horizon, Scene.SunX, Random);
    DrawHills(Cr, Width, Horizon, 26, 30, 4, Rgb(0x4a2f55), Random);
    DrawSkyline(Cr, Horizon, Scene.SunX - 150, Scene.SunX + 260, Random);
    DrawHills(Cr, Width, Horizon, 70, 60, -6, Rgb(0x281d38), Random);
    DrawGround(Cr, Camera, Width, Height, Random);
    DrawRoad(Cr, Camera, Line, Scene.RoadHalfWidth, Height);
    const std::vector<TTree> Trees = PlaceTrees(Camera, Line, Scene, Random, Width, Height);
    bool CarDrawn = false;
    for (const TTree& Tree : Trees)
    {
        if (!CarDrawn && Tree.Base.Z < Scene.Car.Z)
        {
            DrawSceneCarGround(Cr, Camera, Scene.Car);
            DrawSceneCar(Cr, Camera, Scene.Car);
            CarDrawn = true;
        }
        DrawTree(Cr, Camera, Tree, Scene.SunX);
    }
    if (!CarDrawn)
    {
        DrawSceneCarGround(Cr, Camera, Scene.Car);
        DrawSceneCar(Cr, Camera, Scene.Car);
    }
    cairo_restore(Cr);
    return SceneCarLamps(Camera, Scene.Car);
}

void BlurSurface(cairo_surface_t* Surface, int Radius)
{
    cairo_surface_flush(Surface);
    const int Width = cairo_image_surface_get_width(Surface);
    const int Height = cairo_image_surface_get_height(Surface);
    const int Stride = cairo_image_surface_get_stride(Surface);
    unsigned char* Data = cairo_image_surface_get_data(Surface);
    std::vector<unsigned char> Line(static_cast<std::size_t>(std::max(Width, Height)) * 4);
    // One box pass over a run of Count pixels Step bytes apart, each channel by itself.
    auto BoxPass = [&](unsigned char* Start, int Count, int Step) {
        for (int I = 0; I < Count; ++I)
            std::memcpy(&Line[static_cast<std::size_t>(I) * 4], Start + static_cast<std::ptrdiff_t>(I) * Step,
                        4);
        for (int Channel = 0; Channel < 4; ++Channel)
        {
            int Sum = 0;
            auto At = [&](int I) {
                return static_cast<int>(
                    Line[static_cast<std::size_t>(std::clamp(I, 0, Count - 1)) * 4 + Channel]);
            };
            for (int I = -Radius; I <= Radius; ++I)
                Sum += At(I);
            for (int I = 0; I < Count; ++I)
            {
                Start[static_cast<std::ptrdiff_t>(I) * Step + Channel] =
                    static_cast<unsigned char>((Sum + Radius) / (2 * Radius + 1));
                Sum += At(I + Radius + 1) - At(I - Radius);
            }
        }
    };
    for (int Pass = 0; Pass < 3; ++Pass)
    {
        for (int Y = 0; Y < Height; ++Y)
            BoxPass(Data + static_cast<std::ptrdiff_t>(Y) * Stride, Width, 4);
        for (int X = 0; X < Width; ++X)
            BoxPass(Data + static_cast<std::ptrdiff_t>(X) * 4, Height, Stride);
    }
    cairo_surface_mark_dirty(Surface);
}

} // namespace vm::assetgen
