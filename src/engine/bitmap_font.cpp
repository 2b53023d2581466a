// The bitmap font: character table, image-list glyphs, and text drawn glyph by glyph.
// Building the glyph texture from a system font lives in bitmap_font_build.cpp.
#include "engine/bitmap_font.h"

#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/screen.h"
#include "engine/utf8.h"

#include <algorithm>
#include <cmath>

namespace vm {

namespace {

constexpr double DegToRad = 3.14159265358979323846 / 180.0;
constexpr char32_t CarriageReturn = 13;

struct TPoint
{
    double X, Y;
};

// Rotates P by Degrees about (Cx, Cy).
TPoint Rotate(TPoint P, double Cx, double Cy, double Degrees)
{
    if (Degrees == 0.0)
        return P;
    const double Cos = std::cos(Degrees * DegToRad);
    const double Sin = std::sin(Degrees * DegToRad);
    const double Dx = P.X - Cx;
    const double Dy = P.Y - Cy;
    return {Cx + Cos * Dx - Sin * Dy, Cy + Sin * Dx + Cos * Dy};
}

std::u32string MakeDefaultCharacters()
{
    std::u32string Set;
    for (char32_t Code = 32; Code <= 64; ++Code)
        Set.push_back(Code);
    Set += U"ЯФЙЦЫЧСВУКАМИПЕНРТЬОГШЛБЮДЩЗЖЁЪХЭ";
    for (char32_t Code = 91; Code <= 96; ++Code)
        Set.push_back(Code);
    Set += U"йфячыцувсмакепитрнгоьблшщдюжзёъхэ";
    for (char32_t Code = 123; Code <= 126; ++Code)
        Set.push_back(Code);
    for (char32_t Code = U'A'; Code <= U'Z'; ++Code)
        Set.push_back(Code);
    for (char32_t Code = U'a'; Code <= U'z'; ++Code)
        Set.push_back(Code);
    return Set;
}

} // namespace

TBitmapFont::TBitmapFont(TScreen* Screen) : FScreen(Screen) { SetCharacters({}); }

TBitmapFont::~TBitmapFont()
{
    if (FTexture != 0 && FScreen != nullptr)
        FScreen->Device().ReleaseTexture(FTexture);
}

const std::u32string& TBitmapFont::DefaultCharacters()
{
    static const std::u32string Set = MakeDefaultCharacters();
    return Set;
}

void TBitmapFont::SetCharacters(const std::u32string& Set)
{
    FCharacters = Set.empty() ? DefaultCharacters() : Set;
    FGlyphOf.clear();
    for (std::size_t I = 0; I < FCharacters.size(); ++I)
        FGlyphOf.emplace(FCharacters[I], static_cast<int>(I)); // emplace keeps the first occurrence
    FGlyphOf.emplace(U' ', 0);
}

int TBitmapFont::GlyphOf(char32_t Code) const
{
    const auto Found = FGlyphOf.find(Code);
    return Found == FGlyphOf.end() ? -1 : Found->second;
}

bool TBitmapFont::InSet(char32_t Code) const { return FCharacters.find(Code) != std::u32string::npos; }

const TBitmapFont::TGlyph* TBitmapFont::GlyphData(char32_t Code) const
{
    const int Glyph = GlyphOf(Code);
    if (Glyph < 0 || Glyph >= static_cast<int>(FGlyphs.size()))
        return nullptr;
    return &FGlyphs[static_cast<std::size_t>(Glyph)];
}

float TBitmapFont::LineHeight() const
{
    int Height = 0;
    for (const TGlyph& Glyph : FGlyphs)
        Height = std::max(Height, Glyph.Height);
    return static_cast<float>(Height);
}

void TBitmapFont::SetImageIndex(int Index)
{
    if (ImageList == nullptr || Index < 0 || Index >= ImageList->ImageList.Count())
        return;
    const TImageListItem* Item = ImageList->ImageList.Items(Index);
    // The font is an image font from now on: its own texture, if any, is no longer drawn.
    if (FTexture != 0 && FScreen != nullptr)
        FScreen->Device().ReleaseTexture(FTexture);
    FTexture = 0;
    FTextureSide = 0;
    FTexels.clear();
    FImageIndex = Index;
    FImage = Item;
    FontName = Item->Name;
    FSizeFactor = 1.0f;
    TGlyph Glyph;
    Glyph.Width = Item->TileWidth();
    Glyph.Height = Item->TileHeight();
    FGlyphs.assign(static_cast<std::size_t>(std::max(Item->Columns() * Item->Rows(), 0)), Glyph);
}

void TBitmapFont::TextOut(float X, float Y, int BlendMode, const std::string& Text)
{
    TScreen* Target = FImage != nullptr ? FImage->Screen() : FScreen;
    if (Target == nullptr || (FImage == nullptr && FTexture == 0))
        return;
    const std::u32string Codes = DecodeUtf8(Text);

    float StartX = X;
    float PenY = Y;
    if (PositionMode == TPositionMode::pmCenter)
    {
        // Centred on the first line's advance, which for the fixed-width sheet is its length
        // times the glyph width.
        float Advance = 0;
        int Drawn = 0;
        for (char32_t Code : Codes)
        {
            if (Code == CarriageReturn)
                break;
            if (const TGlyph* Glyph = GlyphData(Code))
                Advance += static_cast<float>(Glyph->Width + (Drawn++ > 0 ? Spacing : 0));
        }
        StartX = std::round(X - Advance * 0.5f);
        PenY = std::round(Y - LineHeight() * 0.25f);
    }
    Target->SetBlendMode(BlendMode); // -1 keeps the current mode

    const std::uint32_t Color = (std::uint32_t(Alpha) << 24) | (std::uint32_t(Red) << 16) |
                                (std::uint32_t(Green) << 8) | std::uint32_t(Blue);
    const double Cx = X + CenterX;
    const double Cy = Y + CenterY;
    const double Sx = static_cast<double>(ScaleX) * FSizeFactor;
    const double Sy = static_cast<double>(ScaleY) * FSizeFactor;
    float PenX = StartX;
    for (char32_t Code : Codes)
    {
        if (Code == CarriageReturn)
        {
            PenY += LineHeight() + static_cast<float>(LineSpace);
            PenX = StartX;
            continue;
        }
        const TGlyph* Glyph = GlyphData(Code);
        if (Glyph == nullptr)
            continue;
        if (Code != U' ')
        {
            const double W = Glyph->Width, H = Glyph->Height;
            const double GlyphCx = PenX + W / 2, GlyphCy = PenY + H / 2;
            TPoint Corners[4] = {{PenX, PenY}, {PenX + W, PenY}, {PenX + W, PenY + H}, {PenX, PenY + H}};
            for (TPoint& P : Corners)
            {
                P = Rotate(P, GlyphCx, GlyphCy, CharRotation);
                P = Rotate({Cx + (P.X - Cx) * Sx, Cy + (P.Y - Cy) * Sy}, Cx, Cy, Rotation);
            }
            const int GlyphIndex = static_cast<int>(Glyph - FGlyphs.data());
            if (FImage != nullptr)
                DrawGlyphFromImage(GlyphIndex, Corners[0].X, Corners[0].Y, Corners[1].X, Corners[1].Y,
                                   Corners[2].X, Corners[2].Y, Corners[3].X, Corners[3].Y, Color);
            else
            {
                // The same half-pixel shift of the top and left edges as image quads get.
                TVertex Quad[4];
                const float ShiftX[4] = {-0.5f, 0.0f, 0.0f, -0.5f};
                const float ShiftY[4] = {-0.5f, -0.5f, 0.0f, 0.0f};
                for (int I = 0; I < 4; ++I)
                {
                    Quad[I].X = static_cast<float>(Corners[I].X) + ShiftX[I];
                    Quad[I].Y = static_cast<float>(Corners[I].Y) + ShiftY[I];
                    Quad[I].Color = Color;
                }
                Quad[0].U = Glyph->U0, Quad[0].V = Glyph->V0;
                Quad[1].U = Glyph->U1, Quad[1].V = Glyph->V0;
                Quad[2].U = Glyph->U1, Quad[2].V = Glyph->V1;
                Quad[3].U = Glyph->U0, Quad[3].V = Glyph->V1;
                Target->DrawQuad(FTexture, Quad);
            }
        }
        PenX += static_cast<float>(Glyph->Width + Spacing);
    }
}

void TBitmapFont::DrawGlyphFromImage(int Glyph, double X1, double Y1, double X2, double Y2, double X3,
                                     double Y3, double X4, double Y4, std::uint32_t Color) const
{
    TQuadParams P;
    P.X1 = static_cast<float>(X1), P.Y1 = static_cast<float>(Y1);
    P.X2 = static_cast<float>(X2), P.Y2 = static_cast<float>(Y2);
    P.X3 = static_cast<float>(X3), P.Y3 = static_cast<float>(Y3);
    P.X4 = static_cast<float>(X4), P.Y4 = static_cast<float>(Y4);
    std::fill(std::begin(P.Colors), std::end(P.Colors), Color);
    P.PatternIndex = Glyph; // glyph g is tile g
    P.BlendMode = -1;       // TextOut already set it
    DrawImageQuad(*FImage, P);
}

int TBitmapFont::TextWidth(const std::string& Text) const
{
    long Width = 0;
    for (char32_t Code : DecodeUtf8(Text))
        if (const TGlyph* Glyph = GlyphData(Code))
            Width += std::lround(Glyph->Width * ScaleX * FSizeFactor);
    return static_cast<int>(std::max(Width, 1L));
}

int TBitmapFont::TextHeight(const std::string&) const
{
    return static_cast<int>(std::max(std::lround(LineHeight() * ScaleY * FSizeFactor), 1L));
}

} // namespace vm
