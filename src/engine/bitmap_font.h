// Text drawn from a glyph texture: the tiles of an image-list picture, or a texture rendered
// from a system font. Used by the GUI for captions and the edit box.
#pragma once

#include "engine/render_device.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vm {

class ITextRasterizer;
class TImageList;
class TImageListItem;
class TScreen;

enum class TPositionMode
{
    pmTopLeft,
    pmCenter,
};

class TBitmapFont
{
public:
    // The screen is not owned and must outlive the font.
    explicit TBitmapFont(TScreen* Screen = nullptr);
    ~TBitmapFont();
    TBitmapFont(const TBitmapFont&) = delete;
    TBitmapFont& operator=(const TBitmapFont&) = delete;

    // The default set: the 109 characters of the game's order, then A-Z and a-z.
    static const std::u32string& DefaultCharacters();

    // Stores Set (the default set when empty) and rebuilds the glyph table: each character maps
    // to its position in Set, the first occurrence winning; space maps to glyph 0 when Set lacks it.
    void SetCharacters(const std::u32string& Set);
    const std::u32string& Characters() const { return FCharacters; }
    // Glyph number of a code point, -1 when it has none.
    int GlyphOf(char32_t Code) const;
    bool HasGlyph(char32_t Code) const { return GlyphOf(Code) >= 0; }

    // Takes tile g of picture Index of ImageList as glyph g; ignored when Index is negative or
    // beyond the list (the font stays as it was).
    void SetImageIndex(int Index);
    int ImageIndex() const { return FImageIndex; }

    // Renders Characters (the default set when empty) with the system font into a texture of the
    // font's own. Packed asks for the smallest power-of-two side that holds them. Stops quietly
    // (returns false, font unchanged) when the system font cannot be made.
    bool BuildFromSystemFont(ITextRasterizer& Rasterizer, const std::string& Face, int PointSize, bool Bold,
                             const std::u32string& Characters, bool Packed = false);
    // The device lost its textures: a built font makes its texture again from its kept pixels.
    void DeviceReset();

    void SetRed(std::uint8_t Value) { Red = Value; }
    void SetGreen(std::uint8_t Value) { Green = Value; }
    void SetBlue(std::uint8_t Value) { Blue = Value; }
    void SetAlpha(std::uint8_t Value) { Alpha = Value; }

    // Draws UTF-8 Text with the font's colour, scale and rotation; BlendMode -1 keeps the
    // screen's current mode.
    void TextOut(float X, float Y, int BlendMode, const std::string& Text);
    // Sum over characters with a glyph of glyph width x ScaleX, each rounded; at least 1.
    int TextWidth(const std::string& Text) const;
    // Glyph height x ScaleY rounded; at least 1.
    int TextHeight(const std::string& Text) const;

    // Published properties.
    std::string FontName;
    TImageList* ImageList = nullptr; // not owned
    std::uint8_t Red = 255, Green = 255, Blue = 255, Alpha = 255;
    int LineSpace = 10;
    float CenterX = 0, CenterY = 0; // rotation centre offsets
    float ScaleX = 1, ScaleY = 1;
    float Rotation = 0, CharRotation = 0; // degrees
    int Spacing = 0;
    TPositionMode PositionMode = TPositionMode::pmTopLeft;
    TScreen* Screen() const { return FScreen; }

private:
    struct TGlyph
    {
        int Width = 0, Height = 0;            // pixels
        float U0 = 0, V0 = 0, U1 = 1, V1 = 1; // texture rectangle (own texture)
    };

    TScreen* FScreen;
    std::u32string FCharacters;
    std::unordered_map<char32_t, int> FGlyphOf;
    std::vector<TGlyph> FGlyphs; // by glyph number
    int FImageIndex = -1;
    const TImageListItem* FImage = nullptr; // image font: glyph g = tile g
    TTextureId FTexture = 0;                // own texture (built from a system font), 0 for none
    int FTextureSide = 0;
    std::vector<std::uint32_t> FTexels; // the built texture's pixels, kept for device resets
    float FSizeFactor = 1.0f;
};

} // namespace vm
