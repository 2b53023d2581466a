// The options page (full screen, music, volume, online name).
#pragma once

#include <string>

namespace vm {

class ITextRasterizer;
class TGame;

void EnterOptions(TGame& Game);
void OptionsFrame(TGame& Game);
void LeaveOptions(TGame& Game);

// Builds the GUI's bitmap font from the name edits' system face, 12 points bold, tinted
// (250, 250, 250), with the game's installed fonts or with Rasterizer. Without installed fonts
// the glyphs stay as they were (tinted all the same); a font built once is not built again.
void BuildEditFont(TGame& Game);
void BuildEditFont(TGame& Game, ITextRasterizer* Rasterizer);
// An online name as the edit may hold it: no "%" (the settings file pads with it and drops
// trailing ones when reading) and no "|" (it separates the fields of the online score text).
std::string CleanOnlineName(const std::string& Name);

} // namespace vm
