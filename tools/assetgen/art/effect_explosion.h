// Explosion animations: a flash, a growing fireball and its smoke, as eight frames.
#pragma once

#include <cairo.h>
#include <cstdint>

namespace vm::assetgen {

struct TExplosionLook
{
    int Size = 128;         // frame side in pixels
    std::uint64_t Seed = 1; // the layout of puffs, sparks and debris
    int Puffs = 14;         // fire and smoke puffs
    int Sparks = 16;        // bright streaks flung out early on
    int Debris = 0;         // dark wreck fragments
    bool Shockwave = false; // a bright ring racing out over the ground
};

constexpr int ExplosionFrames = 8;

// Draws frame Frame (0..7) of the explosion into (0, 0)..(Size, Size), transparent around.
void DrawExplosionFrame(cairo_t* Cr, const TExplosionLook& Look, int Frame);

} // namespace vm::assetgen
