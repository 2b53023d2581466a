// Pictures: PNG and BMP decoding (all uncompressed BMP layouts), encoding, hostile headers.
#include "engine/picture.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>

namespace vm {
namespace {

using test::MakePngBytes;
using test::MakeTestPixels;

void Put16(std::vector<std::uint8_t>& B, std::size_t At, std::uint32_t V)
{
    B[At] = std::uint8_t(V);
    B[At + 1] = std::uint8_t(V >> 8);
}

void Put32(std::vector<std::uint8_t>& B, std::size_t At, std::uint32_t V)
{
    for (int I = 0; I < 4; ++I)
        B[At + I] = std::uint8_t(V >> (8 * I));
}

// A hand-made BMP: Value(x, y) is the raw pixel value (palette index, or the packed value for 16,
// 24 and 32 bits) of the picture's row y counted from the top.
struct TBmpSpec
{
    int Width = 3;
    int Height = 2;
    int BitCount = 24;
    bool TopDown = false;
    std::uint32_t Compression = 0;
    std::vector<std::uint32_t> Masks;   // written after a 40-byte header (BI_BITFIELDS)
    std::vector<std::uint32_t> Palette; // 0x00RRGGBB
    int InfoSize = 40;                  // 12 for the core header
    std::function<std::uint32_t(int, int)> Value;
};

std::vector<std::uint8_t> BuildBmp(const TBmpSpec& S)
{
    const std::size_t EntrySize = S.InfoSize == 12 ? 3 : 4;
    const std::size_t HeaderBytes = 14 + S.InfoSize + S.Masks.size() * 4 + S.Palette.size() * EntrySize;
    const std::size_t Stride = ((std::size_t(S.Width) * S.BitCount + 31) / 32) * 4;
    std::vector<std::uint8_t> B(HeaderBytes + Stride * S.Height, 0);
    B[0] = 'B';
    B[1] = 'M';
    Put32(B, 2, std::uint32_t(B.size()));
    Put32(B, 10, std::uint32_t(HeaderBytes));
    Put32(B, 14, std::uint32_t(S.InfoSize));
    if (S.InfoSize == 12)
    {
        Put16(B, 18, std::uint32_t(S.Width));
        Put16(B, 20, std::uint32_t(S.TopDown ? -S.Height : S.Height));
        Put16(B, 22, 1);
        Put16(B, 24, std::uint32_t(S.BitCount));
    }
    else
    {
        Put32(B, 18, std::uint32_t(S.Width));
        Put32(B, 22, std::uint32_t(S.TopDown ? -S.Height : S.Height));
        Put16(B, 26, 1);
        Put16(B, 28, std::uint32_t(S.BitCount));
        Put32(B, 30, S.Compression);
        Put32(B, 46, std::uint32_t(S.Palette.size()));
    }
    std::size_t At = 14 + S.InfoSize;
    for (std::uint32_t M : S.Masks)
    {
        Put32(B, At, M);
        At += 4;
    }
    for (std::uint32_t C : S.Palette)
    {
        B[At] = std::uint8_t(C);
        B[At + 1] = std::uint8_t(C >> 8);
        B[At + 2] = std::uint8_t(C >> 16);
        At += EntrySize;
    }
    for (int Y = 0; Y < S.Height; ++Y)
    {
        const int FileRow = S.TopDown ? Y : S.Height - 1 - Y;
        std::uint8_t* Row = B.data() + HeaderBytes + std::size_t(FileRow) * Stride;
        for (int X = 0; X < S.Width; ++X)
        {
            const std::uint32_t V = S.Value(X, Y);
            if (S.BitCount < 8)
            {
                const int Bit = X * S.BitCount;
                Row[Bit / 8] |= std::uint8_t(V << (8 - S.BitCount - Bit % 8));
            }
            else
                for (int I = 0; I < S.BitCount / 8; ++I)
                    Row[X * (S.BitCount / 8) + I] = std::uint8_t(V >> (8 * I));
        }
    }
    return B;
}

TPixels DecodeBmpOrFail(const std::vector<std::uint8_t>& Bytes)
{
    TPixels Out;
    EXPECT_TRUE(DecodeBmp(Bytes.data(), Bytes.size(), Out));
    return Out;
}

std::uint32_t At(const TPixels& P, int X, int Y) { return P.Argb[std::size_t(Y) * P.Width + X]; }

TEST(Png, EncodeDecodeKeepsEveryPixelWithAndWithoutAlpha)
{
    for (bool Alpha : {false, true})
    {
        const TPixels In = MakeTestPixels(37, 21, 5, Alpha);
        std::vector<std::uint8_t> Bytes;
        ASSERT_TRUE(EncodePng(In, Bytes));
        TPixels Out;
        ASSERT_TRUE(DecodePng(Bytes.data(), Bytes.size(), Out));
        EXPECT_EQ(Out.Width, 37);
        EXPECT_EQ(Out.Height, 21);
        EXPECT_EQ(Out.Argb, In.Argb) << "alpha " << Alpha;
    }
}

TEST(Png, RejectsTruncatedDataAtEveryLength)
{
    const std::vector<std::uint8_t> Bytes = MakePngBytes(MakeTestPixels(9, 7, 2, true));
    for (std::size_t Length = 0; Length < Bytes.size(); ++Length)
    {
        // A cut before IEND (the last 12 bytes) must fail cleanly.
        TPixels Out;
        const bool Ok = DecodePng(Bytes.data(), Length, Out);
        if (Length < Bytes.size() - 12)
        {
            EXPECT_FALSE(Ok) << Length;
        }
        if (!Ok)
        {
            EXPECT_TRUE(Out.Argb.empty());
        }
    }
}

// IHDR with a valid CRC for any width and height, then IEND: a header that promises pixels the
// file does not hold.
std::vector<std::uint8_t> PngHeaderOnly(std::uint32_t Width, std::uint32_t Height)
{
    std::vector<std::uint8_t> Good = MakePngBytes(MakeTestPixels(1, 1));
    std::vector<std::uint8_t> B(33 + 12, 0);
    std::copy(Good.begin(), Good.begin() + 33, B.begin());
    auto Be = [&](std::size_t I, std::uint32_t V) {
        B[I] = std::uint8_t(V >> 24);
        B[I + 1] = std::uint8_t(V >> 16);
        B[I + 2] = std::uint8_t(V >> 8);
        B[I + 3] = std::uint8_t(V);
    };
    Be(16, Width);
    Be(20, Height);
    // CRC-32 over type and data of IHDR.
    std::uint32_t Crc = 0xFFFFFFFFu;
    for (std::size_t I = 12; I < 29; ++I)
    {
        Crc ^= B[I];
        for (int K = 0; K < 8; ++K)
            Crc = (Crc >> 1) ^ (0xEDB88320u & (0u - (Crc & 1u)));
    }
    Be(29, ~Crc);
    const std::uint8_t Iend[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    std::copy(std::begin(Iend), std::end(Iend), B.begin() + 33);
    return B;
}

TEST(Png, RejectsPicturesLargerThanMaxSideAndHeadersWithoutData)
{
    TPixels Out;
    std::vector<std::uint8_t> Big = PngHeaderOnly(MaxPictureSide + 1, 4);
    EXPECT_FALSE(DecodePng(Big.data(), Big.size(), Out));
    Big = PngHeaderOnly(4, 0x7FFFFFFF);
    EXPECT_FALSE(DecodePng(Big.data(), Big.size(), Out));
    // Within the side limit but far more pixels than 45 bytes could inflate to.
    Big = PngHeaderOnly(MaxPictureSide, MaxPictureSide);
    EXPECT_FALSE(DecodePng(Big.data(), Big.size(), Out));
    EXPECT_FALSE(DecodePng(nullptr, 0, Out));
}

TEST(Bmp, DecodesPaletteBitDepthsBottomUpAndTopDown)
{
    const std::vector<std::uint32_t> Palette16 = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xABCDEF,
                                                  0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112,
                                                  0x131415, 0x161718, 0x191A1B, 0xFFFFFF};
    for (int BitCount : {1, 4, 8})
        for (bool TopDown : {false, true})
        {
            TBmpSpec S;
            S.Width = 13; // rows end inside a byte and need padding
            S.Height = 3;
            S.BitCount = BitCount;
            S.TopDown = TopDown;
            const int Colors = 1 << std::min(BitCount, 4);
            S.Palette.assign(Palette16.begin(), Palette16.begin() + Colors);
            S.Value = [&](int X, int Y) { return std::uint32_t((X + 3 * Y) % Colors); };
            const TPixels P = DecodeBmpOrFail(BuildBmp(S));
            ASSERT_EQ(P.Width, 13);
            ASSERT_EQ(P.Height, 3);
            for (int Y = 0; Y < 3; ++Y)
                for (int X = 0; X < 13; ++X)
                    ASSERT_EQ(At(P, X, Y), 0xFF000000u | Palette16[(X + 3 * Y) % Colors])
                        << BitCount << " bits, top-down " << TopDown << " at " << X << "," << Y;
        }
}

TEST(Bmp, DecodesTrueColourLayouts)
{
    auto Rgb = [](int X, int Y) { return std::uint32_t(0x102030 + X * 0x010000 + Y * 0x000101); };
    for (bool TopDown : {false, true})
    {
        TBmpSpec S;
        S.Width = 5; // 15 bytes a row: padded to 16
        S.Height = 4;
        S.TopDown = TopDown;
        S.BitCount = 24;
        S.Value = Rgb;
        TPixels P = DecodeBmpOrFail(BuildBmp(S));
        for (int Y = 0; Y < 4; ++Y)
            for (int X = 0; X < 5; ++X)
                ASSERT_EQ(At(P, X, Y), 0xFF000000u | Rgb(X, Y));

        // 32-bit BI_RGB with the fourth bytes zero: opaque (X8R8G8B8).
        S.BitCount = 32;
        P = DecodeBmpOrFail(BuildBmp(S));
        EXPECT_EQ(At(P, 2, 1), 0xFF000000u | Rgb(2, 1));

        // 32-bit BI_BITFIELDS with masks in an unusual order (R in the low byte) and alpha unmasked.
        S.Compression = 3;
        S.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
        S.Value = [](int X, int Y) { return std::uint32_t(0x00C08040 + X + 16 * Y); };
        P = DecodeBmpOrFail(BuildBmp(S));
        EXPECT_EQ(At(P, 3, 2), 0xFF000000u | (std::uint32_t(0x40 + 3 + 32) << 16) | 0x8000u | 0xC0u);

        // 16-bit 5-6-5.
        S.BitCount = 16;
        S.Masks = {0xF800, 0x07E0, 0x001F};
        S.Value = [](int, int) { return std::uint32_t(0xF81F); }; // full red and blue, no green
        P = DecodeBmpOrFail(BuildBmp(S));
        EXPECT_EQ(At(P, 4, 3), 0xFFFF00FFu);

        // A red mask with holes reads up to its highest bit and spills into no other channel.
        S.BitCount = 32;
        S.Masks = {0x0F0F0000, 0x0000FF00, 0x000000FF};
        S.Value = [](int, int) { return std::uint32_t(0x0F0F0000); };
        P = DecodeBmpOrFail(BuildBmp(S));
        EXPECT_EQ(At(P, 0, 0), 0xFFF00000u);
    }
}

TEST(Bmp, CoreHeaderWithThreeBytepalette)
{
    TBmpSpec S;
    S.InfoSize = 12;
    S.BitCount = 8;
    S.Palette = {0x112233, 0x445566};
    S.Value = [](int X, int) { return std::uint32_t(X % 2); };
    const TPixels P = DecodeBmpOrFail(BuildBmp(S));
    EXPECT_EQ(At(P, 0, 0), 0xFF112233u);
    EXPECT_EQ(At(P, 1, 1), 0xFF445566u);
}

TEST(Bmp, EncodeDecodeKeepsPixelsAndAlpha)
{
    for (bool Alpha : {false, true})
    {
        const TPixels In = MakeTestPixels(11, 6, 9, Alpha);
        std::vector<std::uint8_t> Bytes;
        ASSERT_TRUE(EncodeBmp(In, Bytes));
        const TPixels Out = DecodeBmpOrFail(Bytes);
        EXPECT_EQ(Out.Argb, In.Argb) << "alpha " << Alpha;
    }
}

TEST(Bmp, RejectsTruncatedOversizedAndCompressedFiles)
{
    std::vector<std::uint8_t> Bytes;
    ASSERT_TRUE(EncodeBmp(MakeTestPixels(7, 5, 4, true), Bytes));
    TPixels Out;
    for (std::size_t Length = 0; Length < Bytes.size(); ++Length)
        EXPECT_FALSE(DecodeBmp(Bytes.data(), Length, Out)) << Length;

    TBmpSpec S;
    S.Value = [](int, int) { return 0u; };
    std::vector<std::uint8_t> Big = BuildBmp(S);
    Put32(Big, 18, MaxPictureSide + 1);
    EXPECT_FALSE(DecodeBmp(Big.data(), Big.size(), Out));
    Put32(Big, 18, 3);
    Put32(Big, 22, 0x80000000u); // the most negative height
    EXPECT_FALSE(DecodeBmp(Big.data(), Big.size(), Out));
    Put32(Big, 22, 2);
    Put32(Big, 30, 1); // RLE8
    EXPECT_FALSE(DecodeBmp(Big.data(), Big.size(), Out));
    Put32(Big, 30, 0);
    Put32(Big, 10, 0xFFFFFFF0u); // pixel offset past the end
    EXPECT_FALSE(DecodeBmp(Big.data(), Big.size(), Out));
}

TEST(Picture, AssignTellsTheKindBySignatureAndRejectsOtherBytes)
{
    TPicture Picture;
    EXPECT_TRUE(Picture.Empty());
    ASSERT_TRUE(Picture.Assign(MakePngBytes(MakeTestPixels(5, 3))));
    EXPECT_EQ(Picture.Kind(), TPictureKind::Png);
    EXPECT_EQ(Picture.Width(), 5);
    EXPECT_EQ(Picture.Height(), 3);

    std::vector<std::uint8_t> Bmp;
    ASSERT_TRUE(EncodeBmp(MakeTestPixels(4, 2), Bmp));
    ASSERT_TRUE(Picture.Assign(Bmp));
    EXPECT_EQ(Picture.Kind(), TPictureKind::Bmp);
    EXPECT_EQ(Picture.Bytes(), Bmp);

    EXPECT_FALSE(Picture.Assign({'G', 'I', 'F', '8', '9', 'a'}));
    EXPECT_TRUE(Picture.Empty());
    std::vector<std::uint8_t> Broken = MakePngBytes(MakeTestPixels(5, 3));
    Broken.resize(Broken.size() - 20);
    EXPECT_FALSE(Picture.Assign(Broken));
    EXPECT_TRUE(Picture.Empty());
    EXPECT_EQ(Picture.Width(), 0);
    TPixels Out;
    EXPECT_FALSE(Picture.Decode(Out));
}

// A picture's size is known without decoding it, yet damage anywhere in its chunks is refused at once.
TEST(Picture, AssignChecksEveryChunkWithoutDecoding)
{
    const std::vector<std::uint8_t> Good = MakePngBytes(MakeTestPixels(70, 9, 4));
    TPicture Picture;
    ASSERT_TRUE(Picture.Assign(Good));
    EXPECT_EQ(Picture.Width(), 70);
    EXPECT_EQ(Picture.Height(), 9);
    const std::size_t Data = test::PngChunkAt(Good, "IDAT");
    ASSERT_NE(Data, 0u);

    std::vector<std::uint8_t> Flipped = Good;
    Flipped[Data + 8 + 3] ^= 0x10; // one bit of the compressed pixels
    EXPECT_FALSE(Picture.Assign(Flipped));
    EXPECT_TRUE(Picture.Empty());

    std::vector<std::uint8_t> NoEnd = Good;
    NoEnd.resize(test::PngChunkAt(Good, "IEND")); // cut exactly before the closing chunk
    EXPECT_FALSE(Picture.Assign(NoEnd));
    for (std::size_t Cut = 8; Cut < Good.size(); Cut += 7)
        EXPECT_FALSE(Picture.Assign(std::vector<std::uint8_t>(Good.begin(), Good.begin() + Cut))) << Cut;

    // Data whose checksum was forged to match passes the walk, and fails only when decoded.
    const std::vector<std::uint8_t> Forged = test::ForgeUndecodablePng(Good);
    ASSERT_TRUE(Picture.Assign(Forged));
    TPixels Out;
    EXPECT_FALSE(Picture.Decode(Out));
}

TEST(Picture, AssignPixelsAndLoadFromFile)
{
    const TPixels In = MakeTestPixels(6, 6, 11, true);
    TPicture Picture;
    ASSERT_TRUE(Picture.AssignPixels(In, TPictureKind::Bmp));
    TPixels Out;
    ASSERT_TRUE(Picture.Decode(Out));
    EXPECT_EQ(Out.Argb, In.Argb);
    EXPECT_FALSE(Picture.AssignPixels(In, TPictureKind::None));
    EXPECT_FALSE(Picture.AssignPixels(TPixels{}, TPictureKind::Png));

    test::TTempDir Dir;
    const std::vector<std::uint8_t> Png = MakePngBytes(In);
    {
        std::ofstream File(Dir.File("p.png"), std::ios::binary);
        File.write(reinterpret_cast<const char*>(Png.data()), std::streamsize(Png.size()));
    }
    ASSERT_TRUE(Picture.LoadFromFile(Dir.File("p.png")));
    EXPECT_EQ(Picture.Kind(), TPictureKind::Png);
    EXPECT_FALSE(Picture.LoadFromFile(Dir.File("missing.png")));
    EXPECT_TRUE(Picture.Empty());
}

} // namespace
} // namespace vm
