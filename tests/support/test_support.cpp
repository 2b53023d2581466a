// Helpers shared by the test programs.
#include "support/test_support.h"

#include "engine/image_list.h"

#include <atomic>
#include <chrono>
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
