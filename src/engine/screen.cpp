// The game picture: scene control, blend modes, global colour and transform.
#include "engine/screen.h"

#include "engine/image_list.h"

#include <algorithm>
#include <cmath>

namespace vm {

namespace {

constexpr double DegToRad = 3.14159265358979323846 / 180.0;
constexpr float PixelShift = 0.5f - 1.0f / 64.0f;

struct TBlendPair
{
    TBlendFactor Source;
    TBlendFactor Dest;
};

TBlendPair BlendFactorsOf(int Mode)
{
    using F = TBlendFactor;
    switch (Mode)
    {
    case 1: return {F::One, F::One};
    case 2: return {F::SrcAlpha, F::One};
    case 3: return {F::SrcColor, F::InvSrcColor};
    case 4: return {F::SrcColor, F::One};
    case 5: return {F::Zero, F::SrcColor};
    case 6: return {F::Zero, F::SrcAlpha};
    case 7: return {F::Zero, F::InvSrcColor};
    case 8: return {F::Zero, F::InvSrcAlpha};
    case 9: return {F::InvDestColor, F::Zero};
    case 10: return {F::SrcColor, F::SrcColor};
    case 11: return {F::DestColor, F::DestColor};
    case 12: return {F::InvSrcColor, F::InvSrcColor};
    case 13: return {F::InvDestColor, F::InvDestColor};
    default: return {F::SrcAlpha, F::InvSrcAlpha};
    }
}

// Each channel becomes (channel * global channel) div 256, so 255 * 255 gives 254.
std::uint32_t Modulate(std::uint32_t Color, std::uint32_t Global)
{
    std::uint32_t Result = 0;
    for (int Shift = 0; Shift < 32; Shift += 8)
    {
        std::uint32_t C = (Color >> Shift) & 0xFFu;
        std::uint32_t G = (Global >> Shift) & 0xFFu;
        Result |= ((C * G) >> 8) << Shift;
    }
    return Result;
}

} // namespace

TScreen::TScreen(IRenderDevice& Device, IMessageBox& Messages)
    : FDevice(Device), FMessages(Messages), FDrawsNothing(Device.DrawsNothing())
{}

TScreen::~TScreen() = default;

void TScreen::SetRed(std::uint8_t Value)
{
    FRed = Value;
    FGlobalColor =
        (std::uint32_t(FAlpha) << 24) | (std::uint32_t(FRed) << 16) | (std::uint32_t(FGreen) << 8) | FBlue;
}

void TScreen::SetGreen(std::uint8_t Value)
{
    FGreen = Value;
    SetRed(FRed);
}

void TScreen::SetBlue(std::uint8_t Value)
{
    FBlue = Value;
    SetRed(FRed);
}

void TScreen::SetAlpha(std::uint8_t Value)
{
    FAlpha = Value;
    SetRed(FRed);
}

bool TScreen::Initialize()
{
    FDevice.SetFullScreen(FullScreen);
    FDevice.ShowSystemCursor(ShowMouseCursor);
    FBlendMode = 0;
    FSource = TBlendFactor::SrcAlpha;
    FDest = TBlendFactor::InvSrcAlpha;
    ApplyBlend();
    for (TImageList* List : FImageLists)
        List->LoadTextures();
    FReady = FDevice.IsReady();
    return FReady;
}

void TScreen::SetLinearFilter(bool On) { FDevice.SetLinearFilter(On); }

void TScreen::ToggleFullScreen()
{
    FullScreen = !FullScreen;
    FDevice.SetFullScreen(FullScreen);
    FDevice.ShowSystemCursor(ShowMouseCursor);
}

void TScreen::Clear(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t Alpha)
{
    if (!FHidden)
        FDevice.Clear(Red, Green, Blue, Alpha);
}

void TScreen::SetHidden(bool Hidden)
{
    if (Hidden == FHidden)
        return;
    FHidden = Hidden;
    if (!FHidden)
        ApplyBlend();
}

bool TScreen::BeginScene()
{
    // A lost device skips the frame: nothing is drawn and EndScene does not present.
    if (!FDevice.IsReady())
        return false;
    FInScene = true;
    return true;
}

void TScreen::EndScene()
{
    if (!FInScene)
        return;
    if (FHidden)
    {
        FInScene = false;
        return;
    }
    if (BeforePresent)
        BeforePresent();
    FInScene = false;
    FDevice.Present();
}

void TScreen::SetBlendMode(int Mode)
{
    if (Mode == -1 || Mode == FBlendMode)
        return;
    FBlendMode = Mode;
    TBlendPair Pair = BlendFactorsOf(Mode);
    FSource = Pair.Source;
    FDest = Pair.Dest;
    ApplyBlend();
}

void TScreen::SetDestBlend(TBlendFactor Dest)
{
    FDest = Dest;
    ApplyBlend();
}

void TScreen::ApplyBlend()
{
    if (!FHidden)
        FDevice.SetBlend(FSource, FDest);
}

void TScreen::DrawQuad(TTextureId Texture, TVertex (&Quad)[4])
{
    if (!FInScene)
        return;
    if (DrawsNothing())
    {
        CountQuad(Texture);
        return;
    }
    const bool Identity = Rotation == 0.0f && ScaleX == 1.0f && ScaleY == 1.0f;
    const double Cos = Identity ? 1.0 : std::cos(Rotation * DegToRad);
    const double Sin = Identity ? 0.0 : std::sin(Rotation * DegToRad);
    for (TVertex& V : Quad)
    {
        V.Color = Modulate(V.Color, FGlobalColor);
        if (!Identity)
        {
            const double Dx = V.X - CenterX;
            const double Dy = V.Y - CenterY;
            V.X = static_cast<float>(CenterX + Cos * ScaleX * Dx - Sin * ScaleY * Dy);
            V.Y = static_cast<float>(CenterY + Sin * ScaleX * Dx + Cos * ScaleY * Dy);
        }
        // Quads are laid out with pixel centres on whole numbers, so right and bottom edges fall
        // on pixel centres; the device has its centres on halves. The shift moves the centres
        // over and keeps edges a hair off them so that no rasteriser tie decides coverage.
        V.X += static_cast<float>(OffsetX) + PixelShift;
        V.Y += static_cast<float>(OffsetY) + PixelShift;
    }
    FDevice.DrawQuad(Texture, Quad);
}

void TScreen::CountQuad(TTextureId Texture)
{
    static const TVertex Unused[4] = {};
    if (FInScene && !FHidden)
        FDevice.DrawQuad(Texture, Unused);
}

void TScreen::AddImageList(TImageList* List)
{
    if (std::find(FImageLists.begin(), FImageLists.end(), List) == FImageLists.end())
        FImageLists.push_back(List);
}

void TScreen::RemoveImageList(TImageList* List)
{
    FImageLists.erase(std::remove(FImageLists.begin(), FImageLists.end(), List), FImageLists.end());
}

void TScreen::Reset()
{
    for (TImageList* List : FImageLists)
        List->ReleaseTextures(true);
    ApplyBlend();
    for (TImageList* List : FImageLists)
        List->LoadTextures();
}

void TScreen::Finalize()
{
    for (TImageList* List : FImageLists)
        List->ReleaseTextures(true);
    FReady = false;
}

} // namespace vm
