// The focus ring: its picture (the game's amber line in an orange glow) and nine-part drawing.
#include "engine/gui_focus_glow.h"

#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/picture.h"

#include <algorithm>
#include <cmath>

namespace vm {

namespace {

constexpr int Tile = TGuiFocusGlow::Outside + TGuiFocusGlow::Inside;
constexpr int Side = Tile * 3;
constexpr double CornerRadius = 4.0;
constexpr std::uint32_t LineRgb = 0xFFC83D; // amber: the highlights of the menu art
constexpr std::uint32_t GlowRgb = 0xFF8A1F; // orange: the game's accent

// Distance from (X, Y) to the edge of the rounded rectangle the ring follows; negative inside.
double EdgeDistance(double X, double Y)
{
    const double Centre = Side / 2.0;
    const double Half = Centre - TGuiFocusGlow::Outside - CornerRadius;
    const double Qx = std::abs(X - Centre) - Half;
    const double Qy = std::abs(Y - Centre) - Half;
    return std::hypot(std::max(Qx, 0.0), std::max(Qy, 0.0)) + std::min(std::max(Qx, Qy), 0.0) - CornerRadius;
}

TPixels GlowPixels()
{
    TPixels Pixels;
    Pixels.Width = Side;
    Pixels.Height = Side;
    Pixels.Argb.resize(static_cast<std::size_t>(Side * Side));
    for (int Y = 0; Y < Side; ++Y)
        for (int X = 0; X < Side; ++X)
        {
            const double D = EdgeDistance(X + 0.5, Y + 0.5);
            double Alpha = 0;
            std::uint32_t Rgb = GlowRgb;
            if (std::abs(D) <= 1.0)
                Alpha = 1.0, Rgb = LineRgb;
            else if (D > 0)
                Alpha = 0.7 * std::pow(std::max(1.0 - (D - 1.0) / (TGuiFocusGlow::Outside - 1), 0.0), 2.0);
            else
                Alpha = 0.35 * std::max(1.0 - (-D - 1.0) / (TGuiFocusGlow::Inside - 1), 0.0);
            const auto A = static_cast<std::uint32_t>(std::lround(std::clamp(Alpha, 0.0, 1.0) * 255));
            Pixels.Argb[static_cast<std::size_t>(Y * Side + X)] = A << 24 | Rgb;
        }
    return Pixels;
}

} // namespace

TGuiFocusGlow::TGuiFocusGlow(TScreen* Screen) : FScreen(Screen) {}

TGuiFocusGlow::~TGuiFocusGlow() = default;

void TGuiFocusGlow::Draw(int Left, int Top, int Width, int Height)
{
    if (FScreen == nullptr)
        return;
    if (!FTried)
    {
        FTried = true;
        TPicture Picture;
        if (Picture.AssignPixels(GlowPixels()))
        {
            FImages = std::make_unique<TImageList>(FScreen);
            FImages->ImageList.Add("focus_glow", std::move(Picture), Tile, Tile);
            FImages->LoadTextures();
        }
    }
    const TImageListItem* Item = FImages != nullptr ? FImages->Find("focus_glow") : nullptr;
    if (Item == nullptr || Item->Texture() == 0)
        return;
    // Column and row edges: the corners keep their size, the sides stretch along the widget.
    const float Xs[4] = {static_cast<float>(Left - Outside), static_cast<float>(Left + Inside),
                         static_cast<float>(Left + std::max(Width - Inside, Inside)),
                         static_cast<float>(Left + std::max(Width, 2 * Inside) + Outside)};
    const float Ys[4] = {static_cast<float>(Top - Outside), static_cast<float>(Top + Inside),
                         static_cast<float>(Top + std::max(Height - Inside, Inside)),
                         static_cast<float>(Top + std::max(Height, 2 * Inside) + Outside)};
    for (int Row = 0; Row < 3; ++Row)
        for (int Column = 0; Column < 3; ++Column)
        {
            if (Row == 1 && Column == 1)
                continue; // the middle is clear: the widget shows through
            TQuadParams P;
            P.X1 = Xs[Column], P.Y1 = Ys[Row];
            P.X2 = Xs[Column + 1], P.Y2 = Ys[Row];
            P.X3 = Xs[Column + 1], P.Y3 = Ys[Row + 1];
            P.X4 = Xs[Column], P.Y4 = Ys[Row + 1];
            P.PatternIndex = Row * 3 + Column;
            DrawImageQuad(*Item, P);
        }
}

} // namespace vm
