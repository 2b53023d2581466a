// Walls along the road's edges.
#include "world/road_rock.h"

#include "engine/image_list.h"
#include "engine/sprite_engine.h"
#include "world/car.h"
#include "world/geometry.h"
#include "world/player.h"
#include "world/race_world.h"
#include "world/road_part.h"
#include "world/road_piece_kinds.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

namespace vm {

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;

bool CarTouches(const TCar& Car, const TQuadOutline& Wall)
{
    const auto& C = Car.FCorners;
    return QuadsOverlap(MakeQuadOutline(C[0].X, C[0].Y, C[1].X, C[1].Y, C[2].X, C[2].Y, C[3].X, C[3].Y),
                        Wall);
}

// The world jump that moves the player away from a wall: opponents, checkpoints and world sprites.
void ShiftRaceWorld(TRaceWorld& World, double Dx, double Dy)
{
    std::array<TSprite*, TRaceWorld::MaxOpponents> Enemies{};
    const int EnemyCount = std::clamp(World.FEnemyCount, 0, TRaceWorld::MaxOpponents);
    for (int I = 0; I < EnemyCount; ++I)
        Enemies[static_cast<std::size_t>(I)] = World.FEnemies[static_cast<std::size_t>(I)];
    const int CheckpointCount = std::clamp(World.FCheckpointCount, 0, TRaceWorld::MaxCheckpoints);
    ShiftWorld(
        World.Engine, std::span<TSprite* const>(Enemies.data(), static_cast<std::size_t>(EnemyCount)),
        std::span<TCheckpoint>(World.FCheckpoints).subspan(1, static_cast<std::size_t>(CheckpointCount)), Dx,
        Dy);
}

} // namespace

TRoadRock::TRoadRock(TRaceWorld& World, float X, float Y, int Kind, double WallAngle)
    : TWorldSprite(World.Engine), Kind(Kind), WallAngle(WallAngle), FWorld(World)
{
    SetZ(28);
    SetName("roadrock");
    SetImage(World.GameImages.ImageList.Find(Kind == WallDiagonal ? "wall2" : "wall1"));
    Angle = static_cast<float>(WallAngle);
    SetPatternIndex(0);
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
    CornerAngles = BoxCornerAngles(Width(), Height());
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
}

void TRoadRock::Move(float)
{
    ApplyWorldShift(*this, FWorld);
    UpdateCorners();
    CheckContacts();
    CheckLookAhead();
    if (Y() > 3000)
        Dead();
}

void TRoadRock::UpdateCorners()
{
    UpdateBoxCorners(*this, CornerAngles, Corners, FTurn);
    FOutline = MakeQuadOutline(Corners[0].X, Corners[0].Y, Corners[1].X, Corners[1].Y, Corners[2].X,
                               Corners[2].Y, Corners[3].X, Corners[3].Y);
}

void TRoadRock::CheckContacts()
{
    const int EnemyCount =
        std::clamp(FWorld.FEnemyCount, 0, std::min<int>(ContactSlots, TRaceWorld::MaxOpponents));
    for (int I = 0; I < EnemyCount; ++I)
    {
        const auto Slot = static_cast<std::size_t>(I);
        Contact[Slot] = false;
        const TCar* Car = FWorld.FEnemies[Slot];
        if (Car == nullptr)
            continue;
        // A coarse pre-test; its odd mix of corner and centre is wide enough never to reject a car
        // that touches a wall.
        const double Dx = X() - Car->X() + Car->Width() / 2.0;
        const double Dy = Y() - Car->Y() + Car->Height() / 2.0;
        if (std::sqrt(Dx * Dx + Dy * Dy) >= 150)
            continue;
        Contact[Slot] = CarTouches(*Car, FOutline);
    }
    for (int I = 0; I < EnemyCount; ++I)
    {
        const auto Slot = static_cast<std::size_t>(I);
        // The car may have been cleared from the table since the test above.
        if (Contact[Slot] && FWorld.FEnemies[Slot] != nullptr)
            HitCar(*FWorld.FEnemies[Slot], false);
    }
    // The player is always tested: the world moves under it, so it is never far in the sense above.
    PlayerContact = FWorld.FPlayer != nullptr && CarTouches(*FWorld.FPlayer, FOutline);
    if (PlayerContact)
        HitCar(*FWorld.FPlayer, true);
}

void TRoadRock::CheckLookAhead()
{
    // Half the side of the square a sensor watches.
    constexpr double Reach = 40.0;
    const int EnemyCount = std::clamp(FWorld.FEnemyCount, 0, TRaceWorld::MaxOpponents);
    for (int I = 0; I < EnemyCount; ++I)
    {
        TCar* Car = FWorld.FEnemies[static_cast<std::size_t>(I)];
        if (Car == nullptr)
            continue;
        const std::span<TLookAheadPoint> Sensors = Car->WallSensors();
        for (std::size_t K = 0; K < Sensors.size() && K < 2; ++K)
        {
            TLookAheadPoint& Point = Sensors[K];
            Point.Obstacle = false;
            if (BoxOverlapsQuad(Point.X - Reach, Point.Y - Reach, Point.X + Reach, Point.Y + Reach, FOutline))
                Point.Obstacle = true;
        }
    }
}

void TRoadRock::HitCar(TCar& Car, bool Player)
{
    const double S = Car.FSpeed;
    const double H = Car.FCourse * DegToRad;
    const double Wx = X() + Width() / 2.0, Wy = Y() + Height() / 2.0;
    const double Cx = Car.X() + Car.Width() / 2.0, Cy = Car.Y() + Car.Height() / 2.0;

    const double Vx = std::cos(H) * S, Vy = std::sin(H) * S;
    const double Ux = S != 0 ? Vx / S : 1.0, Uy = S != 0 ? Vy / S : 1.0;
    const double D = std::sqrt((Wx - Cx) * (Wx - Cx) + (Wy - Cy) * (Wy - Cy));
    const double Nx = D != 0 ? (Wx - Cx) / D : 1.0, Ny = D != 0 ? (Wy - Cy) / D : 1.0;

    const double Px = (std::abs(Ux / 2) + 0.5) * 2 * Nx;
    const double Py = (std::abs(Uy / 2) + 0.5) * 2 * Ny;
    const double WallRad = Angle * DegToRad;
    const double Q = Vx * std::sin(WallRad) + Vy * std::cos(WallRad);
    const double Turn = (2 - (Nx * Uy - Ny * Ux) * 2) * 2;
    const double Factor = (0.5 - Ux * Nx - Uy * Ny) / 2 + 0.7;

    if (Player)
        ShiftRaceWorld(FWorld, Px, Py); // the player's car stays put: the world moves instead
    else
    {
        Car.SetX(static_cast<float>(Car.X() - Px));
        Car.SetY(static_cast<float>(Car.Y() - Py));
    }
    const double Sign = Q >= 0 ? 1.0 : -1.0;
    Car.FHeading += Sign * Turn;
    Car.FCourse += Sign * Turn;
    Car.FSpeed = Factor * Car.FSpeed;
    // A wall never speeds a car up, forwards or backwards.
    if (S < Car.FSpeed)
        Car.FSpeed = S;
    if (S < 0 && Car.FSpeed < 0 && Car.FSpeed < S)
        Car.FSpeed = S;

    if (Player && FWorld.FPlayer != nullptr)
        // Rounded to the nearest whole point, halves to even (the default rounding mode).
        FWorld.FPlayer->Damage(static_cast<int>(std::nearbyint(3 * S)));
}

void PlaceWalls(TRaceWorld& World, int Kind, double X, double Y)
{
    const int Row = Kind >= 0 && Kind < static_cast<int>(WallPlaces.size()) ? Kind : PieceStraight;
    for (const TWallPlace& Wall : WallPlaces[static_cast<std::size_t>(Row)])
        new TRoadRock(World, static_cast<float>(X + Wall.Dx), static_cast<float>(Y + Wall.Dy), Wall.Kind,
                      Wall.Angle);
}

} // namespace vm
