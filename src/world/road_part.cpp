// Road pieces, building the road ahead, and the pickup draws of a new piece.
#include "world/road_part.h"

#include "engine/image_list.h"
#include "engine/random.h"
#include "state/game_state.h"
#include "world/bonus.h"
#include "world/car.h"
#include "world/geometry.h"
#include "world/ground_point.h"
#include "world/player.h"
#include "world/race_world.h"
#include "world/road_back.h"
#include "world/road_paint.h"
#include "world/road_piece_kinds.h"
#include "world/road_rock.h"

#include <algorithm>
#include <string>

namespace vm {

namespace {

// Sets OnRoad of a probe whose 4 x 4 square overlaps the road outline. A probe another piece has
// marked this frame needs no test: nothing here clears the flag.
void MarkProbe(TGroundPoint* Point, const TQuadOutline& Road)
{
    if (Point == nullptr || Point->OnRoad)
        return;
    const double Px = Point->X(), Py = Point->Y();
    if (BoxOverlapsQuad(Px - 2, Py - 2, Px + 2, Py + 2, Road))
        Point->OnRoad = true;
}

} // namespace

TRoadPart::TRoadPart(TRaceWorld& World, float X, float Y, int Kind, bool WithPickup)
    : TWorldSprite(World.Engine), Kind(Kind), FWorld(World)
{
    SetZ(20);

    // Ground tiles, 800 pixels wide, wherever this kind of piece leaves the screen uncovered.
    const int Terrain = World.Course.TerrainAt(World.FNextPiece);
    const double TileY = static_cast<double>(Y) - 300;
    auto Tile = [&](double Dx) {
        new TRoadBack(World, static_cast<float>(X + Dx), static_cast<float>(TileY), Terrain);
    };
    switch (Kind)
    {
    case PieceLeft:
    case PieceRight: Tile(-800), Tile(800), Tile(-1600), Tile(0); break;
    case PieceStraightRight:
    case PieceRightStraight: Tile(-800), Tile(-1600), Tile(0); break;
    case PieceStraightLeft:
    case PieceLeftStraight: Tile(-800), Tile(800), Tile(0); break;
    default: // straights, and an unknown kind, which is drawn as a straight
        Tile(-800), Tile(0);
        break;
    }

    const TPieceKind& Row = PieceKindOf(Kind);
    SetImage(World.GameImages.ImageList.Find(std::string(Row.ImageKey)));
    SetName(std::string(Row.SpriteName));
    Angle = 0;
    SetPatternIndex(0);
    HalfWidth = Row.HalfWidth;

    PlaceWalls(World, Kind, X, Y);
    PlaceDecorations(World, Kind, X, Y);
    if (WithPickup)
    {
        const TPickupPlacement Pickup = PlacePickup(World, X, Y);
        if (Pickup.Placed)
            new TBonus(World, static_cast<float>(Pickup.X), static_cast<float>(Pickup.Y), Pickup.Kind);
    }

    // An unknown kind (a damaged course) uses the straight's offsets, as its image does.
    const int OffsetRow = Kind >= 0 && Kind < PieceKindCount ? Kind : PieceStraight;
    const TPieceOffsets& Offsets = World.Course.PieceOffsets[static_cast<std::size_t>(OffsetRow)];
    EntryOffset = Offsets.EntryOffset;
    ExitOffset = Offsets.ExitOffset;
    SetX(static_cast<float>(X - EntryOffset));
    SetY(static_cast<float>(static_cast<double>(Y) - 300));
}

void TRoadPart::Move(float)
{
    ApplyWorldShift(*this, FWorld);
    MarkOnRoad();
    // The topmost piece stays even far below the screen: the road ahead is built on top of it, and
    // the race keeps a plain pointer to it.
    if (Y() > 3000 && FWorld.FLastRoadPart != this)
        Dead();
}

void TRoadPart::MarkOnRoad()
{
    // The road outline: upper edge around the exit offset, lower edge around the entry offset.
    const double Top = Y(), Bottom = Y() + Height();
    const TQuadOutline Road =
        MakeQuadOutline(X() + ExitOffset - HalfWidth, Top, X() + EntryOffset - HalfWidth, Bottom,
                        X() + EntryOffset + HalfWidth, Bottom, X() + ExitOffset + HalfWidth, Top);
    if (TPlayer* Player = FWorld.FPlayer)
    {
        MarkProbe(Player->FFrontPoint, Road);
        MarkProbe(Player->FCenterPoint, Road);
    }
    const int EnemyCount = std::clamp(FWorld.FEnemyCount, 0, TRaceWorld::MaxOpponents);
    for (int I = 0; I < EnemyCount; ++I)
    {
        TCar* Car = FWorld.FEnemies[static_cast<std::size_t>(I)];
        if (Car == nullptr)
            continue;
        if (Car->Y() < 600)
        {
            MarkProbe(Car->FFrontPoint, Road);
            MarkProbe(Car->FCenterPoint, Road);
        }
        else
        {
            // Far down the screen nobody sees the car: it counts as on the road without a test.
            if (Car->FFrontPoint != nullptr)
                Car->FFrontPoint->OnRoad = true;
            if (Car->FCenterPoint != nullptr)
                Car->FCenterPoint->OnRoad = true;
        }
    }
}

void ExtendRoad(TRaceWorld& World)
{
    if (World.State.ScreenState != ssRace && World.State.ScreenState != ssWrecked)
        return;
    TRoadPart* Last = World.FLastRoadPart;
    if (Last == nullptr || Last->Y() < -300)
        return; // the topmost piece's upper edge is still well above the screen
    const int CourseLast = World.Course.CourseLast;
    if (World.FNextPiece <= CourseLast)
    {
        // No pickups on the last twelve positions: the run-out beyond the finish stays clear.
        const bool WithPickup = World.FNextPiece < CourseLast - 11;
        const float X = static_cast<float>(Last->X() + Last->ExitOffset);
        World.FLastRoadPart =
            new TRoadPart(World, X, Last->Y(), World.Course.CodeAt(World.FNextPiece), WithPickup);
        ++World.FNextPiece;
    }
}

TPickupPlacement PlacePickup(TRaceWorld& World, double X, double Y)
{
    TPickupPlacement Result;
    if (World.Rng.Random(30) < 16)
        return Result; // 14 pieces in 30 get a pickup
    const int Dx = World.Rng.Random(200);
    const int Dy = World.Rng.Random(200);
    Result.Kind = DrawPickupKind(World.Rng, World.FBonusSplitLow, World.FBonusSplitHigh);
    Result.Placed = true;
    Result.X = X - 100 + Dx;
    Result.Y = Y - 100 + Dy;
    return Result;
}

void ApplyWorldShift(TSprite& Sprite, const TRaceWorld& World)
{
    const TPlayer* Player = World.FPlayer;
    if (Player == nullptr)
        return;
    // Each step is rounded to a float as the position would be after its own SetX/SetY; setting
    // only the result leaves the sprite as the two calls did (the setters derive everything from the
    // new value and the size).
    const float ShiftedX = static_cast<float>(Sprite.X() + Player->FShiftX);
    const float ShiftedY = static_cast<float>(Sprite.Y() + Player->FShiftY);
    Sprite.SetX(static_cast<float>(ShiftedX + Player->FPushX));
    Sprite.SetY(static_cast<float>(ShiftedY + Player->FPushY));
}

} // namespace vm
