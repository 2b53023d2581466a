// The right dashboard strip: plates for the race texts, the health tube, the speedometer dial.
#include "art/canvas.h"
#include "art/hud_layout.h"
#include "art/hud_parts.h"
#include "art/hud_shapes.h"

#include <cmath>
#include <string>

namespace vm::assetgen::hud {

namespace {

// The text plates of the top block: one width for all three, so they line up.
constexpr double PlateLeft = 724, PlateWidth = 73, PlateHeight = 22;
constexpr double LabelRight = 718;
constexpr double TopBlockLeft = 672, TopBlockBottom = 104;
constexpr double ColumnLeft = 728, TaperBottom = 150;
constexpr double StripLeft = 545, StripTop = 538, StripCorner = 14;

double Radians(double Degrees) { return Degrees * M_PI / 180; }

// The panel's outline in screen coordinates, clockwise. Edges on the screen border run past it so
// that the rim only shows towards the road.
void DashboardOutline(cairo_t* Cr)
{
    const double Cx = DialX, Cy = DialY, R = DialRadius;
    const double StripJoinX = Cx - std::sqrt(R * R - (StripTop - Cy) * (StripTop - Cy));
    const double ColumnJoinY = Cy - std::sqrt(R * R - (ColumnLeft - Cx) * (ColumnLeft - Cx));
    cairo_new_path(Cr);
    cairo_move_to(Cr, TopBlockLeft, -12);
    cairo_line_to(Cr, 812, -12);
    cairo_line_to(Cr, 812, 612);
    cairo_line_to(Cr, StripLeft, 612);
    cairo_line_to(Cr, StripLeft, StripTop + StripCorner);
    cairo_arc(Cr, StripLeft + StripCorner, StripTop + StripCorner, StripCorner, M_PI, 1.5 * M_PI);
    cairo_line_to(Cr, StripJoinX, StripTop);
    cairo_arc(Cr, Cx, Cy, R, std::atan2(StripTop - Cy, StripJoinX - Cx),
              std::atan2(ColumnJoinY - Cy, ColumnLeft - Cx) + 2 * M_PI);
    cairo_line_to(Cr, ColumnLeft, TaperBottom);
    cairo_curve_to(Cr, ColumnLeft, TaperBottom - 26, TopBlockLeft, TopBlockBottom + 22, TopBlockLeft,
                   TopBlockBottom - 6);
    cairo_close_path(Cr);
}

// Sets the body's brushed-metal gradient (light from the top-left) as the source.
void SetBodySource(cairo_t* Cr)
{
    cairo_pattern_t* Body = cairo_pattern_create_linear(TopBlockLeft, 0, 800, 600);
    const TColor Top = palette::Slate.Darker(0.05);
    const TColor Middle = palette::Navy;
    const TColor Bottom = palette::Night.Lighter(0.03);
    cairo_pattern_add_color_stop_rgba(Body, 0, Top.R, Top.G, Top.B, 0.97);
    cairo_pattern_add_color_stop_rgba(Body, 0.45, Middle.R, Middle.G, Middle.B, 0.97);
    cairo_pattern_add_color_stop_rgba(Body, 1, Bottom.R, Bottom.G, Bottom.B, 0.97);
    cairo_set_source(Cr, Body);
    cairo_pattern_destroy(Body);
}

void DrawBody(cairo_t* Cr)
{
    // A soft dark halo keeps the edge readable over bright sand.
    DashboardOutline(Cr);
    cairo_set_line_width(Cr, 9);
    SetColor(Cr, Rgb(0x000000, 0.22));
    cairo_stroke_preserve(Cr);
    SetBodySource(Cr);
    cairo_fill_preserve(Cr);

    cairo_save(Cr);
    cairo_clip_preserve(Cr);
    // Fine diagonal brushing.
    for (double D = -600; D < 900; D += 5)
    {
        cairo_move_to(Cr, 541 + D, 0);
        cairo_line_to(Cr, 541 + D + 300, 600);
    }
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, Rgb(0xffffff, 0.018));
    cairo_stroke(Cr);
    // Orange pin line set in from the edge, then the steel rim.
    DashboardOutline(Cr);
    cairo_set_line_width(Cr, 10);
    SetColor(Cr, palette::Orange);
    cairo_stroke_preserve(Cr);
    cairo_set_line_width(Cr, 7);
    SetBodySource(Cr);
    cairo_stroke_preserve(Cr);
    cairo_set_line_width(Cr, 3);
    SetColor(Cr, palette::Steel.Lighter(0.25));
    cairo_stroke(Cr);
    cairo_restore(Cr);
}

void DrawTextPlates(cairo_t* Cr)
{
    struct TPlate
    {
        const char* Label;
        double TextY;
    };
    const TPlate Plates[] = {{"POS", PlaceTextY}, {"TIME", ClockTextY}, {"LIVES", LivesTextY}};
    for (const TPlate& Plate : Plates)
    {
        const double Top = Plate.TextY - (PlateHeight - TextCellHeight) / 2;
        DrawValuePlate(Cr, PlateLeft, Top, PlateWidth, PlateHeight);
        DrawText(Cr, Plate.Label, LabelRight, Top + 15, 10, palette::Fog, TAlign::Right);
    }
    // The score plate on the bottom strip, with its label above.
    const double ScoreWidth = 92;
    DrawText(Cr, "SCORE", ScoreCentreX, StripTop + 22, 10, palette::Fog, TAlign::Center);
    DrawValuePlate(Cr, ScoreCentreX - ScoreWidth / 2, ScoreTextY - (PlateHeight + 4 - TextCellHeight) / 2,
                 ScoreWidth, PlateHeight + 4);
}

// Racing stripes on the column below the top block, and the health tube with its scale.
void DrawHealthColumn(cairo_t* Cr)
{
    // Cooling vents: recessed slots, lit on their lower lip.
    for (int I = 0; I < 4; ++I)
    {
        const double Y = 156 + I * 9;
        RoundedRect(Cr, 741, Y, 46, 4, 2);
        SetColor(Cr, palette::Night.Darker(0.3));
        cairo_fill(Cr);
        cairo_rectangle(Cr, 743, Y + 4, 42, 1);
        SetColor(Cr, palette::Steel.WithAlpha(0.6));
        cairo_fill(Cr);
    }
    // A small cross badge and the caption.
    const double Cx = BarX + BarWidth / 2.0;
    cairo_arc(Cr, Cx, 204, 8, 0, 2 * M_PI);
    SetColor(Cr, palette::Green.Darker(0.25));
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 1);
    SetColor(Cr, palette::Night);
    cairo_stroke(Cr);
    cairo_rectangle(Cr, Cx - 1.5, 199, 3, 10);
    cairo_rectangle(Cr, Cx - 5, 202.5, 10, 3);
    SetColor(Cr, palette::Snow);
    cairo_fill(Cr);
    DrawText(Cr, "HEALTH", Cx, 228, 9, palette::Fog, TAlign::Center);

    // The recessed frame, the full tube, and a quarter scale on the right.
    RoundedRect(Cr, BarX - 6, BarY - 6, BarWidth + 12, BarHeight + 12, 7);
    SetColor(Cr, palette::Night);
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 1.5);
    SetColor(Cr, palette::Steel);
    cairo_stroke(Cr);
    PaintDrainedTube(Cr, BarX, BarY, BarWidth, 1);
    PaintHealthFill(Cr, BarX, BarY + 1, BarWidth, BarHeight - 1);
    for (int Q = 0; Q <= 4; ++Q)
    {
        const double Y = BarY + 1 + (BarHeight - 1) * Q / 4.0;
        cairo_rectangle(Cr, BarX + BarWidth + 9, Y - 0.75, Q % 2 == 0 ? 8 : 5, 1.5);
    }
    SetColor(Cr, palette::Fog);
    cairo_fill(Cr);
}

// Clockwise from straight up, in screen terms: the direction of a needle at that angle.
void DialPoint(double Degrees, double Radius, double& X, double& Y)
{
    X = DialX + Radius * std::sin(Radians(Degrees));
    Y = DialY - Radius * std::cos(Radians(Degrees));
}

// The scale reads 0..272 with 200 at full-scale speed, where the game turns the needle by
// DialSweep degrees; cairo angles run from the x axis, hence the -90.
double ScaleAngle(double Value) { return DialRestAngle + Value * DialSweep / 200; }
double CairoAngle(double Value) { return Radians(ScaleAngle(Value) - 90); }

void DrawDial(cairo_t* Cr)
{
    const double R = DialRadius;
    // Bezel: brushed steel lit from the top-left.
    cairo_pattern_t* Bezel = cairo_pattern_create_linear(DialX - R, DialY - R, DialX + R, DialY + R);
    const TColor Light = palette::Fog, Dark = palette::Night;
    cairo_pattern_add_color_stop_rgb(Bezel, 0, Light.R, Light.G, Light.B);
    cairo_pattern_add_color_stop_rgb(Bezel, 0.5, palette::Steel.R, palette::Steel.G, palette::Steel.B);
    cairo_pattern_add_color_stop_rgb(Bezel, 1, Dark.R, Dark.G, Dark.B);
    cairo_arc(Cr, DialX, DialY, R - 1, 0, 2 * M_PI);
    cairo_set_source(Cr, Bezel);
    cairo_fill(Cr);
    cairo_pattern_destroy(Bezel);
    cairo_arc(Cr, DialX, DialY, R - 1, 0, 2 * M_PI);
    cairo_set_line_width(Cr, 1.2);
    SetColor(Cr, palette::Night);
    cairo_stroke(Cr);

    // The face: deep navy, a touch lighter in the middle.
    const double Face = R - 7;
    cairo_pattern_t* Glass = cairo_pattern_create_radial(DialX - 10, DialY - 14, 4, DialX, DialY, Face);
    const TColor Mid = palette::Navy.Lighter(0.08), Edge = palette::Night.Darker(0.2);
    cairo_pattern_add_color_stop_rgb(Glass, 0, Mid.R, Mid.G, Mid.B);
    cairo_pattern_add_color_stop_rgb(Glass, 1, Edge.R, Edge.G, Edge.B);
    cairo_arc(Cr, DialX, DialY, Face, 0, 2 * M_PI);
    cairo_set_source(Cr, Glass);
    cairo_fill_preserve(Cr);
    cairo_pattern_destroy(Glass);
    cairo_set_line_width(Cr, 2);
    SetColor(Cr, Rgb(0x000000, 0.6));
    cairo_stroke(Cr);

    // Arcs: a faint amber track up to full scale, the red zone beyond it.
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_BUTT);
    cairo_arc(Cr, DialX, DialY, Face - 5, CairoAngle(0), CairoAngle(200));
    cairo_set_line_width(Cr, 2);
    SetColor(Cr, palette::Amber.WithAlpha(0.45));
    cairo_stroke(Cr);
    cairo_arc(Cr, DialX, DialY, Face - 6, CairoAngle(200), CairoAngle(DialTopScale * 200));
    cairo_set_line_width(Cr, 5);
    SetColor(Cr, palette::Red);
    cairo_stroke(Cr);

    // Ticks every 10, long ones every 40 with their numbers.
    for (int Value = 0; Value <= 270; Value += 10)
    {
        const bool Major = Value % 40 == 0;
        double X0, Y0, X1, Y1;
        DialPoint(ScaleAngle(Value), Face - 3, X0, Y0);
        DialPoint(ScaleAngle(Value), Face - (Major ? 15 : 10), X1, Y1);
        cairo_move_to(Cr, X0, Y0);
        cairo_line_to(Cr, X1, Y1);
        cairo_set_line_width(Cr, Major ? 2.4 : 1.2);
        const TColor Tick =
            Value >= 200 ? palette::Red.Lighter(0.35) : (Major ? palette::Snow : palette::Fog);
        SetColor(Cr, Tick);
        cairo_stroke(Cr);
        if (Major)
        {
            double Tx, Ty;
            DialPoint(ScaleAngle(Value), Face - 26, Tx, Ty);
            DrawText(Cr, std::to_string(Value), Tx, Ty + 4, 11,
                     Value >= 200 ? palette::Red.Lighter(0.4) : palette::Snow, TAlign::Center);
        }
    }
    DrawText(Cr, "km/h", DialX, DialY + 33, 9, palette::Fog, TAlign::Center, false);

    // The unlit reverse lamp, where the lit one appears while reversing.
    RoundedRect(Cr, LampX - 15, LampY - 8, 30, 16, 8);
    SetVerticalGradient(Cr, LampY - 8, LampY + 8, palette::Night, palette::Navy);
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 1.2);
    SetColor(Cr, palette::Steel);
    cairo_stroke(Cr);
    DrawText(Cr, "R", LampX, LampY + 4, 11, palette::Steel, TAlign::Center);

    // A faint reflection across the upper left of the glass.
    cairo_save(Cr);
    cairo_arc(Cr, DialX, DialY, Face, 0, 2 * M_PI);
    cairo_clip(Cr);
    cairo_arc(Cr, DialX - 30, DialY - 40, Face, 0, 2 * M_PI);
    SetColor(Cr, Rgb(0xffffff, 0.035));
    cairo_fill(Cr);
    cairo_restore(Cr);
}

} // namespace

TArtImage MakeDashboard()
{
    return DrawSingle("razzler", PanelWidth, PanelHeight, [](cairo_t* Cr) {
        cairo_translate(Cr, -PanelX, -PanelY);
        DrawBody(Cr);
        DrawTextPlates(Cr);
        DrawHealthColumn(Cr);
        DrawDial(Cr);
        DrawText(Cr, "VELOMARCH", 736, 590, 10, palette::Steel.Lighter(0.1), TAlign::Center);
    });
}

} // namespace vm::assetgen::hud
