// The race screen's frame: the race while it runs.
#include "race/race_frame.h"

#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "race/race_screens.h"
#include "race/race_texts.h"
#include "race/start_arrows.h"
#include "shell/game.h"
#include "world/enemy_car.h"
#include "world/geometry.h"
#include "world/player.h"

#include <algorithm>

namespace vm {

namespace {

// The start lights and the "Level N" text for start tick T; at the green light the race starts.
void StartSequence(TGame& Game, bool Drawing)
{
    TRaceWorld& World = Game.World;
    const int T = Game.State.StateTicks;
    if (Drawing)
    {
        if (T > 0 && T < GreenTick)
            DrawRaceImage(Game, "svetophor", 300, 50, 255);
        if (T > 50 && T < GreenTick)
            DrawRaceImage(Game, "redlight", 286, 37, 255);
        if (T > 150 && T < GreenTick)
            DrawRaceImage(Game, "yellowlight", 360, 37, 255);
        if (T < 150)
        {
            const std::string Level = "Level " + std::to_string(Game.State.RaceNumber);
            Game.Font1.TextOutInverted(400 - Game.Font1.TextWidth(Level) / 2, 260, Level);
        }
    }
    if (T == 50 || T == 150)
        Game.PlaySoundIfOn("svet1");
    if (T == GreenTick)
        Game.PlaySoundIfOn("svet2");
    if (T > GreenTick - 1 && T < ArrowsGoneTick)
    {
        const int Alpha = 1505 - 5 * T;
        if (Drawing)
        {
            DrawRaceImage(Game, "svetophor", 300, 50, Alpha);
            DrawRaceImage(Game, "redlight", 286, 37, Alpha);
            DrawRaceImage(Game, "yellowlight", 360, 37, Alpha);
            DrawRaceImage(Game, "greenlight", 434, 38, Alpha);
        }
        if (TSprite* Arrows = Game.Race.FBegArrows)
            Arrows->SetAlpha(std::max(0, Arrows->Alpha() - 5));
    }
    if (T < GreenTick)
        for (int Slot = 0; Slot < World.FEnemyCount; ++Slot)
            if (TCar* Car = World.FEnemies[static_cast<std::size_t>(Slot)])
                Car->FSpeed = 0.0;
    if (T == GreenTick)
    {
        if (World.FPlayer != nullptr)
            World.FPlayer->Driving = true;
        Game.RaceTimer.SetEnabled(true);
        for (int Slot = 0; Slot < World.FEnemyCount; ++Slot)
            if (TCar* Car = World.FEnemies[static_cast<std::size_t>(Slot)])
                static_cast<TEnemyCar*>(Car)->Racing = true;
    }
    if (T == ArrowsGoneTick && Game.Race.FBegArrows != nullptr)
    {
        Game.Race.FBegArrows->Dead();
        Game.Race.FBegArrows = nullptr;
        Game.SpriteEngine.FreeDead();
    }
    if (T >= 0 && T <= ArrowsGoneTick)
        Game.State.StateTicks = T + 1;
}

} // namespace

bool ShowsWrongWay(const TPlayer& Player) { return Player.WrongWayMeter < -300 && Player.BackwardSpeed > 0; }

void ShiftWorldToCheckpoint(TRaceWorld& World, int Number)
{
    TPlayer* Player = World.FPlayer;
    if (Player == nullptr || Number < 1 ||
        Number > std::min(World.FCheckpointCount, TRaceWorld::MaxCheckpoints))
        return;
    const TCheckpoint& Check = World.FCheckpoints[static_cast<std::size_t>(Number)];
    std::array<TSprite*, TRaceWorld::MaxOpponents> Enemies{};
    const int Count = std::clamp(World.FEnemyCount, 0, TRaceWorld::MaxOpponents);
    for (int Slot = 0; Slot < Count; ++Slot)
        Enemies[static_cast<std::size_t>(Slot)] = World.FEnemies[static_cast<std::size_t>(Slot)];
    ShiftWorld(World.Engine, std::span<TSprite* const>(Enemies.data(), static_cast<std::size_t>(Count)),
               std::span<TCheckpoint>(
                   World.FCheckpoints.data() + 1,
                   static_cast<std::size_t>(std::min(World.FCheckpointCount, TRaceWorld::MaxCheckpoints))),
               Player->X() - Check.X, Player->Y() - Check.Y);
}

void PutBack(TGame& Game)
{
    TRaceWorld& World = Game.World;
    TPlayer* Player = World.FPlayer;
    if (Player == nullptr)
        return;
    Player->FHeading = -90.0;
    Player->FCourse = -90.0;
    Player->FSpeed = 0.0;
    Player->NextCheckpoint = Player->NextCheckpoint < 2 ? 1 : Player->NextCheckpoint - 1;
    ShiftWorldToCheckpoint(World, Player->NextCheckpoint);
    World.FWrecked = false;
    Player->Driving = true;
    Player->StartProtection();
    Player->WrongWayMeter = 0.0;
}

bool FinishCountdown(TGame& Game)
{
    if (!Game.World.FRaceFinished)
        return false;
    if (Game.State.PhaseTicks == FinishCountdownFrames)
    {
        Game.RaceTimer.SetEnabled(false);
        Game.EnterState(ssRaceOver);
        return true;
    }
    ++Game.State.PhaseTicks;
    return false;
}

bool OpenOverlayByKey(TGame& Game)
{
    TGameState& State = Game.State;
    if (State.TakeAction(acLeave))
    {
        Game.Sound3D.PlaySound("check2");
        Game.EnterState(ssRaceExitQuestion);
        return true;
    }
    const bool PauseKey = State.TakeAction(acPause);
    if (PauseKey || State.PauseRequested)
    {
        Game.Sound3D.PlaySound("check2");
        State.PauseRequested = false;
        Game.EnterState(ssPause);
        return true;
    }
    return false;
}

bool EndRaceFrame(TGame& Game, bool Drawing)
{
    if (Drawing)
        DrawRaceTexts(Game);
    Game.World.ShiftCheckpoints();
    const bool Finished = FinishCountdown(Game);
    if (Drawing)
        Game.Screen.EndScene();
    return Finished;
}

bool DrawAndMoveRace(TGame& Game)
{
    Game.Screen.Clear(0, 0, 0, 0);
    Game.SpriteEngine.FreeDead();
    const bool Drawing = Game.Screen.BeginScene();
    if (Drawing)
        Game.SpriteEngine.Draw();
    Game.SpriteEngine.Move(0.0f);
    return Drawing;
}

void RaceFrame(TGame& Game)
{
    TRaceWorld& World = Game.World;
    TGameState& State = Game.State;
    const bool Drawing = DrawAndMoveRace(Game);
    StartSequence(Game, Drawing);
    TPlayer* Player = World.FPlayer;
    if (Drawing && Player != nullptr && ShowsWrongWay(*Player))
        TextOutCentred(Game.Font3, 400, 290, "Wrong way!");
    if (EndRaceFrame(Game, Drawing))
        return;
    if (OpenOverlayByKey(Game))
        return;
    if (State.TakeAction(acHorn))
        Game.Sound3D.PlaySound("horn");
    if (Player != nullptr && Player->WrongWayMeter < -1000)
        PutBack(Game);
    if (World.FWrecked)
        Game.EnterState(ssWrecked);
}

} // namespace vm
