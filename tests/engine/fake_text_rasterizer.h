// A text rasterizer for engine tests: proportional block glyphs, calls counted, faces that fail.
#pragma once

#include "engine/text_rasterizer.h"

#include <string>
#include <vector>

namespace vm::test {

class TFakeTextRasterizer : public ITextRasterizer
{
public:
    // Width of one character at PointSize: 'i' is narrow, 'W' and 'M' wide, the rest in between;
    // bold adds one pixel, Widen more. Every byte of a multi-byte character counts a third.
    int CharWidth(unsigned char C, const TFontRequest& Font) const
    {
        const int Base = C == 'i' || C == 'l'   ? Font.PointSize / 3
                         : C == 'W' || C == 'M' ? Font.PointSize
                                                : Font.PointSize / 2;
        return (C >= 0x80 ? Base / 3 : Base) + (Font.Bold ? 1 : 0) + Widen;
    }
    static int LineHeight(const TFontRequest& Font) { return Font.PointSize + Font.PointSize / 3; }

    bool RenderText(const TFontRequest& Font, const std::string& Text, TPixels& Out) override
    {
        Out = TPixels{};
        ++Renders;
        Rendered.push_back(Font);
        Texts.push_back(Text);
        int Width = 0, Height = 0;
        if (Text.empty() || !MeasureText(Font, Text, Width, Height) || Width <= 0)
            return false;
        --Measures; // RenderText's own measuring is not the caller's
        Out.Width = Width;
        Out.Height = Height;
        // Coverage: a solid block with a clear first row, so glyph placement can be checked.
        Out.Argb.assign(static_cast<std::size_t>(Width) * Height, 0xFFFFFFFFu);
        for (int X = 0; X < Width; ++X)
            Out.Argb[X] = 0x00FFFFFFu;
        return true;
    }

    bool MeasureText(const TFontRequest& Font, const std::string& Text, int& Width, int& Height) override
    {
        ++Measures;
        Width = Height = 0;
        if (Font.Face == FailingFace || Font.PointSize <= 0)
            return false;
        for (unsigned char C : Text)
            Width += CharWidth(C, Font);
        Height = LineHeight(Font);
        return true;
    }

    std::string FailingFace = "Missing";
    int Widen = 0;
    int Renders = 0;
    int Measures = 0;
    std::vector<TFontRequest> Rendered;
    std::vector<std::string> Texts; // every text rasterised, in order
};

} // namespace vm::test
