// Text drawn with an installed font face: strings rendered once, kept as textures, drawn as quads.
#include "engine/system_font.h"

#include "engine/screen.h"

#include <sstream>

namespace vm {

TSystemFont::TSystemFont(TScreen* Screen, ITextRasterizer* Rasterizer)
    : FScreen(Screen), FRasterizer(Rasterizer)
{}

TSystemFont::~TSystemFont() { DropCache(); }

void TSystemFont::SetFont(const std::string& Face, int Size, int Style)
{
    const bool Bold = (Style & 1) != 0;
    if (Face != FRequest.Face || Size != FRequest.PointSize || Bold != FRequest.Bold)
        DropCache();
    FRequest.Face = Face;
    FRequest.PointSize = Size;
    FRequest.Bold = Bold;
    FStyle = Style;
    SetColor(0xFFFFFFFFu);
}

void TSystemFont::SetColor(std::uint32_t Argb)
{
    FAlpha = static_cast<std::uint8_t>(Argb >> 24);
    FRed = static_cast<std::uint8_t>(Argb >> 16);
    FGreen = static_cast<std::uint8_t>(Argb >> 8);
    FBlue = static_cast<std::uint8_t>(Argb);
}

std::uint32_t TSystemFont::Color() const
{
    return (std::uint32_t(FAlpha) << 24) | (std::uint32_t(FRed) << 16) | (std::uint32_t(FGreen) << 8) | FBlue;
}

void TSystemFont::TextOut(int X, int Y, const std::string& Text) { Draw(X, Y, Text, Color()); }

void TSystemFont::TextOutInverted(int X, int Y, const std::string& Text)
{
    Draw(X, Y, Text, Color() ^ 0x00FFFFFFu);
}

int TSystemFont::TextWidth(const std::string& Text) const
{
    int Width = 0, Height = 0;
    return Measure(Text, Width, Height) ? Width : 0;
}

int TSystemFont::TextHeight(const std::string& Text) const
{
    int Width = 0, Height = 0;
    return Measure(Text, Width, Height) ? Height : 0;
}

bool TSystemFont::Measure(const std::string& Text, int& Width, int& Height) const
{
    if (!Usable())
        return false;
    const auto Known = FMeasured.find(Text);
    if (Known != FMeasured.end())
    {
        Width = Known->second.first;
        Height = Known->second.second;
        return true;
    }
    // Failures are not remembered: the rasterizer keeps those itself.
    if (!FRasterizer->MeasureText(FRequest, Text, Width, Height))
        return false;
    if (FMeasured.size() >= MeasureLimit)
        FMeasured.clear();
    FMeasured.emplace(Text, std::make_pair(Width, Height));
    return true;
}

void TSystemFont::DeviceReset()
{
    // The handles may already be gone with the device; releasing an unknown handle is harmless.
    DropCache();
}

void TSystemFont::Draw(int X, int Y, const std::string& Text, std::uint32_t Argb)
{
    if (FScreen == nullptr || !Usable() || Text.empty() || !FScreen->InScene() ||
        !FScreen->Device().IsReady())
        return;
    if (FScreen->DrawsNothing() && (!FScreen->RasteriseUnseenText || FScreen->Hidden()))
    {
        // Nobody sees the text: it is not rasterised, only its quad is handed over, for a text that
        // has a size (the measure is remembered; a text that changes every frame, such as the race
        // clock, is measured for its place anyway).
        int Width = 0, Height = 0;
        if (!Measure(Text, Width, Height) || Width <= 0 || Height <= 0)
            return;
        FScreen->SetBlendMode(0);
        FScreen->SetDestBlend(TBlendFactor::InvSrcAlpha);
        TVertex Quad[4];
        FScreen->DrawQuad(0, Quad);
        return;
    }
    const TCachedText* Entry = Lookup(Text);
    if (Entry == nullptr)
        return;

    // Texels land exactly on pixels: the screen puts pixel centres on whole coordinates, so the
    // quad's edges go half a pixel before the first and after the last pixel.
    const float Left = static_cast<float>(X) - 0.5f, Top = static_cast<float>(Y) - 0.5f;
    const float Right = Left + static_cast<float>(Entry->Width);
    const float Bottom = Top + static_cast<float>(Entry->Height);
    TVertex Quad[4];
    Quad[0] = {Left, Top, Argb, 0.0f, 0.0f};
    Quad[1] = {Right, Top, Argb, 1.0f, 0.0f};
    Quad[2] = {Right, Bottom, Argb, 1.0f, 1.0f};
    Quad[3] = {Left, Bottom, Argb, 0.0f, 1.0f};

    // Text always blends by its coverage, whatever the last sprite left set (an additive
    // destination factor would wash dark text out).
    FScreen->SetBlendMode(0);
    FScreen->SetDestBlend(TBlendFactor::InvSrcAlpha);
    FScreen->DrawQuad(Entry->Texture, Quad);
}

const TSystemFont::TCachedText* TSystemFont::Lookup(const std::string& Text)
{
    auto Found = FIndex.find(Text);
    if (Found != FIndex.end())
    {
        FCache.splice(FCache.begin(), FCache, Found->second);
        return &FCache.front();
    }

    TPixels Pixels;
    if (!FRasterizer->RenderText(FRequest, Text, Pixels) || Pixels.Width <= 0 || Pixels.Height <= 0 ||
        Pixels.Argb.size() !=
            static_cast<std::size_t>(Pixels.Width) * static_cast<std::size_t>(Pixels.Height))
        return nullptr;
    const TTextureId Texture =
        FScreen->Device().CreateTexture(Pixels.Width, Pixels.Height, Pixels.Argb.data());
    if (Texture == 0)
        return nullptr;

    while (FCache.size() >= CacheLimit)
    {
        FScreen->Device().ReleaseTexture(FCache.back().Texture);
        FIndex.erase(FCache.back().Text);
        FCache.pop_back();
    }
    FCache.push_front(TCachedText{Text, Texture, Pixels.Width, Pixels.Height});
    FIndex[Text] = FCache.begin();
    return &FCache.front();
}

void TSystemFont::DropCache()
{
    if (FScreen != nullptr)
        for (const TCachedText& Entry : FCache)
            FScreen->Device().ReleaseTexture(Entry.Texture);
    FCache.clear();
    FIndex.clear();
    FMeasured.clear();
}

std::vector<std::string> WrapWords(const TSystemFont& Font, const std::string& Text, int Width)
{
    std::vector<std::string> Lines;
    std::istringstream Words(Text);
    std::string Word, Line;
    while (Words >> Word)
    {
        const std::string Longer = Line.empty() ? Word : Line + " " + Word;
        if (!Line.empty() && Font.TextWidth(Longer) > Width)
        {
            Lines.push_back(Line);
            Line = Word;
        }
        else
            Line = Longer;
    }
    if (!Line.empty())
        Lines.push_back(Line);
    return Lines;
}

} // namespace vm
