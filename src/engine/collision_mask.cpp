// Collision masks: a texture's solid texels packed 64 to a word, row by row.
#include "engine/collision_mask.h"

namespace vm {

TCollisionMask::TCollisionMask(int Width, int Height, const std::uint32_t* Texels)
{
    if (Width <= 0 || Height <= 0 || Texels == nullptr)
        return;
    FWidth = Width;
    FHeight = Height;
    FWordsPerRow = (static_cast<std::int64_t>(Width) + 63) / 64;
    FBits.assign(static_cast<std::size_t>(FWordsPerRow) * static_cast<std::size_t>(Height), 0u);
    for (int Y = 0; Y < Height; ++Y)
    {
        const std::uint32_t* Row = Texels + static_cast<std::size_t>(Y) * static_cast<std::size_t>(Width);
        std::uint64_t* Bits = FBits.data() + static_cast<std::size_t>(Y * FWordsPerRow);
        for (int X = 0; X < Width; ++X)
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
