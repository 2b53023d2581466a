// Pictures of image lists: PNG (libpng) and uncompressed BMP decoding, PNG and BMP encoding.
#include "engine/picture.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <limits>

namespace vm {

namespace {

constexpr std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Largest picture file read from disk.
constexpr std::uintmax_t MaxPictureFileSize = 512u * 1024u * 1024u;

// Deflate cannot expand one input byte into more than 1032 output bytes.
constexpr std::uint64_t MaxDeflateRatio = 1032;

std::uint32_t Be32(const std::uint8_t* P)
{
    return (std::uint32_t(P[0]) << 24) | (std::uint32_t(P[1]) << 16) | (std::uint32_t(P[2]) << 8) | P[3];
}

std::uint16_t Le16(const std::uint8_t* P) { return static_cast<std::uint16_t>(P[0] | (P[1] << 8)); }

std::uint32_t Le32(const std::uint8_t* P)
{
    return std::uint32_t(P[0]) | (std::uint32_t(P[1]) << 8) | (std::uint32_t(P[2]) << 16) |
           (std::uint32_t(P[3]) << 24);
}

std::int32_t LeI32(const std::uint8_t* P) { return static_cast<std::int32_t>(Le32(P)); }

bool IsPng(const std::uint8_t* Data, std::size_t Size)
{
    return Size >= sizeof(PngSignature) && std::memcmp(Data, PngSignature, sizeof(PngSignature)) == 0;
}

bool IsBmp(const std::uint8_t* Data, std::size_t Size)
{
    return Size >= 2 && Data[0] == 'B' && Data[1] == 'M';
}

// The PNG's IHDR, read before libpng sees the file: rejects pictures too large for MaxPictureSide
// and headers that promise more pixels than the compressed data could hold.
bool PngHeaderPlausible(const std::uint8_t* Data, std::size_t Size)
{
    if (Size < 8 + 8 + 13 || Be32(Data + 8) != 13 || std::memcmp(Data + 12, "IHDR", 4) != 0)
        return false;
    const std::uint64_t Width = Be32(Data + 16);
    const std::uint64_t Height = Be32(Data + 20);
    const int Depth = Data[24];
    int Channels = 0;
    switch (Data[25])
    {
    case 0: Channels = 1; break;
    case 2: Channels = 3; break;
    case 3: Channels = 1; break;
    case 4: Channels = 2; break;
    case 6: Channels = 4; break;
    default: return false;
    }
    if (Width < 1 || Height < 1 || Width > MaxPictureSide || Height > MaxPictureSide)
        return false;
    if (Depth != 1 && Depth != 2 && Depth != 4 && Depth != 8 && Depth != 16)
        return false;
    const std::uint64_t RowBytes = (Width * Channels * Depth + 7) / 8 + 1;
    return RowBytes * Height <= std::uint64_t(Size) * MaxDeflateRatio + 65536;
}

// The PNG's chunks, walked without inflating the pixels: each fits the file, the critical ones
// (and only those, as the decoder does) have a right CRC, IHDR comes first, an indexed picture has
// its palette before the data, and IEND closes the data. Gives the size from IHDR. A picture that
// passes can still fail to decode only when its compressed data itself was forged.
bool PngStructureValid(const std::uint8_t* Data, std::size_t Size, int& Width, int& Height)
{
    if (!PngHeaderPlausible(Data, Size))
        return false;
    const bool Indexed = Data[25] == 3;
    bool HavePalette = false;
    bool HaveData = false;
    std::size_t At = sizeof(PngSignature);
    for (bool First = true;; First = false)
    {
        if (Size - At < 12)
            return false;
        const std::uint32_t Length = Be32(Data + At);
        if (Length > 0x7FFFFFFFu || Size - At - 12 < Length)
            return false;
        const std::uint8_t* Type = Data + At + 4;
        const bool Critical = (Type[0] & 0x20) == 0;
        if (Critical)
        {
            const auto Crc = crc32(crc32(0L, Z_NULL, 0), Type, static_cast<uInt>(Length + 4));
            if (Crc != Be32(Type + 4 + Length))
                return false;
        }
        if (First != (std::memcmp(Type, "IHDR", 4) == 0))
            return false;
        if (std::memcmp(Type, "PLTE", 4) == 0)
            HavePalette = true;
        else if (std::memcmp(Type, "IDAT", 4) == 0)
        {
            if (Indexed && !HavePalette)
                return false;
            HaveData = true;
        }
        else if (std::memcmp(Type, "IEND", 4) == 0)
            break;
        At += 12 + std::size_t(Length);
    }
    if (!HaveData)
        return false;
    Width = static_cast<int>(Be32(Data + 16));
    Height = static_cast<int>(Be32(Data + 20));
    return true;
}

// Bits of a BMP channel mask: position of the lowest set bit and number of bits.
struct TMaskShift
{
    std::uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;
};

TMaskShift MaskOf(std::uint32_t Mask)
{
    TMaskShift M;
    M.Mask = Mask;
    if (Mask == 0)
        return M;
    // Bits up to the highest set one, so that a mask with holes cannot spill into other channels.
    M.Shift = std::countr_zero(Mask);
    M.Bits = std::bit_width(Mask >> M.Shift);
    return M;
}

// The masked channel scaled to 0..255; Default when the mask is empty.
std::uint32_t Channel(std::uint32_t Value, const TMaskShift& M, std::uint32_t Default)
{
    if (M.Mask == 0)
        return Default;
    std::uint32_t V = (Value & M.Mask) >> M.Shift;
    if (M.Bits >= 8)
        return V >> (M.Bits - 8);
    // Widen by repeating the bits (e.g. 5 bits 0x1F -> 0xFF).
    std::uint32_t Out = 0;
    int Have = 0;
    while (Have < 8)
    {
        Out = (Out << M.Bits) | V;
        Have += M.Bits;
    }
    return (Out >> (Have - 8)) & 0xFFu;
}

} // namespace

bool DecodePng(const std::uint8_t* Data, std::size_t Size, TPixels& Out)
{
    Out = TPixels{};
    if (Data == nullptr || !IsPng(Data, Size) || !PngHeaderPlausible(Data, Size))
        return false;

    // The simplified API keeps libpng's setjmp/longjmp inside libpng: no C++ frame is skipped.
    png_image Image;
    std::memset(&Image, 0, sizeof(Image));
    Image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&Image, Data, Size) == 0)
    {
        png_image_free(&Image);
        return false;
    }
    if (Image.width < 1 || Image.height < 1 || Image.width > std::uint32_t(MaxPictureSide) ||
        Image.height > std::uint32_t(MaxPictureSide))
    {
        png_image_free(&Image);
        return false;
    }
    // Bytes B, G, R, A in memory are one packed ARGB word on a little-endian machine.
    Image.format = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    TPixels Pixels;
    Pixels.Width = static_cast<int>(Image.width);
    Pixels.Height = static_cast<int>(Image.height);
    Pixels.Argb.assign(std::size_t(Pixels.Width) * std::size_t(Pixels.Height), 0u);
    const int Ok = png_image_finish_read(&Image, nullptr, Pixels.Argb.data(), 0, nullptr);
    png_image_free(&Image);
    if (Ok == 0)
        return false;
    Out = std::move(Pixels);
    return true;
}

bool DecodeBmp(const std::uint8_t* Data, std::size_t Size, TPixels& Out)
{
    Out = TPixels{};
    constexpr std::size_t FileHeaderSize = 14;
    if (Data == nullptr || !IsBmp(Data, Size) || Size < FileHeaderSize + 12)
        return false;
    const std::uint32_t OffBits = Le32(Data + 10);
    const std::uint32_t InfoSize = Le32(Data + 14);
    if (InfoSize < 12 || InfoSize > Size - FileHeaderSize)
        return false;
    const std::uint8_t* Info = Data + FileHeaderSize;

    std::int64_t Width = 0;
    std::int64_t Height = 0;
    int BitCount = 0;
    std::uint32_t Compression = 0;
    std::uint32_t ColorsUsed = 0;
    bool CoreHeader = false;
    if (InfoSize == 12)
    {
        // BITMAPCOREHEADER: 16-bit sizes, palette of 3-byte entries.
        CoreHeader = true;
        Width = Le16(Info + 4);
        Height = static_cast<std::int16_t>(Le16(Info + 6));
        BitCount = Le16(Info + 10);
    }
    else
    {
        if (InfoSize < 40)
            return false;
        Width = LeI32(Info + 4);
        Height = LeI32(Info + 8);
        BitCount = Le16(Info + 14);
        Compression = Le32(Info + 16);
        ColorsUsed = Le32(Info + 32);
    }
    if (Le16(Info + (CoreHeader ? 8 : 12)) != 1)
        return false; // planes
    const bool TopDown = Height < 0;
    if (TopDown)
        Height = -Height;
    if (Width < 1 || Height < 1 || Width > MaxPictureSide || Height > MaxPictureSide)
        return false;

    constexpr std::uint32_t BiRgb = 0, BiBitfields = 3, BiAlphaBitfields = 6;
    if (Compression != BiRgb && Compression != BiBitfields && Compression != BiAlphaBitfields)
        return false;
    if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 16 && BitCount != 24 && BitCount != 32)
        return false;
    if (Compression != BiRgb && BitCount != 16 && BitCount != 32)
        return false;

    // Channel masks.
    std::size_t AfterInfo = FileHeaderSize + InfoSize;
    TMaskShift R, G, B, A;
    bool AlphaFromBiRgb = false;
    if (Compression == BiRgb)
    {
        if (BitCount == 16)
        {
            R = MaskOf(0x7C00);
            G = MaskOf(0x03E0);
            B = MaskOf(0x001F);
        }
        else if (BitCount == 32)
        {
            R = MaskOf(0x00FF0000);
            G = MaskOf(0x0000FF00);
            B = MaskOf(0x000000FF);
            AlphaFromBiRgb = true; // alpha used only when some texel has it (else X8R8G8B8)
        }
    }
    else
    {
        const std::size_t MaskCount = Compression == BiAlphaBitfields ? 4 : 3;
        const std::uint8_t* Masks = nullptr;
        if (InfoSize >= 40 + 4 * MaskCount)
            Masks = Info + 40; // V2..V5 headers carry the masks themselves
        else
        {
            if (AfterInfo + 4 * MaskCount > Size)
                return false;
            Masks = Data + AfterInfo;
            AfterInfo += 4 * MaskCount;
        }
        R = MaskOf(Le32(Masks));
        G = MaskOf(Le32(Masks + 4));
        B = MaskOf(Le32(Masks + 8));
        if (MaskCount == 4 || InfoSize >= 56)
            A = MaskOf(Le32(Masks + 12));
        if (BitCount == 16)
        {
            R.Mask &= 0xFFFF;
            G.Mask &= 0xFFFF;
            B.Mask &= 0xFFFF;
            A.Mask &= 0xFFFF;
            R = MaskOf(R.Mask);
            G = MaskOf(G.Mask);
            B = MaskOf(B.Mask);
            A = MaskOf(A.Mask);
        }
    }

    // Palette.
    std::uint32_t Palette[256];
    std::size_t PaletteCount = 0;
    if (BitCount <= 8)
    {
        const std::size_t Max = std::size_t(1) << BitCount;
        PaletteCount = ColorsUsed == 0 || ColorsUsed > Max ? Max : ColorsUsed;
        const std::size_t EntrySize = CoreHeader ? 3 : 4;
        if (AfterInfo + PaletteCount * EntrySize > Size)
        {
            // Some writers leave out unused entries: take what is there before the pixels.
            const std::size_t Room = (OffBits > AfterInfo && OffBits <= Size ? OffBits : Size) - AfterInfo;
            PaletteCount = std::min(PaletteCount, Room / EntrySize);
        }
        for (std::size_t I = 0; I < PaletteCount; ++I)
        {
            const std::uint8_t* E = Data + AfterInfo + I * EntrySize;
            Palette[I] = 0xFF000000u | (std::uint32_t(E[2]) << 16) | (std::uint32_t(E[1]) << 8) | E[0];
        }
    }

    const std::uint64_t Stride = ((std::uint64_t(Width) * BitCount + 31) / 32) * 4;
    const std::uint64_t PixelBytes = Stride * std::uint64_t(Height);
    std::uint64_t PixelOffset = OffBits;
    if (PixelOffset < AfterInfo || PixelOffset > Size)
        return false;
    if (PixelOffset + PixelBytes > Size)
        return false;

    TPixels Pixels;
    Pixels.Width = static_cast<int>(Width);
    Pixels.Height = static_cast<int>(Height);
    Pixels.Argb.assign(std::size_t(Width) * std::size_t(Height), 0u);
    bool AnyAlpha = false;
    for (std::int64_t Y = 0; Y < Height; ++Y)
    {
        const std::uint8_t* Row = Data + PixelOffset + std::uint64_t(Y) * Stride;
        const std::int64_t DestY = TopDown ? Y : Height - 1 - Y;
        std::uint32_t* Dest = Pixels.Argb.data() + DestY * Width;
        for (std::int64_t X = 0; X < Width; ++X)
        {
            std::uint32_t Argb = 0;
            switch (BitCount)
            {
            case 1:
            case 4:
            case 8:
            {
                const std::uint64_t Bit = std::uint64_t(X) * BitCount;
                const std::uint8_t Byte = Row[Bit / 8];
                const int Shift = 8 - BitCount - int(Bit % 8);
                const std::uint32_t Index = (Byte >> Shift) & ((1u << BitCount) - 1);
                Argb = Index < PaletteCount ? Palette[Index] : 0xFF000000u;
                break;
            }
            case 16:
            {
                const std::uint32_t V = Le16(Row + X * 2);
                Argb = (Channel(V, A, 0xFF) << 24) | (Channel(V, R, 0) << 16) | (Channel(V, G, 0) << 8) |
                       Channel(V, B, 0);
                break;
            }
            case 24:
            {
                const std::uint8_t* P = Row + X * 3;
                Argb = 0xFF000000u | (std::uint32_t(P[2]) << 16) | (std::uint32_t(P[1]) << 8) | P[0];
                break;
            }
            case 32:
            {
                const std::uint32_t V = Le32(Row + X * 4);
                if (AlphaFromBiRgb)
                {
                    Argb = V;
                    AnyAlpha = AnyAlpha || (V >> 24) != 0;
                }
                else
                    Argb = (Channel(V, A, 0xFF) << 24) | (Channel(V, R, 0) << 16) | (Channel(V, G, 0) << 8) |
                           Channel(V, B, 0);
                break;
            }
            }
            Dest[X] = Argb;
        }
    }
    // A 32-bit BI_RGB file whose fourth bytes are all zero is X8R8G8B8: opaque.
    if (AlphaFromBiRgb && !AnyAlpha)
        for (std::uint32_t& P : Pixels.Argb)
            P |= 0xFF000000u;
    Out = std::move(Pixels);
    return true;
}

// Pixels an encoder accepts: a sensible size whose buffer matches it.
static bool Encodable(const TPixels& Pixels)
{
    return Pixels.Width >= 1 && Pixels.Height >= 1 && Pixels.Width <= MaxPictureSide &&
           Pixels.Height <= MaxPictureSide &&
           Pixels.Argb.size() == std::size_t(Pixels.Width) * std::size_t(Pixels.Height);
}

static bool IsOpaque(const TPixels& Pixels)
{
    return std::all_of(Pixels.Argb.begin(), Pixels.Argb.end(),
                       [](std::uint32_t P) { return (P >> 24) == 0xFF; });
}

bool EncodePng(const TPixels& Pixels, std::vector<std::uint8_t>& Out)
{
    Out.clear();
    if (!Encodable(Pixels))
        return false;
    const bool Opaque = IsOpaque(Pixels);

    // Bytes in the order R, G, B (, A): the same on any machine.
    const std::size_t Channels = Opaque ? 3 : 4;
    std::vector<std::uint8_t> Buffer(Pixels.Argb.size() * Channels);
    for (std::size_t I = 0; I < Pixels.Argb.size(); ++I)
    {
        const std::uint32_t P = Pixels.Argb[I];
        std::uint8_t* D = Buffer.data() + I * Channels;
        D[0] = static_cast<std::uint8_t>(P >> 16);
        D[1] = static_cast<std::uint8_t>(P >> 8);
        D[2] = static_cast<std::uint8_t>(P);
        if (!Opaque)
            D[3] = static_cast<std::uint8_t>(P >> 24);
    }

    png_image Image;
    std::memset(&Image, 0, sizeof(Image));
    Image.version = PNG_IMAGE_VERSION;
    Image.width = static_cast<png_uint_32>(Pixels.Width);
    Image.height = static_cast<png_uint_32>(Pixels.Height);
    Image.format = Opaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    png_alloc_size_t Needed = 0;
    if (png_image_write_to_memory(&Image, nullptr, &Needed, 0, Buffer.data(), 0, nullptr) == 0 || Needed == 0)
    {
        png_image_free(&Image);
        return false;
    }
    Out.resize(Needed);
    png_alloc_size_t Written = Needed;
    const int Ok = png_image_write_to_memory(&Image, Out.data(), &Written, 0, Buffer.data(), 0, nullptr);
    png_image_free(&Image);
    if (Ok == 0)
    {
        Out.clear();
        return false;
    }
    Out.resize(Written);
    return true;
}

bool EncodeBmp(const TPixels& Pixels, std::vector<std::uint8_t>& Out)
{
    Out.clear();
    if (!Encodable(Pixels))
        return false;
    const bool Opaque = IsOpaque(Pixels);
    const std::uint32_t InfoSize = Opaque ? 40 : 108; // BITMAPINFOHEADER or BITMAPV4HEADER with masks
    const std::uint32_t BitCount = Opaque ? 24 : 32;
    const std::uint32_t Stride = ((std::uint32_t(Pixels.Width) * BitCount + 31) / 32) * 4;
    const std::uint32_t ImageSize = Stride * std::uint32_t(Pixels.Height);
    const std::uint32_t OffBits = 14 + InfoSize;
    Out.assign(OffBits + ImageSize, 0);
    auto Put16 = [&](std::size_t At, std::uint32_t V) {
        Out[At] = static_cast<std::uint8_t>(V);
        Out[At + 1] = static_cast<std::uint8_t>(V >> 8);
    };
    auto Put32 = [&](std::size_t At, std::uint32_t V) {
        for (int I = 0; I < 4; ++I)
            Out[At + I] = static_cast<std::uint8_t>(V >> (8 * I));
    };
    Out[0] = 'B';
    Out[1] = 'M';
    Put32(2, OffBits + ImageSize);
    Put32(10, OffBits);
    Put32(14, InfoSize);
    Put32(18, std::uint32_t(Pixels.Width));
    Put32(22, std::uint32_t(Pixels.Height)); // bottom-up
    Put16(26, 1);
    Put16(28, BitCount);
    Put32(30, Opaque ? 0 : 3); // BI_RGB or BI_BITFIELDS
    Put32(34, ImageSize);
    Put32(38, 2835); // 72 DPI
    Put32(42, 2835);
    if (!Opaque)
    {
        Put32(54, 0x00FF0000);
        Put32(58, 0x0000FF00);
        Put32(62, 0x000000FF);
        Put32(66, 0xFF000000);
        Put32(70, 0x73524742); // 'sRGB'
    }
    for (int Y = 0; Y < Pixels.Height; ++Y)
    {
        const std::uint32_t* Src = Pixels.Argb.data() + std::size_t(Pixels.Height - 1 - Y) * Pixels.Width;
        std::uint8_t* Row = Out.data() + OffBits + std::size_t(Y) * Stride;
        for (int X = 0; X < Pixels.Width; ++X)
        {
            const std::uint32_t P = Src[X];
            if (Opaque)
            {
                Row[X * 3] = static_cast<std::uint8_t>(P);
                Row[X * 3 + 1] = static_cast<std::uint8_t>(P >> 8);
                Row[X * 3 + 2] = static_cast<std::uint8_t>(P >> 16);
            }
            else
                for (int I = 0; I < 4; ++I)
                    Row[X * 4 + I] = static_cast<std::uint8_t>(P >> (8 * I));
        }
    }
    return true;
}

bool TPicture::Assign(std::vector<std::uint8_t> FileBytes)
{
    Clear();
    TPictureKind Kind = TPictureKind::None;
    int Width = 0;
    int Height = 0;
    if (IsPng(FileBytes.data(), FileBytes.size()))
    {
        // The pixels are inflated once, when the texture is made; here only the structure is checked.
        if (!PngStructureValid(FileBytes.data(), FileBytes.size(), Width, Height))
            return false;
        Kind = TPictureKind::Png;
    }
    else if (IsBmp(FileBytes.data(), FileBytes.size()))
    {
        TPixels Pixels;
        if (!DecodeBmp(FileBytes.data(), FileBytes.size(), Pixels))
            return false;
        Kind = TPictureKind::Bmp;
        Width = Pixels.Width;
        Height = Pixels.Height;
    }
    else
        return false;
    FKind = Kind;
    FBytes = std::move(FileBytes);
    FWidth = Width;
    FHeight = Height;
    return true;
}

bool TPicture::AssignPixels(const TPixels& Pixels, TPictureKind Kind)
{
    Clear();
    std::vector<std::uint8_t> Bytes;
    if (Kind == TPictureKind::Png   ? !EncodePng(Pixels, Bytes)
        : Kind == TPictureKind::Bmp ? !EncodeBmp(Pixels, Bytes)
                                    : true)
        return false;
    FKind = Kind;
    FBytes = std::move(Bytes);
    FWidth = Pixels.Width;
    FHeight = Pixels.Height;
    return true;
}

bool TPicture::LoadFromFile(const std::string& Path)
{
    Clear();
    std::ifstream In(Path, std::ios::binary | std::ios::ate);
    if (!In)
        return false;
    const std::streamoff End = In.tellg();
    if (End <= 0 || std::uintmax_t(End) > MaxPictureFileSize)
        return false;
    std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(End));
    In.seekg(0);
    if (!In.read(reinterpret_cast<char*>(Bytes.data()), End))
        return false;
    return Assign(std::move(Bytes));
}

void TPicture::Clear()
{
    FKind = TPictureKind::None;
    FBytes.clear();
    FBytes.shrink_to_fit();
    FWidth = 0;
    FHeight = 0;
}

bool TPicture::Decode(TPixels& Out) const
{
    switch (FKind)
    {
    case TPictureKind::Png: return DecodePng(FBytes.data(), FBytes.size(), Out);
    case TPictureKind::Bmp: return DecodeBmp(FBytes.data(), FBytes.size(), Out);
    case TPictureKind::None: break;
    }
    Out = TPixels{};
    return false;
}

} // namespace vm
