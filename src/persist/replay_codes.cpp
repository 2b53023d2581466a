// The recording file's numbers, strings and checksums.
#include "persist/replay_codes.h"

#include <algorithm>
#include <limits>
#include <zlib.h>

namespace vm {

std::uint32_t ReplayCrc(const void* Data, std::size_t Size)
{
    uLong Crc = crc32(0L, Z_NULL, 0);
    const auto* Bytes = static_cast<const Bytef*>(Data);
    while (Size > 0)
    {
        const auto Part = static_cast<uInt>(std::min<std::size_t>(Size, 1u << 30));
        Crc = crc32(Crc, Bytes, Part);
        Bytes += Part;
        Size -= Part;
    }
    return static_cast<std::uint32_t>(Crc);
}

void PutVarint(std::string& Out, std::uint64_t Value)
{
    while (Value >= 0x80)
    {
        Out.push_back(static_cast<char>((Value & 0x7F) | 0x80));
        Value >>= 7;
    }
    Out.push_back(static_cast<char>(Value));
}

void PutSigned(std::string& Out, std::int64_t Value)
{
    const auto Bits = static_cast<std::uint64_t>(Value);
    PutVarint(Out, (Bits << 1) ^ (Value < 0 ? ~std::uint64_t{0} : 0));
}

void PutFixed(std::string& Out, std::uint64_t Value, int Bytes)
{
    for (int I = 0; I < Bytes; ++I)
        Out.push_back(static_cast<char>((Value >> (8 * I)) & 0xFF));
}

void PutString(std::string& Out, const std::string& Text)
{
    PutVarint(Out, Text.size());
    Out += Text;
}

std::uint8_t TReplayCursor::Byte()
{
    if (At >= End)
    {
        Bad = true;
        return 0;
    }
    return *At++;
}

std::uint64_t TReplayCursor::Varint()
{
    std::uint64_t Value = 0;
    for (int Shift = 0; Shift < 64; Shift += 7)
    {
        const std::uint8_t B = Byte();
        if (Bad)
            return 0;
        Value |= static_cast<std::uint64_t>(B & 0x7F) << Shift;
        if ((B & 0x80) == 0)
            return Value;
    }
    Bad = true; // more than ten bytes
    return 0;
}

std::int32_t TReplayCursor::Signed()
{
    const std::uint64_t Bits = Varint();
    const auto Value = static_cast<std::int64_t>((Bits >> 1) ^ (~(Bits & 1) + 1));
    if (Value < std::numeric_limits<std::int32_t>::min() || Value > std::numeric_limits<std::int32_t>::max())
    {
        Bad = true;
        return 0;
    }
    return static_cast<std::int32_t>(Value);
}

std::uint32_t TReplayCursor::Count(std::uint32_t Most)
{
    const std::uint64_t Value = Varint();
    if (Value > Most)
    {
        Bad = true;
        return 0;
    }
    return static_cast<std::uint32_t>(Value);
}

std::uint64_t TReplayCursor::Fixed(int Bytes)
{
    std::uint64_t Value = 0;
    for (int I = 0; I < Bytes; ++I)
        Value |= static_cast<std::uint64_t>(Byte()) << (8 * I);
    return Bad ? 0 : Value;
}

std::string TReplayCursor::String(std::uint32_t MostBytes)
{
    const std::uint32_t Size = Count(MostBytes);
    if (Bad || static_cast<std::size_t>(End - At) < Size)
    {
        Bad = true;
        return {};
    }
    std::string Text(reinterpret_cast<const char*>(At), Size);
    At += Size;
    return Text;
}

} // namespace vm
