// Drawing one tile of an image as a textured, coloured, rotated, scaled and mirrored quad.
#pragma once

#include <cstdint>

namespace vm {

class TImageListItem;

// Parameters of the one drawing primitive. Corners are in the order top-left, top-right,
// bottom-right, bottom-left; Colors likewise start top-left, then top-right, bottom-left,
// bottom-right.
struct TQuadParams
{
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
    float Angle = 0;
    float RotCenterX = 0, RotCenterY = 0;
    float ScaleX = 1, ScaleY = 1;
    std::uint32_t Colors[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    bool MirrorY = false;
    bool MirrorX = false;
    int PatternIndex = 0;
    int BlendMode = 0;
};

// Draws on the item's screen; nothing happens for an item that was not prepared.
void DrawImageQuad(const TImageListItem& Item, const TQuadParams& Params);

// What DrawImageQuad does on a screen that draws nothing: sets the blend mode and hands the quad
// over without working out its corners.
void CountImageQuad(const TImageListItem& Item, int BlendMode);

// Whole tile at (X, Y) with one colour; Additive sets the destination factor to one first.
void DrawImage(const TImageListItem& Item, float X, float Y, float Angle, float RotCenterX, float RotCenterY,
               float ScaleX, float ScaleY, std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
               std::uint8_t Alpha, bool Additive, int PatternIndex, int BlendMode);

// White, unrotated, scale 1, blend mode 0.
void DrawPattern(const TImageListItem& Item, float X, float Y, int PatternIndex);

} // namespace vm
