// Assembles the two image lists from the picture producers and writes them as .vil files.
#pragma once

#include "art/art_image.h"

#include <string>

namespace vm::assetgen {

TArtList BuildMenuList();
TArtList BuildRaceList();

// Writes the pictures as PNGs in an image-list file. False with Error set on failure.
bool WriteImageList(const TArtList& List, const std::string& FileName, std::string& Error);
// Number of patterns of a picture (whole tiles across times whole tiles down).
int PatternCount(const TArtImage& Image);

} // namespace vm::assetgen
