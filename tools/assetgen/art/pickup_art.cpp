// The ten pickups, drawn for the race list and as icons for the help pages.
#include "art/pickup_art.h"
#include "art/art_modules.h"
#include "art/canvas.h"
#include "art/pickup_icons.h"

#include <array>
#include <cmath>

namespace vm::assetgen {

namespace {

// Design size of a pickup; the race pictures are drawn at exactly this size.
constexpr double DesignSize = 40;

constexpr std::array<const char*, BonusKindCount> PickupKeys = {
    "bonus1", "bonus2", "bonus3", "luga", "bomb", "repair", "life", "time", "shipi", "speedup"};

} // namespace

void DrawPickupIcon(cairo_t* Cr, int Kind, double CenterX, double CenterY, double Size)
{
    if (Kind < 0 || Kind >= BonusKindCount || Size <= 0)
        return;
    cairo_save(Cr);
    cairo_translate(Cr, CenterX, CenterY);
    cairo_scale(Cr, Size / DesignSize, Size / DesignSize);

    // A soft halo in the kind's colour that fades out before the square's edges, so the pickup
    // stands out on grass, sand and asphalt alike.
    const TColor Glow = PickupGlowColor(Kind);
    cairo_pattern_t* Halo = cairo_pattern_create_radial(0, 0, 0, 0, 0, DesignSize / 2);
    cairo_pattern_add_color_stop_rgba(Halo, 0.0, Glow.R, Glow.G, Glow.B, 0.80);
    cairo_pattern_add_color_stop_rgba(Halo, 0.6, Glow.R, Glow.G, Glow.B, 0.5);
    cairo_pattern_add_color_stop_rgba(Halo, 1.0, Glow.R, Glow.G, Glow.B, 0.0);
    cairo_set_source(Cr, Halo);
    cairo_arc(Cr, 0, 0, DesignSize / 2, 0, 2 * M_PI);
    cairo_fill(Cr);
    cairo_pattern_destroy(Halo);

    // The object, first as a soft ground shadow towards the lower right (several faint offset
    // copies of its outline), then itself.
    cairo_push_group(Cr);
    DrawPickupObject(Cr, Kind);
    cairo_pattern_t* Object = cairo_pop_group(Cr);
    constexpr int Taps = 8;
    for (int K = 0; K < Taps; ++K)
    {
        const double A = 2 * M_PI * K / Taps;
        cairo_save(Cr);
        cairo_translate(Cr, 1.6 + 1.1 * std::cos(A), 2.2 + 1.1 * std::sin(A));
        cairo_set_source_rgba(Cr, 0.02, 0.03, 0.05, 0.13);
        cairo_mask(Cr, Object);
        cairo_restore(Cr);
    }
    cairo_set_source(Cr, Object);
    cairo_paint(Cr);
    cairo_pattern_destroy(Object);
    cairo_restore(Cr);
}

void AddPickupImages(TArtList& Race)
{
    for (int Kind = 0; Kind < BonusKindCount; ++Kind)
    {
        const int Side = static_cast<int>(DesignSize);
        Race.push_back(
            DrawSingle(PickupKeys[static_cast<std::size_t>(Kind)], Side, Side, [Kind](cairo_t* Cr) {
                DrawPickupIcon(Cr, Kind, DesignSize / 2, DesignSize / 2, DesignSize);
            }));
    }
}

} // namespace vm::assetgen
