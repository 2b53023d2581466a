// The menu list's bitmap font: its character order and the size of its glyph tiles.
#pragma once

#include <string>
#include <string_view>

namespace vm::assetgen {

// Glyph g of the font sheet shows character g of this order: codes 32..64, the upper-case
// Cyrillic letters, codes 91..96, the lower-case Cyrillic letters, codes 123..126, A-Z, a-z.
inline constexpr std::u32string_view FontCharacters = U" !\"#$%&'()*+,-./0123456789:;<=>?@"
                                                      U"ЯФЙЦЫЧСВУКАМИПЕНРТЬОГШЛБЮДЩЗЖЁЪХЭ"
                                                      U"[\\]^_`"
                                                      U"йфячыцувсмакепитрнгоьблшщдюжзёъхэ"
                                                      U"{|}~"
                                                      U"ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                      U"abcdefghijklmnopqrstuvwxyz";

// Every glyph gets one tile; text advances by the tile width, so the font reads as monospace.
inline constexpr int FontTileWidth = 12;
inline constexpr int FontTileHeight = 20;
inline constexpr int FontSheetColumns = 16;
// Row of the tile on which the glyphs stand.
inline constexpr int FontBaseline = 15;

// The image key of the font sheet (picture 0 of the menu list).
inline constexpr const char* FontSheetKey = "font";

// One code point as UTF-8.
std::string Utf8(char32_t Code);

} // namespace vm::assetgen
