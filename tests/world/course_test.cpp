// Course generation: segment lengths, bend grammar, terrain switches, closing run-out, bounds and draws.
#include "engine/random.h"
#include "world/course.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace vm {
namespace {

constexpr int SeedCount = 300;

// The segment bounds a run goes through, race by race, and the course lengths with them.
const std::vector<std::pair<int, int>> RunBounds = {{5, 10}, {4, 10}, {3, 10}, {2, 9}, {1, 8},
                                                    {1, 7},  {1, 6},  {1, 5},  {1, 4}, {1, 3}};

TCourse MakeCourse(std::uint64_t Seed, int Length, int Lo, int Hi)
{
    TCourse Course;
    TRandom Random(Seed);
    GenerateCourse(Course, Random, "track1.dat", Length, Lo, Hi);
    CloseCourse(Course);
    InitPieceOffsets(Course);
    return Course;
}

bool IsSegmentStart(int Kind) { return Kind >= PieceStraightRight; }

// Distances between consecutive segment starts among positions 0..N (the last, cut-off segment excluded).
std::vector<int> SegmentLengths(const TCourse& Course, int N)
{
    std::vector<int> Lengths;
    int Last = -1;
    for (int J = 0; J <= N; ++J)
        if (IsSegmentStart(Course.CodeAt(J)))
        {
            if (Last >= 0)
                Lengths.push_back(J - Last);
            Last = J;
        }
    return Lengths;
}

TEST(CourseTest, SegmentsSpanTheRunBounds)
{
    for (const auto& [Lo, Hi] : {std::pair{5, 10}, std::pair{1, 3}})
    {
        std::set<int> Seen;
        for (int Seed = 1; Seed <= SeedCount; ++Seed)
        {
            const TCourse Course = MakeCourse(Seed, 250, Lo, Hi);
            for (int Length : SegmentLengths(Course, 250))
            {
                ASSERT_GE(Length, Lo + 2) << "seed " << Seed;
                ASSERT_LE(Length, Hi + 1) << "seed " << Seed;
                Seen.insert(Length);
            }
        }
        // Every length in the range occurs, the extremes included.
        EXPECT_EQ(static_cast<int>(Seen.size()), Hi - Lo) << Lo << ".." << Hi;
    }
}

TEST(CourseTest, EveryJoinHasARoadPicture)
{
    const std::set<std::pair<int, int>> Joins = {{0, 0}, {0, 3}, {0, 4}, {3, 2}, {3, 5}, {2, 2}, {2, 5},
                                                 {5, 0}, {4, 1}, {4, 6}, {1, 1}, {1, 6}, {6, 0}};
    std::set<std::pair<int, int>> Used;
    int Length = 90;
    for (int Seed = 1; Seed <= SeedCount; ++Seed)
    {
        const auto& [Lo, Hi] = RunBounds[static_cast<std::size_t>(Seed) % RunBounds.size()];
        Length = Length >= 250 ? 90 : Length + 20;
        const TCourse Course = MakeCourse(Seed, Length, Lo, Hi);
        ASSERT_EQ(Course.CourseLast, Length + 21);
        const int First = Course.CodeAt(0);
        EXPECT_TRUE(First == PieceStraightRight || First == PieceStraightLeft) << "seed " << Seed;
        for (int J = 0; J < Course.CourseLast; ++J)
        {
            const std::pair<int, int> Join{Course.CodeAt(J), Course.CodeAt(J + 1)};
            ASSERT_TRUE(Joins.contains(Join))
                << "seed " << Seed << " at " << J << ": " << Join.first << "-" << Join.second;
            Used.insert(Join);
        }
        // The run-out is twenty straights.
        for (int J = Length + 2; J <= Length + 21; ++J)
            ASSERT_EQ(Course.CodeAt(J), PieceStraight) << "seed " << Seed << " at " << J;
    }
    EXPECT_EQ(Used, Joins);
}

TEST(CourseTest, BendOpenAtTheEndIsClosedRightAfter)
{
    std::set<int> LastKinds;
    for (int Seed = 1; Seed <= SeedCount; ++Seed)
    {
        const TCourse Course = MakeCourse(Seed, 90, 1, 3);
        const int Last = Course.CodeAt(90), After = Course.CodeAt(91);
        LastKinds.insert(Last);
        if (Last == PieceLeft || Last == PieceStraightLeft)
            EXPECT_EQ(After, PieceLeftStraight) << "seed " << Seed;
        else if (Last == PieceRight || Last == PieceStraightRight)
            EXPECT_EQ(After, PieceRightStraight) << "seed " << Seed;
        else
            EXPECT_EQ(After, PieceStraight) << "seed " << Seed;
    }
    EXPECT_EQ(LastKinds.size(), 7u); // every kind was seen at the last generated position
}

TEST(CourseTest, CompleteBendsShiftByTheirPieces)
{
    const TCourse Course = MakeCourse(7, 250, 5, 10);
    int Bends = 0;
    for (int Start = 0; Start <= Course.CourseLast; ++Start)
    {
        const int Entry = Course.CodeAt(Start);
        if (Entry != PieceStraightLeft && Entry != PieceStraightRight)
            continue;
        int Shift = 0, Middle = 0, J = Start;
        for (; Course.CodeAt(J) != PieceLeftStraight && Course.CodeAt(J) != PieceRightStraight; ++J)
        {
            Shift += Course.PieceShift(Course.CodeAt(J));
            Middle += Course.CodeAt(J) == PieceLeft || Course.CodeAt(J) == PieceRight;
        }
        Shift += Course.PieceShift(Course.CodeAt(J));
        EXPECT_EQ(Shift, Entry == PieceStraightLeft ? -70 - 210 * Middle - 71 : 71 + 210 * Middle + 70);
        // The table's own shift column agrees with the offsets the course was given.
        int FromTable = 0;
        for (int K = Start; K <= J; ++K)
            FromTable += PieceShift(Course.CodeAt(K));
        EXPECT_EQ(FromTable, Shift);
        ++Bends;
    }
    EXPECT_GT(Bends, 10);
}

TEST(CourseTest, TerrainSwitchesAlternateAtTheirDistances)
{
    std::set<int> Gaps;
    for (int Seed = 1; Seed <= SeedCount; ++Seed)
    {
        const int N = 90 + 20 * (Seed % 9);
        const TCourse Course = MakeCourse(Seed, N, 5, 10);
        for (int J = 0; J < 5; ++J)
            ASSERT_EQ(Course.TerrainAt(J), TerrainNormal) << "seed " << Seed;
        ASSERT_EQ(Course.TerrainAt(5), TerrainEnter) << "seed " << Seed;
        bool On = true;
        int LastSwitch = 5;
        for (int J = 6; J < N; ++J)
        {
            const int Terrain = Course.TerrainAt(J);
            if (Terrain == TerrainEnter || Terrain == TerrainLeave)
            {
                ASSERT_EQ(Terrain, On ? TerrainLeave : TerrainEnter) << "seed " << Seed << " at " << J;
                Gaps.insert(J - LastSwitch);
                ASSERT_GE(J - LastSwitch, 10) << "seed " << Seed << " at " << J;
                ASSERT_LE(J - LastSwitch, 19) << "seed " << Seed << " at " << J;
                On = !On;
                LastSwitch = J;
            }
            else
                ASSERT_EQ(Terrain, On ? TerrainOther : TerrainNormal) << "seed " << Seed << " at " << J;
        }
        // The last generated position leaves the other terrain if the course is still on it.
        EXPECT_EQ(Course.TerrainAt(N), On ? TerrainLeave : TerrainNormal) << "seed " << Seed;
    }
    EXPECT_EQ(Gaps.size(), 10u);
}

TEST(CourseTest, ClosingKeepsEarlierTerrainAboveTheCourse)
{
    TCourse Course;
    TRandom Random(11);
    GenerateCourse(Course, Random, "", 250, 5, 10);
    CloseCourse(Course);
    EXPECT_EQ(Course.CourseLast, 271);
    EXPECT_EQ(Course.CourseLast, TCourse::Capacity - 1); // the longest course fills the arrays exactly
    for (int J = 251; J <= 271; ++J)
        EXPECT_EQ(Course.TerrainAt(J), TerrainNormal) << J; // never generated: still as constructed
    const auto LongTerrain = Course.CourseTerrain;
    const auto LongCodes = Course.CourseCodes;

    GenerateCourse(Course, Random, "", 90, 5, 10);
    CloseCourse(Course);
    EXPECT_EQ(Course.CourseLast, 111);
    for (int J = 91; J < TCourse::Capacity; ++J)
        EXPECT_EQ(Course.TerrainAt(J), LongTerrain[static_cast<std::size_t>(J)]) << J;
    for (int J = 92; J <= 111; ++J)
        EXPECT_EQ(Course.CodeAt(J), PieceStraight) << J; // the run-out replaced the long course's bends

    // Whatever the terrain above the course holds, closing leaves it, the closing piece's included.
    for (int J = 91; J < TCourse::Capacity; ++J)
        Course.CourseTerrain[static_cast<std::size_t>(J)] = TerrainEnter;
    CloseCourse(Course);
    for (int J = 91; J < TCourse::Capacity; ++J)
        EXPECT_EQ(Course.TerrainAt(J), TerrainEnter) << J;
    // Codes above the run-out are not part of the course and stay too.
    for (int J = 112; J < TCourse::Capacity; ++J)
        EXPECT_EQ(Course.CodeAt(J), LongCodes[static_cast<std::size_t>(J)]) << J;
    // The old terrain above 90 is not all normal, so the check above could fail.
    bool AnyOther = false;
    for (int J = 91; J <= 111; ++J)
        AnyOther = AnyOther || LongTerrain[static_cast<std::size_t>(J)] != TerrainNormal;
    EXPECT_TRUE(AnyOther);

    // Closing twice rewrites the same positions.
    const auto Closed = Course.CourseCodes;
    CloseCourse(Course);
    EXPECT_EQ(Course.CourseLast, 111);
    EXPECT_EQ(Course.CourseCodes, Closed);
}

TEST(CourseTest, LengthsOutsideTheArraysAreClamped)
{
    TCourse Course;
    TRandom Random(3);
    EXPECT_EQ(GenerateCourse(Course, Random, "", 1000, 5, 10), 250);
    CloseCourse(Course);
    EXPECT_EQ(Course.CourseLast, 271);

    EXPECT_EQ(GenerateCourse(Course, Random, "", -5, 5, 10), 0);
    EXPECT_EQ(Course.CourseLast, 0);
    EXPECT_TRUE(IsSegmentStart(Course.CodeAt(0)));
    EXPECT_EQ(Course.TerrainAt(0), TerrainNormal);
    CloseCourse(Course);
    EXPECT_EQ(Course.CourseLast, 21);
    EXPECT_EQ(Course.CodeAt(1),
              Course.CodeAt(0) == PieceStraightLeft ? PieceLeftStraight : PieceRightStraight);

    // Reads outside the arrays give a straight on normal terrain.
    EXPECT_EQ(Course.CodeAt(-1), 0);
    EXPECT_EQ(Course.CodeAt(TCourse::Capacity), 0);
    EXPECT_EQ(Course.TerrainAt(TCourse::Capacity), 0);
    EXPECT_EQ(Course.PieceShift(PieceKindCount), 0);
    EXPECT_EQ(PieceKindOf(99).ImageKey, "r_str");
}

TEST(CourseTest, SegmentBoundsOutsideTheRunStillGiveAValidCourse)
{
    // Equal or reversed bounds draw nothing for the length; a negative minimum is held at two pieces.
    for (const auto& [Lo, Hi] : {std::pair{4, 4}, std::pair{6, 2}, std::pair{-10, -5}})
    {
        const TCourse Course = MakeCourse(5, 120, Lo, Hi);
        for (int Length : SegmentLengths(Course, 120))
            EXPECT_GE(Length, 2) << Lo << ".." << Hi;
        for (int J = 0; J < Course.CourseLast; ++J)
        {
            const int A = Course.CodeAt(J), B = Course.CodeAt(J + 1);
            EXPECT_FALSE((A == PieceRightStraight || A == PieceLeftStraight) && IsSegmentStart(B))
                << Lo << ".." << Hi << " at " << J;
        }
    }
}

TEST(CourseTest, DrawsComeInTheirOrder)
{
    for (int Seed = 1; Seed <= 20; ++Seed)
    {
        const TCourse A = MakeCourse(Seed, 170, 3, 10), B = MakeCourse(Seed, 170, 3, 10);
        EXPECT_EQ(A.CourseCodes, B.CourseCodes);
        EXPECT_EQ(A.CourseTerrain, B.CourseTerrain);

        // All bend draws come first: side, then length, for the first bend.
        TRandom Replay(Seed);
        const int Side = Replay.Random(2);
        EXPECT_EQ(A.CodeAt(0), Side == 0 ? PieceStraightLeft : PieceStraightRight);
        const int FirstLength = Replay.Random(10 - 3) + 3 + 2;
        EXPECT_TRUE(IsSegmentStart(A.CodeAt(FirstLength)));
        for (int J = 1; J < FirstLength; ++J)
            EXPECT_EQ(A.CodeAt(J), Side == 0 ? PieceLeft : PieceRight);

        // Then the terrain draws: one per switch. Count the bend draws to find the first of them.
        int BendDraws = 0;
        for (int J = 0; J <= 170; ++J)
        {
            // A bend entry draws its side and its length; a bend exit draws a length.
            const int Kind = A.CodeAt(J);
            if (Kind == PieceStraightLeft || Kind == PieceStraightRight)
                BendDraws += 2;
            else if (IsSegmentStart(Kind))
                BendDraws += 1;
        }
        TRandom Terrain(Seed);
        for (int K = 0; K < BendDraws; ++K)
            Terrain.Random(2);
        const int SecondSwitch = 5 + Terrain.Random(10) + 10;
        EXPECT_EQ(A.TerrainAt(SecondSwitch), TerrainLeave) << "seed " << Seed;
    }
    EXPECT_NE(MakeCourse(1, 250, 5, 10).CourseCodes, MakeCourse(2, 250, 5, 10).CourseCodes);
}

} // namespace
} // namespace vm
