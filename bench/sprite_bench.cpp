// Speed of one game frame's sprite work: Move and Draw of 400 image sprites on a null device.
#include "engine/image_list.h"
#include "engine/message_box.h"
#include "engine/null_render_device.h"
#include "engine/picture.h"
#include "engine/screen.h"
#include "engine/sprite.h"
#include "engine/sprite_engine.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace vm;

// Drifts a little every frame and turns, like a world sprite under a moving car.
class TDriftSprite : public TSprite
{
public:
    TDriftSprite(TSpriteEngine& Engine, float Step) : TSprite(Engine), FStep(Step) {}
    void Move(float) override
    {
        SetX(X() + FStep);
        SetY(Y() + 0.5f);
        if (Y() > 640.0f)
            SetY(-40.0f);
        if (X() > 840.0f || X() < -40.0f)
            FStep = -FStep;
        Angle += 1.5f;
    }

private:
    float FStep;
};

TImageListItem* MakeCarItem(TImageList& List)
{
    TPixels Pixels;
    Pixels.Width = 64;
    Pixels.Height = 32;
    Pixels.Argb.assign(64 * 32, 0xFF3080C0u);
    std::vector<std::uint8_t> Png;
    EncodePng(Pixels, Png);
    TPicture Picture;
    Picture.Assign(std::move(Png));
    TImageListItem* Item = List.ImageList.Add();
    Item->Name = "car";
    Item->SetPicture(std::move(Picture));
    Item->SetTileWidth(32);
    Item->SetTileHeight(32);
    List.LoadTextures();
    return Item;
}

void BM_MoveAndDraw400(benchmark::State& State)
{
    TNullRenderDevice Device;
    TStderrMessageBox Messages;
    TScreen Screen(Device, Messages);
    TImageList List(&Screen);
    Screen.Initialize();
    TImageListItem* Item = MakeCarItem(List);
    TSpriteEngine Engine(&Messages);
    for (int I = 0; I < 400; ++I)
    {
        auto* S = new TDriftSprite(Engine, 0.25f + (I % 7) * 0.1f);
        S->SetImage(Item);
        S->SetX(static_cast<float>((I * 37) % 800));
        S->SetY(static_cast<float>((I * 53) % 600));
        S->SetZ(I % 5);
        S->SetPatternIndex(I % 2);
        S->RotCenterX = 0.5f;
        S->RotCenterY = 0.5f;
    }
    for (auto _ : State)
    {
        Screen.BeginScene();
        Engine.Move(0.0f);
        Engine.Draw();
        Screen.EndScene();
    }
    benchmark::DoNotOptimize(Device.FQuads);
    State.counters["quads/frame"] =
        benchmark::Counter(static_cast<double>(Device.FQuads) / static_cast<double>(State.iterations()));
}
BENCHMARK(BM_MoveAndDraw400)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
