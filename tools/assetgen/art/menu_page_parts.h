// The groups of menu page pictures, each appending its pictures to the menu list.
#pragma once

#include "art/art_image.h"

namespace vm::assetgen {

void AddHelpPages(TArtList& Menu);     // scr_help .. scr_help4
void AddDialogPages(TArtList& Menu);   // options, questions, profiles, high scores
void AddChoicePages(TArtList& Menu);   // the track page and the car page
void AddTrackPreviews(TArtList& Menu); // tr_track1 .. tr_track12, tr_notav

} // namespace vm::assetgen
