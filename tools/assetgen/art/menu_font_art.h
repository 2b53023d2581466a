// The menu list's bitmap font: its character order and the size of its glyph tiles.
#pragma once

#include "engine/bitmap_font.h"

#include <string>

namespace vm::assetgen {

// Glyph g of the font sheet shows character g of the game's bitmap-font order (codes 32..64, the
// upper-case Cyrillic letters, codes 91..96, the lower-case Cyrillic letters, codes 123..126,
// A-Z, a-z): the sheet takes the order from the font itself, so the two cannot disagree.
inline const std::u32string& FontCharacters = TBitmapFont::DefaultCharacters();

// Every glyph gets one tile; text advances by the tile width, so the font reads as monospace.
inline constexpr int FontTileWidth = 12;
inline constexpr int FontTileHeight = 20;
inline constexpr int FontSheetColumns = 16;
// Row of the tile on which the glyphs stand.
inline constexpr int FontBaseline = 15;

// The image key of the font sheet (picture 0 of the menu list).
inline constexpr const char* FontSheetKey = "font";

} // namespace vm::assetgen
