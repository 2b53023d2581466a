// Road pieces: placement, ground tiles, marking probes on the road, building the road ahead.
#include "world_fixture.h"

#include "world/ground_point.h"
#include "world/player.h"
#include "world/road_back.h"
#include "world/road_paint.h"
#include "world/road_part.h"
#include "world/road_rock.h"

#include <algorithm>

namespace vm::test {
namespace {

using RoadPartTest = WorldTest;

// The draws a new piece makes, replayed on Rng: four decorations (a straight draws its two pairings
// first on each side), then the pickup draws when WithPickup.
void ReplayPieceDraws(TRandom& Rng, int Kind, bool WithPickup)
{
    auto Decoration = [&] { Rng.Random(360), Rng.Random(8), Rng.Random(80), Rng.Random(80); };
    if (Kind == PieceStraight)
    {
        Rng.Random(10), Decoration(), Decoration();
        Rng.Random(10), Decoration(), Decoration();
    }
    else
        Decoration(), Decoration(), Decoration(), Decoration();
    if (WithPickup && Rng.Random(30) >= 16)
    {
        Rng.Random(200), Rng.Random(200);
        const int Group = Rng.Random(600);
        Rng.Random(Group < 200 ? 310 : Group < 400 ? 200 : 225);
    }
}

TEST_F(RoadPartTest, PieceStandsOnItsRoadCentreWithItsTilesWallsAndDecorations)
{
    // Terrain of the position being built decides the tiles' image.
    World.Course.CourseTerrain[4] = TerrainEnter;
    World.FNextPiece = 4;
    const int Expected[PieceKindCount][5] = {
        // the tiles' X offsets from the road centre, in creation order (0 ends a shorter list)
        {-800, 0, 1, 1, 1},   {-800, 800, -1600, 0, 1}, {-800, 800, -1600, 0, 1}, {-800, -1600, 0, 1, 1},
        {-800, 800, 0, 1, 1}, {-800, -1600, 0, 1, 1},   {-800, 800, 0, 1, 1}};
    for (int Kind = 0; Kind < PieceKindCount; ++Kind)
    {
        SCOPED_TRACE(Kind);
        for (TSprite* Old : All<TSprite>())
            Old->Dead();
        Engine.FreeDead();
        auto* Part = new TRoadPart(World, 1000.0f, 500.0f, Kind, false);
        const TPieceKind& Row = PieceKinds[static_cast<std::size_t>(Kind)];
        EXPECT_EQ(Part->X(), 1000.0f - Row.EntryOffset);
        EXPECT_EQ(Part->Y(), 200.0f);
        EXPECT_EQ(Part->Z(), 20);
        EXPECT_EQ(Part->Image(), Images.ImageList.Find(std::string(Row.ImageKey)));
        EXPECT_EQ(Part->Width(), Part->Image()->TileWidth());
        EXPECT_EQ(Part->Name(), Row.SpriteName);
        EXPECT_EQ(Part->HalfWidth, Row.HalfWidth);
        EXPECT_EQ(Part->ExitOffset - Part->EntryOffset, Row.Shift);

        std::vector<int> Xs;
        for (TRoadBack* Tile : All<TRoadBack>())
        {
            Xs.push_back(static_cast<int>(Tile->X()) - 1000);
            EXPECT_EQ(Tile->Y(), 200.0f);
            EXPECT_EQ(Tile->Z(), 0);
            EXPECT_FLOAT_EQ(Tile->ScaleY, 1.1f);
            EXPECT_EQ(Tile->Image(), Images.ImageList.Find("back4"));
        }
        std::vector<int> Want(std::begin(Expected[Kind]),
                              std::find(std::begin(Expected[Kind]), std::end(Expected[Kind]), 1));
        EXPECT_EQ(Xs, Want);
        EXPECT_EQ(All<TRoadRock>().size(), 4u);
        EXPECT_EQ(All<TRoadPaint>().size(), 4u);
    }
}

TEST_F(RoadPartTest, RaceSetupAndExtendRoadJoinThePiecesAlongTheCourse)
{
    GenerateCourse(World.Course, Rng, "track.dat", 30, 1, 3);
    CloseCourse(World.Course);
    InitPieceOffsets(World.Course);
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
    World.FPlayer = Player;

    // Course pieces 0..5 as the race setup builds them.
    double RoadX = 330, RoadY = -1230;
    const double StartX = RoadX;
    for (int I = 0; I < 5; ++I)
    {
        const int Code = World.Course.CodeAt(I);
        new TRoadPart(World, static_cast<float>(RoadX), static_cast<float>(RoadY), Code, false);
        RoadY -= 300;
        RoadX += World.Course.PieceShift(Code);
        ++World.FNextPiece;
    }
    World.FLastRoadPart = new TRoadPart(World, static_cast<float>(RoadX), static_cast<float>(RoadY),
                                        World.Course.CodeAt(5), false);
    World.FNextPiece = 6;

    // The topmost piece's upper edge lies far above the screen: nothing is built.
    TRandom Before = Rng;
    ExtendRoad(World);
    EXPECT_EQ(World.FNextPiece, 6);
    EXPECT_EQ(Rng.Random(1 << 30), Before.Random(1 << 30));

    // Pull the world down piece by piece and let the road grow to its end.
    const int CourseLast = World.Course.CourseLast;
    double Shift = 0;
    while (World.FNextPiece <= CourseLast + 3)
    {
        TRoadPart* Last = World.FLastRoadPart;
        const float Gap = -300.0f - Last->Y();
        if (Gap > 0)
        {
            // Just short of the threshold nothing happens.
            for (TRoadPart* Part : All<TRoadPart>())
                Part->SetY(Part->Y() + Gap - 0.5f);
            ExtendRoad(World);
            ASSERT_EQ(World.FLastRoadPart, Last);
            for (TRoadPart* Part : All<TRoadPart>())
                Part->SetY(Part->Y() + 0.5f);
            Shift += Gap;
        }
        const int Position = World.FNextPiece;
        TRandom Replay = Rng;
        ExtendRoad(World);
        if (Position > CourseLast)
        {
            EXPECT_EQ(World.FLastRoadPart, Last);
            EXPECT_EQ(World.FNextPiece, Position);
            break;
        }
        TRoadPart* New = World.FLastRoadPart;
        ASSERT_NE(New, Last);
        EXPECT_EQ(New->Kind, World.Course.CodeAt(Position));
        EXPECT_EQ(World.FNextPiece, Position + 1);
        // The new piece continues the road centre where the old one left it, 300 pixels higher.
        EXPECT_FLOAT_EQ(New->X() + New->EntryOffset, Last->X() + Last->ExitOffset);
        EXPECT_FLOAT_EQ(New->Y(), Last->Y() - 300);
        // Pickup draws everywhere but the last twelve positions.
        ReplayPieceDraws(Replay, New->Kind, Position < CourseLast - 11);
        EXPECT_EQ(Rng.Random(1 << 30), Replay.Random(1 << 30)) << "position " << Position;
        Replay = Rng; // both generators made the same extra draw
    }
    EXPECT_EQ(World.FNextPiece, CourseLast + 1);

    // The road centre of the last piece's upper edge is the start's plus every shift of the course.
    double Expected = StartX;
    for (int I = 0; I <= CourseLast; ++I)
        Expected += World.Course.PieceShift(World.Course.CodeAt(I));
    TRoadPart* Top = World.FLastRoadPart;
    EXPECT_NEAR(Top->X() + Top->ExitOffset, Expected, 0.01);
    EXPECT_NEAR(Top->Y() - Shift, RoadY - 300.0 * (CourseLast - 5) - 300, 0.01);
}

TEST_F(RoadPartTest, ExtendRoadOnlyRunsDuringTheRaceAndTheWreck)
{
    GenerateCourse(World.Course, Rng, "", 20, 5, 10);
    CloseCourse(World.Course);
    World.FLastRoadPart = new TRoadPart(World, 400, 300, PieceStraight, false);
    World.FNextPiece = 1;
    State.ScreenState = ssPause;
    ExtendRoad(World);
    EXPECT_EQ(World.FNextPiece, 1);
    State.ScreenState = ssWrecked;
    ExtendRoad(World);
    EXPECT_EQ(World.FNextPiece, 2);
}

TEST_F(RoadPartTest, PickupDrawsFollowTheirOrder)
{
    int Placed = 0;
    for (int Trial = 0; Trial < 200; ++Trial)
    {
        TRandom Replay = Rng;
        World.FBonusSplitLow = 250;
        World.FBonusSplitHigh = 450;
        const TPickupPlacement Pickup = PlacePickup(World, 100, 1000);
        if (Replay.Random(30) < 16)
        {
            EXPECT_FALSE(Pickup.Placed);
            continue;
        }
        ++Placed;
        ASSERT_TRUE(Pickup.Placed);
        const int Dx = Replay.Random(200), Dy = Replay.Random(200);
        EXPECT_EQ(Pickup.X, 100 - 100 + Dx);
        EXPECT_EQ(Pickup.Y, 1000 - 100 + Dy);
        const int Group = Replay.Random(600);
        const int R = Replay.Random(Group < 250 ? 310 : Group < 450 ? 200 : 225);
        int Kind;
        if (Group < 250)
            Kind = R <= 100 ? bkCoin10 : R <= 270 ? bkCoin20 : bkCoin30;
        else if (Group < 450)
            Kind = R <= 100 ? bkOil : R <= 150 ? bkSpikes : bkBomb;
        else
            Kind = R <= 100 ? bkRepair : R <= 170 ? bkSpeedUp : R <= 220 ? bkTime : bkLife;
        EXPECT_EQ(Pickup.Kind, Kind);
    }
    EXPECT_GT(Placed, 60); // about 14 in 30
    EXPECT_LT(Placed, 130);
}

TEST_F(RoadPartTest, MarkOnRoadSetsProbesOnTheOutlineOnly)
{
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
    World.FPlayer = Player;
    auto* Near = new TCar(World, 300, 100, 1, "enemy", -90, 0, 0);
    auto* Far = new TCar(World, 300, 700, 1, "enemy", -90, 0, 0);
    World.FEnemies[0] = Near;
    World.FEnemies[1] = Far;
    World.FEnemyCount = 2;

    // A right diagonal: road centre 400 at the lower edge (Y 600), 610 at the upper edge (Y 300).
    auto* Part = new TRoadPart(World, 400, 600, PieceRight, false);
    // On the right edge halfway up: centre 505, half width 184.
    Player->FFrontPoint->SetX(505 + 184 + 1);
    Player->FFrontPoint->SetY(450);
    // The edge runs at 689 there. A probe whose square stays 12 pixels clear of it is off the road;
    // closer than a few pixels the overlap test's angle tolerance already counts a long edge as hit.
    Player->FCenterPoint->SetX(505 + 184 + 14);
    Player->FCenterPoint->SetY(450);
    Near->FFrontPoint->SetX(2000);
    Near->FCenterPoint->SetX(505);
    Near->FCenterPoint->SetY(450);
    Far->FFrontPoint->SetX(-5000);
    Far->FCenterPoint->SetX(-5000);
    Part->MarkOnRoad();
    EXPECT_TRUE(Player->FFrontPoint->OnRoad);
    EXPECT_FALSE(Player->FCenterPoint->OnRoad);
    EXPECT_FALSE(Near->FFrontPoint->OnRoad);
    EXPECT_TRUE(Near->FCenterPoint->OnRoad);
    // Far down the screen an opponent counts as on the road without a test.
    EXPECT_TRUE(Far->FFrontPoint->OnRoad);
    EXPECT_TRUE(Far->FCenterPoint->OnRoad);

    // Nothing is ever cleared here.
    Player->FFrontPoint->SetX(-5000);
    Part->MarkOnRoad();
    EXPECT_TRUE(Player->FFrontPoint->OnRoad);
}

TEST_F(RoadPartTest, PiecesMoveWithTheWorldAndEndFarBelowTheScreen)
{
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
    World.FPlayer = Player;
    auto* Low = new TRoadPart(World, 400, 3200, PieceStraight, false);
    auto* High = new TRoadPart(World, 400, 3250, PieceStraight, false);
    World.FLastRoadPart = High;
    Player->FShiftX = 1.5;
    Player->FShiftY = 2.0;
    Player->FPushX = -0.5;
    Player->FPushY = 0.25;
    Low->Move(1);
    High->Move(1);
    EXPECT_FLOAT_EQ(Low->X(), 250 + 1.0f);
    EXPECT_FLOAT_EQ(Low->Y(), 2900 + 2.25f);
    EXPECT_FALSE(Low->IsDead()); // 2902.25: still alive
    Player->FShiftY = 100;
    Low->Move(1);
    High->Move(1);
    EXPECT_TRUE(Low->IsDead());
    // The topmost piece carries the road ahead: it stays.
    EXPECT_GT(High->Y(), 3000);
    EXPECT_FALSE(High->IsDead());
}

TEST_F(RoadPartTest, TheWorldShiftRoundsAfterTheShiftAndAgainAfterThePush)
{
    auto* Player = new TPlayer(World, 396, 460, 0, "player", -90, 0);
    World.FPlayer = Player;
    TSprite& Far = *new TSprite(Engine);
    Far.SetWidth(30);
    Far.SetHeight(20);
    // Floats are 1/16 apart here: each 0.03 on its own is lost, 0.06 at once would not be.
    Far.SetX(1000000.0f);
    Far.SetY(-1000000.0f);
    Player->FShiftX = 0.03;
    Player->FPushX = 0.03;
    Player->FShiftY = -0.02;
    Player->FPushY = 0.05; // -1000000.02 rounds back, then + 0.05 goes to the next float up
    ApplyWorldShift(Far, World);
    EXPECT_EQ(Far.X(), 1000000.0f);
    EXPECT_EQ(Far.Y(), -1000000.0f + 0.0625f);
    // Corners, box and centre follow the position.
    EXPECT_EQ(Far.X2(), 1000030.0f);
    EXPECT_EQ(Far.Y3(), -999980.0f + 0.0625f);
    EXPECT_EQ(Far.BoundsRect().Left, 1000000);
    EXPECT_EQ(Far.BoundsRect().Bottom, -999980);
    EXPECT_EQ(Far.CenterX(), 1000015.0f);
}

} // namespace
} // namespace vm::test
