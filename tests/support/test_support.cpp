// Helpers shared by the test programs.
#include "support/test_support.h"

#include "engine/image_list.h"

#include <zlib.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <system_error>
#include <unistd.h>

namespace vm::test {

// ---- image lists ------------------------------------------------------------------------------

TTempDir::TTempDir()
{
    static std::atomic<unsigned> Counter{0};
    const auto Now = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string Name = "velomarch-test-" + std::to_string(::getpid()) + "-" + std::to_string(Now) +
                             "-" + std::to_string(Counter++);
    FPath = std::filesystem::temp_directory_path() / Name;
    std::filesystem::create_directories(FPath);
}

TTempDir::~TTempDir()
{
    std::error_code Error;
    std::filesystem::remove_all(FPath, Error);
}

TPixels MakeTestPixels(int Width, int Height, std::uint32_t Seed, bool Alpha)
{
    TPixels Pixels;
    Pixels.Width = Width;
    Pixels.Height = Height;
    Pixels.Argb.resize(std::size_t(Width) * std::size_t(Height));
    std::uint32_t State = Seed * 2654435761u + 12345u;
    for (std::uint32_t& P : Pixels.Argb)
    {
        State = State * 1664525u + 1013904223u;
        const std::uint32_t A = Alpha ? (State >> 24) : 0xFFu;
        P = (A << 24) | ((State >> 4) & 0x00FFFFFFu);
    }
    return Pixels;
}

TPixels MakeSolidPixels(int Width, int Height, std::uint32_t Argb)
{
    TPixels Pixels;
    Pixels.Width = Width;
    Pixels.Height = Height;
    Pixels.Argb.assign(std::size_t(Width) * std::size_t(Height), Argb);
    return Pixels;
}

std::vector<std::uint8_t> MakePngBytes(const TPixels& Pixels)
{
    std::vector<std::uint8_t> Bytes;
    EncodePng(Pixels, Bytes);
    return Bytes;
}

std::size_t PngChunkAt(const std::vector<std::uint8_t>& Png, const char* Type)
{
    for (std::size_t At = 8; At + 12 <= Png.size();)
    {
        const std::size_t Length =
            (std::size_t(Png[At]) << 24) | (Png[At + 1] << 16) | (Png[At + 2] << 8) | Png[At + 3];
        if (std::memcmp(Png.data() + At + 4, Type, 4) == 0)
            return At;
        At += 12 + Length;
    }
    return 0;
}

std::vector<std::uint8_t> ForgeUndecodablePng(std::vector<std::uint8_t> Png)
{
    const std::size_t Data = PngChunkAt(Png, "IDAT");
    if (Data == 0)
        return Png;
    const std::size_t Length =
        (std::size_t(Png[Data]) << 24) | (Png[Data + 1] << 16) | (Png[Data + 2] << 8) | Png[Data + 3];
    for (std::size_t I = 2; I < Length; ++I)
        Png[Data + 8 + I] = 0xFF;
    const auto Crc =
        static_cast<std::uint32_t>(crc32(0L, Png.data() + Data + 4, static_cast<uInt>(Length + 4)));
    for (int I = 0; I < 4; ++I)
        Png[Data + 8 + Length + I] = static_cast<std::uint8_t>(Crc >> (24 - 8 * I));
    return Png;
}

std::vector<std::uint8_t> MakeSmallVil()
{
    TImageListCollection Collection;
    TPixels Ball = MakeTestPixels(16, 8, 7, true);
    Ball.Argb[0] = 0xFFFF0000u; // one red texel for the colour key
    TPicture BallPicture;
    BallPicture.AssignPixels(Ball, TPictureKind::Png);
    TImageListItem* Item = Collection.Add("ball", BallPicture, 8, 8);
    Item->TransparentColor = 0x000000FFu; // clRed
    Item->Transparent = true;
    TPicture PanelPicture;
    PanelPicture.AssignPixels(MakeTestPixels(6, 4, 3), TPictureKind::Bmp);
    Collection.Add("panel", PanelPicture);
    return Collection.SaveToStream();
}

} // namespace vm::test
