// UTF-8 decoding and encoding for typed text and font lookup.
#include "engine/utf8.h"

namespace vm {

namespace {

// Decodes the sequence at Text[Pos]; on success stores the code point and its length.
bool DecodeAt(const std::string& Text, std::size_t Pos, char32_t& Code, std::size_t& Length)
{
    const auto Byte = [&](std::size_t I) { return static_cast<unsigned char>(Text[I]); };
    const unsigned char Lead = Byte(Pos);
    if (Lead < 0x80)
    {
        Code = Lead;
        Length = 1;
        return true;
    }
    char32_t Min;
    if (Lead >= 0xC2 && Lead <= 0xDF)
        Length = 2, Code = Lead & 0x1Fu, Min = 0x80;
    else if (Lead >= 0xE0 && Lead <= 0xEF)
        Length = 3, Code = Lead & 0x0Fu, Min = 0x800;
    else if (Lead >= 0xF0 && Lead <= 0xF4)
        Length = 4, Code = Lead & 0x07u, Min = 0x10000;
    else
        return false; // continuation byte, C0/C1 overlong leads, F5..FF
    if (Pos + Length > Text.size())
        return false;
    for (std::size_t I = 1; I < Length; ++I)
    {
        const unsigned char Next = Byte(Pos + I);
        if ((Next & 0xC0u) != 0x80u)
            return false;
        Code = (Code << 6) | (Next & 0x3Fu);
    }
    return Code >= Min && Code <= 0x10FFFF && !(Code >= 0xD800 && Code <= 0xDFFF);
}

} // namespace

std::u32string DecodeUtf8(const std::string& Text)
{
    std::u32string Result;
    Result.reserve(Text.size());
    std::size_t Pos = 0;
    while (Pos < Text.size())
    {
        char32_t Code = 0;
        std::size_t Length = 1;
        if (DecodeAt(Text, Pos, Code, Length))
        {
            Result.push_back(Code);
            Pos += Length;
        }
        else
            ++Pos; // skip one bad byte and resynchronise on the next
    }
    return Result;
}

void AppendUtf8(std::string& Out, char32_t Code)
{
    if (Code < 0x80)
        Out.push_back(static_cast<char>(Code));
    else if (Code < 0x800)
    {
        Out.push_back(static_cast<char>(0xC0 | (Code >> 6)));
        Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
    }
    else if (Code < 0x10000)
    {
        if (Code >= 0xD800 && Code <= 0xDFFF)
            return;
        Out.push_back(static_cast<char>(0xE0 | (Code >> 12)));
        Out.push_back(static_cast<char>(0x80 | ((Code >> 6) & 0x3F)));
        Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
    }
    else if (Code <= 0x10FFFF)
    {
        Out.push_back(static_cast<char>(0xF0 | (Code >> 18)));
        Out.push_back(static_cast<char>(0x80 | ((Code >> 12) & 0x3F)));
        Out.push_back(static_cast<char>(0x80 | ((Code >> 6) & 0x3F)));
        Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
    }
}

std::string EncodeUtf8(const std::u32string& Codes)
{
    std::string Result;
    Result.reserve(Codes.size());
    for (char32_t Code : Codes)
        AppendUtf8(Result, Code);
    return Result;
}

std::size_t Utf8Length(const std::string& Text) { return DecodeUtf8(Text).size(); }

} // namespace vm
