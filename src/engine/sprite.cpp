// TSprite: setters that keep corners and box in step, drawing, copying and collision tests.
#include "engine/sprite.h"

#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/message_box.h"
#include "engine/screen.h"
#include "engine/sprite_engine.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vm {

namespace {

constexpr const char* NoImageListText = "No ImageList assigned to sprite!";
constexpr const char* ErrorCaption = "Error";

// Columns and rows of an item, at least 1 so that pattern arithmetic never divides by zero.
std::int32_t SafeColumns(const TImageListItem& Item) { return std::max(1, Item.Columns()); }

std::int32_t SafeRows(const TImageListItem& Item) { return std::max(1, Item.Rows()); }

std::int32_t SaturateInt32(std::int64_t Value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(Value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Start texel and step of one axis of the pixel test: the overlap's first column (or row)
// relative to the sprite's box, walked backwards when the sprite is mirrored on that axis.
struct TAxisWalk
{
    std::int64_t Start = 0;
    std::int64_t Step = 1;
};

TAxisWalk MakeWalk(std::int64_t OverlapFirst, std::int64_t BoxFirst, std::int64_t BoxLast, bool Mirror,
                   std::int64_t PatternOffset)
{
    TAxisWalk Walk;
    if (Mirror)
    {
        Walk.Start = BoxLast - BoxFirst - (OverlapFirst - BoxFirst) - 1 + PatternOffset;
        Walk.Step = -1;
    }
    else
    {
        Walk.Start = OverlapFirst - BoxFirst + 1 + PatternOffset;
        Walk.Step = 1;
    }
    return Walk;
}

// Narrows [First, Last) (offsets into the overlap) to the offsets d where Start + d * Step lies
// inside 0..Size-1. Texels outside the texture count as zero, so nothing else can be a hit.
void ClipToTexture(const TAxisWalk& Walk, std::int64_t Size, std::int64_t& First, std::int64_t& Last)
{
    std::int64_t Low, High;
    if (Walk.Step > 0)
    {
        Low = -Walk.Start;
        High = Size - Walk.Start;
    }
    else
    {
        Low = Walk.Start - Size + 1;
        High = Walk.Start + 1;
    }
    First = std::max(First, Low);
    Last = std::min(Last, High);
}

// True when the item has a collision mask covering its whole texture.
bool HasMask(const TImageListItem* Item)
{
    if (Item == nullptr || Item->TextureWidth() <= 0 || Item->TextureHeight() <= 0)
        return false;
    return Item->Mask().Width() >= Item->TextureWidth() && Item->Mask().Height() >= Item->TextureHeight();
}

} // namespace

std::int32_t RoundCoord(double Value)
{
    // Positions the game uses take the fast path: rounding to four decimals by the 1.5 * 2^52
    // trick (nearest, ties to even, like nearbyint in the default mode) and truncating by integer
    // division, which gives the same result as dividing and truncating in floating point.
    constexpr double Magic = 6755399441055744.0;
    if (std::fabs(Value) < 2e9)
    {
        const double W = Value >= 0 ? Value + 0.5 : Value - 0.5;
        const auto Scaled = static_cast<std::int64_t>((W * 10000.0 + Magic) - Magic);
        return static_cast<std::int32_t>(Scaled / 10000);
    }
    if (std::isnan(Value))
        return 0;
    double W = Value >= 0 ? Value + 0.5 : Value - 0.5;
    W = std::trunc(std::nearbyint(W * 10000.0) / 10000.0);
    return static_cast<std::int32_t>(std::clamp<double>(W, std::numeric_limits<std::int32_t>::min(),
                                                        std::numeric_limits<std::int32_t>::max()));
}

std::uint32_t ToArgb(std::uint32_t Color)
{
    if (Color >= 0x01000000u)
        return Color;
    const std::uint32_t R = Color & 0xFFu;
    const std::uint32_t G = (Color >> 8) & 0xFFu;
    const std::uint32_t B = (Color >> 16) & 0xFFu;
    return 0xFF000000u | (R << 16) | (G << 8) | B;
}

TSprite::TSprite(TSpriteEngine& Engine) : FEngine(Engine) { FEngine.Insert(this); }

TSprite::~TSprite() { FEngine.Forget(this); }

TIntRect TSprite::GetPatternRect()
{
    TIntRect Rect;
    if (FImage == nullptr)
        return Rect;
    const std::int32_t Columns = SafeColumns(*FImage);
    const std::int64_t Count = static_cast<std::int64_t>(Columns) * SafeRows(*FImage);
    if (FPatternIndex < 0)
        FPatternIndex = 0;
    if (FPatternIndex >= Count)
        FPatternIndex = SaturateInt32(Count - 1);
    const std::int64_t TileWidth = FImage->TileWidth();
    const std::int64_t TileHeight = FImage->TileHeight();
    Rect.Left = SaturateInt32(TileWidth * (FPatternIndex % Columns));
    Rect.Right = SaturateInt32(TileWidth * (FPatternIndex % Columns + 1));
    Rect.Top = SaturateInt32(TileHeight * (FPatternIndex / Columns));
    Rect.Bottom = SaturateInt32(Rect.Top + TileHeight);
    return Rect;
}

void TSprite::SetName(const std::string& Value) { FName = Value; }

std::uint32_t TSprite::PackedColor() const
{
    // Components outside 0..255 are held at the nearest end rather than wrapping into the
    // neighbouring channel (a fade that overshoots must not flash).
    auto Channel = [](std::int32_t Value) { return static_cast<std::uint32_t>(std::clamp(Value, 0, 255)); };
    return (Channel(FAlpha) << 24) | (Channel(FRed) << 16) | (Channel(FGreen) << 8) | Channel(FBlue);
}

void TSprite::SetRed(std::int32_t Value)
{
    FRed = Value;
    SetColor(PackedColor());
}

void TSprite::SetGreen(std::int32_t Value)
{
    FGreen = Value;
    SetColor(PackedColor());
}

void TSprite::SetBlue(std::int32_t Value)
{
    FBlue = Value;
    SetColor(PackedColor());
}

void TSprite::SetAlpha(std::int32_t Value)
{
    FAlpha = Value;
    SetColor(PackedColor());
}

void TSprite::SetColor(std::uint32_t Value)
{
    for (auto& Color : FColors)
        Color = Value;
}

void TSprite::SetPatternIndex(std::int32_t Value)
{
    FPatternIndex = Value;
    if (FImage == nullptr)
        return;
    const std::int32_t Columns = SafeColumns(*FImage);
    const std::int64_t Count = static_cast<std::int64_t>(Columns) * SafeRows(*FImage);
    FPatternLeft = SaturateInt32(static_cast<std::int64_t>(Value % Columns) * FImage->TileWidth());
    FPatternTop = SaturateInt32(static_cast<std::int64_t>(Value / Columns) * FImage->TileHeight());
    if (Value > Count)
        FPatternIndex = SaturateInt32(Count);
}

void TSprite::SetX(float Value)
{
    FX = Value;
    FX2 = static_cast<float>(static_cast<double>(Value) + FWidth);
    FX3 = FX2;
    FX4 = Value;
    FBoundsRect.Left = RoundCoord(Value);
    FBoundsRect.Right = SaturateInt32(static_cast<std::int64_t>(FBoundsRect.Left) + FWidth);
    FCenterX = static_cast<float>(FWidth / 2.0 + Value);
}

void TSprite::SetY(float Value)
{
    FY = Value;
    FY2 = Value;
    FY3 = static_cast<float>(static_cast<double>(Value) + FHeight);
    FY4 = FY3;
    FBoundsRect.Top = RoundCoord(Value);
    FBoundsRect.Bottom = SaturateInt32(static_cast<std::int64_t>(FBoundsRect.Top) + FHeight);
    FCenterY = static_cast<float>(FHeight / 2.0 + Value);
}

void TSprite::SetZ(std::int32_t Value)
{
    if (Value == FZ)
        return;
    FEngine.Remove(this);
    FZ = Value;
    FEngine.Insert(this);
}

void TSprite::SetImage(TImageListItem* Item)
{
    FImage = Item;
    if (Item == nullptr)
        return;
    FWidth = Item->TileWidth();
    FHeight = Item->TileHeight();
    FBoundsRect.Right = SaturateInt32(static_cast<std::int64_t>(FBoundsRect.Left) + FWidth);
    FBoundsRect.Bottom = SaturateInt32(static_cast<std::int64_t>(FBoundsRect.Top) + FHeight);
    SetX(FX);
    SetY(FY);
}

void TSprite::SetWidth(std::int32_t Value)
{
    FWidth = Value;
    FBoundsRect.Right = SaturateInt32(static_cast<std::int64_t>(FBoundsRect.Left) + Value);
}

void TSprite::SetHeight(std::int32_t Value)
{
    FHeight = Value;
    FBoundsRect.Bottom = SaturateInt32(static_cast<std::int64_t>(FBoundsRect.Top) + Value);
}

void TSprite::Assign(const TSprite& Source)
{
    if (&Source == this)
        return;
    SetName(Source.FName);
    FX = Source.FX;
    FY = Source.FY;
    FX2 = Source.FX2;
    FY2 = Source.FY2;
    FX3 = Source.FX3;
    FY3 = Source.FY3;
    FX4 = Source.FX4;
    FY4 = Source.FY4;
    SetZ(Source.FZ);
    SetRed(Source.FRed);
    SetGreen(Source.FGreen);
    SetBlue(Source.FBlue);
    SetAlpha(Source.FAlpha);
    std::copy(std::begin(Source.FColors), std::end(Source.FColors), std::begin(FColors));
    SetPatternIndex(Source.FPatternIndex);
    Collide = Source.Collide;
    PixelCheck = Source.PixelCheck;
    PixelOnly = Source.PixelOnly;
    Angle = Source.Angle;
    // A source without an image leaves this sprite's image and size as they are.
    if (Source.FImage != nullptr)
        SetImage(Source.FImage);
    ScaleX = Source.ScaleX;
    ScaleY = Source.ScaleY;
    DrawOffsetX = Source.DrawOffsetX;
    DrawOffsetY = Source.DrawOffsetY;
    RotCenterX = Source.RotCenterX;
    RotCenterY = Source.RotCenterY;
    MirrorY = Source.MirrorY;
    MirrorX = Source.MirrorX;
    BlendMode = Source.BlendMode;
    Visible = Source.Visible;
    IgnoreOffset = Source.IgnoreOffset;
}

void TSprite::Collision(TSprite& Other)
{
    if (!Collide || !Other.Collide || FIsDead || Other.FIsDead)
        return;
    const TIntRect& A = FBoundsRect;
    const TIntRect& B = Other.FBoundsRect;
    TIntRect Overlap;
    Overlap.Left = std::max(A.Left, B.Left);
    Overlap.Top = std::max(A.Top, B.Top);
    Overlap.Right = std::min(A.Right, B.Right);
    Overlap.Bottom = std::min(A.Bottom, B.Bottom);
    // Boxes that only touch (or are empty) do not intersect.
    if (Overlap.Left >= Overlap.Right || Overlap.Top >= Overlap.Bottom)
        return;

    if (!(PixelCheck && Other.PixelCheck) && !PixelOnly && !Other.PixelOnly)
    {
        DoCollision(Other, 0, 0);
        Other.DoCollision(*this, 0, 0);
        return;
    }

    std::int32_t HitX = 0, HitY = 0;
    if (!PixelTest(Other, Overlap, HitX, HitY))
        return;
    // Both offsets are taken before either reaction runs: a reaction may move its sprite.
    const std::int32_t SelfX = SaturateInt32(static_cast<std::int64_t>(HitX) - FBoundsRect.Left);
    const std::int32_t SelfY = SaturateInt32(static_cast<std::int64_t>(HitY) - FBoundsRect.Top);
    const std::int32_t OtherX = SaturateInt32(static_cast<std::int64_t>(HitX) - Other.FBoundsRect.Left);
    const std::int32_t OtherY = SaturateInt32(static_cast<std::int64_t>(HitY) - Other.FBoundsRect.Top);
    DoCollision(Other, SelfX, SelfY);
    Other.DoCollision(*this, OtherX, OtherY);
}

bool TSprite::PixelTest(TSprite& Other, const TIntRect& Overlap, std::int32_t& HitX, std::int32_t& HitY)
{
    if (!PixelCheck || !Other.PixelCheck)
        return false;
    if (&Other == this)
    {
        HitX = Overlap.Left;
        HitY = Overlap.Top;
        return true;
    }
    // A texel takes part when it is not all-zero (transparent black); an item without a mask
    // cannot be tested.
    if (!HasMask(FImage) || !HasMask(Other.FImage))
        return false;

    const TAxisWalk SelfH =
        MakeWalk(Overlap.Left, FBoundsRect.Left, FBoundsRect.Right, MirrorX, FPatternLeft);
    const TAxisWalk SelfV = MakeWalk(Overlap.Top, FBoundsRect.Top, FBoundsRect.Bottom, MirrorY, FPatternTop);
    const TAxisWalk OtherH = MakeWalk(Overlap.Left, Other.FBoundsRect.Left, Other.FBoundsRect.Right,
                                      Other.MirrorX, Other.FPatternLeft);
    const TAxisWalk OtherV = MakeWalk(Overlap.Top, Other.FBoundsRect.Top, Other.FBoundsRect.Bottom,
                                      Other.MirrorY, Other.FPatternTop);

    // The last column and row of the overlap are not examined.
    std::int64_t FirstX = 0;
    std::int64_t LastX = static_cast<std::int64_t>(Overlap.Right) - Overlap.Left - 1;
    std::int64_t FirstY = 0;
    std::int64_t LastY = static_cast<std::int64_t>(Overlap.Bottom) - Overlap.Top - 1;
    const TImageListItem& SelfItem = *FImage;
    const TImageListItem& OtherItem = *Other.FImage;
    ClipToTexture(SelfH, SelfItem.TextureWidth(), FirstX, LastX);
    ClipToTexture(OtherH, OtherItem.TextureWidth(), FirstX, LastX);
    ClipToTexture(SelfV, SelfItem.TextureHeight(), FirstY, LastY);
    ClipToTexture(OtherV, OtherItem.TextureHeight(), FirstY, LastY);

    const TCollisionMask& SelfMask = SelfItem.Mask();
    const TCollisionMask& OtherMask = OtherItem.Mask();
    for (std::int64_t Dy = FirstY; Dy < LastY; ++Dy)
    {
        const std::int64_t SelfY = SelfV.Start + Dy * SelfV.Step;
        const std::int64_t OtherY = OtherV.Start + Dy * OtherV.Step;
        for (std::int64_t Dx = FirstX; Dx < LastX; ++Dx)
        {
            if (SelfMask.Solid(SelfH.Start + Dx * SelfH.Step, SelfY) &&
                OtherMask.Solid(OtherH.Start + Dx * OtherH.Step, OtherY))
            {
                HitX = SaturateInt32(Overlap.Left + Dx);
                HitY = SaturateInt32(Overlap.Top + Dy);
                return true;
            }
        }
    }
    return false;
}

void TSprite::Dead()
{
    if (FIsDead)
        return;
    FIsDead = true;
    FEngine.MarkDead(this);
}

void TSprite::DoCollision(TSprite&, std::int32_t, std::int32_t) {}

void TSprite::Move(float) {}

void TSprite::Draw()
{
    if (!Visible || FImage == nullptr)
        return;
    if (!FImage->Prepared())
    {
        // Reported once per sprite: a modal box every frame would lock the game up.
        if (!FUnpreparedReported)
        {
            FUnpreparedReported = true;
            if (IMessageBox* Messages = FEngine.Messages())
                Messages->Show(NoImageListText, ErrorCaption);
            else
                TStderrMessageBox().Show(NoImageListText, ErrorCaption);
        }
        return;
    }

    const TSpriteEngine& E = FEngine;
    const bool Clipped = E.DrawAreaX1 != 0 || E.DrawAreaY1 != 0 || E.DrawAreaX2 != 0 || E.DrawAreaY2 != 0;
    if (!Clipped)
    {
        // A device that draws nothing needs no position or corners, only the quad and its blend
        // mode; with a draw area the position still decides whether there is a quad.
        const TScreen* Screen = FImage->Screen();
        if (Screen != nullptr && Screen->DrawsNothing())
        {
            CountImageQuad(*FImage, BlendMode);
            return;
        }
    }

    std::int32_t Sx = RoundCoord(static_cast<double>(FX) + DrawOffsetX);
    std::int32_t Sy = RoundCoord(static_cast<double>(FY) + DrawOffsetY);
    if (!IgnoreOffset)
    {
        Sx = RoundCoord(static_cast<double>(Sx) - FEngine.OffsetX);
        Sy = RoundCoord(static_cast<double>(Sy) - FEngine.OffsetY);
    }

    if (Clipped)
    {
        const std::int64_t Right = static_cast<std::int64_t>(Sx) + FWidth;
        const std::int64_t Bottom = static_cast<std::int64_t>(Sy) + FHeight;
        if (!(E.DrawAreaX1 <= Right && Sx <= E.DrawAreaX2 && E.DrawAreaY1 <= Bottom && Sy <= E.DrawAreaY2))
            return;
    }

    const float Left = static_cast<float>(Sx);
    const float Top = static_cast<float>(Sy);
    const float RightEdge = static_cast<float>(static_cast<double>(Sx) + FImage->TileWidth());
    const float BottomEdge = static_cast<float>(static_cast<double>(Sy) + FImage->TileHeight());
    TQuadParams Params;
    Params.X1 = Left;
    Params.Y1 = Top;
    Params.X2 = RightEdge;
    Params.Y2 = Top;
    Params.X3 = RightEdge;
    Params.Y3 = BottomEdge;
    Params.X4 = Left;
    Params.Y4 = BottomEdge;
    Params.Angle = Angle;
    Params.RotCenterX = RotCenterX;
    Params.RotCenterY = RotCenterY;
    Params.ScaleX = ScaleX;
    Params.ScaleY = ScaleY;
    std::copy(std::begin(FColors), std::end(FColors), std::begin(Params.Colors));
    Params.MirrorY = MirrorY;
    Params.MirrorX = MirrorX;
    Params.PatternIndex = FPatternIndex;
    Params.BlendMode = BlendMode;
    DrawImageQuad(*FImage, Params);
}

} // namespace vm
