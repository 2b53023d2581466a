// The one drawing primitive: a tile of an image as a transformed, coloured quad.
#include "engine/image_draw.h"

#include "engine/image_list.h"
#include "engine/screen.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vm {

namespace {

constexpr double DegToRad = 3.14159265358979323846 / 180.0;

} // namespace

void DrawImageQuad(const TImageListItem& Item, const TQuadParams& P)
{
    TScreen* Screen = Item.Screen();
    if (Screen == nullptr || Item.Texture() == 0)
        return;
    if (Screen->DrawsNothing())
    {
        CountImageQuad(Item, P.BlendMode);
        return;
    }
    const float ScaleX = P.ScaleX == 0.0f ? 1.0f : P.ScaleX;
    const float ScaleY = P.ScaleY == 0.0f ? 1.0f : P.ScaleY;
    if (P.BlendMode != -1)
        Screen->SetBlendMode(P.BlendMode);

    TVertex Quad[4];
    Quad[0].Color = P.Colors[0]; // top-left
    Quad[1].Color = P.Colors[1]; // top-right
    Quad[3].Color = P.Colors[2]; // bottom-left
    Quad[2].Color = P.Colors[3]; // bottom-right

    const float TexW = static_cast<float>(std::max(Item.TextureWidth(), 1));
    const float TexH = static_cast<float>(std::max(Item.TextureHeight(), 1));
    float U0, U1, V0, V1;
    float SpanW, SpanH;
    if (P.PatternIndex == -1)
    {
        U0 = 0.0f;
        V0 = 0.0f;
        U1 = Item.Width() / TexW;
        V1 = Item.Height() / TexH;
        SpanW = static_cast<float>(Item.Width());
        SpanH = static_cast<float>(Item.Height());
    }
    else
    {
        const int Columns = std::max(Item.Columns(), 1);
        const int Last = std::max(Columns * std::max(Item.Rows(), 1) - 1, 0);
        const int Pattern = std::clamp(P.PatternIndex, 0, Last);
        const float Left = static_cast<float>((Pattern % Columns) * Item.TileWidth());
        const float Top = static_cast<float>((Pattern / Columns) * Item.TileHeight());
        U0 = Left / TexW;
        U1 = (Left + Item.TileWidth()) / TexW;
        V0 = Top / TexH;
        V1 = (Top + Item.TileHeight()) / TexH;
        SpanW = static_cast<float>(Item.TileWidth());
        SpanH = static_cast<float>(Item.TileHeight());
    }
    if (P.MirrorX)
        std::swap(U0, U1);
    if (P.MirrorY)
        std::swap(V0, V1);
    Quad[0].U = U0, Quad[0].V = V0;
    Quad[1].U = U1, Quad[1].V = V0;
    Quad[2].U = U1, Quad[2].V = V1;
    Quad[3].U = U0, Quad[3].V = V1;

    // The half-pixel shift on the top and left edges aligns texels with pixels.
    Quad[0].X = P.X1 - 0.5f, Quad[0].Y = P.Y1 - 0.5f;
    Quad[1].X = P.X2, Quad[1].Y = P.Y2 - 0.5f;
    Quad[2].X = P.X3, Quad[2].Y = P.Y3;
    Quad[3].X = P.X4 - 0.5f, Quad[3].Y = P.Y4;

    if (P.Angle != 0.0f || ScaleX != 1.0f || ScaleY != 1.0f)
    {
        const double Cx = P.X1 + SpanW * P.RotCenterX;
        const double Cy = P.Y1 + SpanH * P.RotCenterY;
        const double Cos = std::cos(P.Angle * DegToRad);
        const double Sin = std::sin(P.Angle * DegToRad);
        for (TVertex& V : Quad)
        {
            const double Dx = V.X - Cx;
            const double Dy = V.Y - Cy;
            V.X = static_cast<float>(Cx + Cos * ScaleX * Dx - Sin * ScaleY * Dy);
            V.Y = static_cast<float>(Cy + Sin * ScaleX * Dx + Cos * ScaleY * Dy);
        }
    }
    Screen->DrawQuad(Item.Texture(), Quad);
}

void CountImageQuad(const TImageListItem& Item, int BlendMode)
{
    TScreen* Screen = Item.Screen();
    if (Screen == nullptr || Item.Texture() == 0)
        return;
    if (BlendMode != -1)
        Screen->SetBlendMode(BlendMode);
    Screen->CountQuad(Item.Texture());
}

void DrawImage(const TImageListItem& Item, float X, float Y, float Angle, float RotCenterX, float RotCenterY,
               float ScaleX, float ScaleY, std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
               std::uint8_t Alpha, bool Additive, int PatternIndex, int BlendMode)
{
    TScreen* Screen = Item.Screen();
    if (Screen == nullptr)
        return;
    Screen->SetDestBlend(Additive ? TBlendFactor::One : TBlendFactor::InvSrcAlpha);
    TQuadParams P;
    const float W = static_cast<float>(Item.TileWidth());
    const float H = static_cast<float>(Item.TileHeight());
    P.X1 = X, P.Y1 = Y;
    P.X2 = X + W, P.Y2 = Y;
    P.X3 = X + W, P.Y3 = Y + H;
    P.X4 = X, P.Y4 = Y + H;
    P.Angle = Angle;
    P.RotCenterX = RotCenterX;
    P.RotCenterY = RotCenterY;
    P.ScaleX = ScaleX;
    P.ScaleY = ScaleY;
    const std::uint32_t Color = (std::uint32_t(Alpha) << 24) | (std::uint32_t(Red) << 16) |
                                (std::uint32_t(Green) << 8) | std::uint32_t(Blue);
    std::fill(std::begin(P.Colors), std::end(P.Colors), Color);
    P.PatternIndex = PatternIndex;
    P.BlendMode = BlendMode;
    DrawImageQuad(Item, P);
}

void DrawPattern(const TImageListItem& Item, float X, float Y, int PatternIndex)
{
    DrawImage(Item, X, Y, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 255, 255, 255, 255, false, PatternIndex, 0);
}

} // namespace vm
