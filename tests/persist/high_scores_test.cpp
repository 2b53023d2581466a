// Tests of the local high-score table: defaults, entering scores and edited rows.
#include "persist/high_scores.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vm {
namespace {

void ExpectRow(const THighScoreTable& T, int P, const std::string& Name, const std::string& Score)
{
    EXPECT_EQ(T.Row(P).Place, std::to_string(P));
    EXPECT_EQ(T.Row(P).Name, Name) << "row " << P;
    EXPECT_EQ(T.Row(P).ScoreText, Score) << "row " << P;
}

void ExpectDefaults(const THighScoreTable& T)
{
    for (int P = 1; P <= kHighScoreRows; ++P)
        ExpectRow(T, P, "Anonymous", std::to_string(1100 - 100 * P));
}

TEST(HighScores, StartAndResetToTheDefaultRows)
{
    THighScoreTable T;
    ExpectDefaults(T);
    T.EnterHighScore("Mara", 5000);
    T.Row(3).ScoreText = "junk";
    T.ResetHighScores();
    ExpectDefaults(T);
    EXPECT_THROW(T.Row(0), std::out_of_range);
    EXPECT_THROW(T.Row(11), std::out_of_range);
}

TEST(HighScores, ZeroReachesNoDefaultRowButAZeroRow)
{
    THighScoreTable T;
    EXPECT_FALSE(T.EnterHighScore("Mara", 0));
    EXPECT_FALSE(T.EnterHighScore("Mara", 99));
    ExpectDefaults(T);

    T.Row(10).ScoreText = "0";
    EXPECT_TRUE(T.EnterHighScore("Mara", 0));
    ExpectRow(T, 10, "Mara", "0");
    ExpectRow(T, 9, "Anonymous", "200");
}

TEST(HighScores, ATopScoreMovesEveryRowDown)
{
    THighScoreTable T;
    EXPECT_TRUE(T.EnterHighScore("Mara", 1000));
    ExpectRow(T, 1, "Mara", "1000");
    for (int P = 2; P <= kHighScoreRows; ++P)
        ExpectRow(T, P, "Anonymous", std::to_string(1200 - 100 * P)); // old row 10 ("100") dropped out
}

TEST(HighScores, AnEqualScoreGoesAboveTheOldOne)
{
    THighScoreTable T;
    T.Row(5).Name = "Old";
    EXPECT_TRUE(T.EnterHighScore("New", 600));
    ExpectRow(T, 4, "Anonymous", "700");
    ExpectRow(T, 5, "New", "600");
    ExpectRow(T, 6, "Old", "600");
    ExpectRow(T, 10, "Anonymous", "200");

    EXPECT_TRUE(T.EnterHighScore("Low", 250));
    ExpectRow(T, 10, "Low", "250");
    ExpectRow(T, 9, "Anonymous", "300");
}

TEST(HighScores, AnEditedScoreThatIsNoNumberCountsAsZero)
{
    THighScoreTable T;
    T.Row(4).ScoreText = "lots";
    T.Row(7).ScoreText = "";
    // 50 beats no real row, but the unreadable row 4 counts as 0.
    EXPECT_TRUE(T.EnterHighScore("Mara", 50));
    ExpectRow(T, 4, "Mara", "50");
    ExpectRow(T, 5, "Anonymous", "lots");
    // Now row 5 holds "lots" and row 8 "": both count as 0, and 0 goes above the first of them.
    EXPECT_FALSE(T.EnterHighScore("Nico", -5));
    EXPECT_TRUE(T.EnterHighScore("Nico", 0));
    ExpectRow(T, 5, "Nico", "0");
    ExpectRow(T, 6, "Anonymous", "lots");
    ExpectRow(T, 9, "Anonymous", "");
}

} // namespace
} // namespace vm
