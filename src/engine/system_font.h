// Text drawn with an installed font face: the game's greeting, track facts, times, scores, names.
#pragma once

#include "engine/render_device.h"
#include "engine/text_rasterizer.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

namespace vm {

class TScreen;

class TSystemFont
{
public:
    // Rendered strings kept as textures at most; the least recently drawn goes first.
    static constexpr std::size_t CacheLimit = 96;
    // Measured strings remembered at most; past that the memory starts afresh.
    static constexpr std::size_t MeasureLimit = 256;

    // Screen and rasterizer are not owned and must outlive the font; either may be null, and
    // the font then draws nothing and measures 0.
    TSystemFont(TScreen* Screen, ITextRasterizer* Rasterizer);
    ~TSystemFont();
    TSystemFont(const TSystemFont&) = delete;
    TSystemFont& operator=(const TSystemFont&) = delete;

    // Stores the face, the size in points (96 DPI) and the style (bit value 1 = bold), and
    // resets the colour to opaque white. A different face, size or style drops every cached text.
    void SetFont(const std::string& Face, int Size, int Style);
    // A page's text look in one call: face, size, style and an opaque colour.
    void SetLook(const std::string& Face, int Size, int Style, std::uint8_t Red, std::uint8_t Green,
                 std::uint8_t Blue)
    {
        SetFont(Face, Size, Style);
        FRed = Red;
        FGreen = Green;
        FBlue = Blue;
        FAlpha = 255;
    }
    const std::string& Face() const { return FRequest.Face; }
    int Size() const { return FRequest.PointSize; }
    int Style() const { return FStyle; }

    // Packed ARGB (alpha in the top byte) and its four bytes; both views always agree.
    void SetColor(std::uint32_t Argb);
    std::uint32_t Color() const;
    void SetRed(std::uint8_t Value) { FRed = Value; }
    void SetGreen(std::uint8_t Value) { FGreen = Value; }
    void SetBlue(std::uint8_t Value) { FBlue = Value; }
    void SetAlpha(std::uint8_t Value) { FAlpha = Value; }
    std::uint8_t Red() const { return FRed; }
    std::uint8_t Green() const { return FGreen; }
    std::uint8_t Blue() const { return FBlue; }
    std::uint8_t Alpha() const { return FAlpha; }

    // Draws one line of UTF-8 Text with its top-left at (X, Y) in the font's colour, unclipped,
    // with ordinary alpha blending (the screen is left in blend mode 0). Nothing happens without
    // rasterizer, face or a ready device, or outside a scene. On a device that draws nothing, unless
    // the screen's RasteriseUnseenText is on, the text is measured, not rasterised, and a text of
    // no size gives no quad.
    void TextOut(int X, int Y, const std::string& Text);
    // The same with red, green and blue inverted (255 - value); alpha unchanged.
    void TextOutInverted(int X, int Y, const std::string& Text);
    // Size of Text in pixels; 0 without rasterizer or face, or when the face cannot be opened.
    // Sizes are remembered for the face, so text measured every frame is shaped once.
    int TextWidth(const std::string& Text) const;
    int TextHeight(const std::string& Text) const;

    // Call after the device lost its textures: the cached texts are made again when next drawn.
    void DeviceReset();
    // Number of texts held as textures now (for tests and diagnostics).
    std::size_t CachedTexts() const { return FCache.size(); }

private:
    struct TCachedText
    {
        std::string Text;
        TTextureId Texture = 0;
        int Width = 0, Height = 0;
    };
    using TCacheList = std::list<TCachedText>; // most recently drawn first

    void Draw(int X, int Y, const std::string& Text, std::uint32_t Argb);
    // The cached entry for Text, rendered and made a texture when missing; null on failure.
    const TCachedText* Lookup(const std::string& Text);
    void DropCache();
    // The rasterizer's measure of Text, remembered; false when it cannot measure.
    bool Measure(const std::string& Text, int& Width, int& Height) const;
    bool Usable() const { return FRasterizer != nullptr && !FRequest.Face.empty(); }

    TScreen* FScreen;
    ITextRasterizer* FRasterizer;
    TFontRequest FRequest;
    int FStyle = 0;
    std::uint8_t FRed = 255, FGreen = 255, FBlue = 255, FAlpha = 255;
    TCacheList FCache;
    std::unordered_map<std::string, TCacheList::iterator> FIndex;
    mutable std::unordered_map<std::string, std::pair<int, int>> FMeasured; // width, height
};

// Text broken at whitespace into lines no wider than Width in Font: words go on a line while it
// fits, and a word wider than Width gets a line of its own.
std::vector<std::string> WrapWords(const TSystemFont& Font, const std::string& Text, int Width);

} // namespace vm
