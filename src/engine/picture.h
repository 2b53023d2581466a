// A picture as stored in an image list: the bytes of a PNG or BMP file, decoded on demand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vm {

// Decoded pixels, rows top to bottom, packed ARGB (alpha in the top byte), pitch = Width.
struct TPixels
{
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Argb;
};

enum class TPictureKind
{
    None,
    Png,
    Bmp,
};

// Largest picture side accepted by the decoders; guards against hostile headers.
constexpr int MaxPictureSide = 8192;

bool DecodePng(const std::uint8_t* Data, std::size_t Size, TPixels& Out);
bool DecodeBmp(const std::uint8_t* Data, std::size_t Size, TPixels& Out);
bool EncodePng(const TPixels& Pixels, std::vector<std::uint8_t>& Out);
// Bottom-up BMP: 24-bit when every pixel is opaque, else 32-bit BITFIELDS with an alpha mask.
bool EncodeBmp(const TPixels& Pixels, std::vector<std::uint8_t>& Out);

class TPicture
{
public:
    // Takes the bytes of a PNG or BMP file; the kind is told by the file's signature. Returns
    // false (and leaves the picture empty) when the bytes are neither or cannot be decoded.
    bool Assign(std::vector<std::uint8_t> FileBytes);
    // Encodes the pixels as a PNG or BMP file and takes it. False for Kind None or bad pixels.
    bool AssignPixels(const TPixels& Pixels, TPictureKind Kind = TPictureKind::Png);
    bool LoadFromFile(const std::string& Path);
    void Clear();

    bool Empty() const { return FKind == TPictureKind::None; }
    TPictureKind Kind() const { return FKind; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The picture's own file, as stored.
    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }
    bool Decode(TPixels& Out) const;

private:
    TPictureKind FKind = TPictureKind::None;
    std::vector<std::uint8_t> FBytes;
    int FWidth = 0;
    int FHeight = 0;
};

} // namespace vm
