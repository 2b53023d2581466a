// The sports car of the menu scenes: a small faceted 3D model drawn through a TCamera.
#include "art/menu_back_car.h"

#include <cmath>
#include <vector>

namespace vm::assetgen {
namespace {

// Side profile of the body as (forward, up) pairs, in metres, nose first, going over the top.
const TPoint2 HullProfile[] = {{2.28, 0.30},  {2.22, 0.60},  {1.30, 0.76}, {0.72, 0.83}, {-1.85, 0.92},
                               {-2.22, 0.90}, {-2.26, 0.38}, {-1.9, 0.22}, {1.95, 0.22}};
constexpr double HullHalfWidth = 0.95;
// The glasshouse: windscreen foot, roof front, roof back, rear window foot.
const TPoint2 CabinProfile[] = {{0.72, 0.83}, {-0.18, 1.24}, {-1.05, 1.23}, {-1.85, 0.92}};
constexpr double CabinFootHalfWidth = 0.86;
constexpr double CabinRoofHalfWidth = 0.64;
constexpr double LampInner = 0.44;
constexpr double LampOuter = 0.84;
constexpr double LampLow = 0.47;
constexpr double LampHigh = 0.58;

// Direction towards the key light: above, left and a little in front of the scene.
const TVec3 LightDirection = Normalized({-0.55, 0.8, -0.25});

class TCarModel
{
public:
    TCarModel(const TCamera& Camera, const TSceneCarPose& Pose)
        : FCamera(Camera), FPose(Pose), FSin(std::sin(Pose.Heading * M_PI / 180)),
          FCos(std::cos(Pose.Heading * M_PI / 180))
    {}

    // Car space (Right, Up, Forward) to the world.
    TVec3 World(double Right, double Up, double Forward) const
    {
        return {FPose.X + Forward * FSin + Right * FCos, Up, FPose.Z + Forward * FCos - Right * FSin};
    }
    TPoint2 Screen(double Right, double Up, double Forward) const
    {
        return FCamera.Project(World(Right, Up, Forward));
    }
    // True when the face through these car-space points, with this outward normal, faces the camera.
    bool Faces(const TVec3& CarNormal, const TVec3& CarPoint) const
    {
        const TVec3 Normal = WorldDirection(CarNormal);
        const TVec3 Point = World(CarPoint.X, CarPoint.Y, CarPoint.Z);
        return Dot(Normal, FCamera.Position() - Point) > 0;
    }
    TVec3 WorldDirection(const TVec3& D) const
    {
        return {D.Z * FSin + D.X * FCos, D.Y, D.Z * FCos - D.X * FSin};
    }
    // Soft lighting of a painted face: ambient plus key light.
    double Light(const TVec3& CarNormal) const
    {
        return 0.42 + 0.7 * std::max(0.0, Dot(WorldDirection(Normalized(CarNormal)), LightDirection));
    }

    void Path(cairo_t* Cr, const std::vector<TVec3>& Points) const
    {
        cairo_new_path(Cr);
        for (const TVec3& P : Points)
        {
            const TPoint2 S = Screen(P.X, P.Y, P.Z);
            cairo_line_to(Cr, S.X, S.Y);
        }
        cairo_close_path(Cr);
    }

    void FillFace(cairo_t* Cr, const std::vector<TVec3>& Points, const TColor& Color,
                  const TColor& Outline) const
    {
        Path(Cr, Points);
        SetColor(Cr, Color);
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 0.8);
        cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
        SetColor(Cr, Outline);
        cairo_stroke(Cr);
    }

    // Glass with the evening sky in it: a light band over dark tint.
    void FillGlass(cairo_t* Cr, const std::vector<TVec3>& Points) const
    {
        Path(Cr, Points);
        double X0, Y0, X1, Y1;
        cairo_path_extents(Cr, &X0, &Y0, &X1, &Y1);
        cairo_pattern_t* Gradient = cairo_pattern_create_linear(X0, Y0, X1, Y1);
        const TColor Top = palette::Slate.Mix(palette::Cyan, 0.35);
        const TColor Band = palette::Amber.Mix(palette::Snow, 0.3);
        const TColor Deep = palette::Night;
        cairo_pattern_add_color_stop_rgb(Gradient, 0, Top.R, Top.G, Top.B);
        cairo_pattern_add_color_stop_rgb(Gradient, 0.42, Deep.R, Deep.G, Deep.B);
        cairo_pattern_add_color_stop_rgb(Gradient, 0.55, Band.R * 0.7, Band.G * 0.7, Band.B * 0.7);
        cairo_pattern_add_color_stop_rgb(Gradient, 0.66, Deep.R, Deep.G, Deep.B);
        cairo_pattern_add_color_stop_rgb(Gradient, 1, Deep.R, Deep.G, Deep.B);
        cairo_set_source(Cr, Gradient);
        cairo_pattern_destroy(Gradient);
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 0.8);
        SetColor(Cr, palette::Night.Darker(0.5));
        cairo_stroke(Cr);
    }

    TColor Paint(double Light) const
    {
        return Light >= 1 ? FPose.Body.Lighter(std::min(0.5, Light - 1)) : FPose.Body.Darker(1 - Light);
    }

    void DrawHull(cairo_t* Cr) const
    {
        const int Count = static_cast<int>(std::size(HullProfile));
        const TColor Outline = FPose.Body.Darker(0.65);
        // Side panels.
        for (double Side : {-1.0, 1.0})
        {
            if (!Faces({Side, 0, 0}, {Side * HullHalfWidth, 0.5, 0}))
                continue;
            std::vector<TVec3> Points;
            for (const TPoint2& P : HullProfile)
                Points.push_back({Side * HullHalfWidth, P.Y, P.X});
            FillFace(Cr, Points, Paint(Light({Side, 0, 0})), Outline);
            // A dark sill along the bottom and a crease line along the flank.
            std::vector<TVec3> Sill = {{Side * HullHalfWidth, 0.22, 1.95},
                                       {Side * HullHalfWidth, 0.22, -1.9},
                                       {Side * HullHalfWidth, 0.34, -2.0},
                                       {Side * HullHalfWidth, 0.34, 2.05}};
            FillFace(Cr, Sill, palette::Night.WithAlpha(0.75), Outline);
            DrawWheels(Cr, Side);
        }
        // The faces round the profile: nose, bonnet, deck, tail, floor.
        for (int I = 0; I < Count; ++I)
        {
            const TPoint2 A = HullProfile[I];
            const TPoint2 B = HullProfile[(I + 1) % Count];
            // Outward normal of the profile edge (the profile runs clockwise seen from the right).
            const TVec3 Normal = Normalized({0, -(B.X - A.X), B.Y - A.Y});
            const TVec3 Mid = {0, (A.Y + B.Y) / 2, (A.X + B.X) / 2};
            if (!Faces(Normal, Mid))
                continue;
            std::vector<TVec3> Points = {{-HullHalfWidth, A.Y, A.X},
                                         {HullHalfWidth, A.Y, A.X},
                                         {HullHalfWidth, B.Y, B.X},
                                         {-HullHalfWidth, B.Y, B.X}};
            FillFace(Cr, Points, Paint(Light(Normal)), Outline);
            // Twin stripes over the top surfaces.
            if (Normal.Y > 0.6)
                for (double Offset : {-0.2, 0.2})
                {
                    std::vector<TVec3> Stripe = {{Offset - 0.07, A.Y + 0.005, A.X},
                                                 {Offset + 0.07, A.Y + 0.005, A.X},
                                                 {Offset + 0.07, B.Y + 0.005, B.X},
                                                 {Offset - 0.07, B.Y + 0.005, B.X}};
                    Path(Cr, Stripe);
                    SetColor(Cr,
                             palette::Snow.Mix(FPose.Body, 0.15).Darker(1 - std::min(1.0, Light(Normal))));
                    cairo_fill(Cr);
                }
            if (I == 0)
                DrawNose(Cr);
            if (I == 5)
                DrawTail(Cr);
        }
    }

    void DrawWheels(cairo_t* Cr, double Side) const
    {
        for (double Axle : {1.42, -1.45})
        {
            for (int Ring = 0; Ring < 3; ++Ring)
            {
                const double Radius = Ring == 0 ? 0.36 : (Ring == 1 ? 0.22 : 0.08);
                const TColor Color = Ring == 0 ? Rgb(0x14161c) : (Ring == 1 ? palette::Steel : palette::Fog);
                std::vector<TVec3> Points;
                for (int K = 0; K < 20; ++K)
                {
                    const double A = K * 2 * M_PI / 20;
                    Points.push_back({Side * (HullHalfWidth + 0.02), 0.36 + Radius * std::sin(A),
                                      Axle + Radius * std::cos(A)});
                }
                FillFace(Cr, Points, Color, Rgb(0x07080b));
            }
        }
    }

    void DrawNose(cairo_t* Cr) const
    {
        // The nose face leans back a little: its forward position at a height.
        auto NoseZ = [](double Up) { return 2.28 - 0.06 * (Up - 0.30) / 0.30 + 0.01; };
        std::vector<TVec3> Grille = {{-0.34, 0.34, NoseZ(0.34)},
                                     {0.34, 0.34, NoseZ(0.34)},
                                     {0.3, 0.46, NoseZ(0.46)},
                                     {-0.3, 0.46, NoseZ(0.46)}};
        FillFace(Cr, Grille, palette::Night, palette::Night.Darker(0.5));
        for (double Side : {-1.0, 1.0})
        {
            std::vector<TVec3> Lamp = {{Side * LampInner, LampLow, NoseZ(LampLow)},
                                       {Side * LampOuter, LampLow + 0.02, NoseZ(LampLow)},
                                       {Side * LampOuter, LampHigh, NoseZ(LampHigh)},
                                       {Side * LampInner, LampHigh - 0.02, NoseZ(LampHigh)}};
            FillFace(Cr, Lamp, Rgb(0xfff4d8), palette::Amber.Darker(0.3));
        }
    }

    void DrawTail(cairo_t* Cr) const
    {
        for (double Side : {-1.0, 1.0})
        {
            std::vector<TVec3> Lamp = {{Side * 0.4, 0.66, -2.245},
                                       {Side * 0.86, 0.66, -2.245},
                                       {Side * 0.86, 0.78, -2.235},
                                       {Side * 0.4, 0.78, -2.235}};
            FillFace(Cr, Lamp, palette::Red, palette::Red.Darker(0.5));
        }
    }

    void DrawCabin(cairo_t* Cr) const
    {
        const TColor Outline = FPose.Body.Darker(0.65);
        const int Count = static_cast<int>(std::size(CabinProfile));
        auto Half = [](int I) { return I == 0 || I == 3 ? CabinFootHalfWidth : CabinRoofHalfWidth; };
        for (double Side : {-1.0, 1.0})
        {
            const TVec3 Normal = Normalized({Side * 0.95, 0.3, 0});
            if (!Faces(Normal, {Side * 0.75, 1.0, -0.6}))
                continue;
            std::vector<TVec3> Points;
            for (int I = 0; I < Count; ++I)
                Points.push_back({Side * Half(I), CabinProfile[I].Y, CabinProfile[I].X});
            FillFace(Cr, Points, Paint(Light(Normal)), Outline);
            // The side window inside the pillars.
            std::vector<TVec3> Window = {{Side * 0.83, 0.88, 0.45},
                                         {Side * 0.67, 1.18, -0.22},
                                         {Side * 0.67, 1.17, -0.98},
                                         {Side * 0.82, 0.95, -1.55}};
            FillGlass(Cr, Window);
        }
        for (int I = 0; I + 1 < Count; ++I)
        {
            const TPoint2 A = CabinProfile[I];
            const TPoint2 B = CabinProfile[I + 1];
            const TVec3 Normal = Normalized({0, -(B.X - A.X), B.Y - A.Y});
            if (!Faces(Normal, {0, (A.Y + B.Y) / 2, (A.X + B.X) / 2}))
                continue;
            std::vector<TVec3> Points = {
                {-Half(I), A.Y, A.X}, {Half(I), A.Y, A.X}, {Half(I + 1), B.Y, B.X}, {-Half(I + 1), B.Y, B.X}};
            if (I == 1)
            {
                FillFace(Cr, Points, Paint(Light(Normal)), Outline);
                continue;
            }
            FillFace(Cr, Points, Paint(Light(Normal)), Outline);
            // Glass inset from the pillars.
            std::vector<TVec3> Glass;
            for (const TVec3& P : Points)
                Glass.push_back(
                    {P.X * 0.88, P.Y + (P.Y < 1.1 ? 0.03 : -0.02), P.Z + (P.Z > A.X - 0.01 ? -0.04 : 0.04)});
            FillGlass(Cr, Glass);
        }
    }

private:
    const TCamera& FCamera;
    TSceneCarPose FPose;
    double FSin;
    double FCos;
};

TPoint2 LampCentre(const TCarModel& Model, double Side)
{
    const double Up = (LampLow + LampHigh) / 2;
    return Model.Screen(Side * (LampInner + LampOuter) / 2, Up, 2.28 - 0.06 * (Up - 0.30) / 0.30 + 0.01);
}

} // namespace

TSceneCarLamps SceneCarLamps(const TCamera& Camera, const TSceneCarPose& Pose)
{
    const TCarModel Model(Camera, Pose);
    const TPoint2 Left = LampCentre(Model, -1);
    const TPoint2 Right = LampCentre(Model, 1);
    const double DepthLeft = Camera.Depth(Model.World(-0.64, 0.5, 2.28));
    const double DepthRight = Camera.Depth(Model.World(0.64, 0.5, 2.28));
    TSceneCarLamps Lamps;
    Lamps.Far = DepthLeft > DepthRight ? Left : Right;
    Lamps.Near = DepthLeft > DepthRight ? Right : Left;
    Lamps.PixelsPerMetre = Camera.Scale(Model.World(0, 0.5, 0));
    return Lamps;
}

void DrawSceneCarGround(cairo_t* Cr, const TCamera& Camera, const TSceneCarPose& Pose)
{
    const TCarModel Model(Camera, Pose);
    // Soft shadow: a wide faint footprint and a tighter darker one, pushed away from the light.
    for (int Pass = 0; Pass < 2; ++Pass)
    {
        const double Grow = Pass == 0 ? 0.35 : 0.08;
        std::vector<TVec3> Points = {{-1.05 - Grow, 0, 2.35 + Grow},
                                     {1.05 + Grow, 0, 2.35 + Grow},
                                     {1.05 + Grow, 0, -2.3 - Grow},
                                     {-1.05 - Grow, 0, -2.3 - Grow}};
        cairo_new_path(Cr);
        for (const TVec3& P : Points)
        {
            const TVec3 W = Model.World(P.X, 0, P.Z) + TVec3{0.25, 0, -0.15};
            const TPoint2 S = Camera.Project(W);
            cairo_line_to(Cr, S.X, S.Y);
        }
        cairo_close_path(Cr);
        SetColor(Cr, Rgb(0x000000, Pass == 0 ? 0.25 : 0.45));
        cairo_fill(Cr);
    }
    // Headlight beams: cones of warm light spreading along the road ahead.
    for (double Side : {-1.0, 1.0})
    {
        const double Lamp = Side * 0.64;
        const double Reach = 17;
        const TPoint2 A = Model.Screen(Lamp - 0.15, 0, 2.4);
        const TPoint2 B = Model.Screen(Lamp + 0.15, 0, 2.4);
        const TPoint2 C = Model.Screen(Lamp + Side * 1.2 + 2.2, 0, 2.4 + Reach);
        const TPoint2 D = Model.Screen(Lamp + Side * 1.2 - 2.2, 0, 2.4 + Reach);
        const TPoint2 Start = Model.Screen(Lamp, 0, 2.4);
        const TPoint2 End = Model.Screen(Lamp + Side * 1.2, 0, 2.4 + Reach);
        cairo_pattern_t* Gradient = cairo_pattern_create_linear(Start.X, Start.Y, End.X, End.Y);
        const TColor Beam = Rgb(0xfff1c8);
        cairo_pattern_add_color_stop_rgba(Gradient, 0, Beam.R, Beam.G, Beam.B, 0.45);
        cairo_pattern_add_color_stop_rgba(Gradient, 0.35, Beam.R, Beam.G, Beam.B, 0.18);
        cairo_pattern_add_color_stop_rgba(Gradient, 1, Beam.R, Beam.G, Beam.B, 0);
        cairo_new_path(Cr);
        cairo_move_to(Cr, A.X, A.Y);
        cairo_line_to(Cr, B.X, B.Y);
        cairo_line_to(Cr, C.X, C.Y);
        cairo_line_to(Cr, D.X, D.Y);
        cairo_close_path(Cr);
        cairo_set_source(Cr, Gradient);
        cairo_fill(Cr);
        cairo_pattern_destroy(Gradient);
    }
}

void DrawSceneCar(cairo_t* Cr, const TCamera& Camera, const TSceneCarPose& Pose)
{
    const TCarModel Model(Camera, Pose);
    cairo_save(Cr);
    Model.DrawHull(Cr);
    Model.DrawCabin(Cr);
    cairo_restore(Cr);
}

} // namespace vm::assetgen
