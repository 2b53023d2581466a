// The .vil image-list file: a component stream of typed properties in a resource wrapper.
// Reading never trusts a length: every one is checked against the bytes that remain.
#include "engine/vil_stream.h"

#include "engine/image_list.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

namespace vm {

namespace vil {

namespace {

struct TNamedColor
{
    const char* Name;
    std::uint32_t Value;
};

constexpr TNamedColor NamedColors[] = {
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},  {"clGreen", 0x008000},      {"clOlive", 0x008080},
    {"clNavy", 0x800000},   {"clPurple", 0x800080},  {"clTeal", 0x808000},       {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},     {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},       {"clWhite", 0xFFFFFF},
    {"clLtGray", 0xC0C0C0}, {"clDkGray", 0x808080},  {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},  {"clMedGray", 0xA4A0A0}, {"clNone", 0x1FFFFFFF},     {"clDefault", 0x20000000},
};

bool SameText(const std::string& A, const char* B)
{
    const std::size_t Length = std::strlen(B);
    if (A.size() != Length)
        return false;
    for (std::size_t I = 0; I < Length; ++I)
    {
        auto Lower = [](char C) { return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C; };
        if (Lower(A[I]) != Lower(B[I]))
            return false;
    }
    return true;
}

} // namespace

std::optional<std::uint32_t> ColorFromIdent(const std::string& Name)
{
    for (const TNamedColor& Color : NamedColors)
        if (SameText(Name, Color.Name))
            return Color.Value;
    return std::nullopt;
}

void TVilWriter::Word(std::uint16_t Value)
{
    Byte(static_cast<std::uint8_t>(Value));
    Byte(static_cast<std::uint8_t>(Value >> 8));
}

void TVilWriter::DWord(std::uint32_t Value)
{
    for (int I = 0; I < 4; ++I)
        Byte(static_cast<std::uint8_t>(Value >> (8 * I)));
}

void TVilWriter::Raw(const void* Data, std::size_t Size)
{
    const auto* P = static_cast<const std::uint8_t*>(Data);
    Bytes.insert(Bytes.end(), P, P + Size);
}

void TVilWriter::ShortString(const std::string& Text)
{
    const std::size_t Length = Text.size() < 255 ? Text.size() : 255;
    Byte(static_cast<std::uint8_t>(Length));
    Raw(Text.data(), Length);
}

void TVilWriter::Integer(std::int32_t Value)
{
    if (Value >= -128 && Value <= 127)
    {
        Byte(vaInt8);
        Byte(static_cast<std::uint8_t>(Value));
    }
    else if (Value >= -32768 && Value <= 32767)
    {
        Byte(vaInt16);
        Word(static_cast<std::uint16_t>(Value));
    }
    else
    {
        Byte(vaInt32);
        DWord(static_cast<std::uint32_t>(Value));
    }
}

void TVilWriter::String(const std::string& Text)
{
    if (Text.size() <= 255)
    {
        Byte(vaString);
        ShortString(Text);
    }
    else
    {
        Byte(vaLString);
        DWord(static_cast<std::uint32_t>(Text.size()));
        Raw(Text.data(), Text.size());
    }
}

void TVilWriter::Ident(const std::string& Name)
{
    Byte(vaIdent);
    ShortString(Name);
}

void TVilWriter::Boolean(bool Value) { Byte(Value ? vaTrue : vaFalse); }

void TVilWriter::Binary(const std::vector<std::uint8_t>& Data)
{
    Byte(vaBinary);
    DWord(static_cast<std::uint32_t>(Data.size()));
    Raw(Data.data(), Data.size());
}

void TVilWriter::ResourceHeader(std::uint32_t DataSize, const std::string& Name, std::uint16_t Flags)
{
    Byte(0xFF);
    Word(0x000A);
    Raw(Name.data(), Name.size());
    Byte(0);
    Word(Flags);
    DWord(DataSize);
}

} // namespace vil

namespace {

using namespace vil;

// Largest image-list file read from disk.
constexpr std::uintmax_t MaxVilFileSize = 1024u * 1024u * 1024u;
// Nesting of lists and collections skipped in unknown properties.
constexpr int MaxSkipDepth = 32;

struct TCorrupt
{};

class TVilReader
{
public:
    TVilReader(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}

    void Read(TImageListCollection& Collection)
    {
        ReadResourceHeader();
        Need(4);
        if (std::memcmp(FData + FPos, "TPF0", 4) != 0)
            Fail();
        FPos += 4;
        ShortString(); // class name, not checked
        ShortString(); // object name
        for (;;)
        {
            const std::string Property = ShortString();
            if (Property.empty())
                break;
            const std::uint8_t Type = Byte();
            if (Property == "List")
            {
                if (Type != vaCollection)
                    Fail();
                ReadCollection(Collection);
            }
            else
                SkipValue(Type, 0);
        }
        if (Byte() != vaNull) // the root has no children
            Fail();
    }

private:
    [[noreturn]] static void Fail() { throw TCorrupt{}; }

    void Need(std::size_t Count) const
    {
        if (Count > FSize - FPos)
            Fail();
    }

    std::uint8_t Byte()
    {
        Need(1);
        return FData[FPos++];
    }

    std::uint16_t Word()
    {
        Need(2);
        const std::uint16_t Value = static_cast<std::uint16_t>(FData[FPos] | (FData[FPos + 1] << 8));
        FPos += 2;
        return Value;
    }

    std::uint32_t DWord()
    {
        Need(4);
        std::uint32_t Value = 0;
        for (int I = 0; I < 4; ++I)
            Value |= std::uint32_t(FData[FPos + I]) << (8 * I);
        FPos += 4;
        return Value;
    }

    std::string Chars(std::size_t Count)
    {
        Need(Count);
        std::string Text(reinterpret_cast<const char*>(FData + FPos), Count);
        FPos += Count;
        return Text;
    }

    void Skip(std::size_t Count)
    {
        Need(Count);
        FPos += Count;
    }

    std::string ShortString() { return Chars(Byte()); }

    void ReadResourceHeader()
    {
        if (Byte() != 0xFF || Word() != 0x000A)
            Fail();
        // Name up to its zero byte, then flags and size (ignored).
        while (Byte() != 0)
        {}
        Skip(2 + 4);
    }

    std::int32_t IntegerValue(std::uint8_t Type)
    {
        switch (Type)
        {
        case vaInt8: return static_cast<std::int8_t>(Byte());
        case vaInt16: return static_cast<std::int16_t>(Word());
        case vaInt32: return static_cast<std::int32_t>(DWord());
        default: Fail();
        }
    }

    std::string StringValue(std::uint8_t Type)
    {
        switch (Type)
        {
        case vaString: return ShortString();
        case vaLString:
        case vaUTF8String: return Chars(DWord());
        default: Fail();
        }
    }

    bool BooleanValue(std::uint8_t Type)
    {
        if (Type == vaFalse)
            return false;
        if (Type == vaTrue)
            return true;
        Fail();
    }

    static bool IsInteger(std::uint8_t Type) { return Type == vaInt8 || Type == vaInt16 || Type == vaInt32; }

    // Items until the end byte; an item may be preceded by its order (an integer, ignored).
    void ReadCollection(TImageListCollection& Collection)
    {
        for (;;)
        {
            std::uint8_t Type = Byte();
            if (Type == vaNull)
                return;
            if (IsInteger(Type))
            {
                IntegerValue(Type);
                Type = Byte();
            }
            if (Type != vaList)
                Fail();
            TImageListItem* Item = Collection.Add();
            for (;;)
            {
                const std::string Property = ShortString();
                if (Property.empty())
                    break;
                ReadItemProperty(*Item, Property);
            }
        }
    }

    void ReadItemProperty(TImageListItem& Item, const std::string& Property)
    {
        const std::uint8_t Type = Byte();
        if (Property == "Name")
            Item.Name = StringValue(Type);
        else if (Property == "Picture.Data")
        {
            if (Type != vaBinary)
                Fail();
            const std::uint32_t Length = DWord();
            Need(Length);
            const std::uint8_t* Data = FData + FPos;
            FPos += Length;
            Item.SetPicture(ReadPicture(Data, Length));
        }
        else if (Property == "TileHeight")
            Item.SetTileHeight(IntegerValue(Type));
        else if (Property == "TileWidth")
            Item.SetTileWidth(IntegerValue(Type));
        else if (Property == "TransparentColor")
        {
            if (Type == vaIdent)
            {
                const std::optional<std::uint32_t> Color = ColorFromIdent(ShortString());
                if (!Color)
                    Fail();
                Item.TransparentColor = *Color;
            }
            else
                Item.TransparentColor = static_cast<std::uint32_t>(IntegerValue(Type));
        }
        else if (Property == "Transparent")
            Item.Transparent = BooleanValue(Type);
        else if (Property == "Filepath")
            Item.Filepath = StringValue(Type);
        else
            SkipValue(Type, 0);
    }

    // "Picture.Data": the kind as a short string, then the picture's file ("TBitmap": with a
    // 4-byte size first). An unknown kind gives an empty picture; a bad picture is corruption.
    static TPicture ReadPicture(const std::uint8_t* Data, std::size_t Length)
    {
        TPicture Picture;
        if (Length == 0)
            return Picture;
        const std::size_t KindLength = Data[0];
        if (1 + KindLength > Length)
            Fail();
        const std::string Kind(reinterpret_cast<const char*>(Data + 1), KindLength);
        const std::uint8_t* Rest = Data + 1 + KindLength;
        std::size_t RestLength = Length - 1 - KindLength;
        TPictureKind Expected = TPictureKind::None;
        if (Kind == "TPNGObject")
            Expected = TPictureKind::Png;
        else if (Kind == "TBitmap")
        {
            Expected = TPictureKind::Bmp;
            if (RestLength < 4)
                Fail();
            const std::uint32_t Size = std::uint32_t(Rest[0]) | (std::uint32_t(Rest[1]) << 8) |
                                       (std::uint32_t(Rest[2]) << 16) | (std::uint32_t(Rest[3]) << 24);
            if (Size > RestLength - 4)
                Fail();
            Rest += 4;
            RestLength = Size;
            if (RestLength == 0)
                return Picture; // an empty bitmap
        }
        else
            return Picture;
        if (!Picture.Assign(std::vector<std::uint8_t>(Rest, Rest + RestLength)) || Picture.Kind() != Expected)
            Fail();
        return Picture;
    }

    // Steps over a value of a known type; an unknown type is corruption.
    void SkipValue(std::uint8_t Type, int Depth)
    {
        if (Depth > MaxSkipDepth)
            Fail();
        switch (Type)
        {
        case vaList:
            for (;;)
            {
                const std::uint8_t Inner = Byte();
                if (Inner == vaNull)
                    return;
                SkipValue(Inner, Depth + 1);
            }
        case vaInt8: Skip(1); return;
        case vaInt16: Skip(2); return;
        case vaInt32:
        case vaSingle: Skip(4); return;
        case vaExtended: Skip(10); return;
        case vaCurrency:
        case vaDate:
        case vaInt64:
        case vaDouble: Skip(8); return;
        case vaString:
        case vaIdent: Skip(Byte()); return;
        case vaFalse:
        case vaTrue:
        case vaNil: return;
        case vaBinary:
        case vaLString:
        case vaUTF8String: Skip(DWord()); return;
        case vaWString:
        {
            const std::uint32_t Count = DWord();
            if (Count > (FSize - FPos) / 2)
                Fail();
            Skip(std::size_t(Count) * 2);
            return;
        }
        case vaSet:
            while (!ShortString().empty())
            {}
            return;
        case vaCollection:
            for (;;)
            {
                std::uint8_t Inner = Byte();
                if (Inner == vaNull)
                    return;
                if (IsInteger(Inner))
                {
                    IntegerValue(Inner);
                    Inner = Byte();
                }
                if (Inner != vaList)
                    Fail();
                for (;;)
                {
                    const std::string Property = ShortString();
                    if (Property.empty())
                        break;
                    SkipValue(Byte(), Depth + 1);
                }
            }
        default: Fail();
        }
    }

    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

} // namespace

TLoadResult TImageListCollection::LoadFromStream(const std::vector<std::uint8_t>& Stream)
{
    Clear();
    std::vector<std::uint8_t> Filtered;
    const std::vector<std::uint8_t>* Source = &Stream;
    if (StreamFilter)
    {
        Filtered = StreamFilter(Stream);
        Source = &Filtered;
    }
    try
    {
        TVilReader Reader(Source->data(), Source->size());
        Reader.Read(*this);
    }
    catch (const TCorrupt&)
    {
        return {false, CorruptStreamText};
    }
    catch (const std::bad_alloc&)
    {
        return {false, CorruptStreamText};
    }
    return {};
}

TLoadResult TImageListCollection::LoadFromFile(const std::string& FileName)
{
    std::error_code Error;
    if (!std::filesystem::is_regular_file(FileName, Error))
        return {false, FileErrorText};
    std::ifstream In(FileName, std::ios::binary | std::ios::ate);
    if (!In)
        return {false, FileErrorText};
    const std::streamoff End = In.tellg();
    if (End < 0 || std::uintmax_t(End) > MaxVilFileSize)
        return {false, FileErrorText};
    std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(End));
    In.seekg(0);
    if (End > 0 && !In.read(reinterpret_cast<char*>(Bytes.data()), End))
        return {false, FileErrorText};
    return LoadFromStream(Bytes);
}

std::vector<std::uint8_t> vil::WrapItems(const std::vector<std::uint8_t>& Items)
{
    TVilWriter Body;
    Body.Raw("TPF0", 4);
    Body.ShortString(RootClassName);
    Body.ShortString("");
    Body.ShortString("List");
    Body.Byte(vaCollection);
    Body.Raw(Items.data(), Items.size());
    Body.Byte(vaNull); // end of the collection
    Body.Byte(vaNull); // end of the root's properties
    Body.Byte(vaNull); // no children

    TVilWriter File;
    File.ResourceHeader(static_cast<std::uint32_t>(Body.Bytes.size()));
    File.Raw(Body.Bytes.data(), Body.Bytes.size());
    return std::move(File.Bytes);
}

std::vector<std::uint8_t> TImageListCollection::SaveToStream() const
{
    TVilWriter Body;
    for (const auto& Item : FItems)
    {
        Body.Byte(vaList);
        Body.ShortString("Name");
        Body.String(Item->Name);
        const TPicture& Picture = Item->Picture();
        if (!Picture.Empty())
        {
            TVilWriter Data;
            if (Picture.Kind() == TPictureKind::Png)
                Data.ShortString("TPNGObject");
            else
            {
                Data.ShortString("TBitmap");
                Data.DWord(static_cast<std::uint32_t>(Picture.Bytes().size()));
            }
            Data.Raw(Picture.Bytes().data(), Picture.Bytes().size());
            Body.ShortString("Picture.Data");
            Body.Binary(Data.Bytes);
        }
        Body.ShortString("TileHeight");
        Body.Integer(Item->TileHeight());
        Body.ShortString("TileWidth");
        Body.Integer(Item->TileWidth());
        Body.ShortString("TransparentColor");
        Body.Integer(static_cast<std::int32_t>(Item->TransparentColor));
        Body.ShortString("Transparent");
        Body.Boolean(Item->Transparent);
        if (!Item->Filepath.empty())
        {
            Body.ShortString("Filepath");
            Body.String(Item->Filepath);
        }
        Body.Byte(vaNull); // end of the item
    }
    return WrapItems(Body.Bytes);
}

bool TImageListCollection::SaveToFile(const std::string& FileName) const
{
    const std::vector<std::uint8_t> Bytes = SaveToStream();
    std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
    if (!Out)
        return false;
    Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    Out.close();
    return !Out.fail();
}

} // namespace vm
