// The cars: race sprites in three paints, their shadows, and the large pictures of the car page.
#include "art/art_modules.h"
#include "art/canvas.h"
#include "art/car_drawing.h"
#include "art/car_shadow.h"

#include <array>
#include <cmath>
#include <string>

namespace vm::assetgen {

namespace {

// The race list keys its cars differently from the catalogue: race key "carN" holds car index
// RaceKeyCar[N - 1] (the menu list keys them in catalogue order).
constexpr std::array<int, CarModelCount> RaceKeyCar = {0, 3, 4, 1, 2};

// The car page's picture frame, and the one scale all five models share there so that their
// sizes compare honestly.
constexpr int ShowWidth = 146;
constexpr int ShowHeight = 104;
constexpr double ShowScale = 1.75;

// The three paints of a car side by side, as patterns 0..2.
TArtImage CarPatterns(const std::string& Key, int CarIndex)
{
    const TCarModel& Model = CarModel(CarIndex);
    return DrawTiles(Key, Model.Width, Model.Height, 3, 3,
                     [&Model](cairo_t* Cr, int Paint) { DrawCarTop(Cr, Model, Paint); });
}

// The car's shadow: its outline, softened, in one tile of the car's size so that the game can
// turn it about the same point as the car.
TArtImage CarShadow(const std::string& Key, int CarIndex)
{
    const TCarModel& Model = CarModel(CarIndex);
    TCanvas Body(Model.Width, Model.Height);
    DrawCarTop(Body.Cr(), Model, 0);
    return TArtImage{Key, SoftShadow(Body.Pixels(), 1.1, 0.62), Model.Width, Model.Height};
}

// The car page's picture: the car lying nose to the right, in its first paint, larger and with
// panel detail, over a soft floor shadow cast towards the lower right.
TArtImage CarShowcase(const std::string& Key, int CarIndex)
{
    const TCarModel& Model = CarModel(CarIndex);
    TCanvas Car(ShowWidth, ShowHeight);
    cairo_t* Cr = Car.Cr();
    cairo_translate(Cr, ShowWidth / 2.0 - 3, ShowHeight / 2.0 - 3);
    // Swapping the axes turns the nose to the right and keeps the light on the upper-left.
    cairo_matrix_t Swap = {0, ShowScale, ShowScale, 0, 0, 0};
    cairo_transform(Cr, &Swap);
    cairo_translate(Cr, -Model.Width / 2.0, -Model.Height / 2.0);
    DrawCarTop(Cr, Model, 0, true);
    const TPixels CarPixels = Car.Pixels();

    return DrawSingle(Key, ShowWidth, ShowHeight, [&CarPixels](cairo_t* Out) {
        PaintPixels(Out, SoftShadow(CarPixels, 5.0, 0.55), 2, 4);
        PaintPixels(Out, SoftShadow(CarPixels, 1.6, 0.7), 3, 5);
        PaintPixels(Out, CarPixels, 0, 0);
    });
}

} // namespace

void AddMenuCars(TArtList& Menu)
{
    for (int Car = 0; Car < CarModelCount; ++Car)
        Menu.push_back(CarPatterns("car" + std::to_string(Car + 1), Car));
    for (int Car = 0; Car < CarModelCount; ++Car)
        Menu.push_back(CarShowcase("c_car" + std::to_string(Car + 1), Car));
}

void AddRaceCars(TArtList& Race)
{
    for (int Key = 0; Key < CarModelCount; ++Key)
        Race.push_back(
            CarPatterns("car" + std::to_string(Key + 1), RaceKeyCar[static_cast<std::size_t>(Key)]));
    for (int Key = 0; Key < CarModelCount; ++Key)
        Race.push_back(
            CarShadow("carten" + std::to_string(Key + 1), RaceKeyCar[static_cast<std::size_t>(Key)]));
}

} // namespace vm::assetgen
