// The race screen's enter and leave routines: the race is built from nothing and torn down again.
#include "race/race_setup.h"

#include "engine/image_list.h"
#include "race/health_bar.h"
#include "race/hud_panel.h"
#include "race/radar_arrow.h"
#include "race/speed_arrow.h"
#include "race/start_arrows.h"
#include "shell/cursor.h"
#include "shell/game.h"
#include "world/enemy_car.h"
#include "world/finish_line.h"
#include "world/player.h"
#include "world/road_paint.h"
#include "world/road_part.h"
#include "world/starting_road.h"

#include <algorithm>
#include <cmath>

namespace vm {

namespace {

void SetRaceFonts(TGame& Game)
{
    Game.Font1.SetLook("Micra", 30, 1, 20, 20, 20);
    Game.Font2.SetLook("Micra", 8, 1, 20, 20, 20);
    Game.Font3.SetLook("Micra", 12, 1, 255, 0, 0);
}

void PlaceFinishLine(TGame& Game)
{
    TRaceWorld& World = Game.World;
    double X = 0.0, Y = 0.0;
    FinishLinePosition(World, X, Y);
    auto* Line = new TFinishLine(World, static_cast<float>(X), static_cast<float>(Y), 0.0);
    // A finished opponent stops racing; the player's finish stops the clock and keeps its time.
    Line->OnOpponentFinished = [](TCar& Opponent, int) { StopOpponent(Opponent); };
    Line->OnPlayerFinished = [&Game, Line] {
        Game.RaceTimer.SetEnabled(false);
        TRaceSession& Race = Game.Race;
        Race.FFinishPlace = std::max(1, Line->FFinishPlace);
        Race.FFinishMinutes = Line->FFinishMinutes;
        Race.FFinishSeconds = Line->FFinishSeconds;
        Race.FFinishHundredths = Line->FFinishHundredths;
        Race.FFinishTicks = Race.FRaceTicks;
    };
    Game.Race.FFinishLine = Line;
}

// Building the race, in the order the sprites must be made (later sprites move first among equals).
void BuildRace(TGame& Game)
{
    TRaceWorld& World = Game.World;
    TRaceSession& Race = Game.Race;
    const TRunDifficulty& Run = Game.Difficulty;

    new TPanel(World, 541, 0, 0);
    new TPanel(World, 0, 180, 1);
    // More opponents than the grid and the opponent table hold are never placed.
    const int Opponents =
        std::clamp(Run.FOpponentCount, 0, std::min(TRaceWorld::MaxOpponents, TRaceSession::GridSlots - 1));
    World.FCarCount = Opponents + 1;
    FillGridSlots(Race, World.FCarCount);
    World.BonusLeft = Run.FRaceBonus;
    World.FBonusSplitLow = Run.FBonusSplitLow;
    World.FBonusSplitHigh = Run.FBonusSplitHigh;
    Race.FViewAnchorX = 400.0;
    Race.FViewAnchorY = 460.0;
    World.FRoadX = Race.FViewAnchorX - Race.FStartX;
    World.FRoadY = Race.FViewAnchorY - Race.FStartY;
    Game.State.TimeMinutes = Run.FTimeLimitMinutes;
    Game.State.TimeSeconds = Run.FTimeLimitSeconds;
    Game.State.TimeHundredths = Run.FTimeLimitHundredths;

    auto* Player =
        new TPlayer(World, 396, 460, Game.Catalogues.FCarIndex, "player", -90.0, 0, Race.FCarStyle);
    World.FPlayer = Player;
    Race.FHealthBar = new TBar(World, 750, 240);
    for (int Slot = 1; Slot <= World.FCarCount; ++Slot)
    {
        const TGridSlot& S = Race.FGridSlots[static_cast<std::size_t>(Slot)];
        new TRoadPaint(World, static_cast<float>(World.FRoadX + S.X), static_cast<float>(World.FRoadY + S.Y),
                       0.0f, PaintGridMark, 0);
    }
    World.FEnemyCount = 0;
    World.FEnemies.fill(nullptr);
    for (int K = 0; K <= World.FCarCount - 2; ++K)
    {
        const TGridSlot& S = Race.FGridSlots[static_cast<std::size_t>(K + 1)];
        const int Model = World.Rng.Random(5);
        World.FEnemies[static_cast<std::size_t>(K)] = new TEnemyCar(
            World, World.FRoadX + S.X, World.FRoadY + S.Y + 50, Model, "enemy", K, -90.0, 0, K + 1);
    }

    GenerateCourse(World.Course, World.Rng, Game.Catalogues.SelectedTrack().DataFile, Run.FCourseLength,
                   Run.FSegmentMin, Run.FSegmentMax);
    CloseCourse(World.Course);
    InitPieceOffsets(World.Course);
    BuildGridRoad(World);
    PlaceCheckpoints(World);
    PlaceFinishLine(Game);
    new TRoadPaint(World, static_cast<float>(Race.FViewAnchorX - Race.FStartX),
                   static_cast<float>(Race.FViewAnchorY - Race.FStartY), 0.0f, PaintStartLine, 0);
    BuildFirstCoursePieces(World);
    new TSpeedArrow(World, 716, 472, Player->FTopSpeed, Player->FReverseLimit);
    new TRadarArrow(World, 704, 526);
    MeasureCheckpointDistances(World);
    World.FRaceFinished = false;
}

} // namespace

void FillGridSlots(TRaceSession& Race, int CarCount)
{
    for (int I = 1; I <= TRaceSession::GridSlots; ++I)
    {
        const bool Odd = I % 2 == 1;
        Race.FGridSlots[static_cast<std::size_t>(I)] = {Odd ? -70.0 : 70.0, Odd ? 100.0 * I : 100.0 * I + 40};
    }
    const TGridSlot& Own =
        Race.FGridSlots[static_cast<std::size_t>(std::clamp(CarCount, 1, TRaceSession::GridSlots))];
    Race.FStartX = Own.X;
    Race.FStartY = Own.Y + 50;
}

void PlaceCheckpoints(TRaceWorld& World)
{
    double X = World.FRoadX, Y = World.FRoadY - 150;
    const int Last = World.Course.CourseLast;
    int Count = 0;
    auto Add = [&](double CheckX, double CheckY) {
        if (Count >= TRaceWorld::MaxCheckpoints)
            return;
        ++Count;
        World.FCheckpoints[static_cast<std::size_t>(Count)] = {CheckX, CheckY, Count};
    };
    for (int I = 1; I <= Last; ++I)
    {
        const int Shift = World.Course.PieceShift(World.Course.CodeAt(I - 1));
        Add(X + Shift / 2.0, Y);
        Y -= PieceLength;
        X += Shift;
    }
    for (int I = 0; I < 8; ++I)
    {
        Add(X, Y);
        Y -= PieceLength;
    }
    World.FCheckpointCount = Count;
}

void FinishLinePosition(const TRaceWorld& World, double& X, double& Y)
{
    X = World.FRoadX;
    Y = World.FRoadY - 150;
    const int Last = World.Course.CourseLast;
    if (Last < 10)
    {
        Y = World.FRoadY - 600;
        return;
    }
    for (int I = 0; I < Last - 9; ++I)
    {
        Y -= PieceLength;
        X += World.Course.PieceShift(World.Course.CodeAt(I));
    }
    Y -= 450;
}

void MeasureCheckpointDistances(TRaceWorld& World)
{
    const int Count = std::min(World.FCheckpointCount, TRaceWorld::MaxCheckpoints);
    if (Count < 2)
        return;
    World.FCheckpointDistance[1] = 0.0;
    for (int I = 2; I <= Count; ++I)
    {
        const TCheckpoint& A = World.FCheckpoints[static_cast<std::size_t>(I - 1)];
        const TCheckpoint& B = World.FCheckpoints[static_cast<std::size_t>(I)];
        World.FCheckpointDistance[static_cast<std::size_t>(I)] =
            World.FCheckpointDistance[static_cast<std::size_t>(I - 1)] +
            std::hypot(B.X - A.X, B.Y - A.Y) / 10;
    }
}

void EnterRace(TGame& Game)
{
    TRaceWorld& World = Game.World;
    Game.State.ClearLatches();
    SetRaceFonts(Game);
    Game.State.ScreenState = ssRace;
    World.FNextPlace = 1;
    World.FResults.fill({});
    Game.Race.FScoreAtRaceBuild = Game.State.Score;
    Game.Race.FRaceTicks = 0;
    Game.Race.FFinishTicks = 0;
    BuildRace(Game);
    World.FPlayer->Health = 100;
    World.FWrecked = false;
    Game.State.StateTicks = 0;
    Game.State.PhaseTicks = 0;
    Game.Race.FBegArrows = new TBegArrows(World, 397, 423);
    Game.ShowCursor(false);
}

void LeaveRace(TGame& Game)
{
    TRaceWorld& World = Game.World;
    TRaceSession& Race = Game.Race;
    if (Race.FHealthBar != nullptr)
        Race.FHealthBar->RestoreImageHeight();
    for (int I = 0; I < Game.SpriteEngine.Count(); ++I)
    {
        TSprite* Sprite = Game.SpriteEngine.Sprites(I);
        const std::string& Name = Sprite->Name();
        if (Name != "cursor" && Name != "gp" && Name != "healthbar" && Name != "player")
            Sprite->Dead();
    }
    if (Race.FHealthBar != nullptr)
        Race.FHealthBar->Dead();
    if (World.FPlayer != nullptr)
        World.FPlayer->Dead();
    Game.SpriteEngine.FreeDead();
    World.FPlayer = nullptr;
    World.FEnemies.fill(nullptr);
    World.FEnemyCount = 0;
    World.FLastRoadPart = nullptr;
    Race.FHealthBar = nullptr;
    Race.FBegArrows = nullptr;
    Race.FFinishLine = nullptr;
    Game.Pages.Parts.FGameMenuScreen = nullptr;
    // Everything but the cursor went, the menu lights too if any were left.
    Game.Pages.Parts.FMenuLights.fill(nullptr);
}

} // namespace vm
