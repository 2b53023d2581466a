// Text drawn with an installed font face: the narrow interface the platform implements.
#pragma once

#include "engine/picture.h"

#include <string>

namespace vm {

// A font face asked for by name, with its size in points (at 96 DPI) and style.
struct TFontRequest
{
    std::string Face;
    int PointSize = 10;
    bool Bold = false;
};

class ITextRasterizer
{
public:
    virtual ~ITextRasterizer() = default;
    // Renders one line of UTF-8 text in white, alpha = coverage, sized to the line's advance
    // and the face's line height (a row or two taller when ink hangs out of the line, so none
    // is cut). False (Out empty) when the face cannot be opened or Text is empty.
    virtual bool RenderText(const TFontRequest& Font, const std::string& Text, TPixels& Out) = 0;
    // The line's advance and the face's line height; false when the face cannot be opened.
    virtual bool MeasureText(const TFontRequest& Font, const std::string& Text, int& Width, int& Height) = 0;
};

} // namespace vm
