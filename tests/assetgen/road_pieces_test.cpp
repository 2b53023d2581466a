// The road pieces: the drawn road matches the piece table, and pieces meet without a seam.
#include "assetgen/road_test_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using namespace road_test;

constexpr int Margin = 3;

// Columns of one row that hold road (alpha of at least half), as [first, last].
std::pair<int, int> RoadSpan(const vm::TPixels& P, int Row)
{
    int First = -1, Last = -1;
    for (int X = 0; X < P.Width; ++X)
        if (Alpha(At(P, X, Row)) >= 128)
        {
            if (First < 0)
                First = X;
            Last = X;
        }
    return {First, Last};
}

TEST(RoadPieces, RoadLiesWhereTheTableSaysAlongBothEdges)
{
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    for (const TPieceKind& Kind : Pieces)
    {
        const vm::TPixels& P = TRacePictures::Get().Picture(Kind.Key);
        ASSERT_EQ(P.Height, 300) << Kind.Key;
        ASSERT_GE(P.Width, std::max(Kind.Entry + Kind.DrawnEntry, Kind.Exit + Kind.DrawnExit)) << Kind.Key;
        const struct
        {
            int Row, Centre, Drawn;
        } Edges[2] = {{P.Height - 1, Kind.Entry, Kind.DrawnEntry}, {0, Kind.Exit, Kind.DrawnExit}};
        for (const auto& Edge : Edges)
        {
            const int From = std::max(0, Edge.Centre - Edge.Drawn + Margin);
            const int To = std::min(P.Width - 1, Edge.Centre + Edge.Drawn - Margin);
            for (int X = From; X <= To; ++X)
                ASSERT_EQ(Alpha(At(P, X, Edge.Row)), 255) << Kind.Key << " row " << Edge.Row << " x " << X;
            const int Clear = std::max(Edge.Drawn, Kind.HalfWidth) + Margin;
            for (int X = 0; X < P.Width; ++X)
            {
                if (std::abs(X - Edge.Centre) >= Clear)
                {
                    ASSERT_EQ(Alpha(At(P, X, Edge.Row)), 0) << Kind.Key << " row " << Edge.Row << " x " << X;
                }
            }
        }
        // Within the piece the road keeps its width: no row is narrower than the straight road.
        for (int Row = 0; Row < P.Height; ++Row)
        {
            const auto [First, Last] = RoadSpan(P, Row);
            EXPECT_GE(Last - First + 1, 2 * 150 - 2) << Kind.Key << " row " << Row;
        }
    }
}

// Piece Above drawn directly over piece Below, as the course places it: whether the road spans
// of the two seam rows agree, and the mean colour step across the seam (Seam) and between the
// seam rows and their neighbours inside each piece (Inside).
struct TJoin
{
    bool SpansAgree = false;
    double Seam = 0, Inside = 0;
    double Breaks = 0; // share of columns whose step across the seam is far above their steps inside
    // The step across the seam is no larger than the step from one row to the next, and stripes
    // and lines continue across it.
    bool Seamless() const { return SpansAgree && Seam <= Inside * 1.18 + 1 && Breaks <= 0.005; }
};

TJoin Join(int Below, int Above)
{
    const vm::TPixels& Lower = TRacePictures::Get().Picture(Pieces[Below].Key);
    const vm::TPixels& Upper = TRacePictures::Get().Picture(Pieces[Above].Key);
    // Upper's column for a column of Lower: both road centres meet at Lower's exit offset.
    const int Shift = Pieces[Above].Entry - Pieces[Below].Exit;
    const auto [LowFirst, LowLast] = RoadSpan(Lower, 0);
    const auto [UpFirst, UpLast] = RoadSpan(Upper, Upper.Height - 1);
    TJoin Out;
    Out.SpansAgree = std::abs(LowFirst + Shift - UpFirst) <= 1 && std::abs(LowLast + Shift - UpLast) <= 1;
    if (!Out.SpansAgree)
        return Out;
    int Count = 0;
    for (int X = LowFirst + 2; X <= LowLast - 2; ++X)
    {
        const std::uint32_t L0 = At(Lower, X, 0), L1 = At(Lower, X, 1);
        const std::uint32_t U0 = At(Upper, X + Shift, Upper.Height - 1),
                            U1 = At(Upper, X + Shift, Upper.Height - 2);
        const int Across = ColorDistance(L0, U0);
        const int LowStep = ColorDistance(L0, L1), UpStep = ColorDistance(U0, U1);
        Out.Seam += Across;
        Out.Inside += (LowStep + UpStep) / 2.0;
        if (Across > 2 * std::max(LowStep, UpStep) + 150)
            ++Out.Breaks;
        ++Count;
    }
    Out.Seam /= std::max(Count, 1);
    Out.Inside /= std::max(Count, 1);
    Out.Breaks /= std::max(Count, 1);
    return Out;
}

TEST(RoadPieces, EveryJoinACourseMakesIsSeamless)
{
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    const std::pair<int, int> Joins[] = {{0, 0}, {0, 3}, {0, 4}, {3, 2}, {3, 5}, {2, 2}, {2, 5},
                                         {5, 0}, {4, 1}, {4, 6}, {1, 1}, {1, 6}, {6, 0}};
    for (const auto& [Below, Above] : Joins)
    {
        const TJoin J = Join(Below, Above);
        EXPECT_TRUE(J.Seamless()) << Pieces[Below].Key << " under " << Pieces[Above].Key << ": spans agree "
                                  << J.SpansAgree << ", step " << J.Seam << " across, " << J.Inside
                                  << " inside, breaks " << J.Breaks;
    }
}

TEST(RoadPieces, JoinsTheCourseNeverMakesShowASeam)
{
    // The comparison above can see a seam: a diagonal on a straight, a left diagonal on a right
    // one, a straight on a diagonal do not continue the road.
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    const std::pair<int, int> Wrong[] = {{0, 1}, {2, 1}, {3, 1}, {2, 0}, {1, 4}};
    for (const auto& [Below, Above] : Wrong)
    {
        const TJoin J = Join(Below, Above);
        EXPECT_FALSE(J.Seamless()) << Pieces[Below].Key << " under " << Pieces[Above].Key << ": step "
                                   << J.Seam << " across, " << J.Inside << " inside, breaks " << J.Breaks;
    }
}

TEST(RoadPieces, KerbsAndDashesRepeatInPhaseAlongTheStraight)
{
    // A straight stacked on itself: its top row continues its bottom row, stripe for stripe.
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    const vm::TPixels& P = TRacePictures::Get().Picture("r_str");
    int RedAtKerb = 0;
    for (int Row = 0; Row < P.Height; ++Row)
    {
        const std::uint32_t Kerb = At(P, 7, Row);
        if (Channel(Kerb, 16) > Channel(Kerb, 8) + 60)
            ++RedAtKerb;
    }
    // Red and white kerb stripes share the kerb about evenly.
    EXPECT_GT(RedAtKerb, P.Height / 3);
    EXPECT_LT(RedAtKerb, P.Height * 2 / 3);
    for (int X : {7, 150, 292})
        EXPECT_LE(ColorDistance(At(P, X, 0), At(P, X, P.Height - 1)), 60) << "column " << X;
}

} // namespace
