// Walls: the table per piece kind, contacts with the opponents and the player, and the hit itself.
#include "world_fixture.h"

#include "world/player.h"
#include "world/road_paint.h"
#include "world/road_rock.h"

#include <cmath>
#include <numbers>
#include <span>

namespace vm::test {
namespace {

using RoadRockTest = WorldTest;

double WallCentreX(const TRoadRock& Wall) { return Wall.X() + Wall.Width() / 2.0; }
double WallCentreY(const TRoadRock& Wall) { return Wall.Y() + Wall.Height() / 2.0; }

// Moves Car so that its tile centre is (Cx, Cy) and recomputes its outline.
void CentreCar(TCar& Car, double Cx, double Cy)
{
    Car.SetX(static_cast<float>(Cx - Car.Width() / 2.0));
    Car.SetY(static_cast<float>(Cy - Car.Height() / 2.0));
    Car.UpdateCorners();
}

TEST_F(RoadRockTest, EachPieceKindGetsItsFourWalls)
{
    struct TSpot
    {
        int PieceKind, Wall;
        double Angle;
        int Kind; // a TWallKind
        double Dy, Dx;
    };
    const TSpot Spots[] = {
        {0, 0, 0, 0, -75, 250},     {0, 3, 180, 0, -225, -250}, {1, 1, -35, 1, -230, 144},
        {2, 2, 215, 1, -81, -250},  {3, 1, 186, 0, -225, -243}, {3, 3, 30, 1, -229, 321},
        {4, 3, 150, 1, -229, -321}, {5, 0, 0, 0, -225, 321},    {5, 3, 212, 1, -77, -255},
        {6, 1, 174, 0, -75, -312},  {6, 2, -10, 0, -229, 192},
    };
    for (const TSpot& Spot : Spots)
    {
        SCOPED_TRACE(testing::Message() << "piece " << Spot.PieceKind << " wall " << Spot.Wall);
        for (TSprite* Old : All<TSprite>())
            Old->Dead();
        Engine.FreeDead();
        PlaceWalls(World, Spot.PieceKind, 1000, 2000);
        const auto Walls = All<TRoadRock>();
        ASSERT_EQ(Walls.size(), 4u);
        const TRoadRock& Wall = *Walls[static_cast<std::size_t>(Spot.Wall)];
        EXPECT_EQ(Wall.Kind, Spot.Kind);
        EXPECT_EQ(Wall.Image(), Images.ImageList.Find(Spot.Kind == WallStraight ? "wall1" : "wall2"));
        EXPECT_DOUBLE_EQ(Wall.WallAngle, Spot.Angle);
        EXPECT_FLOAT_EQ(Wall.Angle, static_cast<float>(Spot.Angle));
        EXPECT_NEAR(WallCentreX(Wall), 1000 + Spot.Dx, 1e-3);
        EXPECT_NEAR(WallCentreY(Wall), 2000 + Spot.Dy, 1e-3);
        EXPECT_EQ(Wall.Z(), 28);
        EXPECT_EQ(Wall.Name(), "roadrock");
    }
}

TEST_F(RoadRockTest, OutlineIsTheTurnedTile)
{
    auto* Wall = new TRoadRock(World, 500, 400, WallStraight, 90);
    Wall->UpdateCorners();
    // A quarter turn swaps the tile's sides about its centre.
    const double HalfW = Wall->Width() / 2.0, HalfH = Wall->Height() / 2.0;
    double MinX = 1e9, MaxX = -1e9, MinY = 1e9, MaxY = -1e9;
    for (const TBoxCorner& C : Wall->Corners)
    {
        MinX = std::min(MinX, C.X), MaxX = std::max(MaxX, C.X);
        MinY = std::min(MinY, C.Y), MaxY = std::max(MaxY, C.Y);
    }
    EXPECT_NEAR(MinX, 500 - HalfH, 1e-3);
    EXPECT_NEAR(MaxX, 500 + HalfH, 1e-3);
    EXPECT_NEAR(MinY, 400 - HalfW, 1e-3);
    EXPECT_NEAR(MaxY, 400 + HalfW, 1e-3);
}

TEST_F(RoadRockTest, CarAtTheWallCentreIsPushedTurnedAndSlowed)
{
    auto* Wall = new TRoadRock(World, 500, 400, WallStraight, 0);
    auto* Car = new TCar(World, 0, 0, 1, "enemy", -90, 0, 0);
    CentreCar(*Car, 500, 400);
    Car->FSpeed = 4;
    Car->FCourse = Car->FHeading = 0; // travelling right: u = (1, 0)
    Wall->HitCar(*Car, false);
    // d = 0: the normal is (1, 1); push (|1/2| + 0.5) x 2 = 2 in x and (0 + 0.5) x 2 = 1 in y.
    EXPECT_NEAR(Car->X() + Car->Width() / 2.0, 498, 1e-4);
    EXPECT_NEAR(Car->Y() + Car->Height() / 2.0, 399, 1e-4);
    // q = 4 x sin 0 + 0 >= 0: turned by (2 - (1 x 0 - 1 x 1) x 2) x 2 = 8 degrees.
    EXPECT_DOUBLE_EQ(Car->FHeading, 8);
    EXPECT_DOUBLE_EQ(Car->FCourse, 8);
    // f = (0.5 - 1) / 2 + 0.7 = 0.45.
    EXPECT_DOUBLE_EQ(Car->FSpeed, 4 * 0.45);
}

TEST_F(RoadRockTest, WallsNeverSpeedACarUp)
{
    auto* Wall = new TRoadRock(World, 500, 400, WallStraight, 0);
    auto* Car = new TCar(World, 0, 0, 1, "enemy", -90, 0, 0);
    // Reversing into the wall from its right: u = (1, 0), n = (-1, 0), f = (0.5 + 1) / 2 + 0.7 = 1.45
    // would make it faster backwards.
    CentreCar(*Car, 520, 400);
    Car->FSpeed = -1.5;
    Car->FCourse = Car->FHeading = 0;
    Wall->HitCar(*Car, false);
    EXPECT_DOUBLE_EQ(Car->FSpeed, -1.5);
    // Forwards, heading away from the wall centre: f = 1.45 again, clamped to the speed before.
    CentreCar(*Car, 480, 400);
    Car->FSpeed = 3;
    Car->FCourse = Car->FHeading = 180;
    Wall->HitCar(*Car, false);
    EXPECT_DOUBLE_EQ(Car->FSpeed, 3);
}

TEST_F(RoadRockTest, PlayerIsPushedThroughTheWorldAndDamagedBySpeed)
{
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
    World.FPlayer = Player;
    auto* Other = new TRoadPaint(World, 100, 100, 0, PaintGridMark, 0);
    World.FCheckpoints[1] = {10, 20, 1};
    World.FCheckpointCount = 1;
    // An upright wall over the right side of the player's car (a wall centred on the car would
    // cross it like a plus sign, with no corner of either inside the other).
    auto* Wall = new TRoadRock(World, 396 + 25, 460, WallStraight, 0);
    Wall->UpdateCorners();
    const float PlayerX = Player->X(), WallX = Wall->X(), OtherX = Other->X();

    // Standing still: pushed, but no damage and still no speed.
    Player->FSpeed = 0;
    Wall->CheckContacts();
    EXPECT_TRUE(Wall->PlayerContact);
    EXPECT_EQ(Player->Health, 100);
    EXPECT_EQ(Player->FSpeed, 0);
    EXPECT_EQ(Player->X(), PlayerX); // the player's car stays put...
    // ...the world moves instead, away from the wall: n = (1, 0), u = (1, 1) at speed 0, push (2, 0).
    EXPECT_FLOAT_EQ(Wall->X() - WallX, 2);
    EXPECT_FLOAT_EQ(Other->X() - OtherX, Wall->X() - WallX);
    EXPECT_DOUBLE_EQ(World.FCheckpoints[1].X - 10, Wall->X() - WallX);

    // Moving at 2.5: 3 x 2.5 = 7.5 rounds to 8 (halves to even).
    Wall->SetX(static_cast<float>(Player->X() + Player->Width() / 2.0 + 25 - Wall->Width() / 2.0));
    Wall->UpdateCorners();
    Player->FSpeed = 2.5;
    Player->FCourse = Player->FHeading = -90;
    Wall->CheckContacts();
    ASSERT_TRUE(Wall->PlayerContact);
    EXPECT_EQ(Player->Health, 92);
}

TEST_F(RoadRockTest, OnlyNearOpponentsAreTestedButThePlayerAlways)
{
    auto* Wall = new TRoadRock(World, 500, 400, WallStraight, 0);
    Wall->UpdateCorners();
    auto* Player = new TPlayer(World, 396, 2000, 0, "player", -90, 0);
    auto* Near = new TCar(World, 0, 0, 1, "enemy", -90, 0, 0);
    auto* Far = new TCar(World, 0, 0, 1, "enemy", -90, 0, 0);
    World.FPlayer = Player;
    World.FEnemies[0] = Near;
    World.FEnemies[1] = Far;
    World.FEnemyCount = 2;
    CentreCar(*Near, 520, 400); // a corner of the car lies on the upright wall
    CentreCar(*Far, 520, 400);
    // Far's sprite stands away from the wall while its outline (as a test sets it) lies on it: the
    // coarse distance test skips it. The player's outline is tested wherever its sprite stands.
    Far->SetX(Far->X() + 300);
    Player->FCorners = Near->FCorners;
    Wall->CheckContacts();
    EXPECT_TRUE(Wall->Contact[0]);
    EXPECT_FALSE(Wall->Contact[1]);
    EXPECT_TRUE(Wall->PlayerContact);
}

// An opponent stand-in with look-ahead points, as the opponents carry them.
class TWatchingCar : public TCar
{
public:
    using TCar::TCar;
    std::span<TLookAheadPoint> WallSensors() override { return {Points.data(), 2}; }
    std::array<TLookAheadPoint, 5> Points{};
};

TEST_F(RoadRockTest, WallsFlagAnOpponentsTwoSensorsWithinTheirSquareOnly)
{
    auto* Wall = new TRoadRock(World, 500, 400, WallStraight, 0); // upright, 24 wide: x 488..512
    Wall->UpdateCorners();
    auto* Car = new TWatchingCar(World, 300, 300, 1, "enemy", -90, 0, 0);
    World.FEnemies[0] = Car;
    World.FEnemyCount = 1;
    Car->Points[0] = {449, 400, 0, 0, false}; // square reaches x 489: over the wall
    Car->Points[1] = {428, 400, 0, 0, true};  // square reaches x 468: clear, so the flag drops
    Car->Points[2] = {500, 400, 0, 0, false}; // not a wall sensor: never touched
    Wall->CheckLookAhead();
    EXPECT_TRUE(Car->Points[0].Obstacle);
    EXPECT_FALSE(Car->Points[1].Obstacle);
    EXPECT_FALSE(Car->Points[2].Obstacle);
    // The player's car watches nothing: a world with only the player leaves everything alone.
    World.FEnemyCount = 0;
    Car->Points[1].Obstacle = true;
    Wall->CheckLookAhead();
    EXPECT_TRUE(Car->Points[1].Obstacle);
}

TEST_F(RoadRockTest, DecorationsFollowTheTerrainAndTheirDraws)
{
    for (int Terrain = 0; Terrain <= 3; ++Terrain)
        for (int Kind : {PieceStraight, PieceLeft, PieceStraightRight})
        {
            SCOPED_TRACE(testing::Message() << "terrain " << Terrain << " piece " << Kind);
            for (TSprite* Old : All<TSprite>())
                Old->Dead();
            Engine.FreeDead();
            World.Course.CourseTerrain[7] = static_cast<std::uint8_t>(Terrain);
            World.FNextPiece = 7;
            TRandom Replay = Rng;
            PlaceDecorations(World, Kind, 1000, 2000);
            const auto Paints = All<TRoadPaint>();
            ASSERT_EQ(Paints.size(), 4u);
            // Expected spots in creation order.
            double Spots[4][2];
            if (Kind == PieceStraight)
            {
                const bool RightNear = Replay.Random(10) < 6;
                Spots[0][0] = RightNear ? 430 : 330, Spots[0][1] = -75;
                Spots[1][0] = RightNear ? 330 : 430, Spots[1][1] = -225;
                // The left pairing is drawn after the right side's decorations.
            }
            else
            {
                const double Left = Kind == PieceLeft ? -460 : -430,
                             LeftFar = Kind == PieceLeft ? -630 : -530;
                const double Table[4][2] = {{430, -75}, {530, -225}, {Left, -75}, {LeftFar, -225}};
                std::copy(&Table[0][0], &Table[0][0] + 8, &Spots[0][0]);
            }
            for (std::size_t I = 0; I < 4; ++I)
            {
                if (Kind == PieceStraight && I == 2)
                {
                    const bool LeftNear = Replay.Random(10) < 6;
                    Spots[2][0] = LeftNear ? -430 : -330, Spots[2][1] = -75;
                    Spots[3][0] = LeftNear ? -330 : -430, Spots[3][1] = -225;
                }
                const int Angle = Replay.Random(360);
                const int Pattern = Replay.Random(8);
                const int JitterX = 40 - Replay.Random(80);
                const int JitterY = 40 - Replay.Random(80);
                const TRoadPaint& Paint = *Paints[I];
                EXPECT_EQ(Paint.Image(), Images.ImageList.Find(Terrain == 0 ? "trees" : "desert"));
                EXPECT_EQ(Paint.Name(), "flowers");
                EXPECT_EQ(Paint.PatternIndex(), Pattern);
                EXPECT_FLOAT_EQ(Paint.Angle, static_cast<float>(Angle));
                EXPECT_NEAR(Paint.X() + Paint.Width() / 2.0, 1000 + Spots[I][0] + JitterX, 1e-3);
                EXPECT_NEAR(Paint.Y() + Paint.Height() / 2.0, 2000 + Spots[I][1] + JitterY, 1e-3);
                EXPECT_EQ(Paint.Z(), 29);
            }
            EXPECT_EQ(Rng.Random(1 << 30), Replay.Random(1 << 30));
        }
}

TEST_F(RoadRockTest, MarkingsAndTilesEndBelowTheirLimits)
{
    auto* Mark = new TRoadPaint(World, 100, 1990, 0, PaintStartLine, 0);
    EXPECT_EQ(Mark->Image(), Images.ImageList.Find("startline"));
    EXPECT_EQ(Mark->Name(), "inplace");
    Mark->Move(1);
    EXPECT_FALSE(Mark->IsDead());
    Mark->SetY(2000.5f);
    Mark->Move(1);
    EXPECT_TRUE(Mark->IsDead());
    auto* Wall = new TRoadRock(World, 100, 3000, WallStraight, 0);
    Wall->Move(1);
    EXPECT_FALSE(Wall->IsDead());
    Wall->SetY(3001);
    Wall->Move(1);
    EXPECT_TRUE(Wall->IsDead());
}

} // namespace
} // namespace vm::test
