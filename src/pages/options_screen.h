// The options page (full screen, music, volume, online name).
#pragma once

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

} // namespace vm
