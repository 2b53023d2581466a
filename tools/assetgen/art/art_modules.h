// The picture producers, one per group; each appends its pictures to the list it is given.
#pragma once

#include "art/art_image.h"

namespace vm::assetgen {

// Menu list (Data/data1.vil). The font sheet must be its first picture.
void AddFontSheet(TArtList& Menu);       // the bitmap font's glyph sheet
void AddMenuWidgets(TArtList& Menu);     // cursor, selection bar, buttons, edits, bars
void AddMenuBackgrounds(TArtList& Menu); // mainback, logo, loading, light1, light2
void AddMenuPages(TArtList& Menu);       // page pictures and track previews
void AddMenuCars(TArtList& Menu);        // car1..car5 in menu keying, c_car1..c_car5

// Both lists.
void AddMarkerImages(TArtList& List); // arrows, dim, groundpoint

// Race list (Data/data2.vil).
void AddRaceCars(TArtList& Race);     // car1..car5 in race keying, carten1..carten5
void AddRoadImages(TArtList& Race);   // road pieces, ground tiles, walls, decorations, lines
void AddPickupImages(TArtList& Race); // the ten pickups
void AddEffectImages(TArtList& Race); // explosions, start arrows
void AddHudImages(TArtList& Race);    // panels, bars, needle, markers, start lights
void AddRaceOverlays(TArtList& Race); // in-race pages and their buttons

} // namespace vm::assetgen
