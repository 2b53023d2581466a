// The bitmap font's sheet: its character order, one clean glyph per tile, and glyphs that read.
#include "art/menu_font_art.h"
#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"

#include "engine/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

using vm::assetgen::FontCharacters;

constexpr std::size_t GlyphCount = 161;

// The alpha of every tile of the menu list's first picture, tile by tile.
class FontSheet : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        vm::TImageListCollection List;
        const vm::TLoadResult Result = List.LoadFromFile(test::AssetPath("Data/data1.vil"));
        ASSERT_TRUE(Result.Ok) << Result.Error;
        ASSERT_GT(List.Count(), 0);
        const vm::TImageListItem* Sheet = List.Items(0);
        TileWidth = Sheet->TileWidth();
        TileHeight = Sheet->TileHeight();
        TileCount = Sheet->Columns() * Sheet->Rows();
        vm::TPixels Pixels;
        ASSERT_TRUE(Sheet->Picture().Decode(Pixels));
        Tiles.assign(TileCount, {});
        for (int Tile = 0; Tile < TileCount; ++Tile)
        {
            const int X0 = (Tile % Sheet->Columns()) * TileWidth;
            const int Y0 = (Tile / Sheet->Columns()) * TileHeight;
            for (int Y = 0; Y < TileHeight; ++Y)
                for (int X = 0; X < TileWidth; ++X)
                    Tiles[Tile].push_back(Pixels.Argb[(Y0 + Y) * Pixels.Width + X0 + X] >> 24);
        }
    }

    static int Alpha(int Tile, int X, int Y) { return static_cast<int>(Tiles[Tile][Y * TileWidth + X]); }
    static int Glyph(char32_t Code) { return static_cast<int>(FontCharacters.find(Code)); }
    // Lowest row holding solid ink.
    static int InkBottom(int Tile)
    {
        for (int Y = TileHeight - 1; Y >= 0; --Y)
            for (int X = 0; X < TileWidth; ++X)
                if (Alpha(Tile, X, Y) >= 128)
                    return Y;
        return -1;
    }
    // Sum of alpha differences between two tiles.
    static long Difference(int A, int B)
    {
        long Sum = 0;
        for (std::size_t I = 0; I < Tiles[A].size(); ++I)
            Sum += std::abs(static_cast<long>(Tiles[A][I]) - static_cast<long>(Tiles[B][I]));
        return Sum;
    }

    static inline int TileWidth = 0, TileHeight = 0, TileCount = 0;
    static inline std::vector<std::vector<std::uint32_t>> Tiles;
};

TEST(FontOrder, HoldsTheDefaultSetThenTheLatinLetters)
{
    ASSERT_EQ(FontCharacters.size(), GlyphCount);
    EXPECT_EQ(FontCharacters[0], U' ');
    for (char32_t Code = 32; Code <= 64; ++Code)
        EXPECT_EQ(FontCharacters[Code - 32], Code);
    EXPECT_EQ(FontCharacters.substr(33, 33), U"ЯФЙЦЫЧСВУКАМИПЕНРТЬОГШЛБЮДЩЗЖЁЪХЭ");
    EXPECT_EQ(FontCharacters.substr(66, 6), U"[\\]^_`");
    EXPECT_EQ(FontCharacters.substr(72, 33), U"йфячыцувсмакепитрнгоьблшщдюжзёъхэ");
    EXPECT_EQ(FontCharacters.substr(105, 4), U"{|}~");
    for (char32_t Letter = 0; Letter < 26; ++Letter)
    {
        EXPECT_EQ(FontCharacters[109 + Letter], U'A' + Letter);
        EXPECT_EQ(FontCharacters[135 + Letter], U'a' + Letter);
    }
    // The game maps a character to its first position; a repeat would hide a glyph.
    EXPECT_EQ(std::set<char32_t>(FontCharacters.begin(), FontCharacters.end()).size(), GlyphCount);
}

TEST(FontOrder, Utf8EncodesEveryCharacterOfTheSet)
{
    EXPECT_EQ(vm::EncodeUtf8(U"A"), "A");
    EXPECT_EQ(vm::EncodeUtf8(U"Ё"), "\xD0\x81");
    EXPECT_EQ(vm::EncodeUtf8(U"я"), "\xD1\x8F");
    EXPECT_EQ(vm::EncodeUtf8(U"€"), "\xE2\x82\xAC");
}

TEST_F(FontSheet, IsTheFirstPictureWithOneTilePerCharacter)
{
    EXPECT_EQ(TileWidth, vm::assetgen::FontTileWidth);
    EXPECT_EQ(TileHeight, vm::assetgen::FontTileHeight);
    EXPECT_GE(TileCount, static_cast<int>(GlyphCount));
}

TEST_F(FontSheet, SpaceIsEmptyAndEveryOtherGlyphHasInk)
{
    ASSERT_GE(TileCount, static_cast<int>(GlyphCount));
    for (std::size_t Tile = 0; Tile < GlyphCount; ++Tile)
    {
        int Solid = 0;
        for (std::uint32_t A : Tiles[Tile])
            Solid += A >= 128;
        if (Tile == 0)
            EXPECT_EQ(*std::max_element(Tiles[0].begin(), Tiles[0].end()), 0u) << "space has ink";
        else
            EXPECT_GE(Solid, 3) << "glyph " << Tile << " is (nearly) empty";
    }
}

TEST_F(FontSheet, GlyphsKeepClearOfTheTileEdgesSoNeighboursNeverTouch)
{
    ASSERT_GE(TileCount, static_cast<int>(GlyphCount));
    for (int Tile = 0; Tile < static_cast<int>(GlyphCount); ++Tile)
        for (int Y = 0; Y < TileHeight; ++Y)
        {
            EXPECT_LT(Alpha(Tile, 0, Y), 96) << "glyph " << Tile << " touches its left edge";
            EXPECT_LT(Alpha(Tile, TileWidth - 1, Y), 96) << "glyph " << Tile << " touches its right edge";
        }
}

TEST_F(FontSheet, LettersAndDigitsStandOnOneBaseline)
{
    ASSERT_GE(TileCount, static_cast<int>(GlyphCount));
    const std::u32string Standing = U"0123456789ABCDEFHIKLMNRTUVWXZabcdehikmnorstuvwxz"
                                    U"АБВГЕЖЗИКЛМНОПРСТЭЮЯабвгежзиклмнопстхэюя";
    const int Baseline = InkBottom(Glyph(U'H'));
    for (char32_t Code : Standing)
        EXPECT_NEAR(InkBottom(Glyph(Code)), Baseline, 1) << "glyph " << Glyph(Code);
    // Descenders go below it and still fit the tile.
    for (char32_t Code : std::u32string(U"gjpqyдруфщ"))
    {
        EXPECT_GT(InkBottom(Glyph(Code)), Baseline + 1) << "glyph " << Glyph(Code);
        EXPECT_LT(InkBottom(Glyph(Code)), TileHeight);
    }
}

TEST_F(FontSheet, DifferentCharactersOfOneScriptLookDifferent)
{
    ASSERT_GE(TileCount, static_cast<int>(GlyphCount));
    // Latin letters and ASCII signs among themselves, Cyrillic letters among themselves (a
    // Cyrillic letter may look like its Latin twin, as А and A do).
    std::vector<int> Ascii, Cyrillic;
    for (int Tile = 1; Tile < static_cast<int>(GlyphCount); ++Tile)
        (FontCharacters[Tile] < 0x80 ? Ascii : Cyrillic).push_back(Tile);
    // A clear difference: at least a few pixels' worth of full alpha.
    constexpr long Clear = 3 * 255;
    for (const std::vector<int>* Group : {&Ascii, &Cyrillic})
        for (std::size_t I = 0; I < Group->size(); ++I)
            for (std::size_t J = I + 1; J < Group->size(); ++J)
                EXPECT_GT(Difference((*Group)[I], (*Group)[J]), Clear)
                    << "glyphs " << (*Group)[I] << " and " << (*Group)[J] << " look the same";
}

} // namespace
