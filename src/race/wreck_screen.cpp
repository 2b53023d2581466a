// The wreck sequence: the car burns for 200 frames while the race goes on, then it is placed
// back on the road with a life less, or the run ends.
#include "race/race_frame.h"
#include "race/race_screens.h"
#include "race/race_texts.h"
#include "shell/game.h"
#include "world/explosion.h"
#include "world/player.h"

#include <algorithm>
#include <cmath>

namespace vm {

namespace {

constexpr int WreckFrames = 200;

// The car back on the road two checkpoints behind the nearest one, with a life less.
void Respawn(TGame& Game)
{
    TRaceWorld& World = Game.World;
    TPlayer* Player = World.FPlayer;
    if (Player == nullptr)
        return;
    const int Nearest = NearestCheckpoint(World, Player->X(), Player->Y());
    Player->FHeading = -90.0;
    Player->FCourse = -90.0;
    Player->FSpeed = 0.0;
    Player->Health = 100;
    ShiftWorldToCheckpoint(World, std::max(Nearest - 2, 1));
    --Game.State.Lives;
    World.FWrecked = false;
    Player->Driving = true;
    Player->StartProtection();
    Game.State.StateTicks = ArrowsGoneTick + 1;
    Game.State.ScreenState = ssRace;
}

} // namespace

int NearestCheckpoint(const TRaceWorld& World, double X, double Y)
{
    int Best = 1;
    double BestDistance = 1000000.0;
    const int Count = std::min(World.FCheckpointCount, TRaceWorld::MaxCheckpoints);
    for (int I = 1; I <= Count; ++I)
    {
        const TCheckpoint& C = World.FCheckpoints[static_cast<std::size_t>(I)];
        const double Distance = std::hypot(C.X - X, C.Y - Y);
        if (Distance < BestDistance)
        {
            BestDistance = Distance;
            Best = C.Number;
        }
    }
    return Best;
}

void EnterWreck(TGame& Game)
{
    TRaceWorld& World = Game.World;
    Game.State.ScreenState = ssWrecked;
    if (World.FPlayer != nullptr)
    {
        World.FPlayer->Driving = false;
        World.FPlayer->Health = 1;
    }
    Game.State.StateTicks = 0;
    new TExplose(World, 396, 430, ekWreck, TExplose::PlayerTarget);
}

void WreckFrame(TGame& Game)
{
    TGameState& State = Game.State;
    const bool Drawing = DrawAndMoveRace(Game);
    if (State.StateTicks >= 0 && State.StateTicks <= WreckFrames)
        ++State.StateTicks;
    if (EndRaceFrame(Game, Drawing))
        return;
    if (OpenOverlayByKey(Game))
        return;
    if (State.StateTicks == WreckFrames)
    {
        if (State.Lives < 2)
            Game.EnterState(ssGameOver);
        else
            Respawn(Game);
    }
}

} // namespace vm
