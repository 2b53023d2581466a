// The three tunes, each composed in code as a complete module.
#pragma once

#include "music/xm_writer.h"

#include <string>

namespace vm::assetgen {

// Each returns false with Error set if the tune's own note data is malformed.
bool BuildMenuTune(TXmModule& Module, std::string& Error); // relaxed mid-tempo loop for the menus
bool BuildRaceTune(TXmModule& Module, std::string& Error); // driving loop for racing
bool BuildLoseTune(TXmModule& Module, std::string& Error); // short melancholic loop after a lost race

} // namespace vm::assetgen
