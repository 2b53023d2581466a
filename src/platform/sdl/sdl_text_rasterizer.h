// Text rasterizer on SDL2_ttf, with font faces found by family name through fontconfig.
#pragma once

#include "engine/text_rasterizer.h"

#include <map>
#include <string>
#include <utility>

struct _FcConfig;
struct _TTF_Font;

namespace vm {

// Faces that fontconfig does not have under the asked family (the game's "Micra" and
// "MicrogrammaDBolExt" among them) are drawn with "Play". Main thread only.
class TSdlTextRasterizer : public ITextRasterizer
{
public:
    // Face that stands in for a missing family.
    static constexpr const char* SubstituteFace = "Play";

    // Starts SDL2_ttf (reference counted, so several rasterizers may live at once) and loads
    // fontconfig's configuration. A failure there leaves a rasterizer that renders nothing.
    TSdlTextRasterizer();
    // Closes every opened font and stops SDL2_ttf.
    ~TSdlTextRasterizer() override;
    TSdlTextRasterizer(const TSdlTextRasterizer&) = delete;
    TSdlTextRasterizer& operator=(const TSdlTextRasterizer&) = delete;

    bool RenderText(const TFontRequest& Font, const std::string& Text, TPixels& Out) override;
    bool MeasureText(const TFontRequest& Font, const std::string& Text, int& Width, int& Height) override;

    // The font file Font is drawn with ("" when none is found); for diagnostics and tests.
    std::string FontFile(const TFontRequest& Font);

private:
    struct TFaceFile
    {
        std::string Path;           // empty: nothing found
        int Index = 0;              // face within a collection file
        bool SyntheticBold = false; // bold asked, only a regular face exists
    };

    const TFaceFile& Resolve(const std::string& Face, bool Bold);
    // fontconfig's best match for the family; false when it offers a different family (unless
    // AnyFamily) or no file.
    bool Match(const std::string& Face, bool Bold, bool AnyFamily, TFaceFile& Out) const;
    _TTF_Font* Open(const TFontRequest& Font);

    bool FTtfStarted = false;
    _FcConfig* FConfig = nullptr;
    std::map<std::pair<std::string, bool>, TFaceFile> FFaces; // (face, bold) -> file
    // (file, index and synthetic bold, points) -> opened font; null remembers a failure.
    std::map<std::pair<std::string, int>, _TTF_Font*> FFonts;
};

} // namespace vm
