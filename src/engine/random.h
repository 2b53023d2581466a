// The game's one random generator: uniform integers 0..n-1 from a seed, the same on every machine.
#pragma once

#include <cstdint>

namespace vm {

class TRandom
{
public:
    explicit TRandom(std::uint64_t Seed = 1) { SetSeed(Seed); }
    void SetSeed(std::uint64_t Seed) { FState = Seed; }
    // The whole state: SetSeed(State()) makes the numbers that follow repeat.
    std::uint64_t State() const { return FState; }
    // Uniform in 0..N-1; 0 when N is 0 or less.
    std::int32_t Random(std::int32_t N)
    {
        if (N <= 0)
            return 0;
        return static_cast<std::int32_t>(
            (static_cast<std::uint64_t>(Next32()) * static_cast<std::uint64_t>(N)) >> 32);
    }

private:
    // splitmix64, folded to 32 bits.
    std::uint32_t Next32()
    {
        std::uint64_t Z = (FState += 0x9E3779B97F4A7C15ull);
        Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
        Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<std::uint32_t>((Z ^ (Z >> 31)) >> 32);
    }

    std::uint64_t FState = 1;
};

} // namespace vm
