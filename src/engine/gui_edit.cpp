// The text edit: typing rules, caret keys and drawing.
#include "engine/gui_edit.h"

#include "engine/bitmap_font.h"
#include "engine/gui.h"
#include "engine/utf8.h"
#include "engine/virtual_keys.h"

#include <algorithm>

namespace vm {

namespace {

constexpr char32_t Backspace = 8;
constexpr char32_t Enter = 13;

bool IsUpperLetter(char32_t C)
{
    return (C >= U'A' && C <= U'Z') || C == U'Ä' || C == U'Ñ' || C == U'Ö' || C == U'Ü' ||
           (C >= U'А' && C <= U'Я') || C == U'Ё';
}

bool IsLowerLetter(char32_t C)
{
    return (C >= U'a' && C <= U'z') || C == U'ä' || C == U'ñ' || C == U'ö' || C == U'ü' ||
           (C >= U'а' && C <= U'я') || C == U'ё';
}

char32_t ToUpper(char32_t C)
{
    if ((C >= U'a' && C <= U'z') || (C >= U'а' && C <= U'я') || (C >= 0xE0 && C <= 0xFE && C != 0xF7))
        return C - 0x20;
    if (C == U'ё')
        return U'Ё';
    return C;
}

char32_t ToLower(char32_t C)
{
    if ((C >= U'A' && C <= U'Z') || (C >= U'А' && C <= U'Я') || (C >= 0xC0 && C <= 0xDE && C != 0xD7))
        return C + 0x20;
    if (C == U'Ё')
        return U'ё';
    return C;
}

} // namespace

int TGuiEdit::Length() const { return static_cast<int>(Utf8Length(Text)); }

bool TGuiEdit::Type(char32_t Code)
{
    if (ReadOnly || Code == Enter)
        return false;
    std::u32string Codes = DecodeUtf8(Text);
    const int Size = static_cast<int>(Codes.size());
    CaretPos = std::clamp(CaretPos, 0, Size);
    if (Code == Backspace)
    {
        if (CaretPos == 0)
            return false;
        Codes.erase(static_cast<std::size_t>(CaretPos - 1), 1);
        --CaretPos;
        Text = EncodeUtf8(Codes);
        return true;
    }
    if (MaxLength >= 0 && Size >= MaxLength)
        return false;
    if (CharRule == crToUpper)
        Code = ToUpper(Code);
    else if (CharRule == crToLower)
        Code = ToLower(Code);
    if ((CharRule == crUpperLetters && !IsUpperLetter(Code)) ||
        (CharRule == crLowerLetters && !IsLowerLetter(Code)) ||
        (CharRule == crDigits && !(Code >= U'0' && Code <= U'9')))
        return false;
    if (Accepts && !Accepts(Code))
        return false;
    // Only what the font can draw: without a font, the default set.
    const bool InSet = Font != nullptr ? Font->InSet(Code)
                                       : TBitmapFont::DefaultCharacters().find(Code) != std::u32string::npos;
    if (!InSet)
        return false;
    Codes.insert(Codes.begin() + CaretPos, Code);
    ++CaretPos;
    Text = EncodeUtf8(Codes);
    return true;
}

bool TGuiEdit::KeyDown(int VirtualKey)
{
    if (ReadOnly)
        return false;
    const int Size = Length();
    CaretPos = std::clamp(CaretPos, 0, Size);
    switch (VirtualKey)
    {
    case vkBack: Type(Backspace); return true; // Backspace comes only as a key, never as typed text
    case vkEnd: CaretPos = Size; return true;
    case vkHome: CaretPos = 0; return true;
    case vkLeft:
        if (CaretPos == 0)
            return false;
        --CaretPos;
        return true;
    case vkRight:
        if (CaretPos == Size)
            return false;
        ++CaretPos;
        return true;
    case vkDelete:
        if (CaretPos < Size)
        {
            std::u32string Codes = DecodeUtf8(Text);
            Codes.erase(static_cast<std::size_t>(CaretPos), 1);
            Text = EncodeUtf8(Codes);
        }
        return true;
    default: return false;
    }
}

void TGuiEdit::Draw()
{
    DrawSlot(CurrentSlot());
    const float X = static_cast<float>(Left + TextInset);
    const float Y = Top + (Height - TextHeightOf(Text)) / 2.0f;
    DrawText(X, Y, Text, FontColor());
    if (Gui().TypingTarget() != this || CaretText.empty())
        return;
    const std::u32string Codes = DecodeUtf8(Text);
    const int Caret = std::clamp(CaretPos, 0, static_cast<int>(Codes.size()));
    const std::string Before = EncodeUtf8(Codes.substr(0, static_cast<std::size_t>(Caret)));
    DrawText(X + static_cast<float>(TextWidthOf(Before)), Y, CaretText, FontColor());
}

} // namespace vm
