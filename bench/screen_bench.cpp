// A typical race screen on the offscreen OpenGL renderer: two full-screen layers and ~300 sprites.
#include "engine/image_list.h"
#include "engine/screen.h"
#include "engine/sprite.h"
#include "engine/sprite_engine.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_video.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace vm {
namespace {

TImageListItem* AddItem(TImageList& List, const char* Name, int W, int H, int TileW, int TileH,
                        std::uint32_t Seed)
{
    TPixels P;
    P.Width = W;
    P.Height = H;
    P.Argb.resize(static_cast<std::size_t>(W) * H);
    for (std::size_t I = 0; I < P.Argb.size(); ++I)
        P.Argb[I] = 0xFF000000u | static_cast<std::uint32_t>((I * 2654435761u) ^ Seed);
    std::vector<std::uint8_t> Png;
    EncodePng(P, Png);
    TImageListItem* Item = List.ImageList.Add();
    Item->Name = Name;
    TPicture Picture;
    Picture.Assign(std::move(Png));
    Item->SetPicture(std::move(Picture));
    Item->SetTileWidth(TileW);
    Item->SetTileHeight(TileH);
    return Item;
}

// Moves every sprite a little each frame, as the race world does.
class TDrifter : public TSprite
{
public:
    using TSprite::TSprite;
    void Move(float) override
    {
        SetY(Y() + 1.5f > 640 ? -40 : Y() + 1.5f);
        Angle += 0.5f;
    }
};

void BM_RaceScreenOnOpenGL(benchmark::State& State)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    TSdlVideo Video;
    std::string Error;
    if (!Video.Open(true, Error))
    {
        State.SkipWithError(Error.c_str());
        return;
    }
    TSdlMessageBox Messages(Video.Window());
    TScreen Screen(Video.Device(), Messages);
    auto List = std::make_unique<TImageList>(&Screen);
    TImageListItem* Ground = AddItem(*List, "back", 800, 300, 0, 0, 1);
    TImageListItem* Car = AddItem(*List, "car", 120, 70, 40, 70, 2);
    TImageListItem* Rock = AddItem(*List, "rock", 256, 32, 32, 32, 3);
    Screen.Initialize();
    Screen.SetLinearFilter(true);
    {
        TSpriteEngine Engine(&Messages);
        // Two full-screen layers of ground, then 300 sprites of mixed kinds above.
        for (int Layer = 0; Layer < 2; ++Layer)
            for (int Row = 0; Row < 3; ++Row)
            {
                auto* S = new TSprite(Engine);
                S->SetImage(Ground);
                S->SetY(Row * 300.0f - 150);
                S->SetZ(Layer);
                S->ScaleY = 1.1f;
            }
        for (int I = 0; I < 300; ++I)
        {
            auto* S = new TDrifter(Engine);
            S->SetImage(I % 3 == 0 ? Car : Rock);
            S->SetPatternIndex(I % 7);
            S->SetX(static_cast<float>((I * 37) % 780));
            S->SetY(static_cast<float>((I * 53) % 600));
            S->SetZ(10 + I % 5);
            S->RotCenterX = S->RotCenterY = 0.5f;
            S->BlendMode = I % 10 == 0 ? 2 : 0;
        }
        for (auto _ : State)
        {
            Screen.Clear(0, 0, 0, 0);
            Screen.BeginScene();
            Engine.Move(0);
            Engine.Draw();
            Screen.EndScene();
        }
    }
    List.reset();
}
BENCHMARK(BM_RaceScreenOnOpenGL)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
} // namespace vm

BENCHMARK_MAIN();
