// Draws a car model from above: body, cabin, lamps, wheels and trim, lit from the top-left.
#include "art/car_drawing.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace vm::assetgen {

namespace {

using TTrace = std::function<void()>;

const TColor Tyre = Rgb(0x16181e);
const TColor GlassDeep = Rgb(0x0c111b);
const TColor GlassTop = Rgb(0x24324a);
const TColor Trim = Rgb(0x14171d);
const TColor LampLight = Rgb(0xfffbe8);
const TColor LampWarm = Rgb(0xffe7a0);
const TColor TailRed = Rgb(0xd01e2a);
const TColor TailGlow = Rgb(0xff6a5a);

// Traces a closed smooth outline through the right half Half and its mirror image about Cx.
void TraceSymmetric(cairo_t* Cr, const std::vector<TCarPoint>& Half, double Cx)
{
    std::vector<std::pair<double, double>> Loop;
    for (const TCarPoint& P : Half)
        Loop.emplace_back(Cx + P.X, P.Y);
    for (auto It = Half.rbegin(); It != Half.rend(); ++It)
        if (It->X > 0.01) // the points on the centre line are shared by both halves
            Loop.emplace_back(Cx - It->X, It->Y);
    const int N = static_cast<int>(Loop.size());
    if (N < 3)
        return;
    auto At = [&Loop, N](int I) { return Loop[static_cast<std::size_t>(((I % N) + N) % N)]; };
    cairo_move_to(Cr, Loop[0].first, Loop[0].second);
    // Closed Catmull-Rom spline as cubic Bezier segments.
    for (int I = 0; I < N; ++I)
    {
        const auto P0 = At(I - 1), P1 = At(I), P2 = At(I + 1), P3 = At(I + 2);
        cairo_curve_to(Cr, P1.first + (P2.first - P0.first) / 6, P1.second + (P2.second - P0.second) / 6,
                       P2.first - (P3.first - P1.first) / 6, P2.second - (P3.second - P1.second) / 6,
                       P2.first, P2.second);
    }
    cairo_close_path(Cr);
}

// The half-width of the outline Half at height Y (linear between its points).
double HalfWidthAt(const std::vector<TCarPoint>& Half, double Y)
{
    double Best = 0;
    for (std::size_t I = 1; I < Half.size(); ++I)
    {
        const TCarPoint& A = Half[I - 1];
        const TCarPoint& B = Half[I];
        if ((Y >= A.Y && Y <= B.Y) && B.Y > A.Y)
            Best = std::max(Best, A.X + (B.X - A.X) * (Y - A.Y) / (B.Y - A.Y));
    }
    return Best;
}

double FirstY(const std::vector<TCarPoint>& Half) { return Half.front().Y; }
double LastY(const std::vector<TCarPoint>& Half) { return Half.back().Y; }

// Fills a shape with Base, lets Decorate paint on it, then shades it as a rounded surface lit from
// the upper left (a bright rim on the upper-left edges, a shaded rim on the lower-right ones) and
// outlines it. Left and Right are the shape's horizontal extent.
void PaintSurface(cairo_t* Cr, const TTrace& Trace, const TColor& Base, double Left, double Right,
                  const std::function<void()>& Decorate = {}, double Outline = 0.9)
{
    Trace();
    SetColor(Cr, Base);
    cairo_fill(Cr);
    cairo_save(Cr);
    Trace();
    cairo_clip(Cr);
    if (Decorate)
        Decorate();
    cairo_pattern_t* Light = cairo_pattern_create_linear(Left, 0, Right, 0);
    cairo_pattern_add_color_stop_rgba(Light, 0.0, 1, 1, 1, 0.34);
    cairo_pattern_add_color_stop_rgba(Light, 0.38, 1, 1, 1, 0.06);
    cairo_pattern_add_color_stop_rgba(Light, 0.62, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(Light, 1.0, 0, 0, 0, 0.34);
    cairo_set_source(Cr, Light);
    cairo_paint(Cr);
    cairo_pattern_destroy(Light);
    cairo_save(Cr);
    cairo_translate(Cr, 0.9, 0.9);
    Trace();
    cairo_set_line_width(Cr, 1.2);
    SetColor(Cr, Rgb(0xffffff, 0.42));
    cairo_stroke(Cr);
    cairo_restore(Cr);
    cairo_save(Cr);
    cairo_translate(Cr, -1.0, -1.0);
    Trace();
    cairo_set_line_width(Cr, 1.6);
    SetColor(Cr, Rgb(0x000000, 0.30));
    cairo_stroke(Cr);
    cairo_restore(Cr);
    cairo_restore(Cr);
    Trace();
    cairo_set_line_width(Cr, Outline);
    SetColor(Cr, Base.Darker(0.62));
    cairo_stroke(Cr);
}

void DrawWheel(cairo_t* Cr, double Cx, double Cy, double Length, double Width)
{
    RoundedRect(Cr, Cx - Width / 2, Cy - Length / 2, Width, Length, Width * 0.38);
    SetColor(Cr, Tyre);
    cairo_fill_preserve(Cr);
    cairo_save(Cr);
    cairo_clip(Cr);
    // Tread blocks and a soft light on the upper-left shoulder.
    cairo_set_line_width(Cr, 0.7);
    SetColor(Cr, Rgb(0x3a3e48));
    for (double Y = Cy - Length / 2 + 1.6; Y < Cy + Length / 2 - 1; Y += 2.2)
    {
        cairo_move_to(Cr, Cx - Width / 2, Y);
        cairo_line_to(Cr, Cx + Width / 2, Y + 0.6);
    }
    cairo_stroke(Cr);
    cairo_rectangle(Cr, Cx - Width / 2, Cy - Length / 2, Width * 0.35, Length);
    SetColor(Cr, Rgb(0xffffff, 0.10));
    cairo_fill(Cr);
    cairo_restore(Cr);
}

void Ellipse(cairo_t* Cr, double Cx, double Cy, double Rx, double Ry, double SlantDeg)
{
    cairo_save(Cr);
    cairo_translate(Cr, Cx, Cy);
    cairo_rotate(Cr, SlantDeg * M_PI / 180);
    cairo_scale(Cr, Rx, Ry);
    cairo_new_sub_path(Cr);
    cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(Cr);
}

// One lamp: a dark housing, then the lens with a hot centre.
void DrawLamp(cairo_t* Cr, double Cx, double Cy, const TCarLamp& L, double Slant, const TColor& Lens,
              const TColor& Hot)
{
    Ellipse(Cr, Cx, Cy, L.Rx + 0.7, L.Ry + 0.7, Slant);
    SetColor(Cr, Trim);
    cairo_fill(Cr);
    Ellipse(Cr, Cx, Cy, L.Rx, L.Ry, Slant);
    cairo_pattern_t* Glow = cairo_pattern_create_radial(Cx - L.Rx * 0.25, Cy - L.Ry * 0.25, 0, Cx, Cy,
                                                        std::max(L.Rx, L.Ry) * 1.1);
    cairo_pattern_add_color_stop_rgba(Glow, 0, Hot.R, Hot.G, Hot.B, 1);
    cairo_pattern_add_color_stop_rgba(Glow, 1, Lens.R, Lens.G, Lens.B, 1);
    cairo_set_source(Cr, Glow);
    cairo_fill(Cr);
    cairo_pattern_destroy(Glow);
}

// A pair of lamps mirrored about Cx; the right one is slanted by L.Slant, the left one mirrored.
void DrawLampPair(cairo_t* Cr, double Cx, const TCarLamp& L, const TColor& Lens, const TColor& Hot)
{
    DrawLamp(Cr, Cx + L.X, L.Y, L, L.Slant, Lens, Hot);
    DrawLamp(Cr, Cx - L.X, L.Y, L, -L.Slant, Lens, Hot);
}

void DrawHeadlamps(cairo_t* Cr, const TCarModel& M, double Cx)
{
    if (M.HeadKind == TCarLamps::Quad)
    {
        TCarLamp Inner = M.Head;
        Inner.X -= M.Head.Rx * 2 + 1.2;
        DrawLampPair(Cr, Cx, M.Head, LampWarm, LampLight);
        DrawLampPair(Cr, Cx, Inner, LampWarm, LampLight);
        return;
    }
    DrawLampPair(Cr, Cx, M.Head, LampWarm, LampLight);
}

void DrawTailLamps(cairo_t* Cr, const TCarModel& M, double Cx)
{
    if (M.TailBar)
    {
        RoundedRect(Cr, Cx - M.Tail.X, M.Tail.Y - M.Tail.Ry * 0.55, M.Tail.X * 2, M.Tail.Ry * 1.1, 0.5);
        SetColor(Cr, TailRed.Darker(0.35));
        cairo_fill(Cr);
    }
    DrawLampPair(Cr, Cx, M.Tail, TailRed, TailGlow);
}

void DrawStripes(cairo_t* Cr, const TCarModel& M, const TColor& Color, double Cx)
{
    SetColor(Cr, Color.WithAlpha(0.92));
    switch (M.Stripes)
    {
    case TCarStripes::None: return;
    case TCarStripes::Twin:
        cairo_rectangle(Cr, Cx - 4.4, 0, 2.4, M.Height);
        cairo_rectangle(Cr, Cx + 2.0, 0, 2.4, M.Height);
        break;
    case TCarStripes::TwinWide:
        cairo_rectangle(Cr, Cx - 5.6, 0, 4.4, M.Height);
        cairo_rectangle(Cr, Cx + 1.2, 0, 4.4, M.Height);
        break;
    case TCarStripes::Centre: cairo_rectangle(Cr, Cx - 1.3, 0, 2.6, M.Height); break;
    }
    cairo_fill(Cr);
}

void DrawGlass(cairo_t* Cr, const TCarModel& M, double Cx)
{
    const double Top = FirstY(M.Glass), Bottom = LastY(M.Glass);
    TraceSymmetric(Cr, M.Glass, Cx);
    SetVerticalGradient(Cr, Top, Bottom, GlassTop, GlassDeep);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Trim);
    cairo_set_line_width(Cr, 0.8);
    cairo_stroke(Cr);
    cairo_save(Cr);
    TraceSymmetric(Cr, M.Glass, Cx);
    cairo_clip(Cr);
    // Sky reflections: a broad soft band and a thin bright streak across the windscreen.
    const double H = Bottom - Top;
    cairo_move_to(Cr, Cx - 16, Bottom - H * 0.05);
    cairo_line_to(Cr, Cx - 16, Bottom - H * 0.30);
    cairo_line_to(Cr, Cx + 16, Bottom - H * 0.05);
    cairo_line_to(Cr, Cx + 16, Bottom + H * 0.20);
    cairo_close_path(Cr);
    SetColor(Cr, palette::Cyan.WithAlpha(0.22));
    cairo_fill(Cr);
    cairo_move_to(Cr, Cx - 16, Bottom - H * 0.34);
    cairo_line_to(Cr, Cx + 16, Bottom - H * 0.02);
    cairo_set_line_width(Cr, 0.9);
    SetColor(Cr, Rgb(0xffffff, 0.45));
    cairo_stroke(Cr);
    cairo_move_to(Cr, Cx - 16, Top + H * 0.02);
    cairo_line_to(Cr, Cx + 16, Top + H * 0.22);
    cairo_set_line_width(Cr, 1.4);
    SetColor(Cr, palette::Cyan.WithAlpha(0.25));
    cairo_stroke(Cr);
    cairo_restore(Cr);
}

void DrawHoodParts(cairo_t* Cr, const TCarModel& M, const TColor& Body, double Cx)
{
    const double HoodTop = LastY(M.Glass);
    const double Nose = LastY(M.Body);
    if (M.HoodBulge)
    {
        RoundedRect(Cr, Cx - 5.2, HoodTop + 1.5, 10.4, Nose - HoodTop - 8, 3);
        SetColor(Cr, Body.Lighter(0.08).WithAlpha(0.5));
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 0.6);
        SetColor(Cr, Body.Darker(0.5).WithAlpha(0.7));
        cairo_stroke(Cr);
    }
    if (M.HoodScoop)
    {
        const double Y = HoodTop + (Nose - HoodTop) * (M.HoodBulge ? 0.22 : 0.30);
        cairo_move_to(Cr, Cx - 3.0, Y);
        cairo_line_to(Cr, Cx + 3.0, Y);
        cairo_line_to(Cr, Cx + 3.8, Y + 4.6);
        cairo_line_to(Cr, Cx - 3.8, Y + 4.6);
        cairo_close_path(Cr);
        SetColor(Cr, Body.Darker(0.25));
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 0.6);
        SetColor(Cr, Body.Darker(0.6));
        cairo_stroke(Cr);
        RoundedRect(Cr, Cx - 2.5, Y + 2.2, 5.0, 2.0, 0.6);
        SetColor(Cr, Trim);
        cairo_fill(Cr);
    }
    if (M.FenderVents)
    {
        const double Y0 = M.FrontAxle - M.WheelLength / 2 - 6.5;
        cairo_set_line_width(Cr, 0.9);
        SetColor(Cr, Trim.WithAlpha(0.85));
        for (int Side = -1; Side <= 1; Side += 2)
            for (int K = 0; K < 3; ++K)
            {
                const double X = Cx + Side * (HalfWidthAt(M.Body, Y0) - 3.2);
                cairo_move_to(Cr, X - Side * 1.4, Y0 + K * 1.9);
                cairo_line_to(Cr, X + Side * 1.4, Y0 + K * 1.9 + 1.2);
            }
        cairo_stroke(Cr);
    }
    if (M.SideIntakes)
        for (int Side = -1; Side <= 1; Side += 2)
        {
            const double Y = M.RearAxle + M.WheelLength / 2 + 2.5;
            const double Edge = Cx + Side * HalfWidthAt(M.Body, Y + 4);
            cairo_move_to(Cr, Edge + Side * 1.0, Y);
            cairo_line_to(Cr, Edge - Side * 4.2, Y + 3.6);
            cairo_line_to(Cr, Edge - Side * 3.0, Y + 9.5);
            cairo_line_to(Cr, Edge + Side * 1.0, Y + 10.5);
            cairo_close_path(Cr);
            SetColor(Cr, Trim);
            cairo_fill(Cr);
        }
    if (M.EngineSlats)
    {
        const double Top = 9.5, Bottom = FirstY(M.Glass) - 2.5;
        RoundedRect(Cr, Cx - 8.5, Top, 17, Bottom - Top, 2.5);
        SetColor(Cr, Trim.WithAlpha(0.78));
        cairo_fill(Cr);
        cairo_set_line_width(Cr, 0.9);
        SetColor(Cr, Body.Darker(0.15));
        for (double Y = Top + 2.2; Y < Bottom - 1; Y += 2.6)
        {
            cairo_move_to(Cr, Cx - 7.2, Y);
            cairo_line_to(Cr, Cx + 7.2, Y);
        }
        cairo_stroke(Cr);
    }
    // The grille between the headlamps.
    const double GrilleHalf = std::max(2.5, M.Head.X - M.Head.Rx - 2.0);
    RoundedRect(Cr, Cx - GrilleHalf, Nose - 3.4, GrilleHalf * 2, 1.8, 0.8);
    SetColor(Cr, Trim.WithAlpha(0.9));
    cairo_fill(Cr);
}

// Clear-coat gloss: a soft light streak along the lit side and the body darkening towards the
// rounded nose and tail.
void DrawGloss(cairo_t* Cr, const TCarModel& M, const TTrace& Body, double Cx)
{
    cairo_save(Cr);
    Body();
    cairo_clip(Cr);
    const double Half = M.Width / 2.0 - 1;
    cairo_pattern_t* Streak = cairo_pattern_create_linear(Cx - Half, 0, Cx + Half, 0);
    cairo_pattern_add_color_stop_rgba(Streak, 0.12, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(Streak, 0.22, 1, 1, 1, 0.30);
    cairo_pattern_add_color_stop_rgba(Streak, 0.34, 1, 1, 1, 0.0);
    cairo_set_source(Cr, Streak);
    cairo_paint(Cr);
    cairo_pattern_destroy(Streak);
    cairo_pattern_t* Ends = cairo_pattern_create_linear(0, 0, 0, M.Height);
    cairo_pattern_add_color_stop_rgba(Ends, 0.0, 0, 0, 0, 0.22);
    cairo_pattern_add_color_stop_rgba(Ends, 0.10, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(Ends, 0.90, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(Ends, 1.0, 0, 0, 0, 0.22);
    cairo_set_source(Cr, Ends);
    cairo_paint(Cr);
    cairo_pattern_destroy(Ends);
    cairo_restore(Cr);
}

void DrawMirrors(cairo_t* Cr, const TCarModel& M, const TColor& Body, double Cx)
{
    for (int Side = -1; Side <= 1; Side += 2)
    {
        const double X = Cx + Side * (HalfWidthAt(M.Body, M.MirrorY) + 0.5);
        Ellipse(Cr, X, M.MirrorY, 1.5, 1.1, Side * 20);
        SetColor(Cr, Body.Darker(0.1));
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 0.6);
        SetColor(Cr, Body.Darker(0.62));
        cairo_stroke(Cr);
    }
}

void DrawWing(cairo_t* Cr, const TCarModel& M, const TColor& Body, const TColor& Stripe, double Cx)
{
    if (M.Wing == TCarWing::Lip)
    {
        const double Half = HalfWidthAt(M.Body, 3.0) - 2.2;
        RoundedRect(Cr, Cx - Half, 1.9, Half * 2, 1.5, 0.7);
        SetColor(Cr, Body.Darker(0.45));
        cairo_fill(Cr);
        return;
    }
    if (M.Wing != TCarWing::Big)
        return;
    const double Half = HalfWidthAt(M.Body, 8) - 0.6;
    // Its shadow on the tail, then the blade with end plates.
    RoundedRect(Cr, Cx - Half + 1.0, 2.9, Half * 2, 4.0, 1.2);
    SetColor(Cr, Rgb(0x000000, 0.35));
    cairo_fill(Cr);
    const TTrace Blade = [Cr, Cx, Half]() { RoundedRect(Cr, Cx - Half, 1.4, Half * 2, 4.2, 1.2); };
    PaintSurface(Cr, Blade, Body.Darker(0.08), Cx - Half, Cx + Half, [Cr, Cx, Stripe]() {
        cairo_rectangle(Cr, Cx - 6, 3.0, 12, 1.0);
        SetColor(Cr, Stripe.WithAlpha(0.8));
        cairo_fill(Cr);
    });
    for (int Side = -1; Side <= 1; Side += 2)
    {
        RoundedRect(Cr, Cx + Side * Half - 1.1, 0.8, 2.2, 5.4, 0.8);
        SetColor(Cr, Trim);
        cairo_fill(Cr);
    }
}

// Seams, wipers and a fuel cap, for large pictures.
void DrawDetail(cairo_t* Cr, const TCarModel& M, const TColor& Body, double Cx)
{
    const double HoodTop = LastY(M.Glass);
    cairo_set_line_width(Cr, 0.35);
    SetColor(Cr, Body.Darker(0.55).WithAlpha(0.8));
    // Bonnet and boot lids.
    const double HoodHalf = HalfWidthAt(M.Body, HoodTop + 2) - 4;
    cairo_move_to(Cr, Cx - HoodHalf, HoodTop + 1.6);
    cairo_curve_to(Cr, Cx - HoodHalf * 0.3, HoodTop + 0.6, Cx + HoodHalf * 0.3, HoodTop + 0.6, Cx + HoodHalf,
                   HoodTop + 1.6);
    cairo_stroke(Cr);
    const double BootY = FirstY(M.Glass) - 1.4;
    const double BootHalf = HalfWidthAt(M.Body, BootY) - 4;
    cairo_move_to(Cr, Cx - BootHalf, BootY);
    cairo_curve_to(Cr, Cx - BootHalf * 0.3, BootY + 0.8, Cx + BootHalf * 0.3, BootY + 0.8, Cx + BootHalf,
                   BootY);
    cairo_stroke(Cr);
    // Door seams along both sides of the cabin.
    for (int Side = -1; Side <= 1; Side += 2)
    {
        const double Y0 = FirstY(M.Roof) + 1, Y1 = LastY(M.Glass) - 1;
        const double X = Cx + Side * (HalfWidthAt(M.Glass, (Y0 + Y1) / 2) + 1.4);
        cairo_move_to(Cr, X, Y0);
        cairo_line_to(Cr, X, Y1);
        cairo_move_to(Cr, X, (Y0 + Y1) / 2 + 2);
        cairo_line_to(Cr, X + Side * 1.4, (Y0 + Y1) / 2 + 2);
    }
    cairo_stroke(Cr);
    // Wipers resting at the foot of the windscreen.
    cairo_set_line_width(Cr, 0.5);
    SetColor(Cr, Trim);
    cairo_move_to(Cr, Cx - 8, HoodTop - 1.2);
    cairo_line_to(Cr, Cx - 1, HoodTop - 2.2);
    cairo_move_to(Cr, Cx + 1, HoodTop - 1.2);
    cairo_line_to(Cr, Cx + 8, HoodTop - 2.2);
    cairo_stroke(Cr);
    // Fuel cap on the right rear quarter.
    const double CapY = (M.RearAxle + FirstY(M.Roof)) / 2 + 2;
    cairo_arc(Cr, Cx + HalfWidthAt(M.Body, CapY) - 3.2, CapY, 1.1, 0, 2 * M_PI);
    SetColor(Cr, Body.Darker(0.3));
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 0.3);
    SetColor(Cr, Body.Darker(0.6));
    cairo_stroke(Cr);
}

} // namespace

void DrawCarTop(cairo_t* Cr, const TCarModel& M, int Paint, bool Detail)
{
    const TCarPaint& Scheme = M.Paints[static_cast<std::size_t>(std::clamp(Paint, 0, 2))];
    const double Cx = M.Width / 2.0;
    cairo_save(Cr);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);

    for (int Side = -1; Side <= 1; Side += 2)
    {
        const double X = Cx + Side * (M.WheelOuter - M.WheelWidth / 2);
        DrawWheel(Cr, X, M.RearAxle, M.WheelLength, M.WheelWidth);
        DrawWheel(Cr, X, M.FrontAxle, M.WheelLength, M.WheelWidth);
    }

    const double BodyHalf = M.Width / 2.0 - 1;
    const TTrace Body = [Cr, &M, Cx]() { TraceSymmetric(Cr, M.Body, Cx); };
    PaintSurface(Cr, Body, Scheme.Body, Cx - BodyHalf, Cx + BodyHalf, [&]() {
        DrawStripes(Cr, M, Scheme.Stripe, Cx);
        DrawHoodParts(Cr, M, Scheme.Body, Cx);
        if (Detail)
            DrawDetail(Cr, M, Scheme.Body, Cx);
    });

    DrawGloss(Cr, M, Body, Cx);
    DrawMirrors(Cr, M, Scheme.Body, Cx);
    DrawGlass(Cr, M, Cx);
    const TTrace Roof = [Cr, &M, Cx]() { TraceSymmetric(Cr, M.Roof, Cx); };
    const double RoofHalf = HalfWidthAt(M.Roof, (FirstY(M.Roof) + LastY(M.Roof)) / 2);
    PaintSurface(
        Cr, Roof, Scheme.Body.Lighter(0.05), Cx - RoofHalf, Cx + RoofHalf,
        [&]() { DrawStripes(Cr, M, Scheme.Stripe, Cx); }, 0.7);

    cairo_save(Cr);
    Body();
    cairo_clip(Cr);
    DrawHeadlamps(Cr, M, Cx);
    DrawTailLamps(Cr, M, Cx);
    cairo_restore(Cr);

    DrawWing(Cr, M, Scheme.Body, Scheme.Stripe, Cx);
    cairo_restore(Cr);
}

} // namespace vm::assetgen
