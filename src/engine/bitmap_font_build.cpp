// A bitmap font's own glyph texture, rendered from a system font face, and its remaking after a
// device reset.
#include "engine/bitmap_font.h"

#include "engine/screen.h"
#include "engine/text_rasterizer.h"
#include "engine/utf8.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace vm {

namespace {

// Free pixels right of and below every glyph, so linear filtering never bleeds a neighbour in.
constexpr int GlyphGap = 1;
// A texel outside the glyphs: white with no coverage, so filtering at the edges stays white.
constexpr std::uint32_t Clear = 0x00FFFFFFu;

// Side of the texture from the asked size alone (before checking that the glyphs fit).
int InitialSide(std::size_t Length, int PointSize, bool Packed)
{
    if (!Packed)
        return PointSize <= 20 ? 256 : PointSize <= 40 ? 512 : 1024;
    const double Need = std::sqrt(static_cast<double>(Length) * 2.0 * (PointSize + 1.0) * (PointSize + 1.0));
    int Side = 1;
    while (Side < Need && Side < (1 << 30))
        Side *= 2;
    return Side;
}

struct TMeasured
{
    std::vector<int> Widths; // per character of the set, pixels
    int Height = 0;          // the face's line height, pixels
};

bool MeasureAll(ITextRasterizer& Rasterizer, const TFontRequest& Request, const std::u32string& Set,
                TMeasured& Out)
{
    Out.Widths.assign(Set.size(), 0);
    Out.Height = 0;
    for (std::size_t I = 0; I < Set.size(); ++I)
    {
        int W = 0, H = 0;
        if (!Rasterizer.MeasureText(Request, EncodeUtf8(std::u32string(1, Set[I])), W, H))
            return false;
        Out.Widths[I] = std::max(W, 0);
        Out.Height = std::max(Out.Height, H);
    }
    return Out.Height > 0;
}

struct TCell
{
    int X = 0, Y = 0;
};

// Places the glyphs in rows on a Side x Side texture; false when they do not all fit.
bool Layout(const TMeasured& Glyphs, int Side, std::vector<TCell>& Cells)
{
    Cells.assign(Glyphs.Widths.size(), TCell{});
    int X = 0, Y = 0;
    for (std::size_t I = 0; I < Glyphs.Widths.size(); ++I)
    {
        const int W = Glyphs.Widths[I];
        if (W > Side)
            return false;
        if (X + W > Side)
        {
            X = 0;
            Y += Glyphs.Height + GlyphGap;
        }
        Cells[I] = {X, Y};
        X += W + GlyphGap;
    }
    return Y + Glyphs.Height <= Side;
}

} // namespace

bool TBitmapFont::BuildFromSystemFont(ITextRasterizer& Rasterizer, const std::string& Face, int PointSize,
                                      bool Bold, const std::u32string& Characters, bool Packed)
{
    if (FScreen == nullptr || Face.empty() || PointSize <= 0)
        return false;
    IRenderDevice& Device = FScreen->Device();
    const std::u32string Set = Characters.empty() ? DefaultCharacters() : Characters;

    // Glyph sizes at the asked size: what the font measures and advances by.
    const TFontRequest Request{Face, PointSize, Bold};
    TMeasured Asked;
    if (Set.empty() || !MeasureAll(Rasterizer, Request, Set, Asked))
        return false;

    // The side the size asks for; doubled when the glyphs do not fit it. Beyond the device's
    // largest texture the side is cut and the glyphs are rendered smaller by the same ratio.
    const int MaxSide = std::max(Device.MaxTextureSide(), 1);
    int Side = InitialSide(Set.size(), PointSize, Packed);
    double Ratio = 1.0;
    if (Side > MaxSide)
    {
        Ratio = static_cast<double>(MaxSide) / Side;
        Side = MaxSide;
    }
    TFontRequest RenderRequest = Request;
    TMeasured Rendered;
    std::vector<TCell> Cells;
    for (;;)
    {
        RenderRequest.PointSize = std::max(1, static_cast<int>(PointSize * Ratio));
        if (RenderRequest.PointSize == PointSize)
            Rendered = Asked;
        else if (!MeasureAll(Rasterizer, RenderRequest, Set, Rendered))
            return false;
        if (Layout(Rendered, Side, Cells))
            break;
        if (Side * 2 <= MaxSide)
            Side *= 2;
        else if (RenderRequest.PointSize > 1)
            Ratio = std::min(Ratio * 0.85, (RenderRequest.PointSize - 1.0) / PointSize);
        else
            return false; // not even at one point do the glyphs fit the largest texture
    }

    // White glyphs, coverage in alpha, on a transparent texture.
    std::vector<std::uint32_t> Texels(static_cast<std::size_t>(Side) * static_cast<std::size_t>(Side), Clear);
    TPixels Glyph;
    for (std::size_t I = 0; I < Set.size(); ++I)
    {
        if (Rendered.Widths[I] == 0 ||
            !Rasterizer.RenderText(RenderRequest, EncodeUtf8(std::u32string(1, Set[I])), Glyph))
            continue; // a space, or a character the face cannot draw: an empty cell
        const int W = std::min(Glyph.Width, Rendered.Widths[I]);
        const int H = std::min(Glyph.Height, Rendered.Height);
        if (Glyph.Argb.size() <
            static_cast<std::size_t>(Glyph.Width) * static_cast<std::size_t>(Glyph.Height))
            continue;
        for (int Y = 0; Y < H; ++Y)
            std::copy_n(Glyph.Argb.data() + static_cast<std::size_t>(Y) * Glyph.Width, W,
                        Texels.data() + static_cast<std::size_t>(Cells[I].Y + Y) * Side + Cells[I].X);
    }
    const TTextureId Texture = Device.CreateTexture(Side, Side, Texels.data());
    if (Texture == 0)
        return false;

    // Everything is made: the font takes it over.
    if (FTexture != 0)
        Device.ReleaseTexture(FTexture);
    SetCharacters(Set);
    std::unordered_map<char32_t, std::size_t> Position; // first occurrence in the rendered set
    for (std::size_t I = Set.size(); I-- > 0;)
        Position[Set[I]] = I;
    const std::u32string& Taken = this->Characters();
    FGlyphs.assign(Taken.size(), TGlyph{});
    const float S = static_cast<float>(Side);
    for (std::size_t G = 0; G < Taken.size(); ++G)
    {
        auto Found = Position.find(Taken[G]);
        if (Found == Position.end())
            continue;
        const std::size_t I = Found->second;
        TGlyph& Out = FGlyphs[G];
        // Sizes as asked; the texture rectangle holds the glyph as rendered (smaller when cut).
        Out.Width = Asked.Widths[I];
        Out.Height = Asked.Height;
        Out.U0 = static_cast<float>(Cells[I].X) / S;
        Out.V0 = static_cast<float>(Cells[I].Y) / S;
        Out.U1 = static_cast<float>(Cells[I].X + Rendered.Widths[I]) / S;
        Out.V1 = static_cast<float>(Cells[I].Y + Rendered.Height) / S;
    }
    FImage = nullptr;
    FTexture = Texture;
    FTextureSide = Side;
    FTexels = std::move(Texels);
    // The rendered size over the asked one: the ratio of the cut, as far as whole points allow.
    FSizeFactor = static_cast<float>(RenderRequest.PointSize) / static_cast<float>(PointSize);
    FontName = Face;
    return true;
}

void TBitmapFont::DeviceReset()
{
    // Only a built font owns a texture; an image font's texture belongs to its image list.
    if (FScreen == nullptr || FImage != nullptr || FTexels.empty() || FTextureSide <= 0)
        return;
    IRenderDevice& Device = FScreen->Device();
    if (FTexture != 0)
        Device.ReleaseTexture(FTexture); // harmless when the device already forgot it
    FTexture = Device.CreateTexture(FTextureSide, FTextureSide, FTexels.data());
}

} // namespace vm
