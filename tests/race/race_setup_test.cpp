// Building a race: the grid, the course tables, the HUD, and tearing it all down again.
#include "race/race_setup.h"
#include "race_game_fixture.h"
#include "world/finish_line.h"
#include "world/road_paint.h"

#include <map>

namespace vm::test {
namespace {

// Every live road marking showing the picture Key (the finish line's picture is not one).
std::vector<TSprite*> SpritesShowing(const TSpriteEngine& Engine, const std::string& Key)
{
    std::vector<TSprite*> Found;
    for (int I = 0; I < Engine.Count(); ++I)
    {
        TSprite* Sprite = Engine.Sprites(I);
        if (!Sprite->IsDead() && dynamic_cast<TRoadPaint*>(Sprite) != nullptr && Sprite->Image() != nullptr &&
            Sprite->Image()->Name == Key)
            Found.push_back(Sprite);
    }
    return Found;
}

double MiddleX(const TSprite& Sprite) { return Sprite.X() + Sprite.Width() / 2.0; }
double MiddleY(const TSprite& Sprite) { return Sprite.Y() + Sprite.Height() / 2.0; }

TEST_F(RaceGameTest, ThreeOpponentsStandOnTheGridAheadOfThePlayer)
{
    StartRun(3);
    ASSERT_EQ(StateId(), ssRace);
    const TRaceWorld& World = Game.World;
    EXPECT_EQ(World.FCarCount, 4);
    EXPECT_EQ(World.FEnemyCount, 3);
    EXPECT_DOUBLE_EQ(Game.Race.FStartX, 70.0);
    EXPECT_DOUBLE_EQ(Game.Race.FStartY, 490.0);

    const auto StartLines = SpritesShowing(Game.SpriteEngine, "startline");
    ASSERT_EQ(StartLines.size(), 1u);
    EXPECT_DOUBLE_EQ(MiddleX(*StartLines[0]), 330.0);
    EXPECT_DOUBLE_EQ(MiddleY(*StartLines[0]), -30.0);

    const double Expected[3][2] = {{260, 120}, {400, 260}, {260, 320}};
    for (int Slot = 0; Slot < 3; ++Slot)
    {
        const TCar& Car = *World.FEnemies[static_cast<std::size_t>(Slot)];
        EXPECT_NEAR(MiddleX(Car), Expected[Slot][0], 0.5) << "opponent " << Slot;
        EXPECT_NEAR(MiddleY(Car), Expected[Slot][1], 0.5) << "opponent " << Slot;
    }
    EXPECT_NEAR(MiddleX(Player()), 396.0, 0.5);
    EXPECT_NEAR(MiddleY(Player()), 460.0, 0.5);
    // One grid mark per car, the player's 50 pixels ahead of its car.
    EXPECT_EQ(SpritesShowing(Game.SpriteEngine, "inplace").size(), 4u);

    // The run's first race: its clock, bonus, three lives, the start arrows and no cursor.
    EXPECT_EQ(Game.State.TimeMinutes, Game.Difficulty.FTimeLimitMinutes);
    EXPECT_EQ(Game.World.BonusLeft, Game.Difficulty.FRaceBonus);
    EXPECT_EQ(Game.State.Lives, 3);
    EXPECT_EQ(Game.State.RaceNumber, 1);
    EXPECT_NE(Game.Race.FBegArrows, nullptr);
    EXPECT_FALSE(Game.FCursor->Visible);
    EXPECT_FALSE(Player().Driving);
    EXPECT_FALSE(Game.RaceTimer.Enabled());
    // The race pictures were loaded with the run and their textures made: a race frame draws
    // without an error.
    EXPECT_NE(Game.GameImageList.Find("razzler"), nullptr);
    RunFrames(3);
    EXPECT_TRUE(Messages.Messages.empty()) << Messages.Messages[0].Text;
}

TEST_F(RaceGameTest, CourseTablesStayInsideTheirBoundsOnTheLongestCourse)
{
    StartRun(3);
    TRaceWorld& World = Game.World;
    // Checkpoints: one in the middle of every piece but the last, eight more straight on.
    EXPECT_EQ(World.FCheckpointCount, World.Course.CourseLast + 8);
    for (int I = 1; I <= World.FCheckpointCount; ++I)
        ASSERT_EQ(World.FCheckpoints[static_cast<std::size_t>(I)].Number, I);
    // The distances grow along the course by the straight-line steps.
    for (int I = 2; I <= World.FCheckpointCount; ++I)
        ASSERT_GT(World.FCheckpointDistance[static_cast<std::size_t>(I)],
                  World.FCheckpointDistance[static_cast<std::size_t>(I - 1)]);

    // The longest course a run reaches (250 pieces) and one longer still: the tables hold them,
    // and a course beyond what they hold is cut at their end instead of running past it.
    for (const int Length : {250, 400})
    {
        GenerateCourse(World.Course, World.Rng, "track.dat", Length, 5, 10);
        CloseCourse(World.Course);
        InitPieceOffsets(World.Course);
        PlaceCheckpoints(World);
        MeasureCheckpointDistances(World);
        EXPECT_LE(World.FCheckpointCount, TRaceWorld::MaxCheckpoints);
        if (Length == 250)
        {
            EXPECT_EQ(World.FCheckpointCount, 279);
        }
        EXPECT_GT(World.FCheckpointDistance[static_cast<std::size_t>(World.FCheckpointCount)], 0.0);
    }
}

TEST_F(RaceGameTest, FinishLineStandsBeyondTheNinthPieceFromTheEnd)
{
    StartRun(3);
    TRaceWorld& World = Game.World;
    World.FRoadX = 100;
    World.FRoadY = 0;
    double X = 0, Y = 0;
    FinishLinePosition(World, X, Y);
    double ExpectX = 100;
    for (int I = 0; I < World.Course.CourseLast - 9; ++I)
        ExpectX += World.Course.PieceShift(World.Course.CodeAt(I));
    EXPECT_DOUBLE_EQ(X, ExpectX);
    EXPECT_DOUBLE_EQ(Y, -150.0 - 300.0 * (World.Course.CourseLast - 9) - 450.0);
    // A course shorter than ten pieces: straight above the start.
    World.Course.CourseLast = 9;
    FinishLinePosition(World, X, Y);
    EXPECT_DOUBLE_EQ(X, 100.0);
    EXPECT_DOUBLE_EQ(Y, -600.0);
}

TEST_F(RaceGameTest, NineOpponentsUseTheFirstTenSlots)
{
    StartRun(9);
    EXPECT_EQ(Game.World.FEnemyCount, 9);
    EXPECT_DOUBLE_EQ(Game.Race.FStartX, 70.0);   // slot 10 is even
    EXPECT_DOUBLE_EQ(Game.Race.FStartY, 1090.0); // 100 * 10 + 40 + 50
    EXPECT_EQ(SpritesShowing(Game.SpriteEngine, "inplace").size(), 10u);
    EXPECT_LT(SpritesShowing(Game.SpriteEngine, "startline")[0]->Y(), -500.0);
}

TEST_F(RaceGameTest, LeavingTheRaceLeavesOnlyTheCursorAndARebuildStartsClean)
{
    StartRun(3);
    RunToGreen();
    RunFrames(200);
    // The damage bar's picture is cut while the race runs; leaving gives it back its height.
    const TImageListItem* Bar = Game.GameImageList.Find("healthbar");
    ASSERT_NE(Bar, nullptr);
    const int FullHeight = Game.Race.FHealthBar->Height();
    Game.LeaveState(ssRace);
    ASSERT_EQ(Game.SpriteEngine.Count(), 1);
    EXPECT_EQ(Game.SpriteEngine.Sprites(0), static_cast<TSprite*>(Game.FCursor));
    EXPECT_EQ(Bar->TileHeight(), FullHeight);
    EXPECT_EQ(Game.World.FPlayer, nullptr);
    EXPECT_EQ(Game.World.FLastRoadPart, nullptr);

    // Counting the sprites by kind: a second build makes exactly what a first build makes.
    auto CountByName = [this] {
        std::map<std::string, int> Counts;
        for (int I = 0; I < Game.SpriteEngine.Count(); ++I)
            ++Counts[Game.SpriteEngine.Sprites(I)->Name()];
        return Counts;
    };
    Game.Rng.SetSeed(77);
    Game.EnterState(ssRace);
    const auto First = CountByName();
    Game.LeaveState(ssRace);
    Game.Rng.SetSeed(77);
    Game.EnterState(ssRace);
    EXPECT_EQ(CountByName(), First);
    EXPECT_EQ(Game.World.FEnemyCount, 3);
}

} // namespace
} // namespace vm::test
