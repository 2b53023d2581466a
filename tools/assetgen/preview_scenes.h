// Review pictures composed from the generated art the way the game lays it out: a run of road
// with its walls, decorations and cars, the race HUD over the road, and the main menu.
#pragma once

#include "art/art_image.h"

#include <string>

namespace vm::assetgen {

// Writes road_run.png, race_hud.png and main_menu.png into Dir. False with Error set on failure.
bool WritePreviews(const TArtList& Menu, const TArtList& Race, const std::string& Dir, std::string& Error);

} // namespace vm::assetgen
