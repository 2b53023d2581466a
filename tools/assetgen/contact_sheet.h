// The review sheet: every picture of both lists with its key and all its patterns.
#pragma once

#include "art/art_image.h"

#include <string>

namespace vm::assetgen {

// Draws both lists into one PNG. False with Error set on failure.
bool WriteContactSheet(const TArtList& Menu, const TArtList& Race, const std::string& FileName,
                       std::string& Error);

// Keeps only the pictures whose key is in the comma-separated list.
void KeepKeys(TArtList& List, const std::string& CommaSeparatedKeys);

} // namespace vm::assetgen
