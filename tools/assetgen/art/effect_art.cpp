// Race effects: the three explosion animations and the rotating start arrows round the player.
#include "art/art_modules.h"
#include "art/canvas.h"
#include "art/effect_explosion.h"
#include "art/style.h"

#include <cmath>

namespace vm::assetgen {

namespace {

// Explosions play frames 0..7 as patterns, four to a row.
TArtImage Explosion(const std::string& Key, const TExplosionLook& Look)
{
    return DrawTiles(Key, Look.Size, Look.Size, ExplosionFrames, 4,
                     [&Look](cairo_t* Cr, int Frame) { DrawExplosionFrame(Cr, Look, Frame); });
}

// Side of the start arrows' picture; the ring clears a car standing in its middle.
constexpr int RingSide = 150;

// Three curved arrows chasing each other clockwise round a ring, with a faint guide ring. The
// game turns the picture a degree a frame about its centre.
void DrawStartArrows(cairo_t* Cr)
{
    const double C = RingSide / 2.0;
    const double R = 60, Thick = 8;
    cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(Cr, C, C, R, 0, 2 * M_PI);
    cairo_set_line_width(Cr, 2);
    SetColor(Cr, palette::Amber.WithAlpha(0.22));
    cairo_stroke(Cr);
    for (int K = 0; K < 3; ++K)
    {
        const double Start = 2 * M_PI * K / 3 - M_PI / 2;
        const double End = Start + 1.45; // radians of arc before the head
        auto Arrow = [Cr, C, R, Thick, Start, End]() {
            cairo_new_path(Cr);
            cairo_arc(Cr, C, C, R + Thick / 2, Start, End);
            // Head: out past the band, to the tip ahead on the ring, back inside the band.
            const double Tip = End + 0.3;
            cairo_line_to(Cr, C + std::cos(End) * (R + Thick * 1.25), C + std::sin(End) * (R + Thick * 1.25));
            cairo_line_to(Cr, C + std::cos(Tip) * R, C + std::sin(Tip) * R);
            cairo_line_to(Cr, C + std::cos(End) * (R - Thick * 1.25), C + std::sin(End) * (R - Thick * 1.25));
            cairo_arc_negative(Cr, C, C, R - Thick / 2, End, Start);
            cairo_close_path(Cr);
        };
        // Soft glow, dark edge, then the body shading from amber at the tail to orange at the head.
        Arrow();
        cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(Cr, 6);
        SetColor(Cr, palette::Orange.WithAlpha(0.25));
        cairo_stroke(Cr);
        Arrow();
        cairo_set_line_width(Cr, 2);
        SetColor(Cr, palette::Night.WithAlpha(0.9));
        cairo_stroke_preserve(Cr);
        const double X0 = C + std::cos(Start) * R, Y0 = C + std::sin(Start) * R;
        const double X1 = C + std::cos(End) * R, Y1 = C + std::sin(End) * R;
        cairo_pattern_t* Fill = cairo_pattern_create_linear(X0, Y0, X1, Y1);
        cairo_pattern_add_color_stop_rgba(Fill, 0, palette::Amber.R, palette::Amber.G, palette::Amber.B,
                                          0.55);
        cairo_pattern_add_color_stop_rgba(Fill, 1, palette::Orange.R, palette::Orange.G, palette::Orange.B,
                                          1);
        cairo_set_source(Cr, Fill);
        cairo_fill(Cr);
        cairo_pattern_destroy(Fill);
        // A light line along the outer edge.
        cairo_arc(Cr, C, C, R + Thick / 2 - 1.2, Start + 0.08, End - 0.05);
        cairo_set_line_width(Cr, 1.2);
        SetColor(Cr, Rgb(0xffffff, 0.55));
        cairo_stroke(Cr);
    }
}

} // namespace

void AddEffectImages(TArtList& Race)
{
    TExplosionLook Wreck;
    Wreck.Size = 128;
    Wreck.Seed = 11;
    Wreck.Puffs = 16;
    Wreck.Sparks = 18;
    Wreck.Debris = 8;
    Race.push_back(Explosion("exploid", Wreck));

    TExplosionLook Bomb;
    Bomb.Size = 112;
    Bomb.Seed = 23;
    Bomb.Puffs = 14;
    Bomb.Sparks = 14;
    Bomb.Shockwave = true;
    Race.push_back(Explosion("exploid2", Bomb));

    TExplosionLook Spare;
    Spare.Size = 96;
    Spare.Seed = 37;
    Spare.Puffs = 11;
    Spare.Sparks = 10;
    Race.push_back(Explosion("exploid3", Spare));

    Race.push_back(DrawSingle("begarrows", RingSide, RingSide, DrawStartArrows));
}

} // namespace vm::assetgen
