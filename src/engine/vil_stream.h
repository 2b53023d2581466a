// The .vil image-list stream, internal parts: the typed-value codes and a writer of the
// component-stream primitives (used by TImageListCollection::SaveToStream and by tests that
// build unusual streams by hand).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vm::vil {

// Type bytes of the stream's typed values.
enum TValueType : std::uint8_t
{
    vaNull = 0x00,
    vaList = 0x01,
    vaInt8 = 0x02,
    vaInt16 = 0x03,
    vaInt32 = 0x04,
    vaExtended = 0x05,
    vaString = 0x06,
    vaIdent = 0x07,
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaBinary = 0x0A,
    vaSet = 0x0B,
    vaLString = 0x0C,
    vaNil = 0x0D,
    vaCollection = 0x0E,
    vaSingle = 0x0F,
    vaCurrency = 0x10,
    vaDate = 0x11,
    vaWString = 0x12,
    vaInt64 = 0x13,
    vaUTF8String = 0x14,
    vaDouble = 0x15,
};

inline constexpr const char* ResourceName = "TIMAGELISTCOLLECTIONCOMPONENT";
inline constexpr std::uint16_t ResourceFlags = 0x1030;
inline constexpr const char* RootClassName = "TImageListCollectionComponent";

// The value of a colour identifier such as "clRed" (0x00BBGGRR); none for an unknown name.
std::optional<std::uint32_t> ColorFromIdent(const std::string& Name);

// Appends little-endian component-stream pieces to a byte vector.
class TVilWriter
{
public:
    std::vector<std::uint8_t> Bytes;

    void Byte(std::uint8_t Value) { Bytes.push_back(Value); }
    void Word(std::uint16_t Value);
    void DWord(std::uint32_t Value);
    void Raw(const void* Data, std::size_t Size);
    // One length byte and at most 255 characters (longer text is cut).
    void ShortString(const std::string& Text);

    // Typed values.
    void Integer(std::int32_t Value);     // vaInt8, vaInt16 or vaInt32, the smallest that holds it
    void String(const std::string& Text); // vaString, or vaLString when longer than 255
    void Ident(const std::string& Name);
    void Boolean(bool Value);
    void Binary(const std::vector<std::uint8_t>& Data);

    // The resource header (0xFF, type 0x000A, name, flags, size of the data that follows).
    void ResourceHeader(std::uint32_t DataSize, const std::string& Name = ResourceName,
                        std::uint16_t Flags = ResourceFlags);
};

// A whole .vil file around the encoded items of the root's "List" collection (each item 0x01,
// its properties, 0x00): signature, root object, the collection's and root's end bytes, and
// the resource header in front.
std::vector<std::uint8_t> WrapItems(const std::vector<std::uint8_t>& Items);

} // namespace vm::vil
