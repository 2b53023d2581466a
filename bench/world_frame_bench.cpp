// Speed of one race frame of the world: a car driving the generated road with its ground, walls
// and decorations, moved and drawn by the sprite engine on a null device.
#include "engine/image_list.h"
#include "engine/message_box.h"
#include "engine/null_render_device.h"
#include "engine/random.h"
#include "engine/screen.h"
#include "engine/sprite_engine.h"
#include "shell/game_state.h"
#include "support/road_driver.h"
#include "vehicles/player.h"
#include "world/catalogue.h"
#include "world/starting_road.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace vm;

void BM_WorldFrame(benchmark::State& BenchState)
{
    TNullRenderDevice Device;
    TStderrMessageBox Messages;
    TScreen Screen(Device, Messages);
    Screen.Initialize();
    TImageList GameImages(&Screen), MenuImages(&Screen);
    if (!GameImages.LoadFromFile(std::string(VM_ASSET_DIR) + "/Data/data2.vil", &Messages))
    {
        BenchState.SkipWithError("no race pictures");
        return;
    }
    GameImages.LoadTextures();
    TSpriteEngine Engine(&Messages);
    TRandom Rng(7);
    TGameState State;
    State.ScreenState = ssRace;
    TCatalogues Catalogues;
    TRaceWorld World(Engine, GameImages, MenuImages, Rng, State, Catalogues);
    GenerateCourse(World.Course, Rng, "track.dat", 250, 5, 10);
    CloseCourse(World.Course);
    InitPieceOffsets(World.Course);
    World.FRoadX = 330;
    World.FRoadY = -30;
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
    World.FPlayer = Player;
    BuildGridRoad(World);
    test::PlaceTestCheckpoints(World);
    BuildFirstCoursePieces(World);
    Player->Driving = true;
    // Under way first, so the frame measured is a frame at speed with the road being extended.
    for (int Frame = 0; Frame < 300; ++Frame)
    {
        test::SteerAlongRoad(Engine, *Player, State);
        Engine.Move(1);
        Engine.FreeDead();
        World.ShiftCheckpoints();
    }
    for (auto _ : BenchState)
    {
        test::SteerAlongRoad(Engine, *Player, State);
        Engine.Move(1);
        Engine.FreeDead();
        World.ShiftCheckpoints();
        Screen.BeginScene();
        Engine.Draw();
        Screen.EndScene();
    }
    BenchState.counters["sprites"] = Engine.Count();
}
// A long course, so the road is still being built when the iterations end.
BENCHMARK(BM_WorldFrame)->Iterations(5000);

} // namespace

BENCHMARK_MAIN();
