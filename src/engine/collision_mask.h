// Which texels of a texture are solid (not all-zero), one bit each, for pixel-exact collisions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vm {

class TCollisionMask
{
public:
    TCollisionMask() = default;
    // A texel is solid when its packed ARGB value is not 0; Texels holds Width x Height, pitch Width.
    TCollisionMask(int Width, int Height, const std::uint32_t* Texels);
    // Only the top-left ContentWidth x ContentHeight texels are given, rows Pitch apart; the rest
    // are not solid.
    TCollisionMask(int Width, int Height, const std::uint32_t* Content, int ContentWidth, int ContentHeight,
                   int Pitch);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FBits.empty(); }
    // X in 0..Width-1, Y in 0..Height-1 (not checked: the caller clips).
    bool Solid(std::int64_t X, std::int64_t Y) const
    {
        const std::uint64_t Word = FBits[static_cast<std::size_t>(Y * FWordsPerRow + (X >> 6))];
        return ((Word >> (X & 63)) & 1u) != 0;
    }
    // Memory held by the bits.
    std::size_t Bytes() const { return FBits.size() * sizeof(std::uint64_t); }
    void Clear();

private:
    int FWidth = 0;
    int FHeight = 0;
    std::int64_t FWordsPerRow = 0;
    std::vector<std::uint64_t> FBits;
};

} // namespace vm
