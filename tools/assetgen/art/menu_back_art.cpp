// The menu backgrounds: the key art behind every page ("mainback"), the start-up logo, the
// loading picture and the two blinking glows that sit on the key art's headlamps.
#include "art/art_modules.h"
#include "art/canvas.h"
#include "art/menu_back_scene.h"
#include "art/menu_back_wordmark.h"
#include "art/menu_page_kit.h"
#include "art/style.h"

#include <cmath>
#include <stdexcept>

namespace vm::assetgen {
namespace {

constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;
// Where the game puts the two glows (top-left corners) over the main menu.
constexpr double Light1X = 376, Light1Y = 353;
constexpr double Light2X = 403, Light2Y = 370;

// The main menu's key art: the road sweeps in from the hills, round a bend and past the viewer on
// the left, with the car drifting through the bend in the middle of the picture.
TDuskScene MainScene()
{
    TDuskScene Scene;
    Scene.CameraHeight = 5.5;
    Scene.CameraPitch = 13.5;
    Scene.Focal = 430;
    Scene.SunX = 250;
    Scene.Road = {{0.5, -10}, {6, -4.6},  {12.5, 1.7}, {20, 5.6}, {32, 7},  {50, 4.5},
                  {80, -3},   {130, -10}, {220, -9},   {400, 4},  {900, 10}};
    Scene.Car.X = 2.0;
    Scene.Car.Z = 12.3;
    Scene.Car.Heading = 233;
    Scene.Seed = 7;
    Scene.TreeCount = 46;
    // The menu column, the greeting and the player button, the wordmark, and the car.
    Scene.KeepClear = {{530, 230, 780, 460}, {250, 505, 560, 600}, {150, 20, 650, 150}, {330, 320, 470, 420}};
    return Scene;
}

// Darkens the right-hand side behind the menu column and the foot of the picture behind the
// greeting, and vignettes the corners, so the game's buttons and texts read clearly.
void DrawMenuShade(cairo_t* Cr)
{
    cairo_pattern_t* Column = cairo_pattern_create_linear(505, 0, 575, 0);
    cairo_pattern_add_color_stop_rgba(Column, 0, 0.04, 0.05, 0.09, 0);
    cairo_pattern_add_color_stop_rgba(Column, 1, 0.04, 0.05, 0.09, 0.62);
    cairo_rectangle(Cr, 505, 0, ScreenWidth - 505, ScreenHeight);
    cairo_set_source(Cr, Column);
    cairo_fill(Cr);
    cairo_pattern_destroy(Column);
    cairo_pattern_t* Foot = cairo_pattern_create_linear(0, 460, 0, 560);
    cairo_pattern_add_color_stop_rgba(Foot, 0, 0.03, 0.04, 0.07, 0);
    cairo_pattern_add_color_stop_rgba(Foot, 1, 0.03, 0.04, 0.07, 0.6);
    cairo_rectangle(Cr, 0, 460, ScreenWidth, ScreenHeight - 460);
    cairo_set_source(Cr, Foot);
    cairo_fill(Cr);
    cairo_pattern_destroy(Foot);
    cairo_pattern_t* Vignette = cairo_pattern_create_radial(400, 300, 260, 400, 300, 560);
    cairo_pattern_add_color_stop_rgba(Vignette, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(Vignette, 1, 0, 0, 0, 0.5);
    cairo_rectangle(Cr, 0, 0, ScreenWidth, ScreenHeight);
    cairo_set_source(Cr, Vignette);
    cairo_fill(Cr);
    cairo_pattern_destroy(Vignette);
}

// A lamp's own small bloom, part of the background so the lamp reads as lit even between blinks.
void DrawLampBloom(cairo_t* Cr, const TPoint2& Lamp, double Radius)
{
    cairo_pattern_t* Bloom = cairo_pattern_create_radial(Lamp.X, Lamp.Y, 0, Lamp.X, Lamp.Y, Radius);
    cairo_pattern_add_color_stop_rgba(Bloom, 0, 1, 1, 0.95, 1);
    cairo_pattern_add_color_stop_rgba(Bloom, 0.25, 1, 0.93, 0.75, 0.85);
    cairo_pattern_add_color_stop_rgba(Bloom, 1, 1, 0.8, 0.5, 0);
    cairo_arc(Cr, Lamp.X, Lamp.Y, Radius, 0, 2 * M_PI);
    cairo_set_source(Cr, Bloom);
    cairo_fill(Cr);
    cairo_pattern_destroy(Bloom);
}

// The main menu writes "Hello, <name>!" centred at y 530 in a dark red: a pale backlit plate,
// like a number plate with a screw at each end, carries it.
void DrawGreetingPlate(cairo_t* Cr)
{
    DrawValuePlate(Cr, 268, 523, 264, 28, 5);
    for (double X : {278.0, 522.0})
    {
        cairo_arc(Cr, X, 537, 2.6, 0, 2 * M_PI);
        SetColor(Cr, palette::Steel);
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 0.8);
        SetColor(Cr, palette::Night.WithAlpha(0.7));
        cairo_stroke(Cr);
    }
}

struct TMainBack
{
    TArtImage Image;
    TSceneCarLamps Lamps;
};

TMainBack MakeMainBack()
{
    const TDuskScene Scene = MainScene();
    TCanvas Sharp(ScreenWidth, ScreenHeight);
    const TSceneCarLamps Lamps = DrawDuskScene(Sharp.Cr(), ScreenWidth, ScreenHeight, Scene);
    // The glows must lie down and right of their top-left corners, one on each lamp.
    if (Lamps.Far.X < Light1X + 6 || Lamps.Far.Y < Light1Y + 6 || Lamps.Near.X < Light2X + 6 ||
        Lamps.Near.Y < Light2Y + 6)
        throw std::runtime_error("mainback: the car's lamps are not where the menu glows are drawn");
    const double Bloom = Lamps.PixelsPerMetre * 0.22;

    // Pattern 0: the same scene out of focus and dimmed, for the pages with big panels.
    TCanvas Soft(ScreenWidth, ScreenHeight);
    cairo_set_source_surface(Soft.Cr(), Sharp.Surface(), 0, 0);
    cairo_paint(Soft.Cr());
    BlurSurface(Soft.Surface(), 4);
    SetColor(Soft.Cr(), palette::Night.WithAlpha(0.38));
    cairo_paint(Soft.Cr());
    DrawMenuShade(Soft.Cr());
    DrawLampBloom(Soft.Cr(), Lamps.Far, Bloom * 1.2);
    DrawLampBloom(Soft.Cr(), Lamps.Near, Bloom * 1.3);
    cairo_push_group(Soft.Cr());
    DrawWordmark(Soft.Cr(), 400, 108, 66);
    cairo_pop_group_to_source(Soft.Cr());
    cairo_paint_with_alpha(Soft.Cr(), 0.85);

    DrawMenuShade(Sharp.Cr());
    DrawLampBloom(Sharp.Cr(), Lamps.Far, Bloom);
    DrawLampBloom(Sharp.Cr(), Lamps.Near, Bloom * 1.1);
    DrawWordmark(Sharp.Cr(), 400, 108, 66);
    DrawGreetingPlate(Sharp.Cr());

    TMainBack Result;
    Result.Lamps = Lamps;
    Result.Image = DrawTiles("mainback", ScreenWidth, ScreenHeight, 2, 1, [&](cairo_t* Cr, int Index) {
        cairo_set_source_surface(Cr, (Index == 0 ? Soft : Sharp).Surface(), 0, 0);
        cairo_paint(Cr);
    });
    return Result;
}

// A soft warm glow filling its picture, centred, with a faint horizontal flare.
TArtImage MakeGlow(const std::string& Key, double CenterX, double CenterY)
{
    const int Width = static_cast<int>(std::lround(2 * CenterX));
    const int Height = static_cast<int>(std::lround(2 * CenterY));
    return DrawSingle(Key, Width, Height, [&](cairo_t* Cr) {
        const double Cx = Width / 2.0, Cy = Height / 2.0, R = std::min(Cx, Cy);
        cairo_save(Cr);
        cairo_translate(Cr, Cx, Cy);
        cairo_scale(Cr, Cx / R, Cy / R);
        cairo_pattern_t* Glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, R);
        cairo_pattern_add_color_stop_rgba(Glow, 0, 1, 1, 1, 1);
        cairo_pattern_add_color_stop_rgba(Glow, 0.14, 1, 0.97, 0.86, 0.95);
        cairo_pattern_add_color_stop_rgba(Glow, 0.4, 1, 0.84, 0.5, 0.42);
        cairo_pattern_add_color_stop_rgba(Glow, 1, 1, 0.6, 0.2, 0);
        cairo_arc(Cr, 0, 0, R, 0, 2 * M_PI);
        cairo_set_source(Cr, Glow);
        cairo_fill(Cr);
        cairo_pattern_destroy(Glow);
        cairo_restore(Cr);
        // The flare: a thin bright streak across the lamp.
        cairo_save(Cr);
        cairo_translate(Cr, Cx, Cy);
        cairo_scale(Cr, Cx, std::max(1.2, Cy * 0.09));
        cairo_pattern_t* Flare = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(Flare, 0, 1, 1, 1, 0.8);
        cairo_pattern_add_color_stop_rgba(Flare, 1, 1, 0.9, 0.7, 0);
        cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_set_source(Cr, Flare);
        cairo_fill(Cr);
        cairo_pattern_destroy(Flare);
        cairo_restore(Cr);
    });
}

TArtImage MakeLogo()
{
    return DrawSingle("logo", 780, 300, [](cairo_t* Cr) {
        DrawWordmark(Cr, 396, 170, 84);
        // The strapline, letter-spaced under the road.
        DrawText(Cr, "A R C A D E   R A C I N G", 390, 262, 17, palette::Fog, TAlign::Center);
        cairo_rectangle(Cr, 240, 255, 40, 2);
        cairo_rectangle(Cr, 500, 255, 40, 2);
        SetColor(Cr, palette::Orange.WithAlpha(0.8));
        cairo_fill(Cr);
    });
}

// The loading picture: the car seen closer and lower on a straight, the name above, a card below.
TArtImage MakeLoading()
{
    TDuskScene Scene;
    Scene.CameraHeight = 2.6;
    Scene.CameraPitch = 5;
    Scene.Focal = 520;
    Scene.SunX = 560;
    Scene.Road = {{0.5, 3}, {8, 1.5}, {20, -1}, {45, 2}, {90, 9}, {200, 6}, {500, -10}, {900, -14}};
    Scene.Car.X = 1.3;
    Scene.Car.Z = 11;
    Scene.Car.Heading = 196;
    Scene.Car.Body = palette::Orange;
    Scene.Seed = 11;
    Scene.TreeCount = 40;
    Scene.KeepClear = {{0, 440, 800, 600}, {150, 20, 650, 150}, {250, 230, 560, 440}};
    return DrawSingle("loading", ScreenWidth, ScreenHeight, [&](cairo_t* Cr) {
        DrawDuskScene(Cr, ScreenWidth, ScreenHeight, Scene);
        cairo_pattern_t* Foot = cairo_pattern_create_linear(0, 420, 0, 600);
        cairo_pattern_add_color_stop_rgba(Foot, 0, 0.03, 0.04, 0.07, 0);
        cairo_pattern_add_color_stop_rgba(Foot, 0.5, 0.03, 0.04, 0.07, 0.75);
        cairo_pattern_add_color_stop_rgba(Foot, 1, 0.03, 0.04, 0.07, 0.9);
        cairo_rectangle(Cr, 0, 420, ScreenWidth, 180);
        cairo_set_source(Cr, Foot);
        cairo_fill(Cr);
        cairo_pattern_destroy(Foot);
        DrawWordmark(Cr, 400, 108, 66);
        DrawShadowedText(Cr, "Loading...", 400, 528, 30, palette::Snow, TAlign::Center);
        // A strip of kerb under the word.
        for (int I = 0; I < 16; ++I)
        {
            cairo_rectangle(Cr, 304 + I * 12, 544, 12, 5);
            SetColor(Cr, I % 2 == 0 ? palette::KerbRed : palette::KerbWhite);
            cairo_fill(Cr);
        }
        DrawText(Cr, "Tip: tap Space for the hand brake to slide through tight bends.", 400, 578, 14,
                 palette::Fog, TAlign::Center, false);
    });
}

} // namespace

void AddMenuBackgrounds(TArtList& Menu)
{
    TMainBack Back = MakeMainBack();
    Menu.push_back(std::move(Back.Image));
    Menu.push_back(MakeLogo());
    Menu.push_back(MakeLoading());
    // Each glow is sized so that its centre falls on its lamp.
    Menu.push_back(MakeGlow("light1", Back.Lamps.Far.X - Light1X, Back.Lamps.Far.Y - Light1Y));
    Menu.push_back(MakeGlow("light2", Back.Lamps.Near.X - Light2X, Back.Lamps.Near.Y - Light2Y));
}

} // namespace vm::assetgen
