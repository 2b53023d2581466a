// Text rasterizer on SDL2_ttf: fontconfig finds the face's file, SDL2_ttf renders at 96 DPI.
#include "platform/sdl/sdl_text_rasterizer.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>

namespace vm {

namespace {

constexpr unsigned Dpi = 96;
// Sizes beyond this would only make huge surfaces; the game uses 8 to 30 points.
constexpr int MaxPointSize = 400;

} // namespace

TSdlTextRasterizer::TSdlTextRasterizer()
{
    if (TTF_Init() == 0)
        FTtfStarted = true;
    else
        std::fprintf(stderr, "TTF_Init: %s\n", TTF_GetError());
    FConfig = FcInitLoadConfigAndFonts();
    if (FConfig == nullptr)
        std::fprintf(stderr, "fontconfig: no configuration\n");
}

TSdlTextRasterizer::~TSdlTextRasterizer()
{
    for (auto& [Key, Font] : FFonts)
        if (Font != nullptr)
            TTF_CloseFont(Font);
    FFonts.clear();
    if (FConfig != nullptr)
        FcConfigDestroy(FConfig);
    if (FTtfStarted)
        TTF_Quit();
}

bool TSdlTextRasterizer::Match(const std::string& Face, bool Bold, bool AnyFamily, TFaceFile& Out) const
{
    FcPattern* Pattern = FcPatternCreate();
    if (Pattern == nullptr)
        return false;
    FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Face.c_str()));
    FcPatternAddInteger(Pattern, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(Pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(FConfig, Pattern, FcMatchPattern);
    FcDefaultSubstitute(Pattern);
    FcResult Result = FcResultNoMatch;
    FcPattern* Found = FcFontMatch(FConfig, Pattern, &Result);
    FcPatternDestroy(Pattern);
    if (Found == nullptr)
        return false;

    // fontconfig always offers something; it counts only when one of its families is the asked one.
    bool SameFamily = AnyFamily;
    FcChar8* Family = nullptr;
    for (int I = 0; !SameFamily && FcPatternGetString(Found, FC_FAMILY, I, &Family) == FcResultMatch; ++I)
        SameFamily = FcStrCmpIgnoreCase(Family, reinterpret_cast<const FcChar8*>(Face.c_str())) == 0;
    FcChar8* File = nullptr;
    int Index = 0, Weight = FC_WEIGHT_REGULAR;
    const bool HasFile = FcPatternGetString(Found, FC_FILE, 0, &File) == FcResultMatch && File != nullptr;
    if (SameFamily && HasFile)
    {
        FcPatternGetInteger(Found, FC_INDEX, 0, &Index);
        FcPatternGetInteger(Found, FC_WEIGHT, 0, &Weight);
        Out.Path = reinterpret_cast<const char*>(File);
        Out.Index = Index;
        Out.SyntheticBold = Bold && Weight < FC_WEIGHT_DEMIBOLD;
    }
    FcPatternDestroy(Found);
    return SameFamily && HasFile;
}

const TSdlTextRasterizer::TFaceFile& TSdlTextRasterizer::Resolve(const std::string& Face, bool Bold)
{
    const auto Key = std::make_pair(Face, Bold);
    auto Known = FFaces.find(Key);
    if (Known != FFaces.end())
        return Known->second;
    TFaceFile File;
    if (FConfig != nullptr && !Match(Face, Bold, false, File) && !Match(SubstituteFace, Bold, false, File))
    {
        // Not even the substitute is installed: take whatever fontconfig likes best, so that
        // text still shows.
        Match(Face, Bold, true, File);
    }
    return FFaces.emplace(Key, File).first->second;
}

std::string TSdlTextRasterizer::FontFile(const TFontRequest& Font)
{
    return Resolve(Font.Face, Font.Bold).Path;
}

TTF_Font* TSdlTextRasterizer::Open(const TFontRequest& Font)
{
    if (!FTtfStarted || Font.PointSize <= 0 || Font.PointSize > MaxPointSize)
        return nullptr;
    const TFaceFile& File = Resolve(Font.Face, Font.Bold);
    if (File.Path.empty())
        return nullptr;
    const std::string Name = File.Path + '|' + std::to_string(File.Index) + (File.SyntheticBold ? "|b" : "");
    const auto Key = std::make_pair(Name, Font.PointSize);
    auto Known = FFonts.find(Key);
    if (Known != FFonts.end())
        return Known->second;
    TTF_Font* Opened = TTF_OpenFontIndexDPI(File.Path.c_str(), Font.PointSize, File.Index, Dpi, Dpi);
    if (Opened == nullptr)
        std::fprintf(stderr, "TTF_OpenFont %s: %s\n", File.Path.c_str(), TTF_GetError());
    else if (File.SyntheticBold)
        TTF_SetFontStyle(Opened, TTF_STYLE_BOLD);
    // A failure is remembered too, so a broken face is not tried again every frame.
    FFonts.emplace(Key, Opened);
    return Opened;
}

bool TSdlTextRasterizer::RenderText(const TFontRequest& Font, const std::string& Text, TPixels& Out)
{
    Out = TPixels{};
    if (Text.empty())
        return false;
    TTF_Font* Opened = Open(Font);
    if (Opened == nullptr)
        return false;
    SDL_Surface* Rendered = TTF_RenderUTF8_Blended(Opened, Text.c_str(), SDL_Color{255, 255, 255, 255});
    if (Rendered == nullptr)
        return false;
    SDL_Surface* Surface = Rendered;
    if (Rendered->format->format != SDL_PIXELFORMAT_ARGB8888)
    {
        Surface = SDL_ConvertSurfaceFormat(Rendered, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(Rendered);
        if (Surface == nullptr)
            return false;
    }
    const bool Locked = SDL_MUSTLOCK(Surface) ? SDL_LockSurface(Surface) == 0 : true;
    if (Locked && Surface->w > 0 && Surface->h > 0)
    {
        Out.Width = Surface->w;
        Out.Height = Surface->h;
        Out.Argb.resize(static_cast<std::size_t>(Out.Width) * static_cast<std::size_t>(Out.Height));
        for (int Y = 0; Y < Out.Height; ++Y)
        {
            const auto* Row =
                reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(Surface->pixels) +
                                                       static_cast<std::size_t>(Y) * Surface->pitch);
            std::uint32_t* Target = Out.Argb.data() + static_cast<std::size_t>(Y) * Out.Width;
            // White everywhere; the glyphs live in the alpha channel alone.
            for (int X = 0; X < Out.Width; ++X)
                Target[X] = (Row[X] & 0xFF000000u) | 0x00FFFFFFu;
        }
    }
    if (Locked && SDL_MUSTLOCK(Surface))
        SDL_UnlockSurface(Surface);
    SDL_FreeSurface(Surface);
    return !Out.Argb.empty();
}

bool TSdlTextRasterizer::MeasureText(const TFontRequest& Font, const std::string& Text, int& Width,
                                     int& Height)
{
    Width = 0;
    Height = 0;
    TTF_Font* Opened = Open(Font);
    if (Opened == nullptr)
        return false;
    int W = 0, H = 0;
    if (!Text.empty() && TTF_SizeUTF8(Opened, Text.c_str(), &W, &H) != 0)
        return false;
    Width = W;
    Height = TTF_FontHeight(Opened);
    return true;
}

} // namespace vm
