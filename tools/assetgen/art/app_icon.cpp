// The game's desktop icon: the orange Razzler on a stretch of kerbed road, in a rounded tile.
#include "art/app_icon.h"

#include "art/canvas.h"
#include "art/car_drawing.h"
#include "art/car_models.h"
#include "art/car_shadow.h"
#include "art/style.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace vm::assetgen {

namespace {

// The car on the icon: the first catalogue car in its first paint (orange with white stripes), the
// car the main menu shows.
constexpr int IconCar = 0;
constexpr int IconPaint = 0;

// Up to this size the picture is laid out on whole pixels.
constexpr int LargestGridIcon = 24;

// The road as the icon draws it, in the road's own frame: X across (0 on the centre line), Y
// along, the car driving towards -Y.
struct TIconRoad
{
    double HalfWidth = 0; // the asphalt either side of the centre line
    double Kerb = 0;      // each kerb's width, outside the asphalt
    double Block = 0;     // a kerb block's length
    double Line = 0;      // the dashed centre line's width (0: none)
    double Dash = 0;      // a dash's length; the gap is as long
    double Length = 0;    // how far the road reaches each way from the centre
};

// The asphalt, its kerbs and its centre line, drawn in the road's frame.
void DrawRoad(cairo_t* Cr, const TIconRoad& Road)
{
    const double Outer = Road.HalfWidth + Road.Kerb;
    const double L = Road.Length;
    cairo_rectangle(Cr, -Road.HalfWidth, -L, Road.HalfWidth * 2, L * 2);
    SetColor(Cr, palette::Asphalt);
    cairo_fill(Cr);
    // The asphalt darkens towards its edges, as a cambered road in the race does.
    cairo_pattern_t* Camber = cairo_pattern_create_linear(-Road.HalfWidth, 0, Road.HalfWidth, 0);
    cairo_pattern_add_color_stop_rgba(Camber, 0.0, 0, 0, 0, 0.28);
    cairo_pattern_add_color_stop_rgba(Camber, 0.18, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(Camber, 0.82, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(Camber, 1.0, 0, 0, 0, 0.28);
    cairo_rectangle(Cr, -Road.HalfWidth, -L, Road.HalfWidth * 2, L * 2);
    cairo_set_source(Cr, Camber);
    cairo_fill(Cr);
    cairo_pattern_destroy(Camber);
    // Kerb blocks alternate red and white along both edges; the two sides are offset by one block
    // so the road reads as moving even when it is very small.
    const int Blocks = static_cast<int>(std::ceil(L / Road.Block));
    for (int Side = -1; Side <= 1; Side += 2)
        for (int K = -Blocks; K < Blocks; ++K)
        {
            const double X = Side < 0 ? -Outer : Road.HalfWidth;
            cairo_rectangle(Cr, X, K * Road.Block, Road.Kerb, Road.Block);
            const bool Red = ((K + (Side > 0 ? 1 : 0)) & 1) == 0;
            SetColor(Cr, Red ? palette::KerbRed : palette::KerbWhite);
            cairo_fill(Cr);
        }
    if (Road.Line <= 0)
        return;
    SetColor(Cr, palette::KerbWhite.WithAlpha(0.85));
    for (double Y = -L; Y < L; Y += Road.Dash * 2)
        cairo_rectangle(Cr, -Road.Line / 2, Y, Road.Line, Road.Dash);
    cairo_fill(Cr);
}

// The car with its nose towards -Y, its centre at the origin, Length units from nose to tail.
// Mirroring top to bottom (rather than turning it round) keeps the car art's light on the left.
void DrawIconCar(cairo_t* Cr, double Length, bool Detail)
{
    const TCarModel& Model = CarModel(IconCar);
    const double Scale = Length / Model.Height;
    cairo_save(Cr);
    cairo_scale(Cr, Scale, -Scale);
    cairo_translate(Cr, -Model.Width / 2.0, -Model.Height / 2.0);
    DrawCarTop(Cr, Model, IconPaint, Detail);
    cairo_restore(Cr);
}

// Warm light thrown ahead of the car by its headlamps, in the road's frame: a cone opening
// from the nose, brightest near the car.
void DrawHeadlampLight(cairo_t* Cr, double NoseY, double CarWidth, double Reach)
{
    cairo_pattern_t* Beam = cairo_pattern_create_radial(0, NoseY, 0, 0, NoseY, Reach);
    cairo_pattern_add_color_stop_rgba(Beam, 0.0, 1.0, 0.86, 0.52, 0.55);
    cairo_pattern_add_color_stop_rgba(Beam, 0.5, 1.0, 0.86, 0.52, 0.22);
    cairo_pattern_add_color_stop_rgba(Beam, 1.0, 1.0, 0.86, 0.52, 0.0);
    cairo_move_to(Cr, -CarWidth * 0.32, NoseY);
    cairo_line_to(Cr, CarWidth * 0.32, NoseY);
    cairo_line_to(Cr, CarWidth * 1.1, NoseY - Reach);
    cairo_line_to(Cr, -CarWidth * 1.1, NoseY - Reach);
    cairo_close_path(Cr);
    cairo_set_source(Cr, Beam);
    cairo_set_operator(Cr, CAIRO_OPERATOR_ADD);
    cairo_fill(Cr);
    cairo_set_operator(Cr, CAIRO_OPERATOR_OVER);
    cairo_pattern_destroy(Beam);
}

// Air streaming past the car: pale lines beside its rear half, fading behind it.
void DrawSpeedStreaks(cairo_t* Cr, double CarY, double CarWidth, double CarLength, double LineWidth)
{
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(Cr, LineWidth);
    const double Across[] = {-0.78, 0.78, -0.98, 0.98};
    const double From[] = {0.05, 0.15, 0.3, 0.4}; // in car lengths behind its centre
    const double To[] = {0.9, 0.85, 0.75, 0.7};
    for (int I = 0; I < 4; ++I)
    {
        const double X = Across[I] * CarWidth;
        const double Y0 = CarY + From[I] * CarLength, Y1 = CarY + To[I] * CarLength;
        cairo_pattern_t* Fade = cairo_pattern_create_linear(0, Y0, 0, Y1);
        const TColor& C = palette::Snow;
        cairo_pattern_add_color_stop_rgba(Fade, 0.0, C.R, C.G, C.B, 0.9);
        cairo_pattern_add_color_stop_rgba(Fade, 1.0, C.R, C.G, C.B, 0.0);
        cairo_move_to(Cr, X, Y0);
        cairo_line_to(Cr, X, Y1);
        cairo_set_source(Cr, Fade);
        cairo_stroke(Cr);
        cairo_pattern_destroy(Fade);
    }
}

// Mown grass: broad bands of two greens along the road, in the road's frame.
void DrawGrass(cairo_t* Cr, double Band, double Reach)
{
    SetColor(Cr, palette::Grass.Darker(0.22));
    cairo_paint(Cr);
    SetColor(Cr, palette::Grass.Darker(0.34));
    const int Bands = static_cast<int>(std::ceil(Reach / Band));
    for (int K = -Bands; K < Bands; K += 2)
        cairo_rectangle(Cr, K * Band, -Reach, Band, Reach * 2);
    cairo_fill(Cr);
}

// The tile's rim: a dark edge that holds it apart from light backgrounds and a faint light one
// inside it for dark backgrounds.
void DrawRim(cairo_t* Cr, double Left, double Side, double Radius, double Width)
{
    RoundedRect(Cr, Left + Width / 2, Left + Width / 2, Side - Width, Side - Width, Radius - Width / 2);
    cairo_set_line_width(Cr, Width);
    SetColor(Cr, palette::Night.WithAlpha(0.75));
    cairo_stroke(Cr);
    RoundedRect(Cr, Left + Width * 1.5, Left + Width * 1.5, Side - Width * 3, Side - Width * 3,
                Radius - Width * 1.5);
    cairo_set_line_width(Cr, Width);
    SetColor(Cr, Rgb(0xffffff, 0.16));
    cairo_stroke(Cr);
}

// Darkens the tile towards its corners, drawing the eye to the car.
void DrawVignette(cairo_t* Cr, double Size)
{
    const double C = Size / 2;
    cairo_pattern_t* Shade = cairo_pattern_create_radial(C, C, Size * 0.3, C, C, Size * 0.75);
    cairo_pattern_add_color_stop_rgba(Shade, 0.0, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(Shade, 1.0, 0, 0, 0, 0.45);
    cairo_set_source(Cr, Shade);
    cairo_paint(Cr);
    cairo_pattern_destroy(Shade);
}

// A pixel of colour Color, or a block of them.
void FillPixels(cairo_t* Cr, int X, int Y, int Width, int Height, const TColor& Color)
{
    cairo_rectangle(Cr, X, Y, Width, Height);
    SetColor(Cr, Color);
    cairo_fill(Cr);
}

// The icon's car on whole pixels for the smallest sizes, nose up, Width pixels across with its
// top-left pixel at (Left, Top): the model's wheels, windows, lamps and stripes at its own
// measures, each rounded to pixels, lit from the left as the car art is.
void DrawGridCar(cairo_t* Cr, int Left, int Top, int Width)
{
    const TCarModel& M = CarModel(IconCar);
    const TCarPaint& Paint = M.Paints[IconPaint];
    const double K = static_cast<double>(Width) / M.Width;
    const int Height = static_cast<int>(std::lround(M.Height * K));
    // The model measures from the tail; the icon's car has its nose at the top.
    auto Row = [&](double ModelY) { return Top + Height - static_cast<int>(std::lround(ModelY * K)); };
    const int Wheel = std::max(1, static_cast<int>(std::lround(M.WheelWidth * K)));
    const int WheelLength = std::max(2, static_cast<int>(std::lround(M.WheelLength * K)));
    for (const double Axle : {M.RearAxle, M.FrontAxle})
    {
        const int Y = Row(Axle) - WheelLength / 2;
        FillPixels(Cr, Left, Y, Wheel, WheelLength, Rgb(0x16181e));
        FillPixels(Cr, Left + Width - Wheel, Y, Wheel, WheelLength, Rgb(0x16181e));
    }
    // The body stands one pixel inside the wheels' outer sides, its four corners rounded off.
    const int BodyLeft = Left + 1, BodyWidth = Width - 2;
    FillPixels(Cr, BodyLeft + 1, Top, BodyWidth - 2, Height, Paint.Body);
    FillPixels(Cr, BodyLeft, Top + 1, BodyWidth, Height - 2, Paint.Body);
    FillPixels(Cr, BodyLeft, Top + 1, 1, Height - 2, Paint.Body.Lighter(0.3));
    FillPixels(Cr, BodyLeft + BodyWidth - 1, Top + 1, 1, Height - 2, Paint.Body.Darker(0.3));
    // The stripes run down the middle two columns, half-blended so the car stays orange.
    const int Middle = Left + Width / 2 - 1;
    FillPixels(Cr, Middle, Top, 2, Height, Paint.Stripe.WithAlpha(0.55));
    // Windscreen and rear window, dark glass across all but the body's outer columns.
    const TColor Glass = Rgb(0x18233a);
    const int Screen = Row(M.Glass.back().Y), ScreenEnd = Row(M.Roof.back().Y);
    FillPixels(Cr, BodyLeft + 1, Screen, BodyWidth - 2, std::max(1, ScreenEnd - Screen), Glass);
    const int Rear = Row(M.Roof.front().Y), RearEnd = Row(M.Glass.front().Y);
    FillPixels(Cr, BodyLeft + 1, Rear, BodyWidth - 2, std::max(1, RearEnd - Rear), Glass);
    // Headlamps in the nose, tail lamps in the tail.
    const int Lamp = std::max(1, static_cast<int>(std::lround(M.Head.Rx * K)));
    FillPixels(Cr, BodyLeft, Top + 1, Lamp, Lamp, Rgb(0xfffbe8));
    FillPixels(Cr, BodyLeft + BodyWidth - Lamp, Top + 1, Lamp, Lamp, Rgb(0xfffbe8));
    FillPixels(Cr, BodyLeft, Top + Height - 1 - Lamp, Lamp, Lamp, Rgb(0xd01e2a));
    FillPixels(Cr, BodyLeft + BodyWidth - Lamp, Top + Height - 1 - Lamp, Lamp, Lamp, Rgb(0xd01e2a));
}

// 16 and 24 px: the road upright and every edge on a whole pixel, the car centred on it.
void DrawGridIcon(TCanvas& Canvas)
{
    const int S = Canvas.Width();
    cairo_t* Cr = Canvas.Cr();
    const double Radius = S * 0.19;
    cairo_save(Cr);
    RoundedRect(Cr, 0, 0, S, S, Radius);
    cairo_clip(Cr);
    SetColor(Cr, palette::Grass.Darker(0.2));
    cairo_paint(Cr);
    const bool Tiny = S < 24;
    // 16 px: 10 px of asphalt, 1 px kerbs, 3 px blocks; 24 px: 16, 2 and 4.
    TIconRoad Road;
    Road.HalfWidth = Tiny ? 5 : 8;
    Road.Kerb = Tiny ? 1 : 2;
    Road.Block = Tiny ? 3 : 4;
    Road.Line = 0; // the car covers the middle of so short a road
    Road.Length = S;
    cairo_save(Cr);
    cairo_translate(Cr, S / 2.0, S / 2.0);
    DrawRoad(Cr, Road);
    cairo_restore(Cr);
    const int CarWidth = Tiny ? 8 : 12;
    const TCarModel& Model = CarModel(IconCar);
    const int CarHeight =
        static_cast<int>(std::lround(Model.Height * CarWidth / static_cast<double>(Model.Width)));
    TCanvas Car(S, S);
    cairo_set_antialias(Car.Cr(), CAIRO_ANTIALIAS_NONE);
    DrawGridCar(Car.Cr(), (S - CarWidth) / 2, (S - CarHeight) / 2, CarWidth);
    const TPixels CarPixels = Car.Pixels();
    PaintPixels(Cr, SoftShadow(CarPixels, S / 24.0, 0.7), 0, 1);
    PaintPixels(Cr, CarPixels, 0, 0);
    cairo_restore(Cr);
    RoundedRect(Cr, 0.5, 0.5, S - 1, S - 1, Radius - 0.5);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, palette::Night.WithAlpha(0.6));
    cairo_stroke(Cr);
}

// 32 px and up: the road runs from the lower left to the upper right through mown grass with the
// car on it, headlamps lit; air streaming past it from 64 px, panel detail from 128 px.
void DrawSceneIcon(TCanvas& Canvas)
{
    const int S = Canvas.Width();
    cairo_t* Cr = Canvas.Cr();
    const double Margin = std::round(S / 32.0);
    const double Side = S - Margin * 2;
    const double Radius = Side * 0.19;
    const double Angle = 35 * M_PI / 180;
    cairo_save(Cr);
    RoundedRect(Cr, Margin, Margin, Side, Side, Radius);
    cairo_clip(Cr);

    TIconRoad Road;
    Road.HalfWidth = Side * 0.25;
    Road.Kerb = Side * 0.055;
    Road.Block = Side * 0.085;
    Road.Line = std::max(1.0, Side * 0.02);
    Road.Dash = Side * 0.075;
    Road.Length = S;
    const double CarLength = Side * 0.6;
    const TCarModel& Model = CarModel(IconCar);
    const double CarWidth = CarLength * Model.Width / Model.Height;
    // The car sits a little behind the tile's centre so that its light has room ahead.
    const double CarY = Side * 0.05;

    cairo_save(Cr);
    cairo_translate(Cr, S / 2.0, S / 2.0);
    cairo_rotate(Cr, Angle);
    DrawGrass(Cr, Side * 0.09, S);
    DrawRoad(Cr, Road);
    DrawHeadlampLight(Cr, CarY - CarLength / 2, CarWidth, Side * 0.5);
    if (S >= 64)
        DrawSpeedStreaks(Cr, CarY, CarWidth, CarLength, Side * 0.014);
    cairo_restore(Cr);
    DrawVignette(Cr, S);

    TCanvas Car(S, S);
    cairo_translate(Car.Cr(), S / 2.0, S / 2.0);
    cairo_rotate(Car.Cr(), Angle);
    cairo_translate(Car.Cr(), 0, CarY);
    DrawIconCar(Car.Cr(), CarLength, S >= 128);
    const TPixels CarPixels = Car.Pixels();
    PaintPixels(Cr, SoftShadow(CarPixels, S / 48.0, 0.75), S / 64.0, S / 40.0);
    PaintPixels(Cr, CarPixels, 0, 0);
    cairo_restore(Cr);
    DrawRim(Cr, Margin, Side, Radius, std::max(1.0, S / 128.0));
}

} // namespace

TPixels DrawAppIcon(int Size)
{
    if (Size < 16 || Size > 1024)
        throw std::invalid_argument("icon size out of range: " + std::to_string(Size));
    TCanvas Canvas(Size, Size);
    if (Size <= LargestGridIcon)
        DrawGridIcon(Canvas);
    else
        DrawSceneIcon(Canvas);
    return Canvas.Pixels();
}

} // namespace vm::assetgen
