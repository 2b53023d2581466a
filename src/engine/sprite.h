// Base class of every drawn object: position, size, Z, angle, scale, colour, pattern, flags.
#pragma once

#include <cstdint>
#include <string>

namespace vm {

class TImageListItem;
class TSpriteEngine;

struct TIntRect
{
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Rounds half away from zero after cutting to four decimals (the sprite box rule).
std::int32_t RoundCoord(double Value);

// Turns a colour given as 0x00BBGGRR into ARGB with alpha 255; values of 0x01000000 and more
// are ARGB already.
std::uint32_t ToArgb(std::uint32_t Color);

class TSprite
{
public:
    // Inserts the sprite into Engine at its place for Z = 0. The engine owns it from then on:
    // end it with Dead, never delete it while the engine's Move or Draw runs.
    explicit TSprite(TSpriteEngine& Engine);
    virtual ~TSprite();
    TSprite(const TSprite&) = delete;
    TSprite& operator=(const TSprite&) = delete;

    virtual TIntRect GetPatternRect();
    virtual void SetName(const std::string& Value);
    virtual void SetRed(std::int32_t Value);
    virtual void SetGreen(std::int32_t Value);
    virtual void SetBlue(std::int32_t Value);
    virtual void SetAlpha(std::int32_t Value);
    virtual void SetPatternIndex(std::int32_t Value);
    virtual void SetX(float Value);
    virtual void SetY(float Value);
    virtual void SetZ(std::int32_t Value);
    virtual void SetImage(TImageListItem* Item);
    virtual void SetWidth(std::int32_t Value);
    virtual void SetHeight(std::int32_t Value);
    virtual void Assign(const TSprite& Source);
    virtual void Collision(TSprite& Other);
    virtual void Dead();
    virtual void DoCollision(TSprite& Other, std::int32_t X, std::int32_t Y);
    virtual void Move(float MoveCount);
    virtual void Draw();

    void SetColor(std::uint32_t Value);

    TSpriteEngine& Engine() const { return FEngine; }
    const std::string& Name() const { return FName; }
    float X() const { return FX; }
    float Y() const { return FY; }
    // Corners 2..4 of the sprite's box: (X + Width, Y), (X + Width, Y + Height), (X, Y + Height).
    float X2() const { return FX2; }
    float Y2() const { return FY2; }
    float X3() const { return FX3; }
    float Y3() const { return FY3; }
    float X4() const { return FX4; }
    float Y4() const { return FY4; }
    std::int32_t PatternLeft() const { return FPatternLeft; }
    std::int32_t PatternTop() const { return FPatternTop; }
    std::int32_t PatternIndex() const { return FPatternIndex; }
    float CenterX() const { return FCenterX; }
    float CenterY() const { return FCenterY; }
    std::int32_t Z() const { return FZ; }
    std::uint32_t Colors(int Corner) const { return FColors[Corner & 3]; }
    std::int32_t Red() const { return FRed; }
    std::int32_t Green() const { return FGreen; }
    std::int32_t Blue() const { return FBlue; }
    std::int32_t Alpha() const { return FAlpha; }
    TImageListItem* Image() const { return FImage; }
    std::int32_t Width() const { return FWidth; }
    std::int32_t Height() const { return FHeight; }
    const TIntRect& BoundsRect() const { return FBoundsRect; }
    bool IsDead() const { return FIsDead; }

    // Plain flags and values with no side effects.
    bool Visible = true;
    bool IgnoreOffset = false;
    std::int32_t BlendMode = 0;
    bool MirrorX = false;
    bool MirrorY = false;
    float RotCenterX = 0.0f;
    float RotCenterY = 0.0f;
    bool Collide = false;
    bool PixelCheck = false;
    bool PixelOnly = false;
    float Angle = 0.0f;
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
    float DrawOffsetX = 0.0f;
    float DrawOffsetY = 0.0f;

protected:
    TSpriteEngine& FEngine;
    std::string FName;
    float FX = 0.0f, FY = 0.0f;
    float FX2 = 10.0f, FY2 = 0.0f;
    float FX3 = 10.0f, FY3 = 10.0f;
    float FX4 = 0.0f, FY4 = 10.0f;
    std::int32_t FPatternLeft = 0, FPatternTop = 0;
    std::int32_t FPatternIndex = 0;
    float FCenterX = 0.0f, FCenterY = 0.0f;
    std::int32_t FZ = 0;
    std::uint32_t FColors[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    std::int32_t FRed = 255, FGreen = 255, FBlue = 255, FAlpha = 255;
    TImageListItem* FImage = nullptr;
    std::int32_t FWidth = 10, FHeight = 10;
    TIntRect FBoundsRect;
    bool FIsDead = false;

private:
    friend class TSpriteEngine;
    bool PixelTest(TSprite& Other, const TIntRect& Overlap, std::int32_t& HitX, std::int32_t& HitY);
    std::uint32_t PackedColor() const;

    // Set once the "not prepared" message was shown, so that it is not repeated every frame.
    bool FUnpreparedReported = false;
};

} // namespace vm
