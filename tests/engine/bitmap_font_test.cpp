// The bitmap font on the real font sheet: character table, glyph choice, layout, UTF-8 input.
#include "gui_fixture.h"

#include "engine/utf8.h"

#include <cmath>

namespace vm::test {
namespace {

class BitmapFontTest : public TMenuFixture
{
protected:
    const TImageListItem& Sheet() { return *Images.ImageList.Items(0); }
    // Glyph tiles of every quad drawn so far.
    std::vector<int> DrawnTiles()
    {
        std::vector<int> Tiles;
        for (const auto& Drawn : Device.Log)
            Tiles.push_back(TileOf(Drawn, Sheet()));
        return Tiles;
    }
    // Left x of the n-th drawn quad, undoing the half-pixel shifts on the way to the device.
    float LeftOf(std::size_t N) { return std::round(Device.Log.at(N).Quad[3].X); }
    float TopOf(std::size_t N) { return std::round(Device.Log.at(N).Quad[1].Y); }
};

TEST_F(BitmapFontTest, DefaultSetHoldsTheGameOrderThenLatinLetters)
{
    EXPECT_EQ(TBitmapFont::DefaultCharacters().size(), 161u);
    EXPECT_EQ(Font.GlyphOf(U' '), 0);
    EXPECT_EQ(Font.GlyphOf(U'@'), 32);
    EXPECT_EQ(Font.GlyphOf(U'Я'), 33);
    EXPECT_EQ(Font.GlyphOf(U'Э'), 65);
    EXPECT_EQ(Font.GlyphOf(U'['), 66);
    EXPECT_EQ(Font.GlyphOf(U'й'), 72);
    EXPECT_EQ(Font.GlyphOf(U'э'), 104);
    EXPECT_EQ(Font.GlyphOf(U'~'), 108);
    EXPECT_EQ(Font.GlyphOf(U'A'), 109);
    EXPECT_EQ(Font.GlyphOf(U'z'), 160);
    EXPECT_EQ(Font.GlyphOf(U'ä'), -1);
    EXPECT_EQ(Font.FontName, "font");
}

TEST_F(BitmapFontTest, FirstOccurrenceWinsAndSpaceFallsBackToGlyphZero)
{
    Font.SetCharacters(U"xyzx");
    EXPECT_EQ(Font.GlyphOf(U'x'), 0);
    EXPECT_EQ(Font.GlyphOf(U'z'), 2);
    EXPECT_EQ(Font.GlyphOf(U' '), 0); // the set lacks space
    EXPECT_FALSE(Font.InSet(U' '));
    Font.SetCharacters(U"ab c");
    EXPECT_EQ(Font.GlyphOf(U' '), 2);
    Font.SetCharacters(U"");
    EXPECT_EQ(Font.Characters(), TBitmapFont::DefaultCharacters());
}

TEST_F(BitmapFontTest, LatinAndCyrillicLettersDrawTheirTilesOfTheRealSheet)
{
    Font.TextOut(10, 20, 0, "Aa");
    Font.TextOut(10, 50, 0, "ЯяЁ");
    EXPECT_EQ(DrawnTiles(), (std::vector<int>{109, 135, 33, 74, Font.GlyphOf(U'Ё')}));
    EXPECT_EQ(LeftOf(0), 10);
    EXPECT_EQ(LeftOf(1), 22); // tiles are 12 wide
    EXPECT_EQ(TopOf(0), 20);
    EXPECT_NEAR(Device.Log[0].Quad[2].Y - Device.Log[0].Quad[1].Y, 20, 0.6);
    EXPECT_EQ(Device.Log[0].Quad[0].Color, 0xFEFEFEFEu); // white through the screen's white
}

TEST_F(BitmapFontTest, CharactersWithoutGlyphNeitherDrawNorAdvance)
{
    Font.TextOut(0, 0, 0, "AäB€C");
    EXPECT_EQ(DrawnTiles(), (std::vector<int>{109, 110, 111}));
    EXPECT_EQ(LeftOf(1), 12);
    EXPECT_EQ(LeftOf(2), 24);
    EXPECT_EQ(Font.TextWidth("AäB€C"), 36);
    EXPECT_EQ(Font.TextWidth("ä"), 1); // at least 1
    EXPECT_EQ(Font.TextHeight("A"), 20);
}

TEST_F(BitmapFontTest, SpaceAdvancesAndSpacingAddsBetweenGlyphs)
{
    Font.Spacing = 3;
    Font.TextOut(100, 0, 0, "A B");
    ASSERT_EQ(Device.Log.size(), 2u);
    EXPECT_EQ(LeftOf(1), 100 + 2 * (12 + 3));
    EXPECT_EQ(Font.TextWidth("A B"), 36); // the width counts glyphs only, not spacing
}

TEST_F(BitmapFontTest, CarriageReturnStartsTheNextLineAtTheStartX)
{
    Font.LineSpace = 4;
    Font.TextOut(50, 60, 0, "AB\rC");
    ASSERT_EQ(Device.Log.size(), 3u);
    EXPECT_EQ(LeftOf(2), 50);
    EXPECT_EQ(TopOf(2), 60 + 20 + 4);
}

TEST_F(BitmapFontTest, CentredTextStartsHalfItsWidthLeftAndAQuarterLineUp)
{
    Font.PositionMode = TPositionMode::pmCenter;
    Font.TextOut(100, 100, 0, "ABCD");
    EXPECT_EQ(LeftOf(0), 100 - 24);
    EXPECT_EQ(TopOf(0), 100 - 5);
}

TEST_F(BitmapFontTest, ScaleAndRotationTurnAboutTheRotationCentre)
{
    Font.ScaleX = 2;
    EXPECT_EQ(Font.TextWidth("AB"), 48);
    Font.TextOut(100, 100, 0, "AB");
    ASSERT_EQ(Device.Log.size(), 2u);
    EXPECT_EQ(LeftOf(1), 124);
    EXPECT_EQ(std::round(Device.Log[1].Quad[2].X), 148);

    Device.Log.clear();
    Font.ScaleX = 1;
    Font.Rotation = 90;
    Font.TextOut(100, 100, 0, "AB");
    ASSERT_EQ(Device.Log.size(), 2u);
    // Turned a quarter clockwise about (100, 100): the second glyph lies below the first, and its
    // top edge (left to right before turning) now runs downward.
    const TVertex* Q = Device.Log[1].Quad;
    EXPECT_NEAR(Q[1].X - Q[0].X, 0, 0.6);
    EXPECT_NEAR(Q[1].Y - Q[0].Y, 12, 0.6);
    EXPECT_NEAR(Q[0].Y, 112, 0.6);

    Device.Log.clear();
    Font.Rotation = 0;
    Font.CharRotation = 180;
    Font.TextOut(0, 0, 0, "A");
    // Turned about its own centre: the top-left corner goes to the bottom right.
    EXPECT_NEAR(Device.Log[0].Quad[0].X, 12, 0.6);
    EXPECT_NEAR(Device.Log[0].Quad[0].Y, 20, 0.6);
}

TEST_F(BitmapFontTest, SetImageIndexOutOfRangeChangesNothing)
{
    const std::string Name = Font.FontName;
    Font.SetImageIndex(Images.ImageList.Count());
    Font.SetImageIndex(-1);
    EXPECT_EQ(Font.FontName, Name);
    EXPECT_EQ(Font.ImageIndex(), 0);
    Font.TextOut(0, 0, 0, "A");
    EXPECT_EQ(DrawnTiles(), std::vector<int>{109});
}

TEST_F(BitmapFontTest, InvalidUtf8DrawsOnlyTheValidCharacters)
{
    // A stray continuation byte, a lead byte followed by ASCII, an overlong slash, a surrogate,
    // and a sequence cut off at the end.
    Font.TextOut(0, 0, 0,
                 std::string("\x80"
                             "A\xC3"
                             "B\xC0\xAF\xED\xA0\x80"
                             "C\xE2\x82"));
    EXPECT_EQ(DrawnTiles(), (std::vector<int>{109, 110, 111}));
    EXPECT_EQ(Font.TextWidth("\xFF\xFE"), 1);
}

TEST(Utf8, DecodesAndEncodesEveryLength)
{
    const std::u32string Codes = U"Aé€😀Ё";
    const std::string Bytes = EncodeUtf8(Codes);
    EXPECT_EQ(Bytes.size(), 1u + 2 + 3 + 4 + 2);
    EXPECT_EQ(DecodeUtf8(Bytes), Codes);
    EXPECT_EQ(Utf8Length("ИванИванИван"), 12u);
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80"), U""); // above U+10FFFF
    EXPECT_EQ(EncodeUtf8(std::u32string(1, char32_t(0xD800))), "");
}

} // namespace
} // namespace vm::test
