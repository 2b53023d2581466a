// Collision masks: a texture's solid texels packed 64 to a word, row by row.
#include "engine/collision_mask.h"

#include <algorithm>

namespace vm {

TCollisionMask::TCollisionMask(int Width, int Height, const std::uint32_t* Texels)
    : TCollisionMask(Width, Height, Texels, Width, Height, Width)
{}

TCollisionMask::TCollisionMask(int Width, int Height, const std::uint32_t* Content, int ContentWidth,
                               int ContentHeight, int Pitch)
{
    if (Width <= 0 || Height <= 0 || Content == nullptr)
        return;
    FWidth = Width;
    FHeight = Height;
    FWordsPerRow = (static_cast<std::int64_t>(Width) + 63) / 64;
    FBits.assign(static_cast<std::size_t>(FWordsPerRow) * static_cast<std::size_t>(Height), 0u);
    ContentWidth = std::clamp(ContentWidth, 0, Width);
    ContentHeight = std::clamp(ContentHeight, 0, Height);
    for (int Y = 0; Y < ContentHeight; ++Y)
    {
        const std::uint32_t* Row = Content + static_cast<std::size_t>(Y) * static_cast<std::size_t>(Pitch);
        std::uint64_t* Bits = FBits.data() + static_cast<std::size_t>(Y * FWordsPerRow);
        for (int X = 0; X < ContentWidth; ++X)
            if (Row[X] != 0)
                Bits[X >> 6] |= std::uint64_t{1} << (X & 63);
    }
}

void TCollisionMask::Clear()
{
    FWidth = 0;
    FHeight = 0;
    FWordsPerRow = 0;
    FBits.clear();
    FBits.shrink_to_fit();
}

} // namespace vm
