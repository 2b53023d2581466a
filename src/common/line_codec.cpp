// The line encoding of the settings files and of the online score text.
#include "common/line_codec.h"

#include <array>
#include <cstdint>

namespace vm {

namespace {

// The position of every byte in LineAlphabet, -1 for bytes not in it.
constexpr std::array<std::int8_t, 256> MakeSymbolValues()
{
    std::array<std::int8_t, 256> Values{};
    for (auto& Value : Values)
        Value = -1;
    for (std::size_t P = 0; P < LineAlphabet.size(); ++P)
        Values[static_cast<unsigned char>(LineAlphabet[P])] = static_cast<std::int8_t>(P);
    return Values;
}

constexpr std::array<std::int8_t, 256> SymbolValues = MakeSymbolValues();

static_assert(LineAlphabet.size() == 32, "five bits a character");

} // namespace

std::string EncodeLine(std::string_view Text)
{
    const std::size_t Bits = Text.size() * 8;
    const std::size_t Symbols = (Bits + 4) / 5;
    const std::size_t Front = Symbols * 5 - Bits; // zero bits added in front
    std::string Line(Symbols, LineAlphabet[0]);
    // Bit k of the padded stream: the front zeros, then the text's bits, most significant first.
    auto Bit = [&](std::size_t K) -> unsigned {
        if (K < Front)
            return 0;
        const std::size_t T = K - Front;
        return (static_cast<unsigned char>(Text[T / 8]) >> (7 - T % 8)) & 1u;
    };
    for (std::size_t S = 0; S < Symbols; ++S)
    {
        unsigned Value = 0;
        for (std::size_t B = 0; B < 5; ++B)
            Value = (Value << 1) | Bit(S * 5 + B);
        Line[S] = LineAlphabet[Value];
    }
    return Line;
}

std::string DecodeLine(std::string_view Line)
{
    // The 5-bit groups of the characters that belong to the table.
    std::string Bits;
    Bits.reserve(Line.size() * 5);
    for (const char C : Line)
    {
        const int Value = SymbolValues[static_cast<unsigned char>(C)];
        if (Value < 0)
            continue;
        for (int B = 4; B >= 0; --B)
            Bits += ((Value >> B) & 1) != 0 ? '1' : '0';
    }
    if (Bits.empty())
        return {};
    Bits.insert(0, (8 - Bits.size() % 8) % 8, '0');
    std::string Text(Bits.size() / 8, '\0');
    for (std::size_t I = 0; I < Text.size(); ++I)
    {
        unsigned Byte = 0;
        for (std::size_t B = 0; B < 8; ++B)
            Byte = (Byte << 1) | (Bits[I * 8 + B] == '1' ? 1u : 0u);
        Text[I] = static_cast<char>(Byte);
    }
    return Text;
}

} // namespace vm
