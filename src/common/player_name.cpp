// The rule for player names and online names.
#include "common/player_name.h"

namespace vm {

bool IsNameCharacter(char32_t Code)
{
    const bool Control = Code < 0x20 || (Code >= 0x7F && Code <= 0x9F) || Code == 0x2028 || Code == 0x2029;
    return !Control && Code != U'|';
}

std::optional<std::u32string> DecodeStrictUtf8(std::string_view Text)
{
    std::u32string Codes;
    std::size_t I = 0;
    while (I < Text.size())
    {
        const auto Lead = static_cast<unsigned char>(Text[I]);
        std::size_t Extra = 0;
        char32_t Code = 0;
        char32_t Least = 0;
        if (Lead < 0x80)
            Code = Lead;
        else if ((Lead & 0xE0) == 0xC0)
        {
            Extra = 1;
            Code = Lead & 0x1F;
            Least = 0x80;
        }
        else if ((Lead & 0xF0) == 0xE0)
        {
            Extra = 2;
            Code = Lead & 0x0F;
            Least = 0x800;
        }
        else if ((Lead & 0xF8) == 0xF0)
        {
            Extra = 3;
            Code = Lead & 0x07;
            Least = 0x10000;
        }
        else
            return std::nullopt;
        if (I + Extra >= Text.size()) // the sequence runs past the end
            return std::nullopt;
        for (std::size_t K = 1; K <= Extra; ++K)
        {
            const auto Next = static_cast<unsigned char>(Text[I + K]);
            if ((Next & 0xC0) != 0x80)
                return std::nullopt;
            Code = (Code << 6) | (Next & 0x3F);
        }
        if (Code < Least || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
            return std::nullopt;
        Codes.push_back(Code);
        I += Extra + 1;
    }
    return Codes;
}

std::optional<std::string> CleanName(std::string_view Raw, std::size_t MinCharacters,
                                     std::size_t MaxCharacters)
{
    while (!Raw.empty() && Raw.front() == ' ')
        Raw.remove_prefix(1);
    while (!Raw.empty() && Raw.back() == ' ')
        Raw.remove_suffix(1);
    const auto Codes = DecodeStrictUtf8(Raw);
    if (!Codes || Codes->size() < MinCharacters || Codes->size() > MaxCharacters)
        return std::nullopt;
    for (const char32_t Code : *Codes)
        if (!IsNameCharacter(Code))
            return std::nullopt;
    return std::string(Raw);
}

} // namespace vm
