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
    // True when Code occurs in the character set (what the edit box accepts).
    bool InSet(char32_t Code) const;

    // Takes tile g of picture Index of ImageList as glyph g; ignored when Index is negative or
    // beyond the list (the font stays as it was). An own texture built earlier is released.
    // The image list must outlive the font or be followed by another SetImageIndex/build.
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
    // screen's current mode. Code 13 starts a new line at the start x; characters without a
    // glyph (and bytes that are not UTF-8) are skipped without advancing. Call inside a scene.
    void TextOut(float X, float Y, int BlendMode, const std::string& Text);
    // Sum over characters with a glyph of glyph width x ScaleX x size factor, each rounded;
    // at least 1 (size factor 1 for image fonts).
    int TextWidth(const std::string& Text) const;
    // Tallest glyph's height x ScaleY x size factor rounded; at least 1.
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

    // Glyph of Code with its size and rectangle; nullptr when Code has no glyph or the glyph
    // number lies beyond the glyphs the image or texture provides.
    const TGlyph* GlyphData(char32_t Code) const;
    // Height of the tallest glyph: the line height.
    float LineHeight() const;
    void DrawGlyphFromImage(int Glyph, double X1, double Y1, double X2, double Y2, double X3, double Y3,
                            double X4, double Y4, std::uint32_t Color) const;

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
